#include <gtest/gtest.h>

#include "components/util/SqlLiteral.h"
#include "src/schedule/CalcolaScadenze.h"
#include "tests/src/posting/AziendaContab.h"

namespace compensato::schedule {
namespace {

util::Date D(int y, int m, int d) { return util::Date::Carry(y, m, d); }

class LetturaPagamentoTest : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  testsupport::AziendaContab az{GetParam()};

  ArgomentiScadenze Calcola(const std::string& pagamento, const std::string& conto) {
    ArgomentiScadenze a;
    a.dataDoc = D(2026, 3, 15);
    a.importo = 1000;
    a.iva = 220;
    a.pagamento = pagamento;
    a.gruppo = conto.substr(0, 2);
    a.mastro = conto.substr(2, 2);
    a.conto = conto.substr(4);
    CalcolaScadenze(az.ctx(), a);
    return a;
  }
};

TEST_P(LetturaPagamentoTest, TermAndAccountComeFromTheDatabase) {
  struct Caso {
    const char* nome;
    const char* conto;
    std::vector<util::Date> date;
  };
  const Caso casi[] = {
      {"the March invoice", "1401000001", {D(2026, 4, 30), D(2026, 5, 31), D(2026, 6, 30)}},
      {"its customer without May", "1401000002", {D(2026, 4, 30), D(2026, 6, 10), D(2026, 6, 30)}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const ArgomentiScadenze a = Calcola("FM3", c.conto);
    EXPECT_EQ(a.numErrori, 0) << a.testoErrori;
    EXPECT_EQ(a.dataInizio, D(2026, 3, 31));
    EXPECT_EQ(a.dateScad, c.date);
    EXPECT_EQ(a.importiScad, (std::vector<double>{220, 500, 500}));
  }
}

TEST_P(LetturaPagamentoTest, PercentagesAndPeriodsOfTheNumberedColumns) {
  az.Esegui("INSERT INTO Pagamenti (Pagamento, PagTipo, Decorrenza, Periodicita, NumScad, TrattamIva, "
            "GiornoFisso, NumGGMM, Periodo1, Periodo2, Percentuale1, Percentuale2) VALUES "
            "('P30', 'RD', 'D', 'T', 2, 'X', 0, 0, 1, 2, 30, 30)");
  const ArgomentiScadenze a = Calcola("P30", "1401000001");
  EXPECT_EQ(a.numErrori, 0) << a.testoErrori;
  EXPECT_EQ(a.dateScad, (std::vector<util::Date>{D(2026, 4, 15), D(2026, 6, 15)}));
  EXPECT_EQ(a.importiScad, (std::vector<double>{366, 854}));
}

TEST_P(LetturaPagamentoTest, MissingTermOrAccount) {
  const ArgomentiScadenze senzaTermine = Calcola("ZZ", "1401000001");
  EXPECT_EQ(senzaTermine.numScad, 0);
  EXPECT_EQ(senzaTermine.numErrori, 0);
  const ArgomentiScadenze senzaConto = Calcola("FM3", "1401000099");
  EXPECT_EQ(senzaConto.numScad, 0);
  EXPECT_EQ(senzaConto.numErrori, 1);
  EXPECT_EQ(senzaConto.testoErrori, "Errore n°0 : Manca il cliente con codice :14-01-000099 in Calcolo scadenze\n");
}

INSTANTIATE_TEST_SUITE_P(Db, LetturaPagamentoTest, ::testing::ValuesIn(testsupport::Engines()),
                         testsupport::EngineName);

}  // namespace
}  // namespace compensato::schedule
