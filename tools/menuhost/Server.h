#pragma once

#include <sys/types.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/host/Protocollo.h"

namespace menuhost {

// The parameters file of the host (see docs/host-protocol.md).
struct Parametri {
  std::string file;
  std::string iniFile;                              // overrides [Host] IniFile when not empty
  std::map<std::string, std::string> sovrascritti;  // values set while running (a login typed)

  std::string Host(const std::string& key, const std::string& def = "") const;
  // A company parameter, or a personal one ("Personal.<section>.§<name>").
  host::wire::json Parametro(const std::string& key, const std::string& operatore) const;
};

// The mark of a program attached to some host of this user: a file in the
// hosts' folder, "prog-<operator in hex>-<instance>-<n>", locked (flock) for
// as long as the program is attached. Every host of the user sees every
// mark, so the operator's running instances are counted across hosts; a
// host that dies drops its locks with it, and its files are then stale.
class ProgrammaInCorso {
 public:
  ProgrammaInCorso() = default;
  ~ProgrammaInCorso() { Rilascia(); }
  ProgrammaInCorso(const ProgrammaInCorso&) = delete;
  ProgrammaInCorso& operator=(const ProgrammaInCorso&) = delete;

  void Prendi(const std::string& operatore, const std::string& istanza);
  void Rilascia();
  // The operator's programs attached to any live host of this user; stale
  // marks found on the way are removed.
  static int Conta(const std::string& operatore);

 private:
  int fd_ = -1;
  std::string file_;
};

// One host instance: its socket, the programs attached to it, the command
// line clients waiting for a program's reply. It serves every client without
// waiting on any one of them: what a client does not read is queued for it,
// and a client whose queue or line grows past the channel's bounds is dropped.
class Server {
 public:
  Server(Parametri parametri, std::string istanza);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  const std::string& istanza() const { return istanza_; }
  // Runs the program with the launch switches; returns its pid.
  pid_t Lancia(const std::vector<std::string>& programma);
  // Serves until the launched program ended and no program is attached;
  // returns the program's exit status. SIGTERM, SIGINT and SIGHUP end the
  // program with "fine" first, as on a normal exit, and then the host.
  int Servi();
  // How long the program has to close after "fine" on a signal before it is
  // terminated.
  void AttesaChiusura(int ms) { attesaChiusuraMs_ = ms; }

 private:
  struct Cliente {
    host::wire::Canale canale;
    bool programma = false;  // attached program (else a command-line client)
    bool eraProgramma = false;
    long pid = -1;
    ProgrammaInCorso inCorso;  // held while it is attached as the program
  };
  void Accetta();
  void Gestisci(Cliente& c, const host::wire::json& m);
  void Chiamata(Cliente& c, const host::wire::json& m);
  void Controllo(Cliente& c, const host::wire::json& m);
  host::wire::json Esegui(Cliente& c, const std::string& op, const host::wire::json& args, const std::string& token);
  Cliente* Programma();
  void Segnale(int sig);
  std::string ChiediLogin();

  Parametri par_;
  std::string istanza_;
  std::string socket_;
  host::wire::FileSocket file_;
  int ascolto_ = -1;
  int segnali_ = -1;         // signalfd of SIGTERM, SIGINT, SIGHUP
  int64_t accettaDopo_ = 0;  // accept errors (no descriptors left) pause accepting until then
  std::vector<std::unique_ptr<Cliente>> clienti_;
  std::string token_;    // part of the operator's identity: any client may read it
  std::string segreto_;  // given only to the launched program, to attach with
  pid_t figlio_ = -1;
  int esito_ = 0;
  int64_t prossimoEvento_ = 1;
  int64_t prossimoCliente_ = 1;
  std::map<int64_t, Cliente*> inAttesa_;  // event id -> command-line client (nullptr: the host's own "fine")
  int attesaChiusuraMs_ = 10000;
  int64_t terminaAlle_ = 0;  // after a signal: when the program is terminated if still running
  bool terminato_ = false;
};

// `menuhost send`: hands one command to the program of an instance and prints
// the reply. The wait counts from when the command was sent.
int Invia(const std::string& istanza, const std::string& comando, const std::string& parametro,
          const std::string& chiave, int attesaMs);

}  // namespace menuhost
