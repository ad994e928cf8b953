#include "src/company/Valute.h"

#include <gtest/gtest.h>

#include "components/util/Error.h"

namespace company {
namespace {

ContestoValuta InLire() {
  ContestoValuta cv;
  cv.monetaAzienda = "L.";
  cv.decLire = 0;
  cv.decEuro = 2;
  return cv;
}

ContestoValuta InEuro() {
  ContestoValuta cv;
  cv.decLire = 0;
  cv.decEuro = 2;
  return cv;
}

ArgomentiConversione ComeIlProgramma(double importo, const std::string& moneta, double cambio,
                                     const std::string& operatore) {
  ArgomentiConversione a;
  a.importo = importo;
  a.cambio = util::Value(cambio);
  a.operatore = operatore;
  a.moneta = moneta;
  a.arrotLire = a.arrotEuro = a.arrotTerza = true;
  return a;
}

TEST(ConvertiImporto, TheProgramsCases) {
  struct Case {
    const char* name;
    ContestoValuta cv;
    ArgomentiConversione a;
    ImportiConvertiti expected;
  };
  // clang-format off
  const Case cases[] = {
      {"company in lire, a million lire", InLire(), ComeIlProgramma(1000000, "L.", 0, "/"),
       {1000000, 516.46, 1000000, 1000000}},
      {"company in euro, 100 euro: euro not rounded, lire", InEuro(),
       ComeIlProgramma(100, "Euro", 0, "/"), {193627, 100, 100, 100}},
      {"currency codes ignore case", InEuro(), ComeIlProgramma(100, "EURO", 0, "/"),
       {193627, 100, 100, 100}},
      {"third currency at rate 2, company in euro", InEuro(),
       ComeIlProgramma(10.01, "USD", 2, "/"), {9691, 5.01, 10.01, 5.01}},
      {"third currency at rate 2, company in lire", InLire(),
       ComeIlProgramma(10.01, "USD", 2, "/"), {9691, 5.01, 10.01, 9691}},
      {"third currency, operator *", InEuro(), ComeIlProgramma(10, "CHF", 0.625, "*"),
       {12102, 6.25, 10, 6.25}},
      {"negative amount in lire", InLire(), ComeIlProgramma(-1000000, "L.", 0, "/"),
       {-1000000, -516.46, -1000000, -1000000}},
  };
  // clang-format on
  for (const Case& c : cases) {
    const ImportiConvertiti r = ConvertiImporto(c.cv, nullptr, c.a);
    EXPECT_EQ(r.lire, c.expected.lire) << c.name;
    EXPECT_EQ(r.euro, c.expected.euro) << c.name;
    EXPECT_EQ(r.moneta, c.expected.moneta) << c.name;
    EXPECT_EQ(r.azienda, c.expected.azienda) << c.name;
  }
}

TEST(ConvertiImporto, ChainAndModeM) {
  struct Case {
    const char* name;
    ContestoValuta cv;
    ArgomentiConversione a;
    ImportiConvertiti expected;
  };
  auto con = [](ArgomentiConversione a, int16_t catena, const char* modo, const char* tipo) {
    a.catena = catena;
    a.modo = modo;
    a.tipo = tipo;
    return a;
  };
  // clang-format off
  const Case cases[] = {
      // Chained: the euro of a lira amount is recomputed from the rounded lire.
      {"euro chained back from lire", InEuro(), con(ComeIlProgramma(1.23, "Euro", 0, "/"), -1, "E", "E"),
       {2382, 1.23, 1.23, 1.23}},
      {"lire chained back from euro", InLire(), con(ComeIlProgramma(1001, "L.", 0, "/"), -1, "E", "E"),
       {1007, 0.52, 1007, 1007}},
      // Third currency chained, mode "E": lire from the rounded euro.
      {"third chained mode E", InEuro(), con(ComeIlProgramma(10.01, "USD", 2, "/"), -1, "E", "E"),
       {9701, 5.01, 10.01, 5.01}},
      // Another mode: lire from the unrounded euro, euro from the lire.
      {"third chained other mode", InEuro(), con(ComeIlProgramma(10.01, "USD", 2, "/"), -1, "X", "E"),
       {9691, 5.0, 10.01, 5.0}},
      // Mode "M": the amount is in lire or euro, the third value in the currency.
      {"M from lire", InEuro(), con(ComeIlProgramma(1000000, "USD", 2, "/"), 0, "M", "L"),
       {1000000, 1000000 / 1936.27, 1032.91, 1032.91}},
      {"M from euro", InEuro(), con(ComeIlProgramma(100, "USD", 2, "/"), 0, "m", "E"),
       {193627, 100, 200, 200}},
  };
  // clang-format on
  for (const Case& c : cases) {
    const ImportiConvertiti r = ConvertiImporto(c.cv, nullptr, c.a);
    EXPECT_EQ(r.lire, c.expected.lire) << c.name;
    EXPECT_DOUBLE_EQ(r.euro, c.expected.euro) << c.name;
    EXPECT_EQ(r.moneta, c.expected.moneta) << c.name;
    EXPECT_EQ(r.azienda, c.expected.azienda) << c.name;
  }
}

TEST(ConvertiInEuro, RatesAndOperators) {
  const ContestoValuta cv = InEuro();
  struct Case {
    const char* name;
    double importo;
    util::Value cambio;
    std::optional<std::string> operatore;
    std::optional<std::string> moneta;
    bool arrotonda;
    double expected;
  };
  const Case cases[] = {
      {"empty rate with / gives the amount", 50, util::Value(""), "/", "USD", false, 50},
      {"null rate with / gives the amount", 50, util::Value(), "/", "USD", false, 50},
      {"empty rate with * gives 0", 50, util::Value(""), "*", "USD", false, 0},
      {"rate as text with a comma", 10, util::Value("2,5"), "/", "USD", false, 4},
      {"operator defaults to the company's", 10, util::Value(4.0), std::nullopt, "USD", false, 2.5},
      {"lira ignores the rate passed", 1936.27, util::Value(99.0), "*", "l.", false, 1},
      {"euro is itself", 12.345, util::Value(99.0), "/", "Euro", false, 12.345},
      {"currency defaults to the company's", 12.345, util::Value(99.0), "/", std::nullopt, true, 12.35},
      {"rounded to the euro decimals", 1, util::Value(3.0), "/", "USD", true, 0.33},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ConvertiInEuro(cv, nullptr, c.importo, c.cambio, c.operatore, c.moneta, c.arrotonda), c.expected)
        << c.name;
  EXPECT_EQ(ConvertiInEuro(cv, nullptr, 1, util::Value(3.0), "/", "USD", true, 4), 0.3333);
}

TEST(ConvertiDaEuro, RatesAndOperators) {
  const ContestoValuta cv = InEuro();
  struct Case {
    const char* name;
    double importo;
    util::Value cambio;
    std::string operatore;
    std::string moneta;
    bool arrotonda;
    double expected;
  };
  const Case cases[] = {
      {"empty rate counts as 1", 50, util::Value(""), "/", "USD", false, 50},
      {"operator * divides", 50, util::Value(2.0), "*", "USD", false, 25},
      {"operator * with rate 0 gives the amount", 50, util::Value(0.0), "*", "USD", false, 50},
      {"operator / multiplies", 50, util::Value(2.0), "/", "USD", false, 100},
      {"lira uses the fixed rate", 1, util::Value(2.0), "*", "L.", true, 1936},
      {"euro to euro", 7.5, util::Value(2.0), "*", "Euro", false, 7.5},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ConvertiDaEuro(cv, nullptr, c.importo, c.cambio, c.operatore, c.moneta, c.arrotonda), c.expected)
        << c.name;
}

TEST(ConvertiInEuro, RateThatIsNotANumberIsATypeMismatch) {
  ContestoValuta cv = InLire();
  cv.cambioLiraEuro = "abc";
  try {
    ConvertiInEuro(cv, nullptr, 1000, util::Value(), std::nullopt, "L.");
    FAIL() << "no error";
  } catch (const util::RuntimeError& e) {
    EXPECT_EQ(e.number(), util::err::kTypeMismatch);
  }
  EXPECT_THROW(ConvertiDaEuro(InEuro(), nullptr, 1, util::Value("x"), "/", "USD"), util::RuntimeError);
}

TEST(ArrotondaConTabella, BandsAndEmptyTables) {
  int letture = 0;
  TabelleArrotondamento tabelle([&](const std::string& tabella) {
    ++letture;
    if (tabella == "ArrotEuro") return std::vector<FasciaArrotondamento>{};
    return std::vector<FasciaArrotondamento>{{1000, 10, "A"}, {100000, 100, "E"}};
  });
  const ContestoValuta cv = InLire();
  struct Case {
    const char* name;
    double importo;
    const char* tipo;
    double expected;
  };
  const Case cases[] = {
      {"first band", 950, "L", 950},
      {"first band rounds by 10", 994, "L", 990},
      {"on the bound", 1000, "l", 1000},
      {"second band by excess", 5001, "L", 5100},
      {"above every bound takes the last band", 250001, "L", 250100},
      {"negative amount uses its magnitude's band", -5001, "L", -5100},
      {"empty euro table rounds to the euro decimals", 2.675, "E", 2.68},
      {"any other kind is the euro table", 2.675, "X", 2.68},
  };
  for (const Case& c : cases) EXPECT_EQ(ArrotondaConTabella(cv, &tabelle, c.importo, c.tipo), c.expected) << c.name;
  EXPECT_EQ(letture, 2) << "each table is read once";
  EXPECT_EQ(ArrotondaConTabella(cv, nullptr, 1234.5, "L"), 1235) << "no tables: lira decimals";
}

TEST(ArrotondaConTabella, FailedReadIsRetried) {
  int letture = 0;
  TabelleArrotondamento tabelle([&](const std::string&) -> std::vector<FasciaArrotondamento> {
    if (++letture == 1) throw util::RuntimeError(3146, "ODBC call failed");
    return {{1000, 5, "A"}};
  });
  EXPECT_THROW(ArrotondaConTabella(InLire(), &tabelle, 12, "L"), util::RuntimeError);
  EXPECT_EQ(ArrotondaConTabella(InLire(), &tabelle, 12, "L"), 10);
}

TEST(ArrotondaConTabella, UsedByConversionsWhenAsked) {
  TabelleArrotondamento tabelle([](const std::string& t) {
    return t == "ArrotLire" ? std::vector<FasciaArrotondamento>{{1e12, 50, "E"}}
                            : std::vector<FasciaArrotondamento>{{1e12, 0.05, "A"}};
  });
  const ContestoValuta cv = InEuro();
  EXPECT_EQ(ConvertiDaEuro(cv, &tabelle, 1, util::Value(), "", "L.", false, std::nullopt, true), 1950);
  EXPECT_EQ(ConvertiInEuro(cv, &tabelle, 10.01, util::Value(2.0), "/", "USD", false, std::nullopt, true), 5.0);
}

TEST(ConfrontaImporti, SignWithoutNoise) {
  struct Case {
    const char* name;
    util::Value a, b;
    int p;
    int expected;
  };
  const Case cases[] = {
      {"noise is zero", util::Value(0.000000001), util::Value(0.0), -8, 0},
      {"a cent below zero", util::Value(-0.01), util::Value(0.0), -8, -1},
      {"above", util::Value(0.1 + 0.2), util::Value(0.3), -8, 0},
      {"greater", util::Value(2.0), util::Value(1.999), -2, 0},
      {"greater at 3 decimals", util::Value(2.0), util::Value(1.999), -3, 1},
      {"null b, empty a", util::Value(""), util::Value(), -8, 0},
      {"null b, non-empty a", util::Value(5.0), util::Value(), -8, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(ConfrontaImporti(c.a, c.b, c.p), c.expected) << c.name;
}

}  // namespace
}  // namespace company
