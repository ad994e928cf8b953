#include "src/ui/Operatore.h"

namespace ui {

int Avviso(Operatore& op, const std::string& text) {
  RichiestaMsg r;
  r.psLabel = text;
  return op.msgCom(r);
}

bool ChiediSiNo(Operatore& op, const std::string& text, const std::string& title, int comDefault) {
  RichiestaMsg r;
  r.psLabel = text;
  r.psCom1 = "Si";
  r.pvCom2 = "No";
  r.pvTitolo = title;
  r.piComDefault = comDefault;
  return op.msgCom(r) == 1;
}

}  // namespace ui
