#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "components/util/Date.h"
#include "components/util/Value.h"

namespace host {

// A value passed to or returned by the host: a single value or an array.
using HostValue = std::variant<util::Value, std::vector<util::Value>>;

// The error number of a host that is not there (or stopped answering).
inline constexpr int kHostNonDisponibile = 5;

struct HostCommand;
using HostReply = util::Value;

// Receives the host's command event `EseguiComando` (scMenuComandiClie).
class RicevitoreComandi {
 public:
  virtual ~RicevitoreComandi() = default;
  // A util::RuntimeError thrown here goes back to the host as the event's error.
  virtual HostReply EseguiComando(const HostCommand& command) = 0;
};

// The launch information of the host (`LaunchInfo`), read by member name.
struct LaunchInfo {
  std::string osParam;         // launch parameter text with switches such as F (form) and H (help file)
  std::string osChiLancia;     // launcher
  std::string osKeySecLancia;  // launcher's secondary key
  std::string osParamLancia;   // launcher's parameter
  std::string osTipoForm;      // display type of the screen
};

// The menu host as the program sees it: the operations of the host's client
// object, in the order of the host interface. The program talks to a real
// host over a local socket (host::SocketMenuHost); tests use an in-process
// fake. A call to a host that is gone raises util::RuntimeError with number 5.
class MenuHost {
 public:
  virtual ~MenuHost() = default;

  virtual std::string ProgramId() = 0;
  virtual void ShowMenu(const std::string& scope) = 0;
  virtual void Detach() = 0;
  virtual int Attach(const std::string& menuInstance, const std::string& programKey,
                     const std::string& programParams) = 0;
  virtual int ReturnTo(const std::string& launcher, const std::string& launcherKey,
                       const std::string& launcherParam) = 0;
  virtual std::string ProgramValue(const std::string& name, const std::string& scope,
                                   const std::optional<HostValue>& value = std::nullopt) = 0;
  virtual void RegisterWindow(const std::string& title, const std::string& formName,
                              const std::string& secondaryKey) = 0;
  virtual util::Date WorkDate() = 0;
  virtual std::string IniFile() = 0;
  virtual LaunchInfo GetLaunchInfo() = 0;
  virtual std::string OperatorName() = 0;
  virtual std::string UserIdentity() = 0;
  virtual int SetActiveKey(const std::string& secondaryKey) = 0;
  virtual int ReleaseKey(const std::string& secondaryKey) = 0;
  // Company, suite and personal parameters; a missing personal parameter
  // answers "§ç~$!^".
  virtual util::Value GetParameter(const std::string& key) = 0;
  virtual int CountRunning(const std::string& request, int typeCode) = 0;

  // Who gets the host's commands; nullptr stops the delivery.
  virtual void SetReceiver(RicevitoreComandi* receiver) { receiver_ = receiver; }
  RicevitoreComandi* receiver() const { return receiver_; }
  // Hands the commands that arrived to the receiver, one after the other and
  // each only after the previous one was answered. The event loop calls it
  // between events; a call made while a command is being handled (a modal
  // window's own loop) delivers nothing. Returns how many were delivered.
  virtual int DeliverPending() { return 0; }
  // The link with the host ended on its own (the host died or misbehaved),
  // not through Detach.
  virtual bool Perso() const { return false; }

 private:
  RicevitoreComandi* receiver_ = nullptr;
};

// The host's command event `EseguiComando`, delivered to the program between
// its other events.
struct HostCommand {
  std::string menuInstance;
  std::string secondaryKey;
  std::string command;
  HostValue parameter;
};

}  // namespace host
