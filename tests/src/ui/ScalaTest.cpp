#include "src/ui/Scala.h"

#include <gtest/gtest.h>

#include <map>

#include "components/util/ScreenFactor.h"

namespace {

ui::Video Schermo(int w, int h, ui::BarraApplicazioni barra = {}) {
  ui::Video v;
  v.larghezzaPx = w;
  v.altezzaPx = h;
  v.barra = barra;
  return v;
}

ui::BarraApplicazioni BarraInBasso(int w, int h, int alta) {
  return ui::StatoBarraApplicazioni({0, 0, w, h}, {0, 0, w, h - alta});
}

TEST(Scala, AutomaticScreenFactor) {
  struct Caso {
    const char* nome;
    int w, h;
    double atteso;
  } casi[] = {
      {"1024x768: both ratios 1.28", 1024, 768, 1.28},
      {"1280x800: the height's 1.3333 to two decimals", 1280, 800, 1.33},
      {"800x600 is the design size", 800, 600, 1},
      {"a screen of no size is not scaled to nothing", 0, 0, 1},
      {"1920x1080", 1920, 1080, 1.8},
  };
  for (const auto& c : casi) EXPECT_DOUBLE_EQ(util::AutomaticScreenFactor(c.w, c.h), c.atteso) << c.nome;
}

TEST(Scala, StatoBarraApplicazioni) {
  struct Caso {
    const char* nome;
    ui::Rettangolo disponibile;
    int bordo;
    ui::Rettangolo rect;
  } casi[] = {
      {"no bar", {0, 0, 1024, 768}, ui::kBordoNessuno, {}},
      {"bottom", {0, 0, 1024, 728}, ui::kBordoBasso, {0, 728, 1024, 768}},
      {"top", {0, 30, 1024, 768}, ui::kBordoAlto, {0, 0, 1024, 30}},
      {"left", {60, 0, 1024, 768}, ui::kBordoSinistro, {0, 0, 60, 768}},
      {"right", {0, 0, 964, 768}, ui::kBordoDestro, {964, 0, 1024, 768}},
      {"a top panel and a wider bottom bar: the bottom one", {0, 20, 1024, 720}, ui::kBordoBasso, {0, 720, 1024, 768}},
  };
  for (const auto& c : casi) {
    const ui::BarraApplicazioni b = ui::StatoBarraApplicazioni({0, 0, 1024, 768}, c.disponibile);
    EXPECT_EQ(b.bordo, c.bordo) << c.nome;
    EXPECT_EQ(b.Visibile(), c.bordo != ui::kBordoNessuno) << c.nome;
    EXPECT_EQ(b.rect.left, c.rect.left) << c.nome;
    EXPECT_EQ(b.rect.top, c.rect.top) << c.nome;
    EXPECT_EQ(b.rect.right, c.rect.right) << c.nome;
    EXPECT_EQ(b.rect.bottom, c.rect.bottom) << c.nome;
  }
}

TEST(Scala, RisolviFattore) {
  // A screen at the top left corner, 6000 x 4000 twips.
  const ui::GeometriaForm piccola{0, 0, 6000, 4000};
  // 640 px high: 1.33 would take it below an 800 px screen.
  const ui::GeometriaForm alta{0, 0, 9000, 9600};
  std::map<std::string, double> ini{{"Compensa-Sel", 1.5}, {"Compensa-Rip", -2}};
  auto leggi = [&](const std::string& k) -> std::optional<double> {
    const auto it = ini.find(k);
    if (it == ini.end()) return std::nullopt;
    return it->second;
  };
  struct Caso {
    const char* nome;
    double fattore;
    ui::FattoriVideo config;
    std::string chiave;
    ui::GeometriaForm form;
    ui::Video video;
    double atteso;
    // clang-format off
  } casi[] = {
      {"Generale -1: never scaled", -2, {-1, 0}, "Compensa-Sel", piccola, Schermo(1024, 768), 1},
      {"Generale -1 wins over a factor in the screen's key", -2, {-1, -1}, "Compensa-Sel", piccola,
       Schermo(1920, 1080), 1},
      {"Generale 0 on 1024x768", -2, {0, 0}, "", piccola, Schermo(1024, 768), 1.28},
      {"Generale 0 on 1280x800: 1.33 fits a small screen", -2, {0, 0}, "", piccola, Schermo(1280, 800), 1.33},
      {"Generale 0 on 1280x800: fitted to the screen's height", -2, {0, 0}, "", alta, Schermo(1280, 800),
       12000.0 / 9600},
      {"Generale 0: fitted to the width too", -2, {0, 0}, "", {3000, 0, 19000, 3000}, Schermo(1280, 800),
       19200.0 / 22000},
      {"Generale 1.2 as it is", -2, {1.2, 1.2}, "", piccola, Schermo(1024, 768), 1.2},
      {"Generale -2: the screen's own key", -2, {-2, 1.1}, "Compensa-Sel", piccola, Schermo(1024, 768), 1.5},
      {"Generale -2: a key at -2 takes PersBase", -2, {-2, 1.1}, "Compensa-Rip", piccola, Schermo(1024, 768), 1.1},
      {"Generale -2: a missing key takes PersBase", -2, {-2, 1.1}, "Compensa-Xyz", piccola, Schermo(1024, 768),
       1.1},
      {"Generale -2: no key at all takes PersBase", -2, {-2, 1.1}, "", piccola, Schermo(1024, 768), 1.1},
      {"Generale -2, PersBase -2: automatic", -2, {-2, -2}, "", piccola, Schermo(1024, 768), 1.28},
      {"a negative factor other than -1 and -2 means 1", -2, {-3, -3}, "", piccola, Schermo(1024, 768), 1},
      {"a factor passed by the screen", 1.1, {0, 0}, "", piccola, Schermo(1024, 768), 1.1},
      {"a factor of 1 is not fitted even below a bar", 1, {0, 0}, "", alta, Schermo(1024, 768, BarraInBasso(1024, 768, 40)), 1},
      {"a bottom taskbar: the bottom edge meets the bar's top", -2, {1.5, 1.5}, "", {0, 600, 9000, 9000},
       Schermo(1024, 768, BarraInBasso(1024, 768, 48)), 720.0 * 15 / 9600},
      {"no taskbar: a set factor is not fitted", -2, {1.5, 1.5}, "", {0, 600, 9000, 9000}, Schermo(1024, 768), 1.5},
      {"a taskbar on the left: fitted to the screen's height", -2, {1.5, 1.5}, "", {0, 600, 9000, 9000},
       Schermo(1024, 768, ui::StatoBarraApplicazioni({0, 0, 1024, 768}, {60, 0, 1024, 768})), 768.0 * 15 / 9600},
  };
  // clang-format on
  for (const auto& c : casi)
    EXPECT_NEAR(ui::RisolviFattore(c.fattore, c.config, c.chiave, leggi, c.form, c.video), c.atteso, 1e-9) << c.nome;
}

ui::ControlloScala Controllo(std::string nome, int indice, ui::TipoControllo tipo) {
  ui::ControlloScala c;
  c.nome = std::move(nome);
  c.indice = indice;
  c.tipo = tipo;
  c.left = 100;
  c.top = 200;
  c.width = 1000;
  c.height = 300;
  c.fontSize = 8;
  return c;
}

TEST(Scala, ScalaControlli) {
  const std::vector<ui::Esclusione> esclusioni{{"Txt", 2, 3}, {"lab", -1, 4}, {"Com", -1, 1}};
  struct Caso {
    const char* nome;
    ui::ControlloScala c;
    double left, top, width, height, font;
  } casi[] = {
      {"a text box scales in everything", Controllo("Txt", 1, ui::TipoControllo::Testo), 200, 400, 2000, 600, 16},
      {"flags 3: in place and at its size, its font scaled", Controllo("Txt", 2, ui::TipoControllo::Testo), 100, 200,
       1000, 300, 16},
      {"index -1 matches every element: font kept", Controllo("lab", 7, ui::TipoControllo::Etichetta), 200, 400, 2000,
       600, 8},
      {"flag 1: resized, not moved", Controllo("Com", 0, ui::TipoControllo::Comando), 100, 200, 2000, 600, 16},
      {"an image without stretch keeps position and size",
       [] {
         auto c = Controllo("img", -1, ui::TipoControllo::Immagine);
         c.stretch = false;
         return c;
       }(),
       100, 200, 1000, 300, 8},
      {"an image with stretch scales", Controllo("img", -1, ui::TipoControllo::Immagine), 200, 400, 2000, 600, 8},
  };
  for (auto& c : casi) {
    ui::FormScala form{6000, 4000, 8};
    std::vector<ui::ControlloScala> v{c.c};
    ui::ScalaControlli(form, v, 2, esclusioni);
    EXPECT_DOUBLE_EQ(v[0].left, c.left) << c.nome;
    EXPECT_DOUBLE_EQ(v[0].top, c.top) << c.nome;
    EXPECT_DOUBLE_EQ(v[0].width, c.width) << c.nome;
    EXPECT_DOUBLE_EQ(v[0].height, c.height) << c.nome;
    EXPECT_DOUBLE_EQ(v[0].fontSize, c.font) << c.nome;
    EXPECT_DOUBLE_EQ(form.width, 12000) << c.nome;
    EXPECT_DOUBLE_EQ(form.fontSize, 16) << c.nome;
  }
}

TEST(Scala, ScalaControlliSpecialKinds) {
  ui::FormScala form{6000, 4000, 8};
  auto lista = Controllo("lst", -1, ui::TipoControllo::Lista);
  lista.height = 100;
  auto linea = Controllo("lin", -1, ui::TipoControllo::Linea);
  linea.x1 = 10, linea.y1 = 20, linea.x2 = 30, linea.y2 = 40;
  auto griglia = Controllo("dbg", -1, ui::TipoControllo::GrigliaDati);
  griglia.headFontSize = 9;
  auto barra = Controllo("sta", -1, ui::TipoControllo::BarraStato);
  barra.pannelli = {1000, 2000};
  std::vector<ui::ControlloScala> v{lista, linea, griglia, barra};
  ui::ScalaControlli(form, v, 0.5, {});
  EXPECT_DOUBLE_EQ(v[0].height, 61) << "a list box shrunk to 50 twips keeps one line";
  EXPECT_DOUBLE_EQ(v[1].x2, 15);
  EXPECT_DOUBLE_EQ(v[1].y2, 20);
  EXPECT_DOUBLE_EQ(v[2].headFontSize, 4.5);
  EXPECT_DOUBLE_EQ(v[3].pannelli[1], 1000);
  EXPECT_DOUBLE_EQ(v[3].fontSize, 8) << "a status bar has no font of its own here";

  for (double f : {1.0, 0.0, -1.0}) {
    std::vector<ui::ControlloScala> w{Controllo("Txt", 1, ui::TipoControllo::Testo)};
    ui::FormScala g{6000, 4000, 8};
    ui::ScalaControlli(g, w, f, {});
    EXPECT_DOUBLE_EQ(w[0].width, 1000) << "factor " << f << " changes nothing";
    EXPECT_DOUBLE_EQ(g.width, 6000) << "factor " << f;
  }
}

TEST(Scala, NomeEIndice) {
  EXPECT_EQ(ui::NomeEIndice("Txt_10"), std::make_pair(std::string("Txt"), 10));
  EXPECT_EQ(ui::NomeEIndice("labDescr"), std::make_pair(std::string("labDescr"), -1));
  EXPECT_EQ(ui::NomeEIndice("Com_Ok"), std::make_pair(std::string("Com_Ok"), -1));
}

}  // namespace
