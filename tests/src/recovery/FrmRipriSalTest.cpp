// The recovery window on real widgets, offscreen, over a small company: the
// empty layout, the grid of interrupted runs and what "Elabora Scadenze" does
// to it, on every engine.
#include "src/recovery/qt/FrmRipriSal.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <cstdlib>

#include "src/startup/Programma.h"
#include "tests/src/settlement/AziendaProva.h"
#include "tests/src/startup/FakePiattaforma.h"
#include "tests/support/AppQt.h"

namespace {

using testsupport::AziendaProva;

class FinestraRipristinoQt : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  FinestraRipristinoQt() { testsupport::AppQt(); }

  AziendaProva az{GetParam()};
  testsupport::FakePiattaforma pf;
  startup::Programma p{az.ctx(), pf};

  // Installment n reserved by `utente`, as a run killed before its copy leaves it.
  void Riservata(int32_t n, const std::string& utente) {
    az.Inserisci({.numProg = n, .conto = "00000" + std::to_string(n)});
    az.ctx().db.Execute(az.ctx().conn, "UPDATE Scadenze SET Utente = '" + utente +
                                           "', FlStato = '0' WHERE NumProg = " + std::to_string(n));
  }
  // The window as the program opens it: loaded into the program's forms.
  recovery::frmRipriSal& Apri() {
    auto* f = static_cast<recovery::frmRipriSal*>(p.Carica(std::make_unique<recovery::frmRipriSal>(p)));
    f->show();
    return *f;
  }
  template <class T>
  T* Controllo(QWidget& w, const char* nome) {
    T* c = w.findChild<T*>(nome);
    EXPECT_NE(c, nullptr) << nome;
    return c;
  }
};

TEST_P(FinestraRipristinoQt, SenzaInterruzioniSoloIlMessaggioEAnnulla) {
  auto& f = Apri();
  EXPECT_EQ(f.oiLoadOk, 1);
  EXPECT_TRUE(Controllo<QLabel>(f, "LabNessuno")->isVisible());
  EXPECT_EQ(Controllo<QLabel>(f, "LabNessuno")->text().toStdString(),
            "Nessuna elaborazione di compensato è stato interrotta");
  EXPECT_TRUE(Controllo<QPushButton>(f, "ComAnnulla_1")->isVisible());
  for (const char* nascosto : {"griLock", "comOk", "Label1_0", "Label1_1", "ComAnnulla_0"})
    EXPECT_FALSE(Controllo<QWidget>(f, nascosto)->isVisible()) << nascosto;
  QTest::mouseClick(Controllo<QPushButton>(f, "ComAnnulla_1"), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(p.CercaForm("frmRipriSal", ""), -1) << "Annulla unloads the window";
}

TEST_P(FinestraRipristinoQt, OgniRigaRipristinataSparisceLUltimaChiudeLaFinestra) {
  Riservata(1, "ANNA~T1");
  Riservata(2, "LUCA~T2");
  Riservata(3, "PIPPO~T3");
  ASSERT_TRUE(az.ctx().db.HoldLiveMark(az.ctx().conn, "PIPPO~T3"));

  auto& f = Apri();
  auto* griglia = Controllo<QTableWidget>(f, "griLock");
  ASSERT_NE(griglia, nullptr);
  EXPECT_TRUE(griglia->isVisible());
  EXPECT_FALSE(Controllo<QLabel>(f, "LabNessuno")->isVisible());
  EXPECT_EQ(Controllo<QPushButton>(f, "comOk")->text().toStdString(), "&Elabora Scadenze");
  EXPECT_EQ(Controllo<QLabel>(f, "Label1_0")->text().toStdString(),
            "Prima di sbloccare le scadenze accertarsi che non siano in uso.");
  ASSERT_EQ(griglia->columnCount(), 3);
  EXPECT_EQ(griglia->horizontalHeaderItem(0)->text().toStdString(), "Utente");
  EXPECT_EQ(griglia->horizontalHeaderItem(1)->text().toStdString(), "Fase di elaborazione");
  EXPECT_TRUE(griglia->isColumnHidden(2));
  ASSERT_EQ(griglia->rowCount(), 3);
  EXPECT_EQ(griglia->currentRow(), 0);

  auto riga = [&](const std::string& utente) {
    for (int r = 0; r < griglia->rowCount(); ++r)
      if (griglia->item(r, 0)->text().toStdString() == utente) return r;
    return -1;
  };
  // Flag "10": reserved, no working copy.
  EXPECT_EQ(griglia->item(riga("ANNA~T1"), 2)->text().toStdString(), "10");
  EXPECT_EQ(griglia->item(riga("PIPPO~T3"), 1)->text().toStdString(), compensato::kTestoInUso);

  // COMPENSATO_SCREENSHOTS=<folder> keeps a picture of the window to look at.
  if (const char* cartella = std::getenv("COMPENSATO_SCREENSHOTS"))
    f.grab().save(QString::fromUtf8(cartella) + "/frmRipriSal.png");

  // The live one stays, whatever the operator asks.
  griglia->setCurrentCell(riga("PIPPO~T3"), 0);
  QTest::mouseClick(Controllo<QPushButton>(f, "comOk"), Qt::LeftButton);
  EXPECT_EQ(griglia->rowCount(), 3);
  EXPECT_TRUE(az.op.Mostrato("ancora in corso")) << az.op.Elenco();
  az.ctx().db.ReleaseLiveMark(az.ctx().conn, "PIPPO~T3");

  // A row that is not the last goes, by the button or a double click.
  griglia->setCurrentCell(0, 0);
  QTest::mouseClick(Controllo<QPushButton>(f, "comOk"), Qt::LeftButton);
  EXPECT_EQ(griglia->rowCount(), 2);
  emit griglia->cellDoubleClicked(0, 0);
  EXPECT_EQ(griglia->rowCount(), 1);
  QCoreApplication::processEvents();
  ASSERT_NE(p.CercaForm("frmRipriSal", ""), -1);
  QTest::mouseClick(Controllo<QPushButton>(f, "comOk"), Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(p.CercaForm("frmRipriSal", ""), -1) << "the last row closes the window";
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM Scadenze WHERE Utente <> ' ' OR FlStato IS NOT NULL"), 0);
}

INSTANTIATE_TEST_SUITE_P(Motori, FinestraRipristinoQt, ::testing::ValuesIn(testsupport::Engines()),
                         testsupport::EngineName);

}  // namespace
