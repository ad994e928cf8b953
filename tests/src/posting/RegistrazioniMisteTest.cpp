#include <gtest/gtest.h>

#include <random>

#include "src/posting/ContabMovPn.h"
#include "tests/src/posting/AziendaContab.h"

namespace compensato::posting {
namespace {

using testsupport::AziendaContab;

class RegistrazioniMiste : public ::testing::TestWithParam<testsupport::Engine> {};

// A thousand registrations of every kind the engine meets, posted in ranges
// of random size: the ledger, the totals and the staging tables must agree
// at the end whatever the mix.
TEST_P(RegistrazioniMiste, ThousandRegistrationsKeepTheLedgerConsistent) {
  AziendaContab az(GetParam());
  std::mt19937 caso(20260310);
  const char* conti[] = {"1801000001", "5801000001", "6601000001", "2601000001", "9101000001"};
  const int kRegistrazioni = 1000;
  int fatture = 0;
  for (int32_t n = 1; n <= kRegistrazioni; ++n) {
    const int tipo = static_cast<int>(caso() % 10);
    if (tipo == 0) {
      AziendaContab::Registrazione f =
          AziendaContab::FatturaCliente(n, 100 + static_cast<double>(caso() % 100000) / 100, 22);
      f.pagamento = (caso() % 2) ? "FM3" : "30";
      az.Prepara(f);
      ++fatture;
      continue;
    }
    AziendaContab::Registrazione r;
    r.numReg = n;
    r.causale = tipo == 1 ? "AP" : "INC";
    r.dataReg = util::Date::Carry(2026, 1 + static_cast<int>(caso() % 12), 1 + static_cast<int>(caso() % 28));
    const int righe = 1 + static_cast<int>(caso() % 4);
    double totale = 0;
    for (int i = 0; i < righe; ++i) {
      const double importo = static_cast<double>(1 + caso() % 1000000) / 100;
      totale += importo;
      r.righe.push_back(AziendaContab::Linea("1", conti[caso() % 5], "D", importo));
    }
    r.righe.push_back(AziendaContab::Linea(caso() % 2 ? "3" : "1", caso() % 2 ? "1401000001" : "1401000002", "A",
                                           std::round(totale * 100) / 100));
    r.righeIva = static_cast<int>(caso() % 2);
    az.Prepara(r);
  }
  for (int32_t da = 1; da <= kRegistrazioni;) {
    const int32_t a = std::min(kRegistrazioni, da + static_cast<int32_t>(caso() % 150));
    ArgomentiContab x = az.Argomenti(da, a);
    x.creaScadenze = true;
    ContabMovPn(az.ctx(), x);
    ASSERT_EQ(x.numErrori, 0) << x.testoErrori;
    da = a + 1;
  }
  EXPECT_EQ(az.Invarianti(), "");
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDettApp"), 0);
  EXPECT_EQ(az.Numero("Select count(*) from MovPnIvaApp"), 0);
  EXPECT_EQ(az.Numero("Select count(*) from (Select Distinct NumReg from MovPnDett) x"), kRegistrazioni);
  // Every invoice's installments add up to its total.
  EXPECT_EQ(az.Numero("Select count(*) from (Select NumReg from Scadenze Group By NumReg) x"), fatture);
  EXPECT_EQ(az.Numero("Select count(*) from (Select NumReg, Max(ImportoFatt) as F, Sum(ImportoScad) as S "
                      "from Scadenze Group By NumReg) x Where Abs(F - S) > 0.001"),
            0);
  const double numeri = az.Numero("Select count(*) from Scadenze");
  EXPECT_EQ(az.Numero("Select Max(NumProg) from Scadenze"), numeri) << "progressive numbers without gaps";
}

INSTANTIATE_TEST_SUITE_P(Db, RegistrazioniMiste, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
}  // namespace compensato::posting
