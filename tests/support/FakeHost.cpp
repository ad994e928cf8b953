#include "tests/support/FakeHost.h"

#include "components/util/Error.h"

namespace testsupport {

FakeHost::FakeHost() : dataLavoro(*util::Date::Make(2024, 3, 15)) { launch.osParam = "/FFrmSaldaSelezioni"; }

void FakeHost::Registra(const std::string& op, std::vector<std::string> args, std::optional<host::HostValue> valore) {
  chiamate.push_back({op, std::move(args), std::move(valore)});
  if (spento || guaste.count(op))
    throw util::RuntimeError(host::kHostNonDisponibile, "Il menu non risponde", "MenuHost." + op);
}

void FakeHost::ImpostaPersonale(const std::string& sezione, const std::string& nome, const util::Value& valore) {
  parametri["Personal." + sezione + ".\xC2\xA7" + nome] = valore;
}

int FakeHost::Conta(const std::string& op) const {
  int n = 0;
  for (const auto& c : chiamate) n += c.op == op;
  return n;
}

std::vector<FakeHost::Chiamata> FakeHost::Di(const std::string& op) const {
  std::vector<Chiamata> out;
  for (const auto& c : chiamate)
    if (c.op == op) out.push_back(c);
  return out;
}

void FakeHost::Accoda(host::HostCommand command) { coda_.push_back(std::move(command)); }

void FakeHost::Accoda(const std::string& command, host::HostValue parameter, const std::string& secondaryKey) {
  Accoda(host::HostCommand{"M1", secondaryKey, command, std::move(parameter)});
}

host::HostReply FakeHost::Invia(const std::string& command, host::HostValue parameter,
                                const std::string& secondaryKey) {
  Accoda(command, std::move(parameter), secondaryKey);
  const size_t prima = risposte.size();
  DeliverPending();
  return risposte.size() > prima ? risposte[prima] : host::HostReply();
}

int FakeHost::DeliverPending() {
  if (consegnando_) return 0;
  consegnando_ = true;
  int n = 0;
  try {
    while (!coda_.empty()) {
      const host::HostCommand cmd = std::move(coda_.front());
      coda_.pop_front();
      risposte.push_back(receiver() ? receiver()->EseguiComando(cmd) : host::HostReply());
      ++n;
    }
  } catch (...) {
    consegnando_ = false;
    throw;
  }
  consegnando_ = false;
  return n;
}

std::string FakeHost::ProgramId() {
  Registra("ProgramId", {});
  return programId;
}

void FakeHost::ShowMenu(const std::string& scope) { Registra("ShowMenu", {scope}); }

void FakeHost::Detach() {
  Registra("Detach", {});
  attaccato = false;
}

int FakeHost::Attach(const std::string& menuInstance, const std::string& programKey, const std::string& programParams) {
  Registra("Attach", {menuInstance, programKey, programParams});
  attaccato = true;
  return 0;
}

int FakeHost::ReturnTo(const std::string& launcher, const std::string& launcherKey, const std::string& launcherParam) {
  Registra("ReturnTo", {launcher, launcherKey, launcherParam});
  return 0;
}

std::string FakeHost::ProgramValue(const std::string& name, const std::string& scope,
                                   const std::optional<host::HostValue>& value) {
  Registra("ProgramValue", {name, scope}, value);
  if (name == "MsgBox" && value) {
    if (const auto* v = std::get_if<util::Value>(&*value)) messaggi.push_back(v->toText());
  }
  const auto it = valoriProgramma.find(name);
  return it == valoriProgramma.end() ? "" : it->second;
}

void FakeHost::RegisterWindow(const std::string& title, const std::string& formName, const std::string& secondaryKey) {
  Registra("RegisterWindow", {title, formName, secondaryKey});
}

util::Date FakeHost::WorkDate() {
  Registra("WorkDate", {});
  return dataLavoro;
}

std::string FakeHost::IniFile() {
  Registra("IniFile", {});
  return iniFile;
}

host::LaunchInfo FakeHost::GetLaunchInfo() {
  Registra("LaunchInfo", {});
  return launch;
}

std::string FakeHost::OperatorName() {
  Registra("OperatorName", {});
  return operatore;
}

std::string FakeHost::UserIdentity() {
  Registra("UserIdentity", {});
  return identita;
}

int FakeHost::SetActiveKey(const std::string& secondaryKey) {
  Registra("SetActiveKey", {secondaryKey});
  return 0;
}

int FakeHost::ReleaseKey(const std::string& secondaryKey) {
  Registra("ReleaseKey", {secondaryKey});
  return 0;
}

util::Value FakeHost::GetParameter(const std::string& key) {
  Registra("GetParameter", {key});
  if (key == "ChiediPwdSql") {
    if (!loginOperatore.empty()) {
      parametri["SqlLogin"] = loginOperatore.front().first;
      parametri["SqlPwd"] = loginOperatore.front().second;
      loginOperatore.pop_front();
    } else {
      parametri["SqlLogin"] = "";
      parametri["SqlPwd"] = "";
    }
    return util::Value("");
  }
  const auto it = parametri.find(key);
  if (it != parametri.end()) return it->second;
  if (key.rfind("Personal.", 0) == 0) return util::Value(kMancante);
  return util::Value("");
}

int FakeHost::CountRunning(const std::string& request, int typeCode) {
  Registra("CountRunning", {request, std::to_string(typeCode)});
  return istanze;
}

}  // namespace testsupport
