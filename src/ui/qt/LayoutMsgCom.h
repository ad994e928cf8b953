#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "src/ui/Operatore.h"

namespace ui {

// What the message window's layout needs to know of the screen and of its
// own controls, all in twips.
struct MisureMsgCom {
  int larghezzaSchermo = 0;
  int altezzaSchermo = 0;  // the tallest a window may be
  int altezzaUtile = 0;    // AltezzaUtile: the screen less a bottom taskbar
  int bordoX = 0;          // window width - inner width
  int bordoY = 0;          // window height - inner height
  int topEtichetta = 120;
  int larghezzaComando = 1215;
  int altezzaComando = 375;
  int topTesto = 120;
  // Width and height of the text in the label: on one line per line break
  // when the wrap width is 0, otherwise wrapped at that width.
  std::function<std::pair<int, int>(const std::string& testo, int larghezzaACapo)> misura;
};

// Where everything of the window goes for one request.
struct LayoutMsgCom {
  int larghezza = 0, altezza = 0;
  bool modoTesto = false;
  bool aCapo = false;  // the label wraps at the inner width
  bool comandiDannoLarghezza = false;
  int numeroComandi = 1;
  int larghezzaComando = 0;
  std::vector<int> sinistraComandi;
  int topComandi = 0;
  int sinistraEtichetta = 0, larghezzaEtichetta = 0, altezzaEtichetta = 0;
  int sinistraTesto = 0, topTesto = 0, larghezzaTesto = 0, altezzaTesto = 0;
  int comandoDefault = 0;  // Enter, from 1; 0 none
  int comandoAnnulla = 0;  // Esc, from 1; 0 none
  int comandoFuoco = 0;    // the one with the focus, from 1; 0 none
};

LayoutMsgCom CalcolaLayoutMsgCom(const RichiestaMsg& r, const MisureMsgCom& m);

}  // namespace ui
