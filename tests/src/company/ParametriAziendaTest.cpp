#include "src/company/ParametriAzienda.h"

#include <gtest/gtest.h>

#include "components/db/DbExecutor.h"
#include "components/util/Error.h"
#include "tests/support/FakeHost.h"

namespace company {
namespace {

// The shared fake host, as ADA on 15/03/2024.
struct HostParametri : testsupport::FakeHost {
  HostParametri() {
    operatore = "ADA";
    dataLavoro = *util::Date::Make(2024, 3, 15);
  }
  void Personale(const std::string& sezione, const std::string& nome, const util::Value& v) {
    ImpostaPersonale(sezione, nome, v);
  }
};

TEST(LeggiParPers, FallsBackToSecondKeyThenDefault) {
  HostParametri h;
  h.Personale("Tutti", "DataMinima", util::Value("01/01/2000"));
  h.Personale("Compensa", "HlpSpost", util::Value("S"));
  struct Case {
    const char* name;
    const char* sezione;
    const char* nome;
    std::optional<std::string> sezione2, nome2;
    const char* expected;
    const char* trovato;
  };
  const Case cases[] = {
      {"found", "Tutti", "DataMinima", std::nullopt, std::nullopt, "01/01/2000", "01/01/2000"},
      {"missing gives default and marker", "Tutti", "Manca", std::nullopt, std::nullopt, "dflt", kParametroMancante},
      {"second key", "Tutti", "HlpSpost", "Compensa", "HlpSpost", "S", "S"},
      {"second key missing too", "Tutti", "Manca", "Compensa", "Manca", "dflt", kParametroMancante},
      {"second key not asked when first found", "Tutti", "DataMinima", "Compensa", "HlpSpost", "01/01/2000",
       "01/01/2000"},
  };
  for (const Case& c : cases) {
    std::string trovato;
    EXPECT_EQ(LeggiParPers(h, c.sezione, c.nome, "dflt", &trovato, c.sezione2, c.nome2), c.expected) << c.name;
    EXPECT_EQ(trovato, c.trovato) << c.name;
  }
  EXPECT_EQ(h.Di("GetParameter").front().args.at(0), "Personal.Tutti.\xC2\xA7"
                                                     "DataMinima");
}

TEST(OperatoreMassimizzato, Lists) {
  struct Case {
    const char* lista;
    const char* operatore;
    bool expected;
  };
  const Case cases[] = {
      {"tutti,", "ADA", true},       {"TUTTI,", "ADA", true},       {"Tutti", "ADA", true},
      {",ADA,BRUNO,", "ADA", true},  {"ADA,BRUNO", "ADA", true},    {"BRUNO,ADA", "ADA", true},
      {"BRUNO, ada ,", "ADA", true}, {",ADAMO,", "ADA", false},     {"", "ADA", false},
      {"BRUNO", "ADA", false},       {"tutti,BRUNO", "ADA", false}, {"ADA", "", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(OperatoreMassimizzato(c.lista, c.operatore), c.expected) << "'" << c.lista << "' for " << c.operatore;
}

TEST(CaricaDatiAzienda, DefaultsForEmptyParameters) {
  HostParametri h;
  db::DbExecutor e;
  DatiAzienda d;
  CaricaDatiAzienda(h, e, "", d, true);
  EXPECT_EQ(d.dataLavoro, h.dataLavoro);
  EXPECT_EQ(d.monetaAzienda, "Euro");
  EXPECT_EQ(d.codLira, "L.");
  EXPECT_EQ(d.codEuro, "Euro");
  EXPECT_EQ(d.operCambio, "/");
  EXPECT_EQ(d.cambioLiraEuro, "1936,27");
  EXPECT_EQ(d.decLire, 0);
  EXPECT_EQ(d.decGestLire, 0);
  EXPECT_EQ(d.decEuro, 2);
  EXPECT_EQ(d.decAzienda, 2) << "empty currency is the euro, decimals of the euro";
  EXPECT_EQ(d.coloreErrore, 255);
  EXPECT_EQ(d.coloreNormale, 0x80000005);
  EXPECT_EQ(d.coloreFuoco, 0xFFFF80);
  EXPECT_EQ(d.coloreNoFuoco, 0x80000005);
  EXPECT_EQ(d.coloreForm, 0);
  EXPECT_EQ(d.statoFinestra, "");
  EXPECT_EQ(d.decodHelpAbil, "N");
  EXPECT_FALSE(d.decodHelpPersKey);
}

TEST(CaricaDatiAzienda, ValuesFromTheHost) {
  HostParametri h;
  h.parametri["DescAzie"] = util::Value("Rossi S.p.A.");
  h.parametri["Ditta.Moneta"] = util::Value("l.");
  h.parametri["Ditta.CambioLiraEuro"] = util::Value("1936,27");
  h.parametri["ColBackGotFocus"] = util::Value("&H00FFFF&");
  h.parametri["ColBacklostFocus"] = util::Value("16777215");
  h.Personale("Tutti", "ColBackForm", util::Value("12632256"));
  h.Personale("Tutti", "Massimizzato", util::Value("BRUNO,ADA"));
  h.Personale("Tutti", "DecodHelpPersKey", util::Value("s"));
  h.Personale("Tutti", "TastierinoVirgola", util::Value("S"));
  db::DbExecutor e;
  DatiAzienda d;
  CaricaDatiAzienda(h, e, "", d, true);
  EXPECT_EQ(d.descrizione, "Rossi S.p.A.");
  EXPECT_EQ(d.decAzienda, 0) << "company currency is the lira code ignoring case";
  EXPECT_EQ(d.coloreFuoco, 0x00FFFF);
  EXPECT_EQ(d.coloreNoFuoco, 16777215);
  EXPECT_EQ(d.coloreForm, 12632256);
  EXPECT_EQ(d.statoFinestra, "2");
  EXPECT_TRUE(d.decodHelpPersKey);
  EXPECT_EQ(d.tastierinoVirgola, "S");

  h.parametri["ColBackGotFocus"] = util::Value("verde");
  CaricaDatiAzienda(h, e, "", d, true);
  EXPECT_EQ(d.coloreFuoco, 0xFFFF80) << "an unreadable colour keeps the default";
}

TEST(CaricaDatiAzienda, HostFailurePropagates) {
  HostParametri h;
  h.spento = true;
  db::DbExecutor e;
  DatiAzienda d;
  EXPECT_THROW(CaricaDatiAzienda(h, e, "", d, true), util::RuntimeError);
}

class AnnoContabileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.parametri["CoGe.AnnoCorr"] = util::Value("2024");
    h.parametri["CoGe.DataInizCont"] = util::Value("01/01/2024");
    h.parametri["CoGe.DataFineCont"] = util::Value("31/12/2024");
    h.parametri["CoGe.ApertoPrec"] = util::Value("S");
  }
  static util::Date D(int y, int m, int d) { return *util::Date::Make(y, m, d); }
  HostParametri h;
};

TEST_F(AnnoContabileTest, Bounds) {
  struct Case {
    const char* name;
    util::Date data;
    int16_t annoIn;
    const char* apertoPrec;
    int16_t stato;
    int16_t anno;
  };
  const Case cases[] = {
      {"first day", D(2024, 1, 1), 0, "S", 0, 2024},
      {"last day", D(2024, 12, 31), 0, "S", 0, 2024},
      {"previous year open", D(2023, 6, 30), 0, "S", 0, 2023},
      {"previous year closed", D(2023, 6, 30), 0, "N", 1, 2023},
      {"open flag ignores case", D(2023, 6, 30), 0, "s", 0, 2023},
      {"exactly one year before the first day", D(2023, 1, 1), 0, "S", 0, 2023},
      {"one day earlier", D(2022, 12, 31), 0, "S", 4, 0},
      {"one day earlier, computed", D(2022, 12, 31), -1, "S", 4, 2022},
      {"two years back", D(2022, 3, 1), 0, "S", 4, 0},
      {"two years back, computed", D(2022, 3, 1), -1, "S", 4, 2022},
      {"far back, computed", D(1990, 3, 1), -1, "S", 4, 1990},
      {"any other year argument means no", D(2022, 3, 1), 7, "S", 4, 0},
      {"after the last day", D(2025, 1, 1), 0, "S", 5, 0},
      {"after the last day, computed", D(2025, 1, 1), -1, "S", 5, 2025},
      {"far ahead, computed", D(2031, 12, 31), -1, "S", 5, 2031},
      {"time of day ignored", *util::Date::Make(2024, 12, 31, 23, 59), 0, "S", 0, 2024},
  };
  for (const Case& c : cases) {
    h.parametri["CoGe.ApertoPrec"] = util::Value(c.apertoPrec);
    int16_t anno = c.annoIn;
    EXPECT_EQ(AnnoContabile(h, c.data, anno), c.stato) << c.name;
    EXPECT_EQ(anno, c.anno) << c.name;
  }
}

TEST_F(AnnoContabileTest, YearNotStartingInJanuary) {
  h.parametri["CoGe.DataInizCont"] = util::Value("01/07/2024");
  h.parametri["CoGe.DataFineCont"] = util::Value("30/06/2025");
  int16_t anno = -1;
  EXPECT_EQ(AnnoContabile(h, D(2024, 6, 30), anno), 0);
  EXPECT_EQ(anno, 2023);
  anno = -1;
  EXPECT_EQ(AnnoContabile(h, D(2025, 7, 1), anno), 5);
  EXPECT_EQ(anno, 2025);
}

TEST_F(AnnoContabileTest, ErrorsGiveStatus3) {
  struct Case {
    const char* name;
    const char* chiave;
    util::Value valore;
  };
  const Case cases[] = {
      {"year not a number", "CoGe.AnnoCorr", util::Value("duemila")},
      {"first day missing", "CoGe.DataInizCont", util::Value("")},
      {"last day not a date", "CoGe.DataFineCont", util::Value("31/13/2024")},
  };
  for (const Case& c : cases) {
    SetUp();
    h.parametri[c.chiave] = c.valore;
    int16_t anno = -1;
    EXPECT_EQ(AnnoContabile(h, D(2024, 5, 5), anno), 3) << c.name;
    EXPECT_EQ(anno, 0) << c.name;
  }
  SetUp();
  h.spento = true;
  int16_t anno = -1;
  EXPECT_EQ(AnnoContabile(h, D(2024, 5, 5), anno), 3) << "host gone";
  EXPECT_EQ(anno, 0);
}

}  // namespace
}  // namespace company
