#include "bench/support/BenchAzienda.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "components/util/SqlLiteral.h"
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

void AziendaScadenze(const std::string& percorso, int n) {
  NuovaAzienda(percorso);
  db::DbExecutor db;
  const std::string c = db.OpenDatabase(percorso);
  db.BeginTrans(c);
  db.Execute(c,
             "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('18','01','000001',1,'Cassa')");
  for (int k = 1; k <= 100; ++k)
    db.Execute(c, "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('14','01'," +
                      util::SqlLiteral(std::to_string(k), 8) + ",3,'Cliente')");
  db.Execute(c, "INSERT INTO PagTipi (PagTipo, EmissEffetti) VALUES ('RD', 'N')");
  db.Execute(c, "INSERT INTO Monete (Moneta, NumDec, NumDecGest, Operatore, Cee) VALUES ('Euro', 2, 2, '/', 'S')");
  db.Execute(c, "INSERT INTO Causali (Causale, TipoCausale) VALUES ('INC', '')");
  for (int i = 1; i <= n; ++i)
    db.Execute(c, "INSERT INTO Scadenze (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, DataScad, PagTipo, "
                  "Prefisso, NumDoc, DataDoc, Rata, Moneta, Cambio, EntrataUscita, ImportoScad, ImportoScadEuro, "
                  "ImpPagInc, StatoScad, Utente) VALUES (2026," +
                      std::to_string(i) + ",3,'14','01'," + util::SqlLiteral(std::to_string(i % 100 + 1), 8) +
                      ",#04/30/2026#,'RD','V'," + util::SqlLiteral("F" + std::to_string(i), 8) +
                      ",#03/01/2026#,1,'Euro',1,'E',100,100,0,'',' ')");
  db.CommitTrans(c);
}

void Esegui(sqlite3* s, const char* sql) {
  if (sqlite3_exec(s, sql, nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
}

bool ConPostgres() {
  const char* v = std::getenv("COMPENSATO_TEST_PG");
  return v && *v;
}

std::unique_ptr<testsupport::TestDatabase> NuovaAziendaPg() {
  return std::make_unique<testsupport::TestDatabase>(testsupport::Engine::Postgres);
}

}  // namespace bench
