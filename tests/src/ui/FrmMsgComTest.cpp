#include "src/ui/qt/FrmMsgCom.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "src/ui/qt/QtOperatore.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "ui_qt_test";
  static char* argv[] = {name, nullptr};
  // Kept to the end of the process: destroying it from an exit handler
  // crashes inside the platform plugin.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

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

}  // namespace
