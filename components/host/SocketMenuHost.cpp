#include "components/host/SocketMenuHost.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

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

void SocketMenuHost::Caduto() {
  canale_.Chiudi();
  comandi_.clear();
  risposte_.clear();
  chiudiDopoRisposta_ = false;
  perso_ = true;
}

void SocketMenuHost::Perso(const std::string& op, const std::string& why) {
  Caduto();
  throw util::RuntimeError(kHostNonDisponibile, "Il menu non risponde (" + why + ")", "MenuHost." + op);
}

void SocketMenuHost::Rispondi(const json& answer) {
  // A host that does not take a reply in time is as good as gone: waiting
  // on every queued reply would freeze the program for as long.
  if (!canale_.Invia(answer, attese_.invioMs)) {
    if (canale_.aperto()) wire::Segnala(canale_.peer(), "il menu non legge le risposte");
    Caduto();
  }
}

void SocketMenuHost::Smista(json message) {
  const std::string type = wire::CampoTesto(message, "type");
  if (type == "result") {
    if (wire::IdIntero(message))
      risposte_.push_back(std::move(message));
    else
      wire::Segnala(canale_.peer(), "risposta senza un id numerico scartata", wire::Estratto(message.dump()));
    return;
  }
  const std::optional<json> id = wire::CampoId(message);
  std::string why = "messaggio di tipo sconosciuto";
  if (type == "event") {
    try {
      if (!id) throw std::invalid_argument("evento senza id");
      comandi_.push_back({*id, wire::ComandoDa(message)});
      return;
    } catch (const std::exception& e) {
      why = std::string("evento non valido (") + e.what() + ")";
    }
  }
  wire::Segnala(canale_.peer(), why, wire::Estratto(message.dump()));
  if (id) Rispondi({{"type", "reply"}, {"id", *id}, {"error", wire::DaErrore(kHostNonDisponibile, why)}});
}

void SocketMenuHost::LeggiDisponibili() {
  if (!canale_.aperto()) return;
  const bool vivo = canale_.Leggi();
  // What arrived before a hang-up is still the host's word.
  while (auto m = canale_.Prossimo()) {
    Smista(std::move(*m));
    if (!canale_.aperto()) return;
  }
  if (!vivo && !chiudiDopoRisposta_) Caduto();
}

json SocketMenuHost::Chiama(const std::string& op, json args, int attesaMs) {
  if (!canale_.aperto()) Perso(op, "collegamento assente");
  const int64_t id = prossimoId_++;
  // The bound is the call's, from now: messages that keep arriving without
  // the answer must not stretch it.
  const auto fine = std::chrono::steady_clock::now() + std::chrono::milliseconds(attesaMs);
  const auto resto = [&fine] {
    return static_cast<int>(std::max<int64_t>(
        0, std::chrono::duration_cast<std::chrono::milliseconds>(fine - std::chrono::steady_clock::now()).count()));
  };
  json call{{"type", "call"}, {"id", id}, {"op", op}, {"args", std::move(args)}};
  if (op == "Attach")
    if (const char* token = std::getenv(kVariabileToken); token && *token) call["token"] = token;
  if (!canale_.Invia(call, attesaMs)) Perso(op, "invio non riuscito");
  for (;;) {
    for (auto it = risposte_.begin(); it != risposte_.end(); ++it) {
      if (wire::IdIntero(*it) != id) continue;
      json reply = std::move(*it);
      risposte_.erase(it);
      // Replies to calls given up on earlier can never be claimed now.
      risposte_.clear();
      if (reply.contains("error")) wire::SollevaErrore(reply["error"], "MenuHost." + op);
      return reply.contains("result") ? reply["result"] : json();
    }
    // A hang-up after the answer still gives the answer.
    if (!canale_.aperto()) Perso(op, "collegamento chiuso");
    const int attesa = resto();
    if (attesa <= 0) Perso(op, "tempo scaduto");
    canale_.Attendi(attesa);
    while (!perso_) {
      auto m = canale_.Prossimo();
      if (!m) break;
      Smista(std::move(*m));
    }
  }
}

template <class T, class F>
T SocketMenuHost::Leggibile(const std::string& op, const json& j, F leggi) {
  try {
    return leggi(j);
  } catch (const util::RuntimeError&) {
    throw;
  } catch (const std::exception&) {
    // The host's answer is not of the kind the operation gives: its error,
    // not a reason for the program to stop.
    wire::Segnala(canale_.peer(), "risposta non valida a " + op, wire::Estratto(j.dump()));
    throw util::RuntimeError(util::err::kTypeMismatch, "Risposta non valida del menu a " + op, "MenuHost." + op);
  }
}

int SocketMenuHost::DeliverPending() {
  LeggiDisponibili();
  if (consegnando_) return 0;
  consegnando_ = true;
  int delivered = 0;
  while (!comandi_.empty()) {
    Evento event = std::move(comandi_.front());
    comandi_.pop_front();
    json answer{{"type", "reply"}, {"id", event.id}};
    try {
      util::Value reply;
      if (receiver()) reply = receiver()->EseguiComando(event.comando);
      answer["reply"] = wire::DaValore(reply);
    } catch (const util::RuntimeError& e) {
      answer["error"] = wire::DaErrore(e.number(), e.description());
    } catch (const std::exception& e) {
      answer["error"] = wire::DaErrore(5, e.what());
    }
    ++delivered;
    if (!canale_.aperto()) break;
    Rispondi(answer);
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

namespace {
util::Value Valore(const json& j) { return wire::ValoreDa(j); }
}  // namespace

std::string SocketMenuHost::ProgramId() {
  return Leggibile<util::Value>("ProgramId", Chiama("ProgramId", json::array()), Valore).toText();
}

void SocketMenuHost::ShowMenu(const std::string& scope) { Chiama("ShowMenu", {scope}); }

void SocketMenuHost::Detach() {
  if (!canale_.aperto()) return;
  try {
    Chiama("Detach", json::array());
  } catch (const util::RuntimeError&) {
    // a host that went first has nothing left to detach from
  }
  // Detaching while answering a command ("fine"): the reply still has to go out.
  if (consegnando_ && canale_.aperto())
    chiudiDopoRisposta_ = true;
  else
    canale_.Chiudi();
  // Leaving is ours, whatever the host did meanwhile.
  perso_ = false;
}

void SocketMenuHost::Collega(const std::string& menuInstance) {
  try {
    const int fd = wire::ConnettiMenu(wire::PercorsoSocket(menuInstance), attese_.connessioneMs);
    canale_ = wire::Canale(fd, "menu " + menuInstance);
  } catch (const util::RuntimeError& e) {
    throw util::RuntimeError(e.number(), e.description(), "MenuHost.Attach");
  }
  istanza_ = menuInstance;
  perso_ = false;
}

int SocketMenuHost::Attach(const std::string& menuInstance, const std::string& programKey,
                           const std::string& programParams) {
  Collega(menuInstance);
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
  return Leggibile<util::Value>("ProgramValue", Chiama("ProgramValue", std::move(args), attesa), Valore).toText();
}

void SocketMenuHost::RegisterWindow(const std::string& title, const std::string& formName,
                                    const std::string& secondaryKey) {
  Chiama("RegisterWindow", {title, formName, secondaryKey});
}

util::Date SocketMenuHost::WorkDate() {
  return Leggibile<util::Date>("WorkDate", Chiama("WorkDate", json::array()),
                               [](const json& j) { return wire::ValoreDa(j).toDate(); });
}

std::string SocketMenuHost::IniFile() {
  return Leggibile<util::Value>("IniFile", Chiama("IniFile", json::array()), Valore).toText();
}

LaunchInfo SocketMenuHost::GetLaunchInfo() {
  return Leggibile<LaunchInfo>("LaunchInfo", Chiama("LaunchInfo", json::array()), wire::LaunchInfoDa);
}

std::string SocketMenuHost::OperatorName() {
  return Leggibile<util::Value>("OperatorName", Chiama("OperatorName", json::array()), Valore).toText();
}

std::string SocketMenuHost::UserIdentity() {
  return Leggibile<util::Value>("UserIdentity", Chiama("UserIdentity", json::array()), Valore).toText();
}

int SocketMenuHost::SetActiveKey(const std::string& secondaryKey) {
  return Stato(Chiama("SetActiveKey", {secondaryKey}));
}

int SocketMenuHost::ReleaseKey(const std::string& secondaryKey) { return Stato(Chiama("ReleaseKey", {secondaryKey})); }

util::Value SocketMenuHost::GetParameter(const std::string& key) {
  // "ChiediPwdSql" makes the host ask the operator for the database login.
  const int attesa = key == "ChiediPwdSql" ? attese_.interattivaMs : attese_.chiamataMs;
  return Leggibile<util::Value>("GetParameter", Chiama("GetParameter", {key}, attesa), Valore);
}

int SocketMenuHost::CountRunning(const std::string& request, int typeCode) {
  return Leggibile<util::Value>("CountRunning", Chiama("CountRunning", {request, typeCode}), Valore).toInteger();
}

}  // namespace host
