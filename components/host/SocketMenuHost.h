#pragma once

#include <deque>
#include <string>

#include "components/host/MenuHost.h"
#include "components/host/Protocollo.h"

namespace host {

// The program's end of the link with a real menu host process: every call is
// one request line answered by one reply line with the same id. A call never
// waits longer than its bound; a host that closed the socket, or that does
// not answer in time, raises util::RuntimeError 5 and the link is dropped.
// Commands that arrive while a call waits are kept for DeliverPending.
class SocketMenuHost final : public MenuHost {
 public:
  struct Attese {
    int connessioneMs = 5000;
    int chiamataMs = 15000;
    // Calls for which the host asks the operator (a database login) or shows
    // a message may take as long as the operator does.
    int interattivaMs = 600000;
  };

  SocketMenuHost();
  explicit SocketMenuHost(Attese attese);

  // The descriptor an event loop watches for commands; -1 when not linked.
  int fd() const { return canale_.aperto() ? canale_.fd() : -1; }
  bool collegato() const { return canale_.aperto() && !chiudiDopoRisposta_; }
  // Reads what the host sent without waiting and keeps its commands.
  void LeggiDisponibili();
  size_t comandiInAttesa() const { return comandi_.size(); }

  std::string ProgramId() override;
  void ShowMenu(const std::string& scope) override;
  void Detach() override;
  // Links to the host of the menu instance (its socket), then attaches.
  int Attach(const std::string& menuInstance, const std::string& programKey,
             const std::string& programParams) override;
  int ReturnTo(const std::string& launcher, const std::string& launcherKey,
               const std::string& launcherParam) override;
  std::string ProgramValue(const std::string& name, const std::string& scope,
                           const std::optional<HostValue>& value = std::nullopt) override;
  void RegisterWindow(const std::string& title, const std::string& formName,
                      const std::string& secondaryKey) override;
  util::Date WorkDate() override;
  std::string IniFile() override;
  LaunchInfo GetLaunchInfo() override;
  std::string OperatorName() override;
  std::string UserIdentity() override;
  int SetActiveKey(const std::string& secondaryKey) override;
  int ReleaseKey(const std::string& secondaryKey) override;
  util::Value GetParameter(const std::string& key) override;
  int CountRunning(const std::string& request, int typeCode) override;

  int DeliverPending() override;

 private:
  wire::json Chiama(const std::string& op, wire::json args, int attesaMs);
  wire::json Chiama(const std::string& op, wire::json args) { return Chiama(op, std::move(args), attese_.chiamataMs); }
  void Smista(wire::json message);
  [[noreturn]] void Perso(const std::string& op, const std::string& why);

  Attese attese_;
  wire::Canale canale_;
  int64_t prossimoId_ = 1;
  std::deque<wire::json> comandi_;
  std::deque<wire::json> risposte_;
  bool consegnando_ = false;
  bool chiudiDopoRisposta_ = false;
};

}  // namespace host
