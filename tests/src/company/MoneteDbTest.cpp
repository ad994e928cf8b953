#include <gtest/gtest.h>

#include "components/util/Error.h"
#include "components/util/SqlLiteral.h"
#include "src/company/Cambi.h"
#include "src/company/ParametriAzienda.h"
#include "src/company/Valute.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TestDatabase.h"

namespace company {
namespace {

class MoneteDb : public testsupport::DbTest {
 protected:
  void Moneta(const std::string& codice, int dec, int decGest, const std::string& op, const std::string& cee) {
    ex().Execute(conn(), "INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Operatore, Cee)"
                         " VALUES (" +
                             util::SqlLiteral(codice, 8) + ", 'x', " + std::to_string(dec) + ", " +
                             std::to_string(decGest) + ", '" + op + "', '" + cee + "')");
  }
  void Fascia(const std::string& tabella, double finoA, double passo, const std::string& modo) {
    ex().Execute(conn(), "INSERT INTO " + tabella + " (FinoA, ValArrot, TipoArrot) VALUES (" + std::to_string(finoA) +
                             ", " + std::to_string(passo) + ", '" + modo + "')");
  }
};

TEST_P(MoneteDb, LeggiMonetaRecordOrDefaults) {
  Moneta("L.", 0, 0, "/", "S");
  Moneta("USD", 2, 4, "*", "N");
  Moneta("O'K", 3, 3, "/", "N");
  struct Case {
    const char* codice;
    bool trovata;
    int dec, decGest;
    const char* op;
    const char* cee;
  };
  const Case cases[] = {
      {"L.", true, 0, 0, "/", "S"},
      {"USD", true, 2, 4, "*", "N"},
      {"O'K", true, 3, 3, "/", "N"},  // a quote in the code is a literal, not SQL
      {"YEN", false, 2, 2, "/", "N"},
  };
  for (const Case& c : cases) {
    const company::Moneta m = LeggiMoneta(ex(), conn(), c.codice);
    EXPECT_EQ(m.trovata, c.trovata) << c.codice;
    EXPECT_EQ(m.numDec, c.dec) << c.codice;
    EXPECT_EQ(m.numDecGest, c.decGest) << c.codice;
    EXPECT_EQ(m.operatore, c.op) << c.codice;
    EXPECT_EQ(m.cee, c.cee) << c.codice;
  }
}

TEST_P(MoneteDb, RoundingTablesFromTheDatabase) {
  Fascia("ArrotLire", 100000, 100, "E");
  Fascia("ArrotLire", 1000, 10, "A");
  TabelleArrotondamento tabelle(CaricatoreDaDatabase(ex(), conn()));
  ContestoValuta cv;
  cv.decEuro = 2;
  struct Case {
    double importo;
    const char* tipo;
    double expected;
  };
  const Case cases[] = {
      {950, "L", 950},       {994, "L", 990},    {5001, "L", 5100},
      {250001, "L", 250100}, {2.675, "E", 2.68},  // empty euro table: the euro decimals
  };
  for (const Case& c : cases) EXPECT_EQ(ArrotondaConTabella(cv, &tabelle, c.importo, c.tipo), c.expected) << c.importo;

  // Read once: rows added later are not seen in the same run.
  Fascia("ArrotLire", 500, 5, "D");
  EXPECT_EQ(ArrotondaConTabella(cv, &tabelle, 499, "L"), 500);
}

TEST_P(MoneteDb, MissingTableIsAnError) {
  ex().Execute(conn(), "DROP TABLE \"ArrotEuro\"", db::kPassThrough);
  TabelleArrotondamento tabelle(CaricatoreDaDatabase(ex(), conn()));
  EXPECT_THROW(ArrotondaConTabella(ContestoValuta{}, &tabelle, 1.234, "E"), util::RuntimeError);
}

TEST_P(MoneteDb, CompanyDecimalsFromTheCurrencyRecords) {
  Moneta("L.", 0, 1, "/", "S");
  Moneta("Euro", 2, 3, "/", "S");
  struct Case {
    const char* name;
    const char* monetaAzienda;
    const char* codLira;
    int decAzienda, decGestAzienda;
  };
  const Case cases[] = {
      {"company in lire", "L.", "L.", 0, 1},
      {"company in euro", "Euro", "L.", 2, 3},
      {"empty currency and lira code: euro record", "", "", 2, 3},
  };
  for (const Case& c : cases) {
    testsupport::FakeHost h;
    h.parametri["Ditta.Moneta"] = util::Value(c.monetaAzienda);
    h.parametri["Ditta.CodLira"] = util::Value(c.codLira);
    DatiAzienda d;
    CaricaDatiAzienda(h, ex(), conn(), d);
    EXPECT_EQ(d.decLire, 0) << c.name;
    EXPECT_EQ(d.decGestLire, 1) << c.name;
    EXPECT_EQ(d.decEuro, 2) << c.name;
    EXPECT_EQ(d.decAzienda, c.decAzienda) << c.name;
    EXPECT_EQ(d.decGestAzienda, c.decGestAzienda) << c.name;
  }
}

TEST_P(MoneteDb, ExchangeRateOfADate) {
  for (const auto& [data, cambio] : {std::pair{"#01/01/2024#", "1.08"}, {"#03/01/2024#", "1.0834"}})
    ex().Execute(conn(),
                 std::string("INSERT INTO Cambi (Moneta, Data, Cambio) VALUES ('USD', ") + data + ", " + cambio + ")");
  ContestoValuta cv;
  auto d = [](int y, int m, int g) { return *util::Date::Make(y, m, g); };
  struct Case {
    const char* name;
    const char* moneta;
    util::Date data;
    const char* shown;
  };
  const Case cases[] = {
      {"rate of the day", "USD", d(2024, 1, 1), "1,080000"},
      {"latest rate before the day", "USD", d(2024, 2, 29), "1,080000"},
      {"new rate from its day", "usd", d(2024, 3, 1), "1,083400"},
      {"empty date: latest", "USD", util::Date(), "1,083400"},
      {"before the first rate", "USD", d(2023, 12, 31), ""},
      {"unknown currency", "CHF", d(2024, 3, 1), ""},
      {"euro", "Euro", d(2024, 3, 1), "1,000000"},
      {"lira: the fixed rate", "L.", d(2024, 3, 1), "1.936,270000"},
  };
  for (const Case& c : cases) EXPECT_EQ(LeggiCambio(ex(), conn(), cv, c.moneta, c.data), c.shown) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Db, MoneteDb, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
}  // namespace company
