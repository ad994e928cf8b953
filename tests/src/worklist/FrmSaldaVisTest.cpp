// The installment card on real widgets, offscreen, opened as the worklist's
// "Visualizza" opens it, on every engine.
#include "src/worklist/qt/FrmSaldaVis.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "src/startup/Programma.h"
#include "tests/src/settlement/AziendaProva.h"
#include "tests/src/startup/FakePiattaforma.h"
#include "tests/support/AppQt.h"

namespace {

using testsupport::AziendaProva;

class SchedaQt : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  SchedaQt() { testsupport::AppQt(); }

  AziendaProva az{GetParam()};
  testsupport::FakePiattaforma pf;
  startup::Programma p{az.ctx(), pf};
  compensato::Contesto& ctx = az.ctx();

  void SetUp() override {
    az.Inserisci({.numProg = 1, .tipo = 2, .entrataUscita = "U", .importo = 1234.5});
    az.PreparaLista(2);
  }
};

TEST_P(SchedaQt, LaSchedaMostraLaScadenzaEsiChiudeConEsci) {
  auto* f = static_cast<worklist::frmSaldaVis*>(p.Carica(std::make_unique<worklist::frmSaldaVis>(p)));
  const auto s = compensato::LeggiSchedaScadenza(ctx, util::Value::Integer(2026), util::Value::Long(1));
  ASSERT_TRUE(s.has_value());
  f->Riempi(*s);
  f->show();
  EXPECT_EQ(f->findChild<QLabel*>("labTipo")->text().toStdString(), "Fornitore:");
  EXPECT_EQ(f->findChild<QLabel*>("labCodice")->text().toStdString(), "40-01-000001");
  EXPECT_EQ(f->findChild<QLabel*>("labDesCodice")->text().toStdString(), "Delta S.r.l.");
  EXPECT_EQ(f->findChild<QLabel*>("labImportoScad")->text().toStdString(), "1.234,50");
  EXPECT_TRUE(f->findChild<QRadioButton*>("Uscita")->isChecked());
  EXPECT_FALSE(f->findChild<QRadioButton*>("Entrata")->isChecked());
  // COMPENSATO_SCREENSHOTS=<folder> keeps a picture of the card to look at.
  if (const char* cartella = std::getenv("COMPENSATO_SCREENSHOTS"))
    f->grab().save(QString::fromUtf8(cartella) + "/frmSaldaVis.png");
  QTest::mouseClick(f->findChild<QPushButton*>("ComEsci"), Qt::LeftButton);
  EXPECT_FALSE(f->isVisible());
}

TEST_P(SchedaQt, VisualizzaApreLaSchedaModaleELaScaricaAllaChiusura) {
  bool vista = false;
  QTimer::singleShot(0, [&] {
    auto* f = qobject_cast<worklist::frmSaldaVis*>(QApplication::activeModalWidget());
    if (!f) {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "frmSaldaVis" && w->isVisible()) f = qobject_cast<worklist::frmSaldaVis*>(w);
    }
    ASSERT_NE(f, nullptr);
    vista = f->Etichetta("labNumDoc")->text() == "F1";
    QTest::mouseClick(f->findChild<QPushButton*>("ComEsci"), Qt::LeftButton);
  });
  worklist::MostraSchedaScadenza(p, util::Value::Integer(2026), util::Value::Long(1));
  EXPECT_TRUE(vista);
  EXPECT_EQ(p.CercaForm("frmSaldaVis", ""), -1) << "unloaded when it closes";

  // A row that is not there: no card.
  worklist::MostraSchedaScadenza(p, util::Value::Integer(2026), util::Value::Long(99));
  EXPECT_EQ(p.CercaForm("frmSaldaVis", ""), -1);
}

INSTANTIATE_TEST_SUITE_P(Motori, SchedaQt, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
