#pragma once

#include <string>

#include "components/db/DbCursor.h"
#include "components/db/DbExecutor.h"
#include "components/host/MenuHost.h"
#include "src/company/DatiAzienda.h"
#include "src/data/StatoRun.h"
#include "src/ui/Operatore.h"

namespace lookup {
class Lookdex;
}

namespace compensato {

// The default lock cursor of the lock service ("Standard").
struct LockStandard {
  db::DbCursor cursore;
  std::string key;
};

// The program-wide values, made once at startup (or by a test, or by the
// batch front) and passed by reference to every routine: the menu host, the
// main executor and its connection name, the operator interface, the company
// context, the lookup component and the state of the current run.
struct Contesto {
  Contesto(host::MenuHost& h, db::DbExecutor& e, std::string connessione, ui::Operatore& o)
      : host(h), db(e), conn(std::move(connessione)), op(o) {}
  Contesto(const Contesto&) = delete;
  Contesto& operator=(const Contesto&) = delete;

  host::MenuHost& host;
  db::DbExecutor& db;
  std::string conn;  // main connection name
  ui::Operatore& op;
  lookup::Lookdex* lookup = nullptr;

  company::DatiAzienda azienda;
  StatoRun run;
  LockStandard lock;

  // Identity of the operator, asked of the host once and kept.
  std::string operatore;
  std::string utente;     // user identity written into Utente columns
  std::string programId;  // key of the program's temporary values
  int istanze = 1;        // running instances of the program for the operator

  std::string dataMinima = "01/01/1900";
  std::string fileAiuto;
  // True while the host's "fine" command is being processed.
  bool chiusuraDaHost = false;
  // "Maschera Modal" once a close was refused because a modal screen was open.
  std::string motivoRifiuto;
};

// Reads the operator's identity from the host into the context.
void LeggiIdentita(Contesto& ctx);

// Marks this process, in the company database, as the live owner of its user
// identity, until it ends however it ends: no other process then recovers a
// run of this identity while it goes on.
enum class EsitoMarca {
  Presa,
  // Another live process holds the identity (the program and a batch of one
  // host session): two runs of one identity would take each other's
  // installments for their own, so this process must not go on.
  InUsoAltrove,
  // The database keeps no such marks (the recovery then goes by the count of
  // running instances).
  NonDisponibile,
};
EsitoMarca MarcaVita(Contesto& ctx);
// What the operator is told when the identity is in use elsewhere.
std::string TestoIdentitaInUso(const std::string& utente);

// Whether the process owning the user identity still runs. An identity nobody
// can tell about counts as not running.
bool InUso(Contesto& ctx, const std::string& utente);

}  // namespace compensato
