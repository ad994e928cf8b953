#include "components/host/SocketMenuHost.h"

#include "components/util/Error.h"

namespace host {

using wire::json;

namespace {

// The statuses the program ignores: whatever the host returns is not a reason to fail.
int Stato(const json& j) {
  try {
    return wire::ValoreDa(j).toInteger();
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

SocketMenuHost::SocketMenuHost() : SocketMenuHost(Attese{}) {}

SocketMenuHost::SocketMenuHost(Attese attese) : attese_(attese) {}

void SocketMenuHost::Perso(const std::string& op, const std::string& why) {
  canale_.Chiudi();
  throw util::RuntimeError(kHostNonDisponibile, "Il menu non risponde (" + why + ")", "MenuHost." + op);
}

void SocketMenuHost::Smista(json message) {
  const std::string type = message.value("type", "");
  if (type == "event")
    comandi_.push_back(std::move(message));
  else if (type == "result")
    risposte_.push_back(std::move(message));
}

void SocketMenuHost::LeggiDisponibili() {
  if (!canale_.aperto()) return;
  canale_.Leggi();
  while (auto m = canale_.Prossimo()) Smista(std::move(*m));
}

json SocketMenuHost::Chiama(const std::string& op, json args, int attesaMs) {
  if (!canale_.aperto()) Perso(op, "collegamento assente");
  const int64_t id = prossimoId_++;
  if (!canale_.Invia({{"type", "call"}, {"id", id}, {"op", op}, {"args", std::move(args)}}, attesaMs))
    Perso(op, "invio non riuscito");
  for (;;) {
    for (auto it = risposte_.begin(); it != risposte_.end(); ++it) {
      if (!it->contains("id") || (*it)["id"] != id) continue;
      json reply = std::move(*it);
      risposte_.erase(it);
      // Replies to calls given up on earlier can never be claimed now.
      risposte_.clear();
      if (reply.contains("error")) wire::SollevaErrore(reply["error"], "MenuHost." + op);
      return reply.contains("result") ? reply["result"] : json();
    }
    if (!canale_.Attendi(attesaMs)) Perso(op, canale_.aperto() ? "tempo scaduto" : "collegamento chiuso");
    while (auto m = canale_.Prossimo()) Smista(std::move(*m));
  }
}

int SocketMenuHost::DeliverPending() {
  LeggiDisponibili();
  if (consegnando_) return 0;
  consegnando_ = true;
  int delivered = 0;
  while (!comandi_.empty()) {
    json event = std::move(comandi_.front());
    comandi_.pop_front();
    const json id = event.value("id", json());
    json answer{{"type", "reply"}, {"id", id}};
    try {
      const HostCommand cmd = wire::ComandoDa(event);
      util::Value reply;
      if (receiver()) reply = receiver()->EseguiComando(cmd);
      answer["reply"] = wire::DaValore(reply);
    } catch (const util::RuntimeError& e) {
      answer["error"] = wire::DaErrore(e.number(), e.description());
    } catch (const std::exception& e) {
      answer["error"] = wire::DaErrore(5, e.what());
    }
    ++delivered;
    // The host may be gone by now; its commands die with it.
    canale_.Invia(answer, attese_.chiamataMs);
    if (chiudiDopoRisposta_) {
      chiudiDopoRisposta_ = false;
      canale_.Chiudi();
      comandi_.clear();
      break;
    }
    LeggiDisponibili();
  }
  consegnando_ = false;
  return delivered;
}

std::string SocketMenuHost::ProgramId() { return wire::ValoreDa(Chiama("ProgramId", json::array())).toText(); }

void SocketMenuHost::ShowMenu(const std::string& scope) { Chiama("ShowMenu", {scope}); }

void SocketMenuHost::Detach() {
  if (!canale_.aperto()) return;
  try {
    Chiama("Detach", json::array());
  } catch (const util::RuntimeError&) {
    // a host that went first has nothing left to detach from
  }
  // Detaching while answering a command ("fine"): the reply still has to go out.
  if (consegnando_)
    chiudiDopoRisposta_ = true;
  else
    canale_.Chiudi();
}

int SocketMenuHost::Attach(const std::string& menuInstance, const std::string& programKey,
                           const std::string& programParams) {
  const std::string path = wire::PercorsoSocket(menuInstance);
  const int fd = wire::ConnettiSocket(path, attese_.connessioneMs);
  if (fd < 0)
    throw util::RuntimeError(kHostNonDisponibile, "Nessun menu in ascolto su " + path, "MenuHost.Attach");
  canale_ = wire::Canale(fd);
  return Stato(Chiama("Attach", {menuInstance, programKey, programParams}));
}

int SocketMenuHost::ReturnTo(const std::string& launcher, const std::string& launcherKey,
                             const std::string& launcherParam) {
  return Stato(Chiama("ReturnTo", {launcher, launcherKey, launcherParam}));
}

std::string SocketMenuHost::ProgramValue(const std::string& name, const std::string& scope,
                                         const std::optional<HostValue>& value) {
  json args{name, scope};
  if (value) args.push_back(wire::DaHostValue(*value));
  // "MsgBox" waits while the host shows the message to the operator.
  const int attesa = name == "MsgBox" ? attese_.interattivaMs : attese_.chiamataMs;
  return wire::ValoreDa(Chiama("ProgramValue", std::move(args), attesa)).toText();
}

void SocketMenuHost::RegisterWindow(const std::string& title, const std::string& formName,
                                    const std::string& secondaryKey) {
  Chiama("RegisterWindow", {title, formName, secondaryKey});
}

util::Date SocketMenuHost::WorkDate() { return wire::ValoreDa(Chiama("WorkDate", json::array())).toDate(); }

std::string SocketMenuHost::IniFile() { return wire::ValoreDa(Chiama("IniFile", json::array())).toText(); }

LaunchInfo SocketMenuHost::GetLaunchInfo() { return wire::LaunchInfoDa(Chiama("LaunchInfo", json::array())); }

std::string SocketMenuHost::OperatorName() {
  return wire::ValoreDa(Chiama("OperatorName", json::array())).toText();
}

std::string SocketMenuHost::UserIdentity() {
  return wire::ValoreDa(Chiama("UserIdentity", json::array())).toText();
}

int SocketMenuHost::SetActiveKey(const std::string& secondaryKey) {
  return Stato(Chiama("SetActiveKey", {secondaryKey}));
}

int SocketMenuHost::ReleaseKey(const std::string& secondaryKey) {
  return Stato(Chiama("ReleaseKey", {secondaryKey}));
}

util::Value SocketMenuHost::GetParameter(const std::string& key) {
  // "ChiediPwdSql" makes the host ask the operator for the database login.
  const int attesa = key == "ChiediPwdSql" ? attese_.interattivaMs : attese_.chiamataMs;
  return wire::ValoreDa(Chiama("GetParameter", {key}, attesa));
}

int SocketMenuHost::CountRunning(const std::string& request, int typeCode) {
  return wire::ValoreDa(Chiama("CountRunning", {request, typeCode})).toInteger();
}

}  // namespace host
