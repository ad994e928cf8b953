#include <gtest/gtest.h>

#include "src/posting/ContabMovPn.h"
#include "tests/src/posting/AziendaContab.h"

namespace compensato::posting {
namespace {

using testsupport::AziendaContab;
using Righe = std::vector<std::string>;

const char* kTotali = "Select Anno, PartTipo, CoPartGruppo, CoPartConto, SaldoIniziale, ProgrDare, ProgrAvere, UltAgg "
                      "from PdcProg Order By Anno, CoPartGruppo, CoPartConto";

class ProgressiviTest : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  AziendaContab az{GetParam()};

  static AziendaContab::Registrazione Registrazione(int32_t numReg, const std::string& causale, util::Date data,
                                                    std::vector<AziendaContab::Riga> righe) {
    AziendaContab::Registrazione r;
    r.numReg = numReg;
    r.causale = causale;
    r.dataReg = data;
    r.righe = std::move(righe);
    return r;
  }

  void Contabilizza() {
    ArgomentiContab x = az.Argomenti();
    ContabMovPn(az.ctx(), x);
    EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  }

  void TearDown() override { EXPECT_EQ(az.Invarianti(), ""); }
};

TEST_P(ProgressiviTest, DebitsAndCreditsRunPerAccountAndYear) {
  const util::Date marzo = util::Date::Carry(2026, 3, 15);
  az.Prepara(Registrazione(
      1, "INC", marzo,
      {AziendaContab::Linea("1", "1801000001", "D", 100), AziendaContab::Linea("1", "1801000001", "D", 50.5),
       AziendaContab::Linea("3", "1401000001", "A", 150.5)}));
  // Earlier than the date already recorded: the date stays.
  az.Prepara(Registrazione(
      2, "INC", util::Date::Carry(2026, 2, 1),
      {AziendaContab::Linea("1", "1801000001", "A", 20), AziendaContab::Linea("3", "1401000001", "X", -20)}));
  AziendaContab::Registrazione altroAnno =
      Registrazione(1, "INC", util::Date::Carry(2025, 12, 31),
                    {AziendaContab::Linea("1", "1801000001", "D", 7), AziendaContab::Linea("3", "1401000001", "A", 7)});
  altroAnno.anno = 2025;
  az.Prepara(altroAnno);
  Contabilizza();
  ArgomentiContab x = az.Argomenti();
  x.anno = 2025;
  ContabMovPn(az.ctx(), x);
  EXPECT_EQ(az.Righe(kTotali),
            (Righe{"2025|3|14|000001|0|0|7|31/12/2025", "2025|1|18|000001|0|7|0|31/12/2025",
                   "2026|3|14|000001|0|0|130,5|15/03/2026", "2026|1|18|000001|0|150,5|20|15/03/2026"}))
      << "two lines to one account update its row twice; an unknown side is a credit";
}

TEST_P(ProgressiviTest, OpeningEntryMovesTheOpeningBalanceOnly) {
  // The kind of a transaction code is a code: however it was typed, "AP"
  // stays an opening entry.
  for (const char* tipo : {"AP", "ap", "Ap"}) {
    SCOPED_TRACE(tipo);
    AziendaContab azienda(GetParam());
    azienda.Esegui(std::string("UPDATE Causali SET TipoCausale = '") + tipo + "' WHERE Causale = 'AP'");
    azienda.Prepara(Registrazione(
        1, "AP", util::Date::Carry(2026, 1, 1),
        {AziendaContab::Linea("1", "1801000001", "D", 1000), AziendaContab::Linea("1", "9101000001", "A", 1000)}));
    azienda.Prepara(Registrazione(
        2, "INC", util::Date::Carry(2026, 1, 2),
        {AziendaContab::Linea("1", "1801000001", "A", 10), AziendaContab::Linea("3", "1401000001", "D", 10)}));
    ArgomentiContab x = azienda.Argomenti();
    ContabMovPn(azienda.ctx(), x);
    EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
    EXPECT_EQ(azienda.Righe(kTotali),
              (Righe{"2026|3|14|000001|0|10|0|02/01/2026", "2026|1|18|000001|1000|0|10|02/01/2026",
                     "2026|1|91|000001|-1000|0|0|01/01/2026"}));
    EXPECT_EQ(azienda.Invarianti(), "");
  }
}

TEST_P(ProgressiviTest, TotalsAreRoundedToTheCompanyDecimals) {
  az.ctx().azienda.decAzienda = 0;
  az.Prepara(Registrazione(
      1, "INC", util::Date::Carry(2026, 3, 1),
      {AziendaContab::Linea("1", "1801000001", "D", 10.5), AziendaContab::Linea("3", "1401000001", "A", 10.5)}));
  Contabilizza();
  EXPECT_EQ(az.Righe("Select ProgrDare, ProgrAvere from PdcProg Order By CoPartGruppo"), (Righe{"0|11", "11|0"}));
  // Lines of 10.50 against totals of 11: the company keeps whole units.
  az.Esegui("DELETE FROM PdcProg");
  az.Esegui("DELETE FROM MovPnDett");
}

TEST_P(ProgressiviTest, TotalsOfFourteenIntegerDigitsKeepTheirCents) {
  // The first registration makes the accounts' rows, the second updates them.
  for (int32_t n : {1, 2})
    az.Prepara(Registrazione(n, "INC", util::Date::Carry(2026, 3, n),
                             {AziendaContab::Linea("1", "1801000001", "D", 12345678901234.56),
                              AziendaContab::Linea("3", "1401000001", "A", 12345678901234.56)}));
  Contabilizza();
  EXPECT_EQ(az.Righe("Select ProgrDare, ProgrAvere from PdcProg Order By CoPartGruppo"),
            (Righe{"0|24691357802469,12", "24691357802469,12|0"}));
}

INSTANTIATE_TEST_SUITE_P(Db, ProgressiviTest, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
}  // namespace compensato::posting
