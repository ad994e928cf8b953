#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "components/host/MenuHost.h"

namespace testsupport {

// An in-process menu host for tests: it answers from maps the test fills,
// records every call, can be made to vanish (every call then raises 5, as a
// dead host does), and sends commands to the program the way the real host
// does: queued, and delivered by DeliverPending between the program's events.
class FakeHost : public host::MenuHost {
 public:
  static constexpr const char* kMancante = "\xC2\xA7\xC3\xA7~$!^";  // "§ç~$!^"

  struct Chiamata {
    std::string op;
    std::vector<std::string> args;
    std::optional<host::HostValue> valore;
  };

  // Answers. A parameter key that is not in the map answers "" (company
  // parameters) or kMancante (keys beginning with "Personal.").
  std::map<std::string, util::Value> parametri;
  std::map<std::string, std::string> valoriProgramma;  // ProgramValue answers by name
  std::string programId = "Compensa";
  std::string operatore = "MARIO";
  std::string identita = "MARIO~T1";
  std::string iniFile;
  util::Date dataLavoro;
  host::LaunchInfo launch;
  int istanze = 1;
  // Each "ChiediPwdSql" takes the next login the operator would type
  // (login, password) into "SqlLogin" and "SqlPwd"; none left = cancelled.
  std::deque<std::pair<std::string, std::string>> loginOperatore;

  // Failures: a host that is gone, or single operations that fail with 5.
  bool spento = false;
  std::set<std::string> guaste;
  // The link ended on its own, as a real host's socket tells the program.
  bool perso = false;
  bool Perso() const override { return perso; }

  // What the program did.
  std::vector<Chiamata> chiamate;
  std::vector<std::string> messaggi;  // "MsgBox" texts

  FakeHost();

  void ImpostaPersonale(const std::string& sezione, const std::string& nome, const util::Value& valore);
  bool Chiamato(const std::string& op) const { return Conta(op) > 0; }
  int Conta(const std::string& op) const;
  // The calls of one operation, in order.
  std::vector<Chiamata> Di(const std::string& op) const;

  // Queues a command; the program receives it at its next DeliverPending.
  void Accoda(host::HostCommand command);
  void Accoda(const std::string& command, host::HostValue parameter = util::Value(""),
              const std::string& secondaryKey = "");
  // Sends a command and delivers it at once, as the host does while the
  // program sits idle in its event loop; returns the program's reply.
  // A util::RuntimeError of the handler propagates.
  host::HostReply Invia(const std::string& command, host::HostValue parameter = util::Value(""),
                        const std::string& secondaryKey = "");
  std::vector<host::HostReply> risposte;  // replies to delivered commands, in order

  std::string ProgramId() override;
  void ShowMenu(const std::string& scope) override;
  void Detach() override;
  int Attach(const std::string& menuInstance, const std::string& programKey, const std::string& programParams) override;
  int ReturnTo(const std::string& launcher, const std::string& launcherKey, const std::string& launcherParam) override;
  std::string ProgramValue(const std::string& name, const std::string& scope,
                           const std::optional<host::HostValue>& value = std::nullopt) override;
  void RegisterWindow(const std::string& title, const std::string& formName, const std::string& secondaryKey) override;
  util::Date WorkDate() override;
  std::string IniFile() override;
  host::LaunchInfo GetLaunchInfo() override;
  std::string OperatorName() override;
  std::string UserIdentity() override;
  int SetActiveKey(const std::string& secondaryKey) override;
  int ReleaseKey(const std::string& secondaryKey) override;
  util::Value GetParameter(const std::string& key) override;
  int CountRunning(const std::string& request, int typeCode) override;
  int DeliverPending() override;

  bool attaccato = false;

 private:
  void Registra(const std::string& op, std::vector<std::string> args,
                std::optional<host::HostValue> valore = std::nullopt);
  std::deque<host::HostCommand> coda_;
  bool consegnando_ = false;
};

}  // namespace testsupport
