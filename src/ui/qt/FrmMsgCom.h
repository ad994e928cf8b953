#pragma once

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>
#include <vector>

#include "src/ui/Operatore.h"
#include "src/ui/qt/LayoutMsgCom.h"

namespace ui {

// The message and command window: a text and up to three commands; the
// answer is the number of the command clicked, 0 when closed otherwise.
class FrmMsgCom : public QDialog {
  Q_OBJECT
 public:
  FrmMsgCom(const RichiestaMsg& richiesta, const QString& titoloProgramma, QWidget* parent = nullptr);
  int risposta() const { return risposta_; }
  const LayoutMsgCom& layoutCalcolato() const { return layout_; }
  QPushButton* comando(int i) const { return comandi_.at(static_cast<size_t>(i)); }

  // The help key: F1 shows the topic of the focused command or of the window.
  std::function<bool(int& tasto, int shift, QWidget* finestra)> aiuto;

  // Twips of the screen the window opens on.
  static MisureMsgCom Misure(QWidget* w, const QFont& font);

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  QLabel* etichetta_;
  QPlainTextEdit* testo_;
  std::vector<QPushButton*> comandi_;
  LayoutMsgCom layout_;
  int risposta_ = 0;
  int annulla_ = 0;
};

}  // namespace ui
