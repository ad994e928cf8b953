// The selection screen on real widgets, offscreen, over a small company:
// what it shows on opening, keystrokes reaching the field checks, the lookup
// keys, and the confirmation starting both kinds of run, on every engine.
#include "src/selection/qt/FrmSaldaSelezioni.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "components/util/AccountCode.h"
#include "components/util/SqlLiteral.h"
#include "src/startup/Programma.h"
#include "src/ui/qt/CampiQt.h"
#include "src/worklist/QueryLista.h"
#include "src/worklist/qt/FrmSaldaLista.h"
#include "tests/src/selection/AziendaSelezione.h"
#include "tests/src/selection/CasiSelezione.h"
#include "tests/src/startup/FakePiattaforma.h"
#include "tests/support/AppQt.h"

namespace {

using namespace compensato::txt;
using selection::FrmSaldaSelezioni;
using testsupport::AziendaProva;

class SchermoSelezione : public ::testing::TestWithParam<testsupport::Engine> {
 public:
  SchermoSelezione() {
    testsupport::AppQt();
    testsupport::PreparaSelezione(az);
    auto f = std::make_unique<testsupport::FinestraRegistra>();
    f->tasti = &tasti;
    f->tipi = &tipi;
    finestra = f.get();
    p.aiuti = testsupport::AiutiProva(ctx, std::move(f));
  }

  AziendaProva az{GetParam()};
  compensato::Contesto& ctx = az.ctx();
  testsupport::FakePiattaforma pf;
  startup::Programma p{ctx, pf};
  std::vector<int> tasti;
  std::vector<std::string> tipi;
  testsupport::FinestraRegistra* finestra = nullptr;

  FrmSaldaSelezioni& Apri() {
    auto* f = static_cast<FrmSaldaSelezioni*>(p.Carica(std::make_unique<FrmSaldaSelezioni>(p)));
    f->show();
    f->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(f));
    // The interrupted-run check runs once the screen shows.
    QTest::qWait(150);
    az.op.messaggi.clear();
    return *f;
  }
  template <class T = QLineEdit>
  static T* W(QWidget& f, const QString& nome) {
    T* w = f.findChild<T*>(nome);
    EXPECT_NE(w, nullptr) << nome.toStdString();
    return w;
  }
  static QLineEdit* Txt(QWidget& f, int i) { return W(f, QString("Txt_%1").arg(i)); }
  static std::string Testo(QWidget& f, int i) { return Txt(f, i)->text().toStdString(); }
  // An account in its display form, whether or not the field has the focus
  // (a focused account field shows the stored form).
  static std::string Conto(QWidget& f, int i) { return util::FormatCode(Testo(f, i)); }
  static std::string Lab(QWidget& f, int i) { return W<QLabel>(f, QString("lab_%1").arg(i))->text().toStdString(); }
  bool Rosso(QWidget& f, int i) const { return ui::Sfondo(Txt(f, i)) == ctx.azienda.coloreErrore; }
  static void Fuoco(QWidget* w) {
    w->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
  }
  // As the operator types: into the field, over its text, then Tab.
  static void Digita(QWidget& f, int i, const char* testo) {
    QLineEdit* t = Txt(f, i);
    Fuoco(t);
    t->selectAll();
    QTest::keyClick(t, Qt::Key_Backspace);
    QTest::keyClicks(t, testo);
    QTest::keyClick(t, Qt::Key_Tab);
    QApplication::processEvents();
  }
  std::vector<std::string> Messaggi() const {
    std::vector<std::string> v;
    for (const auto& m : az.op.messaggi) v.push_back(m.testo);
    return v;
  }
  // Installments of 2024, inside the screen's default ranges.
  void Scadenze(int primo = 1) {
    for (int n = primo; n < primo + 3; ++n)
      az.Inserisci({.numProg = n,
                    .conto = "00000" + std::to_string(n - primo + 1),
                    .importo = 100.0 * (n - primo + 1),
                    .dataDoc = util::Date::Carry(2024, 2, n),
                    .dataScad = util::Date::Carry(2024, 3, n),
                    .anno = 2024});
  }
};

TEST_P(SchermoSelezione, OpensWithItsDefaults) {
  auto& f = Apri();
  EXPECT_EQ(f.oiLoadOk, 1);
  EXPECT_EQ(f.windowTitle().toStdString().rfind("Gestione Compensato - ", 0), 0u);
  EXPECT_EQ(f.property("HelpContextID").toInt(), 50000);
  // clang-format off
  const std::pair<int, const char*> testi[] = {
      {kScadDa, "01/01/2024"},   {kScadA, "31/12/2024"},       {kDocDa, "01/01/2024"},
      {kDocA, "31/12/2024"},     {kDataReg, "15/03/2024"},     {kAnno, "2024"},
      {kMoneta, "Euro"},         {kMassimo, "9.999.999.999,00"}, {kCausale, "INC"},
      {kPartita, "18-01-000001"}, {kAbbAtt, "70-05-000001"},   {kAbbPas, "62-05-000001"},
      {kUtiCambio, ""},          {kPerdCambio, ""},            {kContoDa, ""}};
  // clang-format on
  for (const auto& [i, t] : testi) EXPECT_EQ(Testo(f, i), t) << "Txt_" << i;
  for (int i : {kMoneta, kCausale, kPartita, kAbbAtt}) EXPECT_FALSE(Lab(f, i).empty()) << "lab_" << i;
  EXPECT_TRUE(W<QRadioButton>(f, "OptTipoElab_1")->isChecked());
  EXPECT_TRUE(W<QRadioButton>(f, "OptCliente")->isChecked());
  EXPECT_TRUE(W<QRadioButton>(f, "OptOrdinamento_2")->isChecked());
  // The company's currency has a fixed rate: nothing to type there.
  EXPECT_FALSE(Txt(f, kCambio)->isEnabled());
  EXPECT_FALSE(W<QPushButton>(f, "ComHlp_120")->isEnabled());
  EXPECT_EQ(Txt(f, kDescAgg)->maxLength(), 30);
  ASSERT_FALSE(az.host.Di("CountRunning").empty());
  EXPECT_EQ(az.host.Di("CountRunning").back().args,
            (std::vector<std::string>{"tuttiprginesec|" + ctx.programId + "~" + f.osKeySec, "12"}));

  // COMPENSATO_SCREENSHOTS=<folder> keeps a picture of the screen to look at.
  if (const char* cartella = std::getenv("COMPENSATO_SCREENSHOTS")) {
    Digita(f, kContoDa, "14-01-000001");
    Digita(f, kMassimo, "1234,5");
    f.grab().save(QString::fromUtf8(cartella) + "/FrmSaldaSelezioni.png");
  }

  // Tab walks the fields in their order, the options, the buttons, and
  // (with the rate locked) back to the start.
  Fuoco(Txt(f, kContoDa));
  std::vector<std::string> visti;
  for (int n = 0; n < 38; ++n) {
    visti.push_back(QApplication::focusWidget()->objectName().toStdString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  const std::vector<std::string> attesi = {
      "Txt_10",  "Txt_20",  "Txt_30",           "Txt_40",        "Txt_50",     "Txt_60",  "Txt_70",     "Txt_80",
      "Txt_90",  "Txt_100", "Ancheeffetti",     "Txt_110",       "Txt_130",    "Txt_140", "Txt_150",    "Txt_160",
      "Txt_170", "Txt_180", "Txt_190",          "Txt_200",       "Txt_210",    "Txt_220", "Txt_230",    "Txt_240",
      "Txt_250", "Txt_260", "OptOrdinamento_2", "OptTipoElab_1", "OptCliente", "ComOk",   "ComAnnulla", "Txt_10"};
  visti.resize(attesi.size());
  EXPECT_EQ(visti, attesi);
}

// Keystrokes reach the field checks, and the screen shows what they decided.
TEST_P(SchermoSelezione, TypingInTheFields) {
  az.ctx().db.Execute(ctx.conn, "INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Operatore, Cee) "
                                "VALUES ('LIT', 'Lira', 0, 0, '/', 'S')");
  struct Caso {
    const char* nome;
    std::function<void(QWidget&)> digita;
    std::function<void(QWidget&)> verifica;
    std::vector<std::string> messaggi;
    // clang-format off
  } casi[] = {
      {"an account typed with dashes, normalised and copied to the upper bound",
       [](QWidget& f) { Digita(f, kContoDa, "14-1-000002"); },
       [](QWidget& f) {
         EXPECT_EQ(Testo(f, kContoDa), "14-01-000002");
         EXPECT_EQ(Conto(f, kContoA), "14-01-000002");
         EXPECT_EQ(Lab(f, kContoA), Lab(f, kContoDa));
         EXPECT_FALSE(Lab(f, kContoDa).empty());
       },
       {}},
      {"the lower bound left unchanged keeps the upper bound",
       [](QWidget& f) {
         Digita(f, kContoDa, "14-01-000001");
         Digita(f, kContoA, "14-01-000003");
         Fuoco(Txt(f, kContoDa));
         QTest::keyClick(Txt(f, kContoDa), Qt::Key_Tab);
       },
       [](QWidget& f) { EXPECT_EQ(Conto(f, kContoA), "14-01-000003"); },
       {}},
      {"a bill-issuing payment type checks and locks Anche effetti; emptied, it unlocks",
       [](QWidget& f) {
         Digita(f, kMoneta, "USD");
         Digita(f, kPagTipo, "rb");
         EXPECT_TRUE(W<QCheckBox>(f, "Ancheeffetti")->isChecked());
         EXPECT_FALSE(W<QCheckBox>(f, "Ancheeffetti")->isEnabled());
         EXPECT_EQ(Testo(f, kCausale), "VAL");
         EXPECT_EQ(Lab(f, kPartita), "Banca");
         Digita(f, kPagTipo, "");
       },
       [](QWidget& f) {
         EXPECT_FALSE(W<QCheckBox>(f, "Ancheeffetti")->isChecked());
         EXPECT_TRUE(W<QCheckBox>(f, "Ancheeffetti")->isEnabled());
         EXPECT_EQ(Testo(f, kCausale), "INC");
       },
       {}},
      {"a foreign currency unlocks the rate and wants a foreign-currency code",
       [](QWidget& f) {
         Digita(f, kMoneta, "USD");
         Digita(f, kCausale, "INC");
       },
       [](QWidget& f) {
         EXPECT_TRUE(Txt(f, kCambio)->isEnabled());
         EXPECT_TRUE(W<QPushButton>(f, "ComHlp_120")->isEnabled());
         EXPECT_EQ(Testo(f, kCambio), "1,250000");
         EXPECT_EQ(Testo(f, kMassimo), "9.999.999.999,000");
         EXPECT_EQ(Lab(f, kMoneta), "Dollaro");
       },
       {"La moneta è diversa dalla moneta corrente. La causale deve avere la gestione della valuta"}},
      {"a currency with a fixed rate locks the rate and its button",
       [](QWidget& f) {
         Digita(f, kMoneta, "USD");
         Digita(f, kMoneta, "LIT");
       },
       [](QWidget& f) {
         EXPECT_FALSE(Txt(f, kCambio)->isEnabled());
         EXPECT_FALSE(W<QPushButton>(f, "ComHlp_120")->isEnabled());
       },
       {}},
      {"the company currency with a foreign-currency code", [](QWidget& f) { Digita(f, kCausale, "VAL"); },
       [](QWidget&) {}, {"La moneta è è quella corrente. La causale non può essere in valuta"}},
      {"a maximum of 0", [](QWidget& f) { Digita(f, kMassimo, "0"); }, [](QWidget&) {},
       {"Indicare l'importo massimo per il compensato."}},
      {"a registration date outside every accounting year empties the year",
       [](QWidget& f) { Digita(f, kDataReg, "15/03/2019"); },
       [](QWidget& f) { EXPECT_EQ(Testo(f, kAnno), ""); }, {}},
      {"what each kind of field accepts as it is typed",
       [](QWidget& f) {
         Digita(f, kDataReg, "1a0/0x3/2024");
         Digita(f, kPagTipo, "rd");
         Digita(f, kDescAgg, "saldo fatture marzo");
         Digita(f, kNumProt, "12ab3");
         Digita(f, kMassimo, "1.500,5x");
       },
       [](QWidget& f) {
         EXPECT_EQ(Testo(f, kDataReg), "10/03/2024");
         EXPECT_EQ(Testo(f, kPagTipo), "RD");
         EXPECT_EQ(Testo(f, kDescAgg), "SALDO FATTURE MARZO");
         EXPECT_EQ(Testo(f, kNumProt), "123");
         EXPECT_EQ(Testo(f, kMassimo), "1.500,50");
       },
       {}},
  };
  // clang-format on
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    auto& f = Apri();
    c.digita(f);
    c.verifica(f);
    EXPECT_EQ(Messaggi(), c.messaggi);
    p.Scarica(&f);
  }
}

TEST_P(SchermoSelezione, RedMarksFollowTheChecks) {
  auto& f = Apri();
  Digita(f, kMassimo, "0");
  EXPECT_TRUE(Rosso(f, kMassimo));
  Digita(f, kMassimo, "10");
  EXPECT_FALSE(Rosso(f, kMassimo));
  Digita(f, kDataReg, "15/03/2019");
  EXPECT_TRUE(Rosso(f, kAnno));
  Digita(f, kPerdCambio, "");
  EXPECT_FALSE(Rosso(f, kPerdCambio)) << "not needed in the company currency";
  Digita(f, kMoneta, "USD");
  Digita(f, kPerdCambio, "");
  EXPECT_TRUE(Rosso(f, kPerdCambio)) << "needed in a foreign currency";
  // A field in the error colour stays red while it has the focus.
  Fuoco(Txt(f, kPerdCambio));
  EXPECT_TRUE(Rosso(f, kPerdCambio));
}

TEST_P(SchermoSelezione, LookupKeys) {
  struct Caso {
    const char* nome;
    int indice;
    Qt::Key tasto;
    Qt::KeyboardModifiers shift;
    bool neCliente;
    std::vector<std::string> tipi;
  } casi[] = {
      {"F2 on the lower bound", kContoDa, Qt::Key_F2, Qt::NoModifier, false, {"Conto"}},
      {"F3 on the transaction code", kCausale, Qt::Key_F3, Qt::NoModifier, false, {"Causale"}},
      {"F2 on the cost centre", kCdc, Qt::Key_F2, Qt::NoModifier, false, {"CentroDiCosto"}},
      {"F2 with neither customers nor suppliers", kContoDa, Qt::Key_F2, Qt::NoModifier, true, {}},
      {"F4", kPagTipo, Qt::Key_F4, Qt::NoModifier, false, {}},
      {"Shift+F2", kPagTipo, Qt::Key_F2, Qt::ShiftModifier, false, {}},
      {"F2 on a field without lookup", kMassimo, Qt::Key_F2, Qt::NoModifier, false, {}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    auto& f = Apri();
    tipi.clear();
    if (c.neCliente) {
      for (const char* n : {"OptCliente", "OptFornitore"}) {
        W<QRadioButton>(f, n)->setAutoExclusive(false);
        W<QRadioButton>(f, n)->setChecked(false);
      }
      f.Modello().optCliente = f.Modello().optFornitore = false;
    }
    Fuoco(Txt(f, c.indice));
    QTest::keyClick(Txt(f, c.indice), c.tasto, c.shift);
    EXPECT_EQ(tipi, c.tipi);
    p.Scarica(&f);
  }

  // The chosen customer lands in the field, and leaving it copies it to the upper bound.
  auto& f = Apri();
  finestra->scelta = lookup::Riga{"14-01-000003", "Terzo cliente", {}};
  Fuoco(Txt(f, kContoDa));
  QTest::keyClick(Txt(f, kContoDa), Qt::Key_F2);
  EXPECT_EQ(Testo(f, kContoDa), "14-01-000003");
  EXPECT_EQ(Lab(f, kContoDa), "Terzo cliente");
  QTest::keyClick(Txt(f, kContoDa), Qt::Key_Tab);
  EXPECT_EQ(Conto(f, kContoA), "14-01-000003");
  EXPECT_EQ(Lab(f, kContoA), Lab(f, kContoDa));
  // A "..." button is F2 in its field.
  finestra->scelta.reset();
  tipi.clear();
  QTest::mouseClick(W<QPushButton>(f, "ComHlp_150"), Qt::LeftButton);
  EXPECT_EQ(tipi, std::vector<std::string>{"Conto"});
  EXPECT_EQ(QApplication::focusWidget(), Txt(f, kPartita));
}

TEST_P(SchermoSelezione, SwitchingToSuppliersChecksAgainWithoutReloadingTheDefault) {
  auto& f = Apri();
  QTest::mouseClick(W<QRadioButton>(f, "OptFornitore"), Qt::LeftButton);
  EXPECT_TRUE(f.Modello().optFornitore);
  EXPECT_EQ(Testo(f, kCausale), "INC");
  EXPECT_EQ(f.Modello().DecsCausale()[0], "CoPartGruppo");
  // Emptied, the code takes the suppliers' default.
  Digita(f, kCausale, "");
  EXPECT_EQ(Testo(f, kCausale), "PAG");
  EXPECT_EQ(Conto(f, kPartita), "18-02-000001");
}

// Fields the operator never entered are checked again by the confirmation.
TEST_P(SchermoSelezione, ConfirmationChecksFieldsNeverEntered) {
  struct Caso {
    const char* nome;
    std::function<void(SchermoSelezione&)> prima;  // before the screen opens
    std::function<void(QWidget&)> digita;
    std::vector<std::string> messaggi;
  } casi[] = {
      {"a red field never entered",
       [](SchermoSelezione& t) { t.az.host.parametri["CauCon.ContoAbbAtt"] = util::Value("999999"); },
       [](QWidget&) {},
       {"Ci sono dei dati errati. Non è possibile continuare l'elaborazione"}},
      {"a maximum of 0 never entered",
       [](SchermoSelezione&) {},
       [](QWidget& f) { Txt(f, kMassimo)->setText("0"); },
       {"Indicare l'importo massimo per il compensato.",
        "Ci sono dei dati errati. Non è possibile continuare l'elaborazione"}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const auto parametri = az.host.parametri;
    c.prima(*this);
    auto& f = Apri();
    c.digita(f);
    az.op.messaggi.clear();
    QTest::mouseClick(W<QPushButton>(f, "ComOk"), Qt::LeftButton);
    EXPECT_EQ(Messaggi(), c.messaggi);
    EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM AppoggioTemp"), 0) << "nothing stored";
    p.Scarica(&f);
    az.host.parametri = parametri;
  }
}

// The selections every face of the selection refuses alike, typed here.
TEST_P(SchermoSelezione, SharedCases) {
  for (const testsupport::CasoSelezione& c : testsupport::CasiSelezione(2024)) {
    SCOPED_TRACE(c.nome);
    auto& f = Apri();
    if (c.conti == testsupport::ContiSelezione::Fornitori)
      QTest::mouseClick(W<QRadioButton>(f, "OptFornitore"), Qt::LeftButton);
    if (c.conti == testsupport::ContiSelezione::Nessuno) {
      for (const char* n : {"OptCliente", "OptFornitore"}) {
        W<QRadioButton>(f, n)->setAutoExclusive(false);
        W<QRadioButton>(f, n)->setChecked(false);
      }
      f.Modello().optCliente = f.Modello().optFornitore = false;
    }
    az.op.messaggi.clear();
    for (const auto& [i, testo] : c.campi) Digita(f, i, testo.c_str());
    // The payment type locks the box: here that wrong selection cannot be made.
    if (c.ancheEffetti && !W<QCheckBox>(f, "Ancheeffetti")->isEnabled()) {
      EXPECT_FALSE(W<QCheckBox>(f, "Ancheeffetti")->isChecked());
      p.Scarica(&f);
      continue;
    }
    if (c.ancheEffetti && !W<QCheckBox>(f, "Ancheeffetti")->isChecked())
      QTest::mouseClick(W<QCheckBox>(f, "Ancheeffetti"), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(W<QPushButton>(f, "ComOk"), Qt::LeftButton);
    const std::vector<std::string> messaggi = Messaggi();
    // A selection the checks accept starts the run, which finds nothing here.
    EXPECT_EQ(messaggi.empty() ? std::string() : messaggi.front(),
              c.messaggio.empty() ? std::string(worklist::kListaVuota) : c.messaggio);
    if (c.rosso) {
      EXPECT_TRUE(Rosso(f, c.rosso)) << "Txt_" << c.rosso;
    }
    p.Scarica(&f);
  }
}

TEST_P(SchermoSelezione, AnAutomaticRunFromTheScreenWritesItsEntry) {
  Scadenze();
  auto& f = Apri();
  QTest::mouseClick(W<QRadioButton>(f, "OptTipoElab_0"), Qt::LeftButton);
  Digita(f, kMassimo, "300");
  QTest::mouseClick(W<QPushButton>(f, "ComOk"), Qt::LeftButton);
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM MovPnTes"), 1) << az.op.Elenco();
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag IS NOT NULL"), 2) << "100 and 200 of 300";
  EXPECT_EQ(az.Invarianti(), "");
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM AppoggioTemp"), 0);
  EXPECT_TRUE(f.isVisible()) << "the screen stays for the next run";
}

// The interactive path hands over to the worklist; the screen is ready for
// the next start when it closes, unless the run was left suspended.
TEST_P(SchermoSelezione, AnInteractiveRunOpensTheWorklist) {
  Scadenze();
  auto& f = Apri();
  bool vista = false;
  // Pays the first row in full, leaves it, and confirms.
  auto confermaLista = [&vista] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() != "frmSaldaLista" || !w->isVisible()) continue;
      vista = true;
      auto* g = w->findChild<worklist::GrigliaLista*>("dbgLista");
      g->model()->setData(g->model()->index(0, compensato::lista::kImpPagInc), "100");
      g->setCurrentIndex(g->model()->index(1, compensato::lista::kImpPagInc));
      QTest::mouseClick(w->findChild<QPushButton*>("ComEsci"), Qt::LeftButton);
    }
  };
  QTimer::singleShot(300, confermaLista);
  QTest::mouseClick(W<QPushButton>(f, "ComOk"), Qt::LeftButton);
  ASSERT_TRUE(vista) << az.op.Elenco();
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM MovPnTes"), 1) << az.op.Elenco();
  EXPECT_EQ(az.Invarianti(), "");
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM Scadenze WHERE Utente <> ' '"), 0);

  // A second start after a completed run.
  vista = false;
  Scadenze(4);
  QTimer::singleShot(300, confermaLista);
  QTest::mouseClick(W<QPushButton>(f, "ComOk"), Qt::LeftButton);
  EXPECT_TRUE(vista);

  // After a run left suspended, the start refuses.
  ctx.db.Execute(ctx.conn, "UPDATE Scadenze SET Utente = " + util::SqlLiteral(ctx.utente, 8) + ", FlStato = '0'");
  vista = false;
  az.op.messaggi.clear();
  QTimer::singleShot(300, confermaLista);
  QTest::mouseClick(W<QPushButton>(f, "ComOk"), Qt::LeftButton);
  EXPECT_FALSE(vista);
  EXPECT_EQ(Messaggi(),
            std::vector<std::string>{"Elaborazione precedente interrotta: prima di proseguire eseguire il ripristino"});
}

TEST_P(SchermoSelezione, EsciUnloadsTheScreen) {
  auto& f = Apri();
  const size_t prima = p.forms.size();
  QTest::mouseClick(W<QPushButton>(f, "ComAnnulla"), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_EQ(p.forms.size(), prima - 1);
}

INSTANTIATE_TEST_SUITE_P(Motori, SchermoSelezione, ::testing::ValuesIn(testsupport::Engines()),
                         testsupport::EngineName);

}  // namespace
