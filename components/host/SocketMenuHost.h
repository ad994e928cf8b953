#pragma once

#include <deque>
#include <string>

#include "components/host/MenuHost.h"
#include "components/host/Protocollo.h"

namespace host {

// The program's end of the link with a real menu host process: every call is
// one request line answered by one reply line with the same id. A call never
// waits longer than its bound, counted from when it was sent; a host that
// closed the socket, or that does not answer or read in time, raises
// util::RuntimeError 5 and the link is dropped (perso() then tells so).
// Commands that arrive while a call waits are kept for DeliverPending. A
// malformed message from the host is logged and, when it has an id,
// answered with an error; it never reaches the caller as anything else.
class SocketMenuHost final : public MenuHost {
 public:
  struct Attese {
    int connessioneMs = 5000;
    int chiamataMs = 15000;
    // Calls for which the host asks the operator (a database login) or shows
    // a message may take as long as the operator does.
    int interattivaMs = 600000;
    // A reply to a command that the host does not take in this time ends the link.
    int invioMs = 5000;
  };

  // The environment variable through which a host hands the program it
  // launched the token that lets it attach as that program.
  static constexpr const char* kVariabileToken = "COMPENSATO_MENU_TOKEN";

  SocketMenuHost();
  explicit SocketMenuHost(Attese attese);

  // The descriptor an event loop watches for commands; -1 when not linked.
  int fd() const { return canale_.aperto() ? canale_.fd() : -1; }
  bool collegato() const { return canale_.aperto() && !chiudiDopoRisposta_; }
  // The link ended without Detach: the host died, closed, stopped reading or
  // answering, or sent what cannot be a line of this protocol.
  bool Perso() const override { return perso_; }
  // Links to the socket of a menu instance without attaching as its program:
  // for a client that only asks the host (the batch front).
  void Collega(const std::string& menuInstance);
  // Reads what the host sent without waiting and keeps its commands.
  void LeggiDisponibili();
  size_t comandiInAttesa() const { return comandi_.size(); }

  std::string ProgramId() override;
  void ShowMenu(const std::string& scope) override;
  void Detach() override;
  // Links to the host of the menu instance (its socket), then attaches.
  int Attach(const std::string& menuInstance, const std::string& programKey, const std::string& programParams) override;
  int ReturnTo(const std::string& launcher, const std::string& launcherKey, const std::string& launcherParam) override;
  std::string ProgramValue(const std::string& name, const std::string& scope,
                           const std::optional<HostValue>& value = std::nullopt) override;
  void RegisterWindow(const std::string& title, const std::string& formName, const std::string& secondaryKey) override;
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
  void Rispondi(const wire::json& answer);
  void Caduto();
  [[noreturn]] void Perso(const std::string& op, const std::string& why);
  template <class T, class F>
  T Leggibile(const std::string& op, const wire::json& j, F leggi);

  Attese attese_;
  wire::Canale canale_;
  int64_t prossimoId_ = 1;
  struct Evento {
    wire::json id;
    HostCommand comando;
  };
  std::deque<Evento> comandi_;
  std::deque<wire::json> risposte_;
  bool consegnando_ = false;
  bool chiudiDopoRisposta_ = false;
  bool perso_ = false;
  std::string istanza_;
};

}  // namespace host
