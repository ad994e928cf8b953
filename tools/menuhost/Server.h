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
  std::string iniFile;      // overrides [Host] IniFile when not empty
  std::map<std::string, std::string> sovrascritti;  // values set while running (a login typed)

  std::string Host(const std::string& key, const std::string& def = "") const;
  // A company parameter, or a personal one ("Personal.<section>.§<name>").
  host::wire::json Parametro(const std::string& key, const std::string& operatore) const;
};

// One host instance: its socket, the programs attached to it, the command
// line clients waiting for a program's reply.
class Server {
 public:
  Server(Parametri parametri, std::string istanza);
  ~Server();

  const std::string& istanza() const { return istanza_; }
  // Runs the program with the launch switches; returns its pid.
  pid_t Lancia(const std::vector<std::string>& programma);
  // Serves until the launched program ended and no program is attached;
  // returns the program's exit status.
  int Servi();

 private:
  struct Cliente {
    host::wire::Canale canale;
    bool programma = false;  // attached program (else a command-line client)
    bool eraProgramma = false;
  };
  void Accetta();
  void Gestisci(Cliente& c, const host::wire::json& m);
  host::wire::json Esegui(Cliente& c, const std::string& op, const host::wire::json& args);
  std::string ChiediLogin();

  Parametri par_;
  std::string istanza_;
  std::string socket_;
  int ascolto_ = -1;
  std::vector<std::unique_ptr<Cliente>> clienti_;
  std::string token_;
  pid_t figlio_ = -1;
  int esito_ = 0;
  int64_t prossimoEvento_ = 1;
  std::map<int64_t, Cliente*> inAttesa_;  // event id -> command-line client
};

// `menuhost send`: hands one command to the program of an instance and prints the reply.
int Invia(const std::string& istanza, const std::string& comando, const std::string& parametro,
          const std::string& chiave, int attesaMs);

}  // namespace menuhost
