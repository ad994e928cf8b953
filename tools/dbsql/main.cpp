// dbsql: the support tool for a live company database. Opens the database by
// name (a file path or an ODBC name) and runs the program's SQL dialect read
// from standard input, one statement per line.
//
//   dbsql [-p file-password] [-u login -w password] <database>
#include <cstring>
#include <iostream>

#include "components/util/Error.h"
#include "tools/dbsql/DbSql.h"

int main(int argc, char** argv) {
  db::DbExecutor executor;
  std::string name;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "-p" || a == "-u" || a == "-w") && i + 1 < argc) {
      const char* key = a == "-p" ? "DbAccPWD" : a == "-u" ? "DbSqlPubUID" : "DbSqlPubPWD";
      executor.SetSetting(key, util::Value(argv[++i]));
    } else if (a == "-h" || a == "--help") {
      std::cout << "uso: dbsql [-p password-file] [-u utente -w password] <database>\n"
                   "Legge le istruzioni dallo standard input, una per riga.\n";
      return 0;
    } else {
      name = a;
    }
  }
  if (name.empty()) {
    std::cerr << "uso: dbsql [-p password-file] [-u utente -w password] <database>\n";
    return 2;
  }
  try {
    const std::string conn = executor.OpenDatabase(name);
    return dbsql::RunScript(executor, conn, std::cin, std::cout, std::cerr) == 0 ? 0 : 1;
  } catch (const util::RuntimeError& e) {
    std::cerr << "Errore(" << e.number() << "): " << e.description() << "\n";
    return 1;
  }
}
