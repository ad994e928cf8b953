#include "bench/support/BenchAzienda.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "schema/Schema.h"

namespace bench {

std::string Percorso(const char* nome) {
  return (std::filesystem::temp_directory_path() /
          (std::string("compensato-bench-") + nome + "-" + std::to_string(getpid()) + ".db"))
      .string();
}

void Rimuovi(const std::string& p) {
  for (const char* s : {"", "-wal", "-shm"}) std::filesystem::remove(p + s);
}

void NuovaAzienda(const std::string& percorso) {
  Rimuovi(percorso);
  db::DbExecutor db;
  const std::string c = db.CreateDatabase(percorso);
  for (const std::string& ddl : schema::DdlStatements(schema::CompanySchema(), schema::Engine::Sqlite))
    db.Execute(c, ddl, db::kPassThrough);
  db.CloseDatabase(c);
}

void Esegui(sqlite3* s, const char* sql) {
  if (sqlite3_exec(s, sql, nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
}

}  // namespace bench
