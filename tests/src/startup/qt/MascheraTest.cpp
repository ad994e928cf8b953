#include "src/startup/qt/Maschera.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "components/db/DbExecutor.h"
#include "components/util/DateEntry.h"
#include "components/util/Error.h"
#include "src/data/Contesto.h"
#include "src/selection/qt/FrmSaldaSelezioni.h"
#include "src/startup/Programma.h"
#include "src/ui/qt/AdattaQt.h"
#include "src/ui/qt/CampiQt.h"
#include "src/ui/qt/TastieraQt.h"
#include "tests/src/selection/AziendaSelezione.h"
#include "tests/src/startup/FakePiattaforma.h"
#include "tests/support/AppQt.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakeOperatore.h"

namespace {

QApplication& App() { return testsupport::AppQt(); }

// A screen with the controls the shared services tell apart: two single-line
// fields (the first with a help topic of its own), a frame with a topic
// holding a field without one, a multi-line box and an image that does not
// stretch.
class SchermoProva final : public startup::Maschera {
 public:
  explicit SchermoProva(startup::Programma& p) : Maschera(p, "frmProva", "Prova", 50000, 6000, 4500) {
    txt10 = Campo("Txt_10", 120, 120);
    txt10->setProperty("HelpContextID", 50001);
    txt20 = Campo("Txt_20", 120, 600);
    auto* fra = new QGroupBox("Altro", this);
    fra->setObjectName("Fra");
    fra->setProperty("HelpContextID", 50002);
    Posiziona(fra, 120, 1080, 5000, 900);
    txt30 = new QLineEdit(fra);
    txt30->setObjectName("Txt_30");
    Posiziona(txt30, 120, 300, 1800, 315);
    note = new QPlainTextEdit(this);
    note->setObjectName("txtNote");
    Posiziona(note, 120, 2100, 3000, 900);
    img = new QLabel(this);
    img->setObjectName("imgLogo");
    QPixmap pm(20, 20);
    pm.fill(Qt::blue);
    img->setPixmap(pm);
    Posiziona(img, 4000, 120, 300, 300);
  }
  QLineEdit* Campo(const char* nome, int left, int top) {
    auto* e = new QLineEdit(this);
    e->setObjectName(nome);
    Posiziona(e, left, top, 1800, 315);
    return e;
  }
  QLineEdit *txt10, *txt20, *txt30;
  QPlainTextEdit* note;
  QLabel* img;
};

struct Banco {
  testsupport::FakeHost host;
  testsupport::FakeOperatore op;
  db::DbExecutor executor;
  testsupport::FakePiattaforma pf;
  compensato::Contesto ctx{host, executor, "", op};
  startup::Programma p{ctx, pf};
  Banco() {
    App();
    p.risoluzione.generale = 1;
    p.risoluzione.persBase = 1;
    ctx.azienda.descrizione = "Azienda Demo";
  }
};

void Attiva(QWidget& w, QWidget* fuoco) {
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  fuoco->setFocus(Qt::OtherFocusReason);
  QApplication::processEvents();
}

TEST(Maschera, LoadSetsCaptionSplashReadOnlySwitchAndWindowState) {
  struct Caso {
    const char* param;
    int16_t atteso;
    const char* statoFinestra;
    Qt::WindowStates stato;
  } casi[] = {{"/RO", 1, "", Qt::WindowNoState},
              {"/H x.hlp /ro", 1, "2", Qt::WindowMaximized},
              {"/ROBA", 0, "0", Qt::WindowNoState},
              {"", 0, "Massimizzato", Qt::WindowNoState}};
  for (const auto& c : casi) {
    Banco b;
    b.ctx.azienda.statoFinestra = c.statoFinestra;
    SchermoProva s(b.p);
    s.osParam = c.param;
    s.Load();
    EXPECT_EQ(s.oiLoadOk, 1);
    EXPECT_EQ(s.oiAbilRW, c.atteso) << c.param;
    EXPECT_EQ(s.Didascalia(), "Prova - Azienda Demo");
    EXPECT_EQ(s.windowState(), c.stato) << c.statoFinestra;
    EXPECT_NE(std::find(b.pf.eventi.begin(), b.pf.eventi.end(), "splash Caricamento maschera"), b.pf.eventi.end());
    EXPECT_TRUE(b.pf.splash.empty()) << "the splash is gone once the screen is loaded";
  }
}

TEST(Maschera, AFailedLoadClosesTheSplash) {
  struct Guasta final : startup::Maschera {
    explicit Guasta(startup::Programma& p) : Maschera(p, "frmGuasta", "Guasta", 0, 3000, 2000) {}
    void CaricaSchermo() override { throw util::RuntimeError(5, "Tabella assente", "CaricaSchermo"); }
  };
  Banco b;
  Guasta s(b.p);
  EXPECT_THROW(s.Load(), util::RuntimeError);
  EXPECT_TRUE(b.pf.splash.empty());
}

TEST(Maschera, TheFormColourReachesButtonFaceControlsNotExcluded) {
  Banco b;
  b.ctx.azienda.coloreForm = 0xE0F0FF;
  SchermoProva s(b.p);
  auto* etichetta = new QLabel("Codice da:", &s);
  etichetta->setObjectName("Label1_3");
  s.esclusiColore = "imgLogo,";
  s.Load();
  EXPECT_EQ(ui::Sfondo(&s), 0xE0F0FF);
  EXPECT_EQ(ui::Sfondo(etichetta), 0xE0F0FF);
  EXPECT_EQ(ui::Sfondo(s.findChild<QWidget*>("Fra")), 0xE0F0FF);
  EXPECT_EQ(ui::Sfondo(s.img), ui::kColoreSistemaPulsante) << "excluded by name";
  EXPECT_EQ(ui::Sfondo(s.txt20), ui::kColoreSistemaFinestra) << "a text box is no button face";
}

TEST(Maschera, ScalingMultipliesPositionsSizesAndFonts) {
  struct Caso {
    const char* nome;
    double generale;
    std::vector<ui::Esclusione> esclusioni;
    double fattore;
    bool txt20Fermo;
  } casi[] = {
      {"Generale -1: as designed", -1, {}, 1, false},
      {"Generale 2: everything doubled", 2, {}, 2, false},
      {"flags 3 keep Txt(20) in place and at its size", 2, {{"Txt", 20, 3}}, 2, true},
  };
  for (const auto& c : casi) {
    Banco b;
    b.p.risoluzione.generale = c.generale;
    b.p.risoluzione.persBase = c.generale;
    SchermoProva s(b.p);
    s.esclusioni = c.esclusioni;
    const QRect g10 = s.txt10->geometry(), g20 = s.txt20->geometry(), g30 = s.txt30->geometry(), gi = s.img->geometry();
    const QSize form = s.size();
    const double font = s.txt20->font().pointSizeF();
    s.Load();
    EXPECT_DOUBLE_EQ(s.odRisVidVal, c.fattore) << c.nome;
    const double f = c.fattore;
    EXPECT_NEAR(s.width(), form.width() * f, 1) << c.nome;
    EXPECT_NEAR(s.txt10->geometry().left(), g10.left() * f, 1) << c.nome;
    EXPECT_NEAR(s.txt10->geometry().width(), g10.width() * f, 1) << c.nome;
    EXPECT_NEAR(s.txt30->geometry().top(), g30.top() * f, 1) << c.nome << ": inside its frame";
    EXPECT_EQ(s.img->geometry(), gi) << c.nome << ": an image without stretch";
    if (c.txt20Fermo)
      EXPECT_EQ(s.txt20->geometry(), g20) << c.nome;
    else
      EXPECT_NEAR(s.txt20->geometry().top(), g20.top() * f, 1) << c.nome;
    EXPECT_NEAR(s.txt20->font().pointSizeF(), font * f, 0.01) << c.nome << ": the font scales in every case";
    EXPECT_NEAR(s.txt30->font().pointSizeF(), font * f, 0.01) << c.nome << ": not twice through its frame";
  }
}

TEST(Maschera, KeysInTheFields) {
  Banco b;
  b.ctx.azienda.tastierinoVirgola = "S";
  SchermoProva s(b.p);
  s.Load();
  Attiva(s, s.txt10);

  QTest::keyClicks(s.txt10, "12");
  QTest::keyClick(s.txt10, Qt::Key_Period, Qt::KeypadModifier);
  QTest::keyClick(s.txt10, Qt::Key_5, Qt::KeypadModifier);
  QTest::keyClick(s.txt10, Qt::Key_Period);
  EXPECT_EQ(s.txt10->text(), "12,5.") << "the keypad's key a comma, the main one a full stop";

  QTest::keyClick(s.txt10, Qt::Key_Escape);
  EXPECT_EQ(s.txt10->text(), "12,5.") << "Esc types nothing";

  QTest::keyClick(s.txt10, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), s.txt20) << "Enter: next field";
  QTest::keyClick(s.txt20, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), s.txt10) << "Shift+Enter: previous field";

  s.note->setFocus();
  s.note->setPlainText("prima seconda");
  QTextCursor cur = s.note->textCursor();
  cur.setPosition(0);
  cur.setPosition(5, QTextCursor::KeepAnchor);
  s.note->setTextCursor(cur);
  QTest::keyClick(s.note, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), s.note) << "Enter with part selected stays in the box";
  EXPECT_EQ(s.note->toPlainText(), "\n seconda") << "and types the line break";

  s.txt10->setFocus();
  s.txt10->setSelection(0, 2);
  b.op.risposteInput = {std::string("")};
  QTest::keyClick(s.txt10, Qt::Key_F, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(s.txt10->text(), "12,5.") << "Ctrl+Alt+F with an empty answer";
  EXPECT_EQ(s.txt10->selectedText(), "12");
  ASSERT_EQ(b.op.messaggi.size(), 1u);
  EXPECT_EQ(b.op.messaggi[0].testo, "Stringa da cercare");

  b.op.messaggi.clear();
  QTest::keyClick(s.txt10, Qt::Key_PageDown, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_TRUE(b.op.messaggi.empty()) << "Ctrl+Alt+Page Down with no search text";
  EXPECT_EQ(s.txt10->selectedText(), "12");
}

TEST(Maschera, FocusColoursAndTheDateCheck) {
  Banco b;
  b.ctx.dataMinima = "01/01/2000";
  b.ctx.azienda.dataLavoro = *util::Date::Make(2024, 3, 15);
  SchermoProva s(b.p);
  s.Load();
  Attiva(s, s.txt10);
  const ui::ColoriCampi colori = s.Colori();
  EXPECT_EQ(ui::Sfondo(s.txt10), colori.fuoco);
  s.txt20->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(ui::Sfondo(s.txt10), colori.noFuoco);
  EXPECT_EQ(ui::Sfondo(s.txt20), colori.fuoco);

  s.txt10->setText("31/12/1999");
  ui::VerificaData v;
  v.mostra = true;
  EXPECT_EQ(s.ControllaData(s.txt10, v), util::kDataRifiutata);
  EXPECT_TRUE(b.op.Mostrato("Data troppo piccola"));
  EXPECT_EQ(ui::Sfondo(s.txt10), colori.errore);
  s.txt10->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(ui::Sfondo(s.txt10), colori.errore) << "a red field stays red when entered";
  s.txt20->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(ui::Sfondo(s.txt10), colori.errore) << "and when left";
}

TEST(Maschera, HelpContextFromTheFieldItsFrameTheScreen) {
  Banco b;
  SchermoProva s(b.p);
  s.Load();
  Attiva(s, s.txt10);
  struct Caso {
    const char* nome;
    QWidget* fuoco;
    int32_t atteso;
  } casi[] = {
      {"the field's own", s.txt10, 50001},
      {"a field without one in a frame with one", s.txt30, 50002},
      {"a field without one: the screen's", s.txt20, 50000},
  };
  for (const auto& c : casi) {
    c.fuoco->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(ui::ContestoAttivoQt(&s), c.atteso) << c.nome;
  }
}

TEST(Maschera, F1OnTheSelectionScreenOpensItsTopic) {
  struct Caso {
    const char* nome;
    std::string file;
    bool aperto;
  } casi[] = {
      {"the configured help file, its ending made .chm",
       std::string(COMPENSATO_AIUTO_CHM).substr(0, std::string(COMPENSATO_AIUTO_CHM).size() - 4) + ".hlp", true},
      {"a missing file: F1 does nothing", "/nessuna/guida.hlp", false},
  };
  for (const auto& c : casi) {
    App();
    // The selection screen loads its defaults from a company.
    testsupport::AziendaProva az(testsupport::Engine::Sqlite);
    testsupport::PreparaSelezione(az);
    testsupport::FakePiattaforma pf;
    startup::Programma p{az.ctx(), pf};
    p.risoluzione.generale = 1;
    p.risoluzione.persBase = 1;
    p.aiuti = testsupport::AiutiProva(az.ctx(), std::make_unique<testsupport::FinestraRegistra>());
    az.ctx().fileAiuto = c.file;
    selection::FrmSaldaSelezioni s(p);
    s.Load();
    s.show();
    s.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s));
    // The key goes where the operator types: the field with the focus.
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    ui::FrmAiuto* v = s.Guida().Finestra();
    ASSERT_EQ(v != nullptr && v->isVisible(), c.aperto) << c.nome;
    if (!v) continue;
    EXPECT_EQ(v->PaginaCorrente(), "/selezione.htm") << c.nome;
    auto* pagina = v->findChild<QTextBrowser*>("brwArgomento");
    ASSERT_NE(pagina, nullptr);
    EXPECT_TRUE(pagina->toPlainText().contains("Importo Massimo")) << pagina->toPlainText().toStdString();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1, Qt::AltModifier);
    EXPECT_EQ(v->findChild<QTabWidget*>("tabAiuto")->currentIndex(), 1) << "Alt+F1: the index";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(v->findChild<QTabWidget*>("tabAiuto")->currentIndex(), 0) << "Ctrl+F1: the contents";
    if (const char* foto = std::getenv("COMPENSATO_FOTO_AIUTO"); foto && *foto) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
      v->resize(900, 560);
      v->raise();
      QTest::qWait(300);
      v->grab().save(QString::fromLocal8Bit(foto), "PNG");
    }
    v->close();
  }
}

TEST(Maschera, HelpOverAModalWindowTakesTheKeyboard) {
  App();
  const std::string chm = COMPENSATO_AIUTO_CHM;
  ui::AiutoQt aiuto;
  QDialog messaggio;
  Qt::WindowModality sopra = Qt::NonModal;
  std::string pagina;
  QTimer::singleShot(0, &messaggio, [&] {
    int tasto = ui::kTastoF1;
    ui::AiutoTasto(tasto, 0, chm, 50010, 0, aiuto);
    sopra = aiuto.Finestra()->windowModality();
    pagina = aiuto.Finestra()->PaginaCorrente();
    messaggio.reject();
  });
  messaggio.exec();
  EXPECT_EQ(sopra, Qt::ApplicationModal);
  EXPECT_EQ(pagina, "/ripristino.htm") << "the recovery window's topic";
  int tasto = ui::kTastoF1;
  ui::AiutoTasto(tasto, 0, chm, 50000, 0, aiuto);
  EXPECT_EQ(aiuto.Finestra()->windowModality(), Qt::NonModal) << "over the screens alone it is an ordinary window";
  aiuto.Finestra()->close();
}

TEST(Maschera, ModalScreensHideForALookupAndComeBack) {
  Banco b;
  auto s = std::make_unique<SchermoProva>(b.p);
  SchermoProva* m = s.get();
  b.p.forms.push_back(std::move(s));
  m->Load();
  std::vector<int16_t> visti;
  int mostrato = 0;
  QTimer::singleShot(0, [&] {
    visti.push_back(m->oiNohelp);
    startup::NascondiModali(b.p);
    visti.push_back(m->oiNohelp);
    QTimer::singleShot(0, [&] {
      // Shown again by MostraModale once the lookup is over.
      mostrato = m->isVisible() ? 1 : 0;
      visti.push_back(m->oiNohelp);
      m->hide();
    });
  });
  startup::MostraModale(*m);
  EXPECT_EQ(visti, (std::vector<int16_t>{1, 2, 1}));
  EXPECT_EQ(mostrato, 1);
  EXPECT_EQ(m->oiNohelp, 0);
  b.p.forms.clear();
}

}  // namespace
