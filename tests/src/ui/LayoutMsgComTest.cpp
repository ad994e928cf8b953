#include "src/ui/qt/LayoutMsgCom.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "src/ui/Suono.h"

namespace {

// A screen of 1024x768 pixels at 15 twips a pixel; text 100 twips a
// character, 240 a line, wrapped by whole characters.
ui::MisureMsgCom Schermo() {
  ui::MisureMsgCom m;
  m.larghezzaSchermo = 15360;
  m.altezzaSchermo = 11520;
  m.altezzaUtile = 11070;
  m.bordoX = 120;
  m.bordoY = 570;
  m.misura = [](const std::string& t, int wrap) {
    int w = 0, lines = 0;
    size_t start = 0;
    while (start <= t.size()) {
      const size_t end = std::min(t.find('\n', start), t.size());
      const int chars = static_cast<int>(end - start) * 100;
      if (wrap > 0) {
        lines += std::max(1, (chars + wrap - 1) / wrap);
        w = std::max(w, std::min(chars, wrap));
      } else {
        ++lines;
        w = std::max(w, chars);
      }
      start = end + 1;
    }
    return std::make_pair(w, lines * 240);
  };
  return m;
}

ui::RichiestaMsg Richiesta(std::string testo, std::string c1 = "&Ok", std::optional<std::string> c2 = std::nullopt) {
  ui::RichiestaMsg r;
  r.psLabel = std::move(testo);
  r.psCom1 = std::move(c1);
  r.pvCom2 = std::move(c2);
  return r;
}

TEST(LayoutMsgCom, TheMessageSetsTheWidthAndEachCommandStandsInItsHalf) {
  const auto l = ui::CalcolaLayoutMsgCom(Richiesta("Confermi l'elaborazione delle scadenze ?", "Si", "No"), Schermo());
  const int etichetta = 40 * 100;
  EXPECT_FALSE(l.comandiDannoLarghezza);
  EXPECT_EQ(l.larghezza, etichetta + 600 + 120);
  const int interna = etichetta + 600;
  const int gap = (interna - 2 * 1215) / 2;
  EXPECT_EQ(l.sinistraComandi, (std::vector<int>{gap / 2, gap / 2 + 1215 + gap}));
  EXPECT_NEAR(l.sinistraComandi[0] + 1215 / 2.0, interna / 4.0, 1.0) << "centred in its half";
  EXPECT_NEAR(l.sinistraComandi[1] + 1215 / 2.0, interna * 3 / 4.0, 1.0) << "centred in its half";
  EXPECT_EQ(l.comandoDefault, 1);
  EXPECT_EQ(l.comandoAnnulla, 2);
  EXPECT_EQ(l.comandoFuoco, 1);
  EXPECT_EQ(l.sinistraEtichetta, (interna - etichetta) / 2);
  EXPECT_EQ(l.topComandi, 240 + 120 + 290);
  EXPECT_EQ(l.altezza, 570 + l.topComandi + 375 + 150);
}

TEST(LayoutMsgCom, ShortMessagesLeaveTheWidthToTheCommands) {
  const auto l = ui::CalcolaLayoutMsgCom(Richiesta("Errore", "&Riprovare", "&Annulla"), Schermo());
  EXPECT_TRUE(l.comandiDannoLarghezza);
  EXPECT_EQ(l.larghezza, 2 * (1215 + 400) + 120);
  EXPECT_EQ(l.sinistraComandi, (std::vector<int>{200, 200 + 1215 + 400}));
  EXPECT_EQ(l.larghezza - 120 - (l.sinistraComandi[1] + 1215), 200);
}

TEST(LayoutMsgCom, LongLinesWrapAndVeryTallMessagesTurnToTextMode) {
  struct Caso {
    const char* nome;
    std::string testo;
    bool sempreTxt;
    bool aCapo, modoTesto;
  } casi[] = {
      {"a line wider than 80% of the screen", std::string(200, 'x'), false, true, false},
      {"several hundred lines",
       [] {
         std::string s;
         for (int i = 0; i < 300; ++i) s += "riga\n";
         return s;
       }(),
       false, false, true},
      {"forced text mode", "Una riga", true, false, true},
  };
  for (const auto& c : casi) {
    auto r = Richiesta(c.testo);
    r.pbSempreTxt = c.sempreTxt;
    const auto m = Schermo();
    const auto l = ui::CalcolaLayoutMsgCom(r, m);
    EXPECT_EQ(l.aCapo, c.aCapo) << c.nome;
    EXPECT_EQ(l.modoTesto, c.modoTesto) << c.nome;
    if (c.aCapo) {
      EXPECT_EQ(l.larghezza, m.larghezzaSchermo * 80 / 100) << c.nome;
      EXPECT_EQ(l.larghezzaEtichetta, l.larghezza - m.bordoX) << c.nome;
      EXPECT_GT(l.altezzaEtichetta, 240) << c.nome;
    }
    if (c.modoTesto) {
      EXPECT_EQ(l.altezza, m.altezzaUtile) << c.nome;
      EXPECT_EQ(l.topComandi, m.altezzaUtile - m.bordoY - 375 - 290) << c.nome;
      EXPECT_EQ(l.altezzaTesto, l.topComandi - l.topTesto - 290) << c.nome;
      EXPECT_EQ(l.larghezzaTesto, l.larghezza - m.bordoX) << c.nome;
    }
  }
}

TEST(LayoutMsgCom, FocusAndDefaultCommands) {
  auto r = Richiesta("Confermi ?", "Si", "No");
  r.piComDefault = 2;
  EXPECT_EQ(ui::CalcolaLayoutMsgCom(r, Schermo()).comandoFuoco, 2);
  r.piComDefault = 3;
  EXPECT_EQ(ui::CalcolaLayoutMsgCom(r, Schermo()).comandoFuoco, 0) << "no third command";
  r.pvCom3 = "Forse";
  const auto l = ui::CalcolaLayoutMsgCom(r, Schermo());
  EXPECT_EQ(l.numeroComandi, 3);
  EXPECT_EQ(l.comandoDefault, 0) << "three commands: no default, no cancel";
  EXPECT_EQ(l.comandoAnnulla, 0);
  r.pvWidthCom = 2000;
  EXPECT_EQ(ui::CalcolaLayoutMsgCom(r, Schermo()).larghezzaComando, 2000);
}

TEST(CreaTono, AGeneratedToneOf200ms) {
  const auto w = ui::CreaTono(-440.0f, 200);
  ASSERT_EQ(w.size(), 44u + 2205u);
  auto u32 = [&](size_t at) { return w[at] | (w[at + 1] << 8) | (w[at + 2] << 16) | (w[at + 3] << 24); };
  EXPECT_EQ(std::string(w.begin(), w.begin() + 4), "RIFF");
  EXPECT_EQ(u32(4), 2241);
  EXPECT_EQ(std::string(w.begin() + 8, w.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(u32(24), 11025);
  EXPECT_EQ(std::string(w.begin() + 36, w.begin() + 40), "data");
  EXPECT_EQ(u32(40), 2205);
  EXPECT_EQ(w[44], 128) << "the sine starts at zero";
  // A quarter period of 2756.25 Hz lands exactly on sin = 1: 256 does not fit a byte.
  const auto picco = ui::CreaTono(2756.25f, 1);
  EXPECT_EQ(picco[44 + 1], 255);
}

}  // namespace
