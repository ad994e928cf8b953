#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

#include "src/ui/Campi.h"
#include "src/ui/Tasti.h"

class QKeyEvent;

namespace host {
class MenuHost;
}

namespace ui {

// A key event as the key rules count it: key code and shift state (1 Shift,
// 2 Ctrl, 4 Alt). Modifier keys alone give 0.
void CodiceTasto(const QKeyEvent* e, int& tasto, int& shift);

// SpostaFuoco in a window: the next (previous with a negative step) control
// in tab order that can take the focus.
void SpostaFuoco(QWidget* finestra, int passo);

// ContestoAttivo of a window: "HelpContextID" of the control with the focus,
// then of its containers, then of the window.
int32_t ContestoAttivoQt(QWidget* finestra);

// What a screen's keyboard needs from the program.
struct ImpostazioniTastiera {
  host::MenuHost* host = nullptr;
  Operatore* op = nullptr;
  StatoTastiera* stato = nullptr;  // one for the whole run
  std::function<std::string()> tastierinoVirgola;
  std::function<ColoriCampi()> colori;
  // The help key (AiutoTasto) for this window: true when handled.
  std::function<bool(int& tasto, int shift)> aiuto;
  bool griglia = false;   // Enter moves on from a data grid too
  bool multiRiga = true;  // Enter stays in a multi-line box
};

// The keyboard of one screen, installed once for all its controls: it sees
// every key before the control does (GestisciTasto, then the screen's own
// key-down, then FiltraTasto on the character), and colours the text box
// that takes or leaves the focus (PrendeFuoco, PerdeFuoco, SelezionaTesto).
class TastieraQt : public QObject {
  Q_OBJECT
 public:
  TastieraQt(QWidget* finestra, ImpostazioniTastiera imp);
  ~TastieraQt() override;

  // The screen's own key-down, after the common one: true when consumed.
  std::function<bool(int& tasto, int shift)> tastoGiu;
  // The text box entered and left, after the common colours.
  std::function<void(QWidget*)> entrato, uscito;
  ImpostazioniTastiera& impostazioni() { return imp_; }

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  bool Tasto(QWidget* w, QKeyEvent* e);
  QPointer<QWidget> finestra_;
  ImpostazioniTastiera imp_;
  bool inoltro_ = false;
};

}  // namespace ui
