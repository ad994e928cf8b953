#pragma once

#include <deque>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "components/host/MenuHost.h"

// The wire form of the link between the menu host and a program: one JSON
// object per line over a Unix domain socket. See docs/host-protocol.md.
namespace host::wire {

using json = nlohmann::json;

// A menu instance names the socket, so it may only hold characters that are
// safe in a file name: letters, digits, '-', '_' and '.', not starting with
// '.', at most 64 characters.
bool IstanzaValida(const std::string& instance);

// The owner-only directory of the sockets: $XDG_RUNTIME_DIR/compensato when
// that variable names a directory, otherwise /tmp/compensato-<uid>.
std::string CartellaSocket();
// Creates CartellaSocket() with mode 0700 when missing and refuses one that
// belongs to another user or that others can enter (util::RuntimeError 5).
std::string PreparaCartellaSocket();
// The socket path of a menu instance; raises util::RuntimeError 5 for an
// instance that is not valid or a path too long for a socket address.
std::string PercorsoSocket(const std::string& instance);

json DaValore(const util::Value& value);
util::Value ValoreDa(const json& j);
json DaHostValue(const HostValue& value);
HostValue HostValueDa(const json& j);
json DaLaunchInfo(const LaunchInfo& info);
LaunchInfo LaunchInfoDa(const json& j);
json DaComando(const HostCommand& command);
HostCommand ComandoDa(const json& j);

// The error part of a failed call or command.
json DaErrore(int number, const std::string& description);
[[noreturn]] void SollevaErrore(const json& error, const std::string& source);

// One end of a connection: writes whole lines and splits what arrives into
// JSON messages. The descriptor is non-blocking; the channel owns it.
class Canale {
 public:
  explicit Canale(int fd = -1);
  ~Canale();
  Canale(const Canale&) = delete;
  Canale& operator=(const Canale&) = delete;
  Canale(Canale&& other) noexcept;
  Canale& operator=(Canale&& other) noexcept;

  int fd() const { return fd_; }
  bool aperto() const { return fd_ >= 0 && !chiuso_; }

  // Writes one message, waiting at most timeoutMs for room. False when the
  // peer is gone or does not read.
  bool Invia(const json& message, int timeoutMs = 5000);
  // Reads what the socket holds without waiting. False once the peer closed.
  bool Leggi();
  // The next complete message read, if any. A line that is not JSON is dropped:
  // a peer's garbage must not stop the link.
  std::optional<json> Prossimo();
  // Waits up to timeoutMs for at least one more complete message.
  bool Attendi(int timeoutMs);
  void Chiudi();

 private:
  int fd_ = -1;
  bool chiuso_ = false;
  std::string buffer_;
  std::deque<json> pronti_;
};

// Connects to the socket of a path, waiting at most timeoutMs. -1 on failure.
int ConnettiSocket(const std::string& path, int timeoutMs);
// Creates the listening socket of a path with mode 0600 (an existing socket
// file left by a dead host is replaced). Raises util::RuntimeError 5.
int ApriSocketInAscolto(const std::string& path);

}  // namespace host::wire
