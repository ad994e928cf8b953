#include "components/lookup/qt/FrmRicerca.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "components/lookup/Lookdex.h"
#include "components/lookup/qt/CampiQt.h"
#include "tests/components/lookup/AziendaDemo.h"
#include "tests/support/AppQt.h"

namespace {

using testsupport::Engine;

// The lookup window on the demo company, driven by the keyboard as an
// operator would: each test opens it from a real text box and, once it is
// up, plays its keys.
class FinestraRicerca : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    testsupport::AppQt();
    db_ = std::make_unique<testsupport::TestDatabase>(GetParam(), false);
    testlookup::CreaAziendaDemo(*db_);
    lookup::Avvio a;
    a.db = &db_->executor();
    a.conn = db_->conn();
    l_.Inizializza(a);
    auto f = std::make_unique<lookup::FinestraQt>();
    finestra_ = f.get();
    l_.ImpostaFinestra(std::move(f));
    schermo_ = std::make_unique<QWidget>();
    schermo_->resize(600, 400);
    txt_ = new QLineEdit(schermo_.get());
    lab_ = new QLabel(schermo_.get());
    schermo_->show();
  }

  // Opens the window with `tasto` on the text box and plays `tasti` once it shows.
  int Apri(const std::string& kind, int tasto, int tipoConto, const std::function<void(lookup::FrmRicerca&)>& tasti,
           bool& scelto) {
    QTimer::singleShot(0, [&] {
      ASSERT_NE(finestra_->Aperta(), nullptr);
      tasti(*finestra_->Aperta());
      // A window the keys left open is closed, so a failing case cannot hang the run.
      if (finestra_->Aperta() && finestra_->Aperta()->isVisible()) finestra_->Aperta()->reject();
    });
    lookup::CampoLineEdit campo(txt_);
    lookup::EtichettaLabel etichetta(lab_);
    lookup::ProprietarioQt form(schermo_.get());
    return l_.ApriFinestra(kind, campo, etichetta, tasto, &form, tipoConto, scelto, "", "", "");
  }

  // COMPENSATO_SCREENSHOTS=<folder> keeps a picture of the window, named
  // with the screen's size, to look at.
  static void Foto(QWidget& f, const char* nome) {
    const char* cartella = std::getenv("COMPENSATO_SCREENSHOTS");
    if (!cartella) return;
    const QSize schermo = f.screen()->size();
    f.grab().save(QString("%1/ricerca-%2-%3x%4.png").arg(cartella, nome).arg(schermo.width()).arg(schermo.height()));
  }
  static QLineEdit* Cerca(lookup::FrmRicerca& f) { return f.findChild<QLineEdit*>("txtCerca"); }
  static QString Conta(lookup::FrmRicerca& f) { return f.findChild<QLabel*>("lblConta")->text(); }
  static int Corrente(lookup::FrmRicerca& f) { return f.findChild<QTableView*>("griRighe")->currentIndex().row(); }

  std::unique_ptr<testsupport::TestDatabase> db_;
  lookup::Lookdex l_;
  lookup::FinestraQt* finestra_ = nullptr;
  std::unique_ptr<QWidget> schermo_;
  QLineEdit* txt_ = nullptr;
  QLabel* lab_ = nullptr;
};

TEST_P(FinestraRicerca, TypingNarrowsAndEnterWritesTheCodeAndTheDescription) {
  QString conteggi;
  bool scelto = false;
  const int esito = Apri(
      "Conto", lookup::kTastoF2, 3,
      [&](lookup::FrmRicerca& f) {
        Foto(f, "intera");
        conteggi += Conta(f);
        QTest::keyClick(Cerca(f), Qt::Key_F3);
        QTest::keyClicks(Cerca(f), "rossi");
        Foto(f, "ristretta");
        conteggi += " | " + Conta(f);
        QTest::keyClicks(Cerca(f), "_");
        conteggi += " | " + Conta(f);
        QTest::keyClick(Cerca(f), Qt::Key_Down);
        QTest::keyClick(Cerca(f), Qt::Key_Return);
      },
      scelto);
  EXPECT_EQ(esito, 0);
  EXPECT_TRUE(scelto);
  EXPECT_EQ(conteggi, "22 righe | 2 righe | 1 riga")
      << "the demo's 20 customers and the two added ones, then the two Rossi, then the one with an underscore";
  EXPECT_EQ(txt_->text(), "14-01-000090");
  EXPECT_EQ(lab_->text(), "Sconto 10% Rossi_Bianchi S.r.l.");
}

TEST_P(FinestraRicerca, EscClosesWithNothingChosen) {
  txt_->setText("14");
  lab_->setText("prima");
  bool scelto = true;
  const int esito = Apri(
      "Conto", lookup::kTastoF2, 3,
      [&](lookup::FrmRicerca& f) {
        QTest::keyClicks(Cerca(f), "01");
        QTest::keyClick(Cerca(f), Qt::Key_Escape);
      },
      scelto);
  EXPECT_EQ(esito, 0);
  EXPECT_FALSE(scelto);
  EXPECT_EQ(txt_->text(), "14");
  EXPECT_EQ(lab_->text(), "prima");
}

TEST_P(FinestraRicerca, MovementKeysStayInsideTheList) {
  finestra_->obLockSpostaCurs = true;
  finestra_->oiSpostaCurs = 5;
  std::vector<int> righe;
  bool scelto = false;
  Apri(
      "Conto", lookup::kTastoF2, 3,
      [&](lookup::FrmRicerca& f) {
        QLineEdit* c = Cerca(f);
        righe.push_back(Corrente(f));
        QTest::keyClick(c, Qt::Key_Up);
        righe.push_back(Corrente(f));
        QTest::keyClick(c, Qt::Key_PageDown);
        righe.push_back(Corrente(f));
        QTest::keyClick(c, Qt::Key_End, Qt::ControlModifier);
        righe.push_back(Corrente(f));
        QTest::keyClick(c, Qt::Key_Down);
        righe.push_back(Corrente(f));
        QTest::keyClick(c, Qt::Key_PageUp);
        righe.push_back(Corrente(f));
        QTest::keyClick(c, Qt::Key_Home, Qt::ControlModifier);
        righe.push_back(Corrente(f));
        QTest::keyClick(c, Qt::Key_Escape);
      },
      scelto);
  EXPECT_EQ(righe, (std::vector<int>{0, 0, 5, 21, 21, 16, 0}));
}

TEST_P(FinestraRicerca, ATextThatFindsNothingSaysSoAndEnterChoosesNothing) {
  int64_t colore = 0;
  QString conta;
  bool scelto = true;
  Apri(
      "Moneta", lookup::kTastoF3, 0,
      [&](lookup::FrmRicerca& f) {
        QTest::keyClicks(Cerca(f), "yen");
        conta = Conta(f);
        colore = lookup::SfondoDi(Cerca(f));
        QTest::keyClick(Cerca(f), Qt::Key_Return);
        EXPECT_NE(finestra_->Aperta(), nullptr) << "Enter on an empty list closed the window";
        QTest::keyClick(Cerca(f), Qt::Key_Escape);
      },
      scelto);
  EXPECT_FALSE(scelto);
  EXPECT_EQ(conta, "Nessuna riga trovata");
  EXPECT_EQ(colore, 255);
}

TEST_P(FinestraRicerca, AggiornaReadsRowsAddedWhileTheWindowWasOpen) {
  QString prima, dopo;
  bool scelto = false;
  Apri(
      "PagTipo", lookup::kTastoF2, 0,
      [&](lookup::FrmRicerca& f) {
        prima = Conta(f);
        db_->executor().Execute(db_->conn(), "INSERT INTO PagTipi (PagTipo, Descrizione) VALUES ('CA', 'Contanti')");
        finestra_->ButtonComando("Aggiorna");
        dopo = Conta(f);
        QTest::keyClick(Cerca(f), Qt::Key_Escape);
      },
      scelto);
  EXPECT_EQ(prima, "3 righe");
  EXPECT_EQ(dopo, "4 righe");
}

INSTANTIATE_TEST_SUITE_P(Db, FinestraRicerca, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
