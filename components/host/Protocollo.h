#pragma once

#include <sys/types.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

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
// The host's side: creates CartellaSocket() with mode 0700 when missing,
// refuses a symbolic link or a folder of another user, tightens one others
// could enter, and removes the entries of other users found in it (a socket
// planted while the folder was open would otherwise keep answering for us);
// their paths go to *rimossi. util::RuntimeError 5 when it cannot.
std::string PreparaCartellaSocket(std::vector<std::string>* rimossi = nullptr);
// The clients' side: the folder of a socket path must be ours, a real folder
// and closed to others before anything is sent through it. Raises
// util::RuntimeError 5 saying what is wrong.
void ControllaCartella(const std::string& dir);
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

// A peer's field read without trusting its type: a text field that holds
// anything but a string reads as empty.
std::string CampoTesto(const json& message, const char* key);
// The id of a message when it has one that can be echoed (a number or a
// text); the matching of replies uses integer ids only.
std::optional<json> CampoId(const json& message);
std::optional<int64_t> IdIntero(const json& message);
// The start of a peer's line, printable, for a log line.
std::string Estratto(const std::string& text, size_t max = 120);
// One line to standard error about a peer's message.
void Segnala(const std::string& peer, const std::string& what, const std::string& excerpt = "");

// One end of a connection: writes whole lines and splits what arrives into
// JSON messages. The descriptor is non-blocking; the channel owns it. A line
// longer than kRigaMassima, or more than kUscitaMassima waiting to go out to
// a peer that does not read, ends the connection: both would otherwise grow
// without bound at a peer's will.
class Canale {
 public:
  static constexpr size_t kRigaMassima = size_t{1} << 20;
  static constexpr size_t kUscitaMassima = size_t{8} << 20;

  explicit Canale(int fd = -1, std::string peer = "");
  ~Canale();
  Canale(const Canale&) = delete;
  Canale& operator=(const Canale&) = delete;
  Canale(Canale&& other) noexcept;
  Canale& operator=(Canale&& other) noexcept;

  int fd() const { return fd_; }
  bool aperto() const { return fd_ >= 0 && !chiuso_; }
  // Who is at the other end, for log lines.
  const std::string& peer() const { return peer_; }
  void ImpostaPeer(std::string peer) { peer_ = std::move(peer); }

  // Writes one message and everything queued before it, waiting at most
  // timeoutMs for room. False when the peer is gone or does not read in time.
  bool Invia(const json& message, int timeoutMs = 5000);
  // Queues one message and writes what the socket takes now; never waits.
  // False once the connection is gone.
  bool Accoda(const json& message);
  // Writes what is queued, as far as the socket takes it without waiting.
  bool Svuota();
  bool daScrivere() const { return !uscita_.empty(); }
  // Messages read and not yet taken with Prossimo.
  size_t pronti() const { return pronti_.size(); }
  // Reads what the socket holds without waiting. False once the peer closed
  // or the connection was dropped.
  bool Leggi();
  // The next complete message read, if any. A line that is not a JSON object
  // is dropped with a log line: a peer's garbage must not stop the link.
  std::optional<json> Prossimo();
  // Waits up to timeoutMs for at least one more complete message.
  bool Attendi(int timeoutMs);
  void Chiudi();

 private:
  void Lascia(const std::string& why);

  int fd_ = -1;
  bool chiuso_ = false;
  std::string peer_;
  std::string buffer_;
  size_t cercato_ = 0;  // buffer_ holds no newline before this offset
  std::string uscita_;
  std::deque<json> pronti_;
};

// Connects to the socket of a path, waiting at most timeoutMs. -1 on failure.
// No check of who listens: for probing a path, not for talking to it.
int ConnettiSocket(const std::string& path, int timeoutMs);
// The user id of the process at the other end of a connected socket; -1 when
// the system does not say.
long UtentePeer(int fd);
long PidPeer(int fd);
// Connects to a menu's socket as a client: the folder must pass
// ControllaCartella and the listening process must run as this user, or
// nothing is sent. Raises util::RuntimeError 5 saying why.
int ConnettiMenu(const std::string& path, int timeoutMs);

// Which file a listening socket is, so that only our own is ever removed.
struct FileSocket {
  dev_t dev = 0;
  ino_t ino = 0;
};
// Creates the listening socket of a path with mode 0600 (an existing socket
// file left by a dead host is replaced). Raises util::RuntimeError 5.
int ApriSocketInAscolto(const std::string& path, FileSocket* creato = nullptr);
// Removes the socket file of a path when it is still the one we created; a
// second host may have put its own there since.
bool RimuoviSocket(const std::string& path, const FileSocket& creato);

}  // namespace host::wire
