#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>

#include "components/db/DbExecutor.h"
#include "src/data/Contesto.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakeOperatore.h"
#include "tests/support/TestDatabase.h"

namespace bench {

// A company file of this process in the temporary folder.
std::string Percorso(const char* nome);
// Removes the file and its journal files.
void Rimuovi(const std::string& percorso);
// Replaces the file with an empty company: the schema and no rows.
void NuovaAzienda(const std::string& percorso);
// A company with 100 customers (14-01-1..100), cash 18-01-000001, payment
// type "RD", the receipt code "INC" and n open installments of 100 each,
// numbered 1..n of 2026, one per document.
void AziendaScadenze(const std::string& percorso, int n);
// A statement on the raw engine that must succeed.
void Esegui(sqlite3* s, const char* sql);

// Whether the PostgreSQL test cluster is there (COMPENSATO_TEST_PG, from
// scripts/pgcluster): the benchmarks then measure it too.
bool ConPostgres();
// A company with the schema and no rows in a schema of its own on the cluster,
// removed when it goes.
std::unique_ptr<testsupport::TestDatabase> NuovaAziendaPg();

// The program's context on a company (a file path or an "ODBC;..." name), as
// the program makes it at startup.
struct Programma {
  explicit Programma(const std::string& percorso) : conn(db.OpenDatabase(percorso)), ctx(host, db, conn, op) {
    compensato::LeggiIdentita(ctx);
  }
  testsupport::FakeHost host;
  testsupport::FakeOperatore op;
  db::DbExecutor db;
  std::string conn;
  compensato::Contesto ctx;
};

}  // namespace bench
