#include "src/ui/Tasti.h"

#include <gtest/gtest.h>

#include "tests/support/FakeHost.h"
#include "tests/support/FakeOperatore.h"

namespace {

// A text box: its text and selection, as a screen's would hold them.
struct Casella : ui::CampoTesto {
  std::string nome = "Txt";
  bool multi = false;
  std::u16string testo;
  int inizio = 0, lunghezza = 0;
  std::string Nome() const override { return nome; }
  bool MultiRiga() const override { return multi; }
  std::u16string Testo() const override { return testo; }
  void ImpostaTesto(const std::u16string& t) override {
    testo = t;
    inizio = lunghezza = 0;
  }
  int InizioSelezione() const override { return inizio; }
  int LunghezzaSelezione() const override { return lunghezza; }
  void Seleziona(int i, int l) override {
    inizio = i;
    lunghezza = l;
  }
  void SostituisciSelezione(const std::u16string& t) override {
    testo.replace(static_cast<size_t>(inizio), static_cast<size_t>(lunghezza), t);
    inizio += static_cast<int>(t.size());
    lunghezza = 0;
  }
  std::u16string Selezione() const { return testo.substr(static_cast<size_t>(inizio), static_cast<size_t>(lunghezza)); }
};

struct Schermo : ui::AmbienteTasti {
  Casella* attivo = nullptr;
  bool griglia = false;
  int spostamento = 0;
  int fuocoAlForm = 0;
  int aiuti = 0;
  ui::CampoTesto* CampoAttivo() override { return attivo; }
  bool GrigliaDatiAttiva() override { return griglia; }
  void SpostaFuoco(int passo) override { spostamento += passo; }
  void FuocoAlForm() override { ++fuocoAlForm; }
  bool Aiuto(int& tasto, int) override {
    if (tasto != ui::kTastoF1) return false;
    ++aiuti;
    tasto = 0;
    return true;
  }
};

struct Banco {
  testsupport::FakeOperatore op;
  testsupport::FakeHost host;
  ui::StatoTastiera stato;
  Schermo schermo;
  Casella casella;
  Banco() { schermo.attivo = &casella; }
  int Premi(int tasto, int shift, bool griglia = false, bool multi = true) {
    int k = tasto, s = shift;
    const int r = ui::GestisciTasto(k, s, schermo, stato, {&host, op}, griglia, multi);
    EXPECT_EQ(r == 1, k == 0) << "a consumed key comes back as 0";
    return r;
  }
};

TEST(Tasti, EnterMovesTheFocus) {
  struct Caso {
    const char* nome;
    bool multi;
    std::u16string testo;
    int inizio, lunghezza;
    int shift;
    bool griglia, flagGriglia;
    int risultato, spostamento;
    bool invioPassa;
  } casi[] = {
      {"single-line: forward", false, u"abc", 0, 0, 0, false, false, 1, 1, false},
      {"single-line Shift+Enter: backward", false, u"abc", 0, 0, ui::kShift, false, false, 1, -1, false},
      {"multi-line with part selected: stays and inserts a line", true, u"riga uno", 0, 4, 0, false, false, 0, 0, true},
      {"multi-line with nothing selected: stays", true, u"riga uno", 3, 0, 0, false, false, 0, 0, true},
      {"multi-line wholly selected: moves on", true, u"riga uno", 0, 8, 0, false, false, 1, 1, false},
      {"data grid without the grid flag: stays", false, u"", 0, 0, 0, true, false, 0, 0, false},
      {"data grid with the grid flag: moves on", false, u"", 0, 0, 0, true, true, 1, 1, false},
      {"Ctrl+Enter is no field move", false, u"abc", 0, 0, ui::kCtrl, false, false, 0, 0, false},
  };
  for (const auto& c : casi) {
    Banco b;
    b.casella.multi = c.multi;
    b.casella.testo = c.testo;
    b.casella.Seleziona(c.inizio, c.lunghezza);
    b.schermo.griglia = c.griglia;
    EXPECT_EQ(b.Premi(ui::kTastoInvio, c.shift, c.flagGriglia), c.risultato) << c.nome;
    EXPECT_EQ(b.schermo.spostamento, c.spostamento) << c.nome;
    EXPECT_EQ(b.stato.invioPassa, c.invioPassa) << c.nome;
    // What the key press then types: a line break only in the box that keeps it.
    EXPECT_EQ(ui::FiltraTasto(u'\r', b.stato, "") == u'\r', c.invioPassa) << c.nome;
  }
}

TEST(Tasti, FiltraTasto) {
  struct Caso {
    const char* nome;
    std::string virgola;
    int ultimoTasto, ultimoShift;
    char16_t c, atteso;
  } casi[] = {
      {"keypad decimal key types a comma", "S", ui::kTastoDecimaleTastierino, 0, u'.', u','},
      {"answer compared ignoring case", "s", ui::kTastoDecimaleTastierino, 0, u'.', u','},
      {"the main keyboard's full stop stays", "S", 190, 0, u'.', u'.'},
      {"without TastierinoVirgola the keypad types a full stop", "N", ui::kTastoDecimaleTastierino, 0, u'.', u'.'},
      {"keypad with Shift: as typed", "S", ui::kTastoDecimaleTastierino, ui::kShift, u'.', u'.'},
      {"Esc types nothing", "S", ui::kTastoEsc, 0, 27, 0},
      {"a letter stays", "S", 65, 0, u'a', u'a'},
  };
  for (const auto& c : casi) {
    ui::StatoTastiera st;
    st.ultimoTasto = c.ultimoTasto;
    st.ultimoShift = c.ultimoShift;
    EXPECT_EQ(ui::FiltraTasto(c.c, st, c.virgola), c.atteso) << c.nome;
  }
}

TEST(Tasti, F1GoesToHelpFirst) {
  Banco b;
  EXPECT_EQ(b.Premi(ui::kTastoF1, 0), 1);
  EXPECT_EQ(b.schermo.aiuti, 1);
  EXPECT_EQ(b.stato.ultimoTasto, 0) << "F1 is not remembered as the last key";
}

TEST(Tasti, CtrlKeysOfTheHost) {
  struct Caso {
    const char* nome;
    std::string risposta;
    std::string campo;
    bool multi;
    int risultato;
    std::u16string testo;
  } casi[] = {
      {"answer 1 swallows the key", "1", "Txt", false, 1, u"abcdef"},
      {"D types into a single-line txt as its whole text", "D  Via Roma 1 ", "Txt", false, 1, u"Via Roma 1"},
      {"N types at the cursor of a multi-line txt", "NXY", "txt", true, 1, u"abXYef"},
      {"a field not named txt is left alone", "DVia Roma", "Cod", false, 1, u"abcdef"},
      {"any other answer leaves the key to the screen", "", "Txt", false, 0, u"abcdef"},
  };
  for (const auto& c : casi) {
    Banco b;
    b.host.valoriProgramma["TastiCtrl"] = c.risposta;
    b.casella.nome = c.campo;
    b.casella.multi = c.multi;
    b.casella.testo = u"abcdef";
    b.casella.Seleziona(2, 2);
    EXPECT_EQ(b.Premi('K', ui::kCtrl | ui::kShift), c.risultato) << c.nome;
    EXPECT_EQ(b.casella.testo, c.testo) << c.nome;
    ASSERT_FALSE(b.host.chiamate.empty());
    EXPECT_EQ(b.host.chiamate.back().op, "ProgramValue") << c.nome;
    EXPECT_EQ(b.host.chiamate.back().args.at(0), "TastiCtrl") << c.nome;
  }
}

TEST(Tasti, FindWithAnEmptyAnswerChangesNothing) {
  Banco b;
  b.casella.testo = u"Fattura 12 del 2024";
  b.casella.Seleziona(3, 2);
  b.op.risposteInput = {std::string("")};
  EXPECT_EQ(b.Premi(ui::kTastoF, ui::kCtrl | ui::kAlt), 1);
  EXPECT_EQ(b.casella.testo, u"Fattura 12 del 2024");
  EXPECT_EQ(b.casella.inizio, 3);
  EXPECT_EQ(b.casella.lunghezza, 2);
  EXPECT_TRUE(b.stato.cerca.empty());
  EXPECT_EQ(b.op.messaggi.size(), 1u) << "only the question";
}

TEST(Tasti, PageDownWithNoSearchTextDoesNothing) {
  Banco b;
  b.casella.testo = u"abc abc";
  b.casella.Seleziona(1, 0);
  EXPECT_EQ(b.Premi(ui::kTastoPagGiu, ui::kCtrl | ui::kAlt), 1);
  EXPECT_EQ(b.casella.inizio, 1);
  EXPECT_EQ(b.casella.lunghezza, 0);
  EXPECT_TRUE(b.op.messaggi.empty()) << "no question and no \"Testo non trovato\"";
}

TEST(Tasti, FindAndReplace) {
  struct Passo {
    int tasto, shift;
    std::vector<std::optional<std::string>> risposte;
    std::u16string testo;
    int inizio, lunghezza;
    bool nonTrovato;
  };
  struct Caso {
    const char* nome;
    std::u16string testo;
    int inizio, lunghezza;
    std::vector<Passo> passi;
  } casi[] = {
      {"find ignores case by default, then Page Down the next, then not found",
       u"Rata uno, rata due",
       0,
       0,
       {{ui::kTastoF, ui::kCtrl | ui::kAlt, {std::string("RATA")}, u"Rata uno, rata due", 0, 4, false},
        {ui::kTastoPagGiu, ui::kCtrl | ui::kAlt, {}, u"Rata uno, rata due", 10, 4, false},
        {ui::kTastoPagGiu, ui::kCtrl | ui::kAlt, {}, u"Rata uno, rata due", 10, 4, true}}},
      {"find with Shift searches backwards from the end; Page Up the one before",
       u"ab ab ab",
       0,
       0,
       {{ui::kTastoF, ui::kCtrl | ui::kAlt | ui::kShift, {std::string("ab")}, u"ab ab ab", 6, 2, false},
        {ui::kTastoPagSu, ui::kCtrl | ui::kAlt, {}, u"ab ab ab", 3, 2, false}}},
      {"compare mode set exact: the other case is not found",
       u"Rata",
       0,
       0,
       {{ui::kTastoModoConfronto, ui::kCtrl | ui::kAlt | ui::kShift, {}, u"Rata", 0, 0, false},
        {ui::kTastoF, ui::kCtrl | ui::kAlt, {std::string("rata")}, u"Rata", 0, 0, true}}},
      {"replace on a matching selection, then the next selected; none left: not found and nothing replaced",
       u"uno e uno",
       0,
       3,
       {{ui::kTastoS, ui::kCtrl | ui::kAlt, {std::string("uno"), std::string("due")}, u"due e uno", 6, 3, false},
        {ui::kTastoS, ui::kCtrl | ui::kAlt, {std::string("uno"), std::string("due")}, u"due e due", 6, 3, true}}},
      {"replace with no matching selection replaces the first found",
       u"x uno uno",
       0,
       0,
       {{ui::kTastoS, ui::kCtrl | ui::kAlt, {std::string("uno"), std::string("tre")}, u"x tre uno", 2, 3, false}}},
      {"the search goes on after a replacement that holds the search text",
       u"a b",
       0,
       1,
       {{ui::kTastoS, ui::kCtrl | ui::kAlt, {std::string("a"), std::string("aa")}, u"aa b", 0, 2, true}}},
      {"empty replacement answer ends with nothing replaced",
       u"uno",
       0,
       3,
       {{ui::kTastoS, ui::kCtrl | ui::kAlt, {std::string("uno"), std::string("")}, u"uno", 0, 3, false}}},
      {"Shift+Page Down with no replacement given only searches",
       u"uno uno",
       0,
       3,
       {{ui::kTastoF, ui::kCtrl | ui::kAlt, {std::string("uno")}, u"uno uno", 0, 3, false},
        {ui::kTastoPagGiu, ui::kCtrl | ui::kAlt | ui::kShift, {}, u"uno uno", 4, 3, false}}},
  };
  for (const auto& c : casi) {
    Banco b;
    b.casella.testo = c.testo;
    b.casella.Seleziona(c.inizio, c.lunghezza);
    int n = 0;
    for (const Passo& p : c.passi) {
      ++n;
      b.op.messaggi.clear();
      b.op.risposteInput.assign(p.risposte.begin(), p.risposte.end());
      b.Premi(p.tasto, p.shift);
      EXPECT_EQ(b.casella.testo, p.testo) << c.nome << " step " << n;
      EXPECT_EQ(b.casella.inizio, p.inizio) << c.nome << " step " << n;
      EXPECT_EQ(b.casella.lunghezza, p.lunghezza) << c.nome << " step " << n;
      EXPECT_EQ(b.op.Mostrato("Testo non trovato"), p.nonTrovato) << c.nome << " step " << n << "\n" << b.op.Elenco();
    }
  }
}

TEST(Tasti, FindOutsideATextBoxLeavesTheKey) {
  Banco b;
  b.schermo.attivo = nullptr;
  EXPECT_EQ(b.Premi(ui::kTastoF, ui::kCtrl | ui::kAlt), 0);
  EXPECT_TRUE(b.op.messaggi.empty());
}

TEST(Tasti, CercaTestoIgnoresCaseOfAccentedLetters) {
  EXPECT_EQ(ui::CercaTesto(u"Citt\u00C0 e citt\u00E0", u"citt\u00E0", 0, 100, true, true), 0);
  EXPECT_EQ(ui::CercaTesto(u"Citt\u00C0 e citt\u00E0", u"citt\u00E0", 0, 100, true, false), 8);
}

}  // namespace
