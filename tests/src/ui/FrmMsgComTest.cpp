#include "src/ui/qt/FrmMsgCom.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include "src/ui/qt/QtOperatore.h"
#include "src/ui/qt/TastieraQt.h"
#include "tests/support/AppQt.h"

namespace {

QApplication& App() { return testsupport::AppQt(); }

ui::RichiestaMsg Domanda(int comDefault) {
  ui::RichiestaMsg r;
  r.psLabel = "Confermi l'elaborazione delle scadenze ?";
  r.psCom1 = "Si";
  r.pvCom2 = "No";
  r.pvTitolo = "Compensato";
  r.piComDefault = comDefault;
  return r;
}

TEST(FrmMsgCom, EnterAndEscapeAnswer) {
  App();
  struct Caso {
    const char* nome;
    int comDefault;
    Qt::Key tasto;
    int attesa;
  } casi[] = {
      {"Enter chooses Si", 1, Qt::Key_Return, 1},
      {"Esc chooses No", 1, Qt::Key_Escape, 2},
      {"focus on No: Enter chooses No", 2, Qt::Key_Return, 2},
  };
  for (const auto& c : casi) {
    ui::QtOperatore op;
    op.allApertura = [&](QWidget* w) {
      QWidget* target = w->focusWidget() ? w->focusWidget() : w;
      QTest::keyClick(target, c.tasto);
    };
    EXPECT_EQ(op.msgCom(Domanda(c.comDefault)), c.attesa) << c.nome;
  }
}

TEST(FrmMsgCom, ARequestWhileAMessageShowsAnswers0) {
  App();
  ui::QtOperatore op;
  int interna = -1;
  op.allApertura = [&](QWidget* w) {
    interna = op.msgCom(Domanda(1));
    QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, Qt::Key_Return);
  };
  EXPECT_EQ(op.msgCom(Domanda(1)), 1);
  EXPECT_EQ(interna, 0);
  EXPECT_FALSE(op.msgComVisibile());
}

TEST(FrmMsgCom, TheWindowFollowsItsLayoutAndCaption) {
  App();
  ui::FrmMsgCom w(Domanda(1), "Compensato");
  EXPECT_EQ(w.windowTitle(), "Compensato");
  EXPECT_EQ(w.comando(0)->text(), "Si");
  EXPECT_EQ(w.comando(1)->text(), "No");
  EXPECT_LT(w.comando(0)->x(), w.comando(1)->x());
  EXPECT_GT(w.comando(0)->y(), w.findChild<QLabel*>("LabMessaggio")->y());
}

TEST(FrmMsgCom, F1ShowsTheTopicOfTheFocusedCommandOrOfTheWindow) {
  App();
  ui::QtOperatore op;
  std::vector<int32_t> contesti;
  op.aiuto = [&](int& tasto, int, QWidget* w) {
    contesti.push_back(ui::ContestoAttivoQt(w));
    tasto = 0;
    return true;
  };
  op.allApertura = [&](QWidget* w) {
    w->setProperty("HelpContextID", 50000);
    QWidget* fuoco = w->focusWidget() ? w->focusWidget() : w;
    QTest::keyClick(fuoco, Qt::Key_F1);
    fuoco->setProperty("HelpContextID", 50020);
    QTest::keyClick(fuoco, Qt::Key_F1);
    QTest::keyClick(fuoco, Qt::Key_Escape);
  };
  EXPECT_EQ(op.msgCom(Domanda(1)), 2) << "F1 did not answer the window";
  EXPECT_EQ(contesti, (std::vector<int32_t>{50000, 50020}));
}

TEST(FrmInElab, TextsCounterTotalBarAndItsScaling) {
  App();
  ui::QtOperatore op;
  int scalate = 0;
  op.adatta = [&](QWidget* w) {
    EXPECT_EQ(w->objectName(), "frmInElab");
    ++scalate;
  };
  auto p = op.NuovoProgress();
  p->Start(10, " Scadenze", 0, true, true, 24, "Elaborazione Scadenze", 2, true);
  auto* w = qApp->findChild<QDialog*>("frmInElab");
  if (!w)
    for (QWidget* t : QApplication::topLevelWidgets())
      if (t->objectName() == "frmInElab") w = qobject_cast<QDialog*>(t);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(scalate, 1);
  EXPECT_EQ(w->windowTitle(), "In Elaborazione");
  auto testo = [w](const char* nome) { return w->findChild<QLabel*>(nome)->text().toStdString(); };
  EXPECT_EQ(testo("LabTitolo"), " Scadenze");
  EXPECT_EQ(testo("LabMsgElab"), "Elaborazione Scadenze");
  EXPECT_NE(w->findChild<QWidget*>("PicMsgElab")->findChild<QLabel*>("LabMsgElab"), nullptr);
  EXPECT_EQ(testo("LabFatti"), "0");
  EXPECT_EQ(testo("LabDi"), "di");
  EXPECT_EQ(testo("labDaFare"), "10");
  p->Step(3);
  EXPECT_EQ(testo("LabFatti"), "3");
  EXPECT_EQ(w->findChild<QProgressBar*>("proDaFare")->value(), 3);
  p->SetText("Sblocco delle scadenze");
  EXPECT_EQ(testo("LabMsgElab"), "Sblocco delle scadenze");
  p->End();
  for (QWidget* t : QApplication::topLevelWidgets()) EXPECT_NE(t->objectName(), "frmInElab");
}

}  // namespace
