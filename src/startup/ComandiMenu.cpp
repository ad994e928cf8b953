#include "src/startup/ComandiMenu.h"

#include <cmath>

#include "components/lookup/Finestra.h"
#include "components/util/CommandLine.h"
#include "components/util/Error.h"
#include "components/util/Text.h"
#include "src/startup/Chiusura.h"
#include "src/startup/Programma.h"
#include "src/startup/Schermi.h"

namespace startup {
namespace {

// Element i (from 1) of an array parameter; null when absent, so that a
// short or malformed parameter from the host is a message, not a crash.
util::Value Elemento(const host::HostValue& v, size_t i) {
  const auto* arr = std::get_if<std::vector<util::Value>>(&v);
  if (!arr || i == 0 || i > arr->size()) return {};
  return (*arr)[i - 1];
}

// A status that is not a number is not success either.
bool Successo(const util::Value& stato) {
  if (stato.isNull()) return false;
  try {
    return stato.toDouble() == 0;
  } catch (const std::exception&) {
    return false;
  }
}

double Numero(const util::Value& v) {
  try {
    return v.toDouble();
  } catch (const std::exception&) {
    return 0;
  }
}

// "#,##0" with the Italian thousands point.
std::string Migliaia(double value) {
  const auto n = static_cast<long long>(std::llround(value));
  std::string digits = std::to_string(n < 0 ? -n : n);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<size_t>(i), ".");
  return (n < 0 ? "-" : "") + digits;
}

std::string TestoErrore(const std::string& testa, const host::HostValue& param) {
  return testa + "\nErr: " + Elemento(param, 2).toText() + " - " + Elemento(param, 3).toText();
}

int Ok(Programma& p, const std::string& testo) {
  ui::RichiestaMsg r;
  r.psLabel = testo;
  r.psCom1 = "&Ok";
  return p.ctx.op.msgCom(r);
}

}  // namespace

scMenuComandiClie::scMenuComandiClie(Programma& programma) : ogMenuClient(&programma.ctx.host), p_(programma) {
  ogMenuClient->SetReceiver(this);
}

scMenuComandiClie::~scMenuComandiClie() {
  if (ogMenuClient && ogMenuClient->receiver() == this) ogMenuClient->SetReceiver(nullptr);
  ogMenuClient = nullptr;
}

host::HostReply scMenuComandiClie::EseguiComando(const host::HostCommand& c) {
  UltCom = c.command;
  UltParamVar = c.parameter;
  if (const auto* single = std::get_if<util::Value>(&c.parameter))
    UltParam = single->toText();
  else
    UltParam = Elemento(c.parameter, 1).toText();
  return EseguiComandoMenu(p_, c.menuInstance, c.secondaryKey, c.command, c.parameter);
}

std::string MessaggioFattura(const std::string& command, const host::HostValue& param) {
  const util::Value stato = Elemento(param, 2);
  const util::Value info = Elemento(param, 3);
  if (util::EqualsIgnoreCase(command, "FEInvio")) {
    if (!Successo(stato)) return TestoErrore("Errore nell'invio delle fatture", param);
    std::string t = "Inviate " + util::Trim(Migliaia(Numero(Elemento(param, 6)))) + " fatture";
    if (!util::Trim(info.toText()).empty()) t += "\nFatture non inviate per errori" + info.toText();
    return t;
  }
  if (util::EqualsIgnoreCase(command, "FEAttesa")) {
    if (!Successo(stato)) return TestoErrore("Errore nella richiesta di fatture in attesa", param);
    if (Numero(info) > 0) return "Ci sono " + info.toText() + " fatture in attesa";
    return "";
  }
  if (util::EqualsIgnoreCase(command, "FEInfo")) {
    // No information receiver is registered by this program: success shows nothing.
    if (!Successo(stato)) return TestoErrore("Errore nella richiesta informazioni", param);
    return "";
  }
  return "";
}

host::HostReply EseguiComandoMenu(Programma& p, const std::string& /*menuInstance*/, const std::string& secondaryKey,
                                  const std::string& command, const host::HostValue& parameter) {
  host::HostReply reply("");
  const std::string cmd = util::ToLower(util::Trim(command));
  const auto* single = std::get_if<util::Value>(&parameter);
  const std::string testo = single ? util::Trim(single->toText()) : Elemento(parameter, 1).toText();

  if (cmd == "fine") {
    p.ctx.chiusuraDaHost = true;
    ChiudiProgramma(p);
    p.ctx.chiusuraDaHost = false;
    if (p.forms.empty()) return host::HostReply("");
    return host::HostReply(p.ctx.motivoRifiuto.empty() ? "No Chiudi" : p.ctx.motivoRifiuto);
  }
  if (cmd == "esiste") return host::HostReply(true);
  if (cmd == "ritornoa") {
    if (testo.empty() || p.CercaForm(testo) < 0) {
      // Back from another program (the table's own, opened from the lookup
      // window): the rows it may have changed are read again.
      try {
        if (p.finestraAiuto && p.finestraAiuto->Visibile()) p.finestraAiuto->ButtonComando("Aggiorna");
      } catch (...) {
      }
      try {
        if (Schermo* attivo = p.pf.Attivo()) attivo->DaiFuoco();
      } catch (...) {
        // a screen that cannot take the focus now is left as it is
      }
    } else {
      ApriFormRichiesta(p, testo, false, p.parametriProgramma, "", "", "");
    }
    return reply;
  }
  if (cmd == "attiva") {
    p.ctx.host.SetActiveKey(secondaryKey);
    const host::LaunchInfo li = p.ctx.host.GetLaunchInfo();
    ApriFormRichiesta(p, util::Trim(util::SwitchValue(li.osParam, 'F')), true, secondaryKey, li.osChiLancia,
                      li.osKeySecLancia, li.osParamLancia);
    return reply;
  }
  if (cmd == "preppassaa") {
    for (size_t i = 0; i < p.forms.size(); ++i) {
      try {
        p.forms[i]->PassaA();
      } catch (...) {
        // one screen's failure must not keep the others from being told
      }
    }
    return reply;
  }
  if (cmd == "passaa") {
    const host::LaunchInfo li = p.ctx.host.GetLaunchInfo();
    ApriFormRichiesta(p, testo, false, secondaryKey, li.osChiLancia, li.osKeySecLancia, li.osParamLancia);
    return reply;
  }
  if (cmd == "keyprgprim") return host::HostReply(p.chiaveLancioPrim);
  if (cmd == "keyprgsec") return host::HostReply(p.chiaveLancioSec);
  if (cmd == "paramprgclie") return host::HostReply("$Default$");
  if (cmd == "comandoprgclie") return host::HostReply("");
  if (cmd == "feinvio" || cmd == "feattesa" || cmd == "feinfo") {
    const std::string msg = MessaggioFattura(command, parameter);
    if (!msg.empty()) {
      const int scelta = Ok(p, msg);
      // Another message was showing: keep the outcome of the sending for later.
      if (cmd == "feinvio" && scelta == 0) p.ultimoMsgFattura = msg;
    }
    return reply;
  }
  return reply;
}

void LasciaForm(Programma& p, Schermo& schermo, bool ritorno) {
  if (ritorno && !p.ctx.chiusuraDaHost) {
    if (schermo.osKeyLancia.empty())
      MostraMenu(p);
    else
      p.ctx.host.ReturnTo(schermo.osKeyLancia, schermo.osKeySecLancia, schermo.osParamLancia);
  }
  p.ctx.chiusuraDaHost = false;
  ChiudiDaMenu(p, 0);
  try {
    if (!schermo.osKeySec.empty()) p.ctx.host.ReleaseKey(schermo.osKeySec);
  } catch (...) {
    // the key dies with the host anyway
  }
}

void MostraMenu(Programma& p) {
  try {
    p.ctx.host.ShowMenu("Tutti");
  } catch (const std::exception&) {
    p.ctx.op.MessageBox("Il menu non \xC3\xA8 pi\xC3\xB9 disponibile", ui::box::kOkOnly);
    return;
  }
  try {
    p.pf.AttivaProcesso(p.ctx.host.GetParameter("MenuProcId").toText());
  } catch (...) {
    // the menu is up; bringing its window forward is a courtesy
  }
}

}  // namespace startup
