#include "src/startup/Schermi.h"

#include "components/lookup/Finestra.h"
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

void Segnala(Programma& p, const std::exception& e) {
  try {
    ui::SegnalaErroreMenu(p.ctx.host, p.ctx.op, util::AsRuntimeError(e, 5));
  } catch (...) {
    // the host that would show it is gone; the close follows anyway
  }
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
                const std::string& lanciatore, const std::string& chiaveLanciatore, const std::string& paramLanciatore,
                int showFlag, const std::string& parte) {
  lookup::FinestraAiuto* aiuto = p.finestraAiuto;
  auto aiutoVisibile = [aiuto] { return aiuto && aiuto->Visibile(); };
  bool aiutoNascosto = false;

  // A screen not open yet: the lookup window out of its way, then load and show.
  auto apri = [&]() -> bool {
    if (aiutoVisibile()) {
      aiuto->HideFrm();
      p.pf.DoEvents();
      aiutoNascosto = true;
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
    if (aiutoNascosto) {
      // The lookup window kept the focus from the screen: give it back once loading is over.
      p.principale.oiFlagVarie = 1;
      p.principale.osNomeForm = nome;
      if (p.principale.TimVarie) p.principale.TimVarie->Abilita(true);
    }
    return true;
  };

  // Errors 364 and 91: the screen unloaded itself while loading; nothing to say.
  auto errore = [&p](const std::exception& e) {
    const auto* r = dynamic_cast<const util::RuntimeError*>(&e);
    if (!r || (r->number() != kErrOggettoScaricato && r->number() != kErrOggettoAssente)) Segnala(p, e);
  };
  try {
    const int16_t indice = p.CercaForm(nome, parte);
    if (indice >= 1) {
      Schermo* s = p.Form(indice);
      try {
        if (!s->Visibile()) s->MostraNonModale();
      } catch (...) {
      }
      if (p.pf.Attivo() == s) {
        if (aiutoVisibile()) aiuto->PortaDavanti();
        return true;
      }
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
    return apri();
  } catch (const std::exception& e) {
    if (!aiutoVisibile()) {
      errore(e);
    } else {
      // The lookup window open over another screen stood in the way: with
      // it hidden the opening is tried once more.
      aiuto->HideFrm();
      try {
        return apri();
      } catch (const std::exception& e2) {
        errore(e2);
      }
    }
  }
  ChiudiDaMenu(p, 0);
  return false;
}

}  // namespace startup
