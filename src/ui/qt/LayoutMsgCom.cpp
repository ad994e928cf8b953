#include "src/ui/qt/LayoutMsgCom.h"

namespace ui {

LayoutMsgCom CalcolaLayoutMsgCom(const RichiestaMsg& r, const MisureMsgCom& m) {
  LayoutMsgCom l;
  l.larghezzaComando = r.pvWidthCom ? static_cast<int>(*r.pvWidthCom) : m.larghezzaComando;
  l.larghezza = m.larghezzaSchermo * r.piLargForm / 100;
  const int bordo = m.bordoX;
  int interna = l.larghezza - bordo;

  int riga = l.larghezzaComando + 400;
  l.numeroComandi = 1;
  if (r.pvCom2) {
    riga += l.larghezzaComando + 400;
    l.numeroComandi = 2;
    if (r.pvCom3) {
      riga += l.larghezzaComando + 400;
      l.numeroComandi = 3;
    }
  }
  if (!r.pvCom3) {
    l.comandoDefault = 1;
    if (r.pvCom2) l.comandoAnnulla = 2;
  }

  auto [lw, lh] = m.misura(r.psLabel, 0);
  if (riga > lw + r.piLatiForm) {
    l.larghezza = riga + bordo;
    l.comandiDannoLarghezza = true;
  } else {
    const int x = lw + r.piLatiForm;
    if (x <= interna) {
      l.larghezza = x + bordo;
    } else {
      l.aCapo = true;
      lw = interna;
      lh = m.misura(r.psLabel, interna).second;
    }
  }
  interna = l.larghezza - bordo;
  l.larghezzaEtichetta = lw;
  l.altezzaEtichetta = lh;

  l.altezza = m.bordoY + m.topEtichetta + lh + 290 + m.altezzaComando + 150;
  l.modoTesto = l.altezza > m.altezzaSchermo || r.pbSempreTxt;
  if (l.modoTesto) {
    l.altezza = m.altezzaUtile;
    const int internaY = l.altezza - m.bordoY;
    l.topComandi = internaY - m.altezzaComando - 290;
    l.larghezzaTesto = interna;
    l.topTesto = m.topTesto;
    l.altezzaTesto = l.topComandi - l.topTesto - 290;
    l.sinistraTesto = (interna - l.larghezzaTesto) / 2;
  } else {
    l.topComandi = lh + m.topEtichetta + 290;
    l.altezza = m.bordoY + l.topComandi + m.altezzaComando + 150;
    l.sinistraEtichetta = (interna - lw) / 2;
  }

  const int gap = l.comandiDannoLarghezza ? 400 : (interna - l.numeroComandi * l.larghezzaComando) / l.numeroComandi;
  int left = gap / 2;
  for (int i = 0; i < l.numeroComandi; ++i) {
    l.sinistraComandi.push_back(left);
    left += l.larghezzaComando + gap;
  }
  if (r.piComDefault >= 1 && r.piComDefault <= l.numeroComandi) l.comandoFuoco = r.piComDefault;
  return l;
}

}  // namespace ui
