// A second operator's process for the multi-process tests: opens the company
// database named on the command line and reserves installments for a user
// with the program's one-statement reserve, one block of numbers at a time.
// Prints how many rows its statements reserved.
//
//   db_reserve_child <database> <user> <from> <to> [transaction]
//   db_reserve_child <database> <user> live
//     holds the user's live mark, prints "1" and waits to be killed
//   db_reserve_child <database> open
//     opens the database, reads the installments, closes it and prints their count
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "components/db/DbCursor.h"
#include "components/db/DbExecutor.h"
#include "components/util/Error.h"
#include "components/util/SqlLiteral.h"

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[3]) == "live") {
    try {
      db::DbExecutor ex;
      const std::string conn = ex.OpenDatabase(argv[1]);
      std::printf("%d\n", ex.HoldLiveMark(conn, argv[2]) ? 1 : 0);
      std::fflush(stdout);
      for (;;) pause();
    } catch (const util::RuntimeError& e) {
      std::fprintf(stderr, "Errore(%d): %s\n", e.number(), e.description().c_str());
      return 1;
    }
  }
  if (argc == 3 && std::string(argv[2]) == "open") {
    try {
      long rows = 0;
      {
        db::DbExecutor ex;
        const std::string conn = ex.OpenDatabase(argv[1]);
        db::DbCursor c;
        const std::string k = c.Open(ex, conn, "", "Select count(*) as n from Scadenze", false, db::kSnapshot);
        rows = c.GetField(k, "n").toLong();
        c.Close(k);
        ex.CloseDatabase(conn);
      }
      std::printf("%ld\n", rows);
      return 0;
    } catch (const util::RuntimeError& e) {
      std::fprintf(stderr, "Errore(%d): %s\n", e.number(), e.description().c_str());
      return 1;
    }
  }
  if (argc < 5) return 2;
  const std::string user = argv[2];
  const int from = std::atoi(argv[3]), to = std::atoi(argv[4]);
  const bool transaction = argc > 5;
  try {
    db::DbExecutor ex;
    const std::string conn = ex.OpenDatabase(argv[1]);
    long reserved = 0;
    if (transaction) ex.BeginTrans(conn);
    for (int block = from; block <= to; block += 5) {
      const std::string sql =
          "UPDATE ((Scadenze INNER JOIN PagTipi ON Scadenze.PagTipo = PagTipi.PagTipo) INNER JOIN Monete ON "
          "Scadenze.Moneta = Monete.Moneta) SET Scadenze.Utente = " +
          util::SqlLiteral(user, 8) + ",Scadenze.FlStato = " + util::SqlLiteral("0", 8) +
          " WHERE  Scadenze.Tipo = 3 AND (Scadenze.NumRegPag is null OR Scadenze.NumRegPag = 0) AND "
          "(Scadenze.Utente = ' ' OR Scadenze.Utente is null) AND Scadenze.FlStato IS NULL AND Scadenze.NumProg >= " +
          util::SqlLiteral(block, 3) + " AND Scadenze.NumProg <= " + util::SqlLiteral(std::min(block + 4, to), 3);
      reserved += ex.Execute(conn, sql);
    }
    if (transaction) ex.CommitTrans(conn);
    std::printf("%ld\n", reserved);
    return 0;
  } catch (const util::RuntimeError& e) {
    std::fprintf(stderr, "Errore(%d): %s\n", e.number(), e.description().c_str());
    return 1;
  }
}
