#include "src/ui/Campi.h"

#include <gtest/gtest.h>

#include "components/util/DateEntry.h"
#include "tests/support/FakeOperatore.h"

namespace {

struct CampoProva : ui::Campo {
  std::string nome = "Txt";
  int64_t sfondo = ui::kColoreSistemaFinestra;
  std::string testo;
  int fuoco = 0;
  std::string Nome() const override { return nome; }
  int64_t Sfondo() const override { return sfondo; }
  void ImpostaSfondo(int64_t c) override { sfondo = c; }
  std::string Testo() const override { return testo; }
  void ImpostaTesto(const std::string& t) override { testo = t; }
  void DaiFuoco() override { ++fuoco; }
};

const ui::ColoriCampi kColori{0xFFFF80, ui::kColoreSistemaFinestra, 255, ui::kColoreSistemaFinestra};

TEST(Campi, FocusColours) {
  CampoProva a, b, rosso, altro;
  altro.nome = "cmbTipo";
  b.sfondo = kColori.fuoco;
  altro.sfondo = kColori.fuoco;
  rosso.sfondo = kColori.errore;
  const std::vector<ui::Campo*> tutti{&a, &b, &rosso, &altro};

  ui::PrendeFuoco(a, tutti, kColori, false);
  EXPECT_EQ(a.sfondo, kColori.fuoco);
  EXPECT_EQ(b.sfondo, kColori.noFuoco) << "the txt field that kept the focus colour loses it";
  EXPECT_EQ(altro.sfondo, kColori.fuoco) << "only txt fields are cleared";

  ui::PrendeFuoco(rosso, tutti, kColori, false);
  EXPECT_EQ(rosso.sfondo, kColori.errore) << "a red field stays red when entered";
  ui::PerdeFuoco(rosso, kColori, false);
  EXPECT_EQ(rosso.sfondo, kColori.errore) << "and when left";
  ui::PerdeFuoco(rosso, kColori, true);
  EXPECT_EQ(rosso.sfondo, kColori.noFuoco) << "unless forced";
  ui::PerdeFuoco(a, kColori, false);
  EXPECT_EQ(a.sfondo, kColori.noFuoco);
}

TEST(Campi, ControllaData) {
  const util::Date lavoro = *util::Date::Make(2024, 3, 15);
  struct Caso {
    const char* nome;
    std::string testo;
    int opzione, modo;
    bool mostra;
    std::string minima;
    int stato;
    std::string testoDopo;
    int64_t sfondo;
    int fuoco;
    std::string messaggio;
    bool mostrato;
  } casi[] = {
      {"a date below DataMinima, shown, mode 1", "31/12/1899", util::kDataFacoltativa, 1, true, "01/01/1900",
       util::kDataRifiutata, "31/12/1899", 255, 0, "Data troppo piccola", true},
      {"below DataMinima, not shown, mode 2", "311299", util::kDataFacoltativa, 2, false, "01/01/2000",
       util::kDataRifiutata, "31/12/1999", ui::kColoreSistemaFinestra, 1, "Data troppo piccola", false},
      {"DataMinima itself is valid", "01/01/1900", util::kDataFacoltativa, 3, true, "01/01/1900", util::kDataValida,
       "01/01/1900", 0x00FF00, 0, "", false},
      {"a short entry completed", "20", util::kDataFacoltativa, 1, true, "01/01/1900", util::kDataCompletata,
       "20/03/2024", 0x00FF00, 0, "", false},
      {"empty and optional: valid", "", util::kDataFacoltativa, 1, true, "01/01/1900", util::kDataVuota, "", 0x00FF00,
       0, "", false},
      {"empty DataMinima: any date", "01/01/1800", util::kDataFacoltativa, 1, true, "", util::kDataValida, "01/01/1800",
       0x00FF00, 0, "", false},
      {"not a date, both marks", "31/02/2024", util::kDataFacoltativa, 3, false, "01/01/1900", util::kDataErrata,
       "31/02/2024", 255, 1, "", false},
  };
  for (const auto& c : casi) {
    testsupport::FakeOperatore op;
    CampoProva f;
    f.testo = c.testo;
    ui::VerificaData v;
    v.opzione = c.opzione;
    v.modo = c.modo;
    v.mostra = c.mostra;
    v.coloreValido = 0x00FF00;
    std::string messaggio = "?";
    EXPECT_EQ(ui::ControllaData(f, v, lavoro, c.minima, kColori, op, &messaggio), c.stato) << c.nome;
    EXPECT_EQ(f.testo, c.testoDopo) << c.nome;
    EXPECT_EQ(f.sfondo, c.sfondo) << c.nome;
    EXPECT_EQ(f.fuoco, c.fuoco) << c.nome;
    if (!c.messaggio.empty()) {
      EXPECT_EQ(messaggio, c.messaggio) << c.nome;
    }
    EXPECT_EQ(op.Mostrato("Data troppo piccola"), c.mostrato) << c.nome;
  }
}

}  // namespace
