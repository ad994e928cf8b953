#pragma once

#include <sqlite3.h>

#include <string>

#include "components/db/DbExecutor.h"
#include "src/data/Contesto.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakeOperatore.h"

namespace bench {

// A company file of this process in the temporary folder.
std::string Percorso(const char* nome);
// Removes the file and its journal files.
void Rimuovi(const std::string& percorso);
// Replaces the file with an empty company: the schema and no rows.
void NuovaAzienda(const std::string& percorso);
// A statement on the raw engine that must succeed.
void Esegui(sqlite3* s, const char* sql);

// The program's context on a company file, as the program makes it at startup.
struct Programma {
  explicit Programma(const std::string& percorso)
      : conn(db.OpenDatabase(percorso)), ctx(host, db, conn, op) {
    compensato::LeggiIdentita(ctx);
  }
  testsupport::FakeHost host;
  testsupport::FakeOperatore op;
  db::DbExecutor db;
  std::string conn;
  compensato::Contesto ctx;
};

}  // namespace bench
