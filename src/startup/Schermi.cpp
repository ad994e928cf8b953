#include "src/startup/Schermi.h"

#include "components/util/Error.h"
#include "components/util/Text.h"
#include "components/util/Value.h"
#include "src/startup/Chiusura.h"
#include "src/startup/Programma.h"
#include "src/ui/Errori.h"

namespace startup {
namespace {

bool Intero(const std::string& testo, int& out) {
  double v = 0;
  if (!util::ParseItalianNumber(testo, v)) return false;
  out = static_cast<int>(v);
  return true;
}

void ImpostaLancio(Schermo& s, const std::string& chiave, const std::string& lanciatore,
                   const std::string& chiaveLanciatore, const std::string& paramLanciatore,
                   const std::string& osParam) {
  s.osKeySec = chiave;
  s.osKeyLancia = lanciatore;
  s.osKeySecLancia = chiaveLanciatore;
  s.osParamLancia = paramLanciatore;
  s.osParam = osParam;
}

}  // namespace

int TipoVisualizzazione(Programma& p) {
  int tipo = 0;
  if (Intero(p.ctx.azienda.statoFinestra, tipo)) return tipo;
  if (Intero(p.ctx.host.GetLaunchInfo().osTipoForm, tipo)) return tipo;
  return 0;
}

void ApriFormRichiesta(Programma& p, const std::string& nome, bool usaTipo, const std::string& parametri,
                       const std::string& lanciatore, const std::string& chiaveLanciatore,
                       const std::string& paramLanciatore) {
  const std::string n = util::Trim(nome);
  const char* schermo = nullptr;
  if (!n.empty() && util::EqualsIgnoreCase(n, kFormSelezione)) schermo = kFormSelezione;
  if (!n.empty() && util::EqualsIgnoreCase(n, kFormRipristino)) schermo = kFormRipristino;
  if (!schermo) {
    MsgEChiudi(p, "La form richiesta e' inesistente", ui::box::kOkOnly, -1);
    return;
  }
  AttivaForm(p, schermo, usaTipo, parametri, lanciatore, chiaveLanciatore, paramLanciatore, -1);
}

bool AttivaForm(Programma& p, const std::string& nome, bool usaTipo, const std::string& chiave,
                const std::string& lanciatore, const std::string& chiaveLanciatore,
                const std::string& paramLanciatore, int showFlag, const std::string& parte) {
  try {
    const int16_t indice = p.CercaForm(nome, parte);
    if (indice >= 1) {
      Schermo* s = p.Form(indice);
      try {
        if (!s->Visibile()) s->MostraNonModale();
      } catch (...) {
      }
      Schermo* attivo = p.pf.Attivo();
      const bool giaAttivo = attivo == s;
      if (giaAttivo) return true;
      s->DaiFuoco();
      if (!lanciatore.empty()) {
        Schermo* a = p.pf.Attivo() ? p.pf.Attivo() : s;
        a->osKeyLancia = lanciatore;
        a->osKeySecLancia = chiaveLanciatore;
        a->osParamLancia = paramLanciatore;
        a->osKeySec = chiave;
        a->osParam = p.ctx.host.GetLaunchInfo().osParam;
        a->AttivatoDaAltri();
      }
      return true;
    }

    auto nuovo = p.pf.CreaSchermo(nome, p);
    if (!nuovo) throw util::RuntimeError(5, "Schermo " + nome + " non disponibile", "AttivaForm");
    const int tipo = TipoVisualizzazione(p);
    const host::LaunchInfo li = p.ctx.host.GetLaunchInfo();
    ImpostaLancio(*nuovo, chiave, lanciatore, chiaveLanciatore, paramLanciatore, li.osParam);
    nuovo->osTipoForm = li.osTipoForm;
    Schermo* s = p.Carica(std::move(nuovo));
    if (s->oiLoadOk == -1) {
      p.Scarica(s);
      ChiudiDaMenu(p, -1);
      return false;
    }
    if (showFlag == -1) {
      const int esito = s->ShowForm(usaTipo ? tipo : -1);
      if (esito < 0) {
        ui::SegnalaErroreMenu(p.ctx.host, p.ctx.op, "Impossibile aprire il programma richiesto", -(100 + esito));
        p.Scarica(s);
        return false;
      }
    }
    return true;
  } catch (const util::RuntimeError& e) {
    if (e.number() != kErrOggettoScaricato && e.number() != kErrOggettoAssente) {
      try {
        ui::SegnalaErroreMenu(p.ctx.host, p.ctx.op, e);
      } catch (...) {
      }
    }
  } catch (const std::exception& e) {
    try {
      ui::SegnalaErroreMenu(p.ctx.host, p.ctx.op, e.what(), 5);
    } catch (...) {
    }
  }
  ChiudiDaMenu(p, 0);
  return false;
}

}  // namespace startup
