#include "src/startup/Chiusura.h"

#include "components/util/Error.h"
#include "src/startup/Avvio.h"
#include "src/startup/ComandiMenu.h"
#include "src/startup/Programma.h"
#include "src/ui/Errori.h"

namespace startup {

void CreaFormPrincipale(Programma& p) {
  auto form = p.pf.CreaFormPrincipale();
  p.principale.finestra = form.get();
  p.principale.timChiudi = p.pf.CreaTimer([&p] { ScattoTimChiudi(p); });
  p.principale.TimVarie = p.pf.CreaTimer([&p] { ScattoTimVarie(p); });
  p.principale.timChiudi->Intervallo(1);
  p.principale.TimVarie->Intervallo(1);
  p.Carica(std::move(form));
  p.principale.oiTmpAttesa = 3000;
}

bool RichiediChiusura(Programma& p) {
  p.principale.oiChiudi = 0;
  if (p.principale.timChiudi) p.principale.timChiudi->Abilita(true);
  return true;
}

void ChiudiDaMenu(Programma& p, int16_t flag) {
  try {
    if (flag == -1) {
      int16_t mode = 1;
      TentaChiusura(p, mode);
      return;
    }
    p.principale.oiChiudi = 1;
    p.principale.oiTmpAttesa = 100;
    if (!p.principale.timChiudi) return;
    p.principale.timChiudi->Abilita(false);
    p.principale.timChiudi->Intervallo(1);
    p.principale.timChiudi->Abilita(true);
  } catch (const std::exception&) {
    p.ctx.op.MessageBox("Non riesco a chiudere il programma", ui::box::kOkOnly);
  }
}

void ScattoTimChiudi(Programma& p) {
  Timer& t = *p.principale.timChiudi;
  t.Abilita(false);
  if (p.terminato) return;
  const int16_t salvato = p.principale.oiChiudi;
  const bool chiuso = TentaChiusura(p, p.principale.oiChiudi);
  if (chiuso || p.terminato) return;
  p.principale.oiChiudi = salvato;
  if (t.Intervallo() == 3000) {
    t.Intervallo(1);
    return;
  }
  t.Intervallo(p.principale.oiTmpAttesa);
  t.Abilita(true);
}

// A refused close must be reported as such, whatever the mode: the closing
// timer retries only on false, and a close refused for a modal screen that
// reported true would never be tried again.
bool TentaChiusura(Programma& p, int16_t& mode) {
  if (mode == 0) return ChiudiProgramma(p);
  mode = 0;
  if (p.AltreFormAperte()) return false;
  return ChiudiProgramma(p);
}

bool ChiudiProgramma(Programma& p) {
  try {
    p.pf.DoEvents();
  } catch (...) {
  }
  if (p.terminato) return true;
  Schermo* principale = p.principale.finestra;
  if (principale) {
    try {
      principale->MostraNonModale();
    } catch (const util::RuntimeError& e) {
      if (e.number() == kErrFormModale) {
        p.ctx.motivoRifiuto = kMascheraModal;
        return false;
      }
    } catch (...) {
    }
  }
  bool aiuto = false;
  if (!ScaricaForms(p, kDidascaliaPrincipale, aiuto)) {
    try {
      if (principale) principale->Nascondi();
    } catch (...) {
    }
    return false;
  }
  try {
    RilasciaCollegamenti(p);
    if (p.principale.finestra) p.Scarica(p.principale.finestra);
    p.forms.clear();
    p.principale.finestra = nullptr;
    if (p.principale.timChiudi) p.principale.timChiudi->Abilita(false);
    if (p.principale.TimVarie) p.principale.TimVarie->Abilita(false);
    p.terminato = true;
    p.pf.Termina(p.codiceUscita);
    return true;
  } catch (const util::RuntimeError& e) {
    ui::MostraErrore(p.ctx.op, e);
  } catch (const std::exception& e) {
    ui::MostraErrore(p.ctx.op, util::RuntimeError(5, e.what()));
  }
  return false;
}

bool ScaricaForms(Programma& p, const std::string& didascaliaPrincipale, bool& aiutoAperto) {
  size_t i = 0;
  while (i < p.forms.size()) {
    Schermo* f = p.forms[i].get();
    if (f == p.principale.finestra || f->Didascalia() == didascaliaPrincipale) {
      ++i;
      continue;
    }
    if (f->Aiuto()) {
      aiutoAperto = true;
      ++i;
      continue;
    }
    const size_t prima = p.forms.size();
    bool scaricata = false;
    try {
      scaricata = p.Scarica(f);
    } catch (...) {
      scaricata = false;
    }
    if (!scaricata || p.forms.size() >= prima) {
      try {
        f->MostraNonModale();
      } catch (...) {
      }
      return false;
    }
    // The form at i is gone; the next one took its index. Forms unloaded by
    // its unload event may have gone too, so start again from the top.
    i = 0;
  }
  for (size_t j = p.forms.size(); j-- > 0;) {
    Schermo* f = p.forms[j].get();
    if (f != p.principale.finestra && f->Aiuto()) {
      try {
        p.Scarica(f);
      } catch (...) {
      }
    }
  }
  return true;
}

void RilasciaCollegamenti(Programma& p) {
  try {
    if (!p.connDiretta.empty()) p.diretto.CloseDatabase(p.connDiretta);
  } catch (...) {
  }
  p.connDiretta.clear();
  try {
    if (!p.ctx.conn.empty() && p.ctx.db.IsOpen(p.ctx.conn)) p.ctx.db.CloseDatabase(p.ctx.conn);
  } catch (...) {
  }
  try {
    p.ctx.host.Detach();
  } catch (...) {
  }
  // The client may be answering the host's "fine" right now: it stops
  // receiving here and goes with the program.
  p.ctx.host.SetReceiver(nullptr);
  if (p.client) p.client->ogMenuClient = nullptr;
}

void MsgEChiudi(Programma& p, const std::string& messaggio, std::optional<int> pulsanti, int16_t chiudi) {
  try {
    try {
      p.pf.ChiudiSplash();
    } catch (...) {
    }
    if (p.forms.size() > 2)
      p.forms[2]->MostraNonModale();
    else if (p.principale.finestra)
      p.principale.finestra->MostraNonModale();
    p.ctx.op.MessageBox(messaggio, pulsanti.value_or(ui::box::kOkOnly));
    if (p.principale.finestra) p.principale.finestra->Nascondi();
  } catch (const util::RuntimeError& e) {
    try {
      ui::SegnalaErroreMenu(p.ctx.host, p.ctx.op, messaggio, e.number());
    } catch (...) {
    }
  }
  if (chiudi == -1) ChiudiDaMenu(p, 0);
}

void SorvegliaMenu(Programma& p) {
  // Until the first screen is up, startup reports a missing host itself.
  if (p.terminato || p.menuPersoAvvisato || p.forms.size() < 2 || !p.ctx.host.Perso()) return;
  p.menuPersoAvvisato = true;
  try {
    p.pf.ChiudiSplash();
  } catch (...) {
  }
  p.ctx.op.MessageBox(kMenuAssente, ui::box::kCritical);
  // There is no menu to go back to: the screens close as on the host's "fine".
  p.ctx.chiusuraDaHost = true;
  p.principale.oiChiudi = 0;
  p.principale.oiTmpAttesa = 100;
  if (!p.principale.timChiudi) return;
  p.principale.timChiudi->Abilita(false);
  p.principale.timChiudi->Intervallo(1);
  p.principale.timChiudi->Abilita(true);
}

void ScattoTimVarie(Programma& p) {
  p.principale.TimVarie->Abilita(false);
  if (p.principale.oiFlagVarie == 1) {
    const int16_t i = p.CercaForm(p.principale.osNomeForm);
    if (i > 0) {
      try {
        p.Form(i)->DaiFuoco();
      } catch (...) {
      }
    }
  }
  p.principale.oiFlagVarie = 0;
}

}  // namespace startup
