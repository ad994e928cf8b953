#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

#include "components/db/Connection.h"
#include "components/db/DbCursor.h"
#include "components/util/Error.h"
#include "tests/support/TestDatabase.h"

namespace {

using testsupport::DbTest;
using util::Value;

TEST(ENomeOdbc, TellsOdbcNamesFromFilePaths) {
  const struct {
    const char* name;
    bool odbc;
  } cases[] = {
      {"ODBC;DSN=ditta", true},         {"odbc;Driver=x", true},          {"ditta.DSN", true}, {"ditta", true},
      {"/srv/ditta/azienda.db", false}, {"C:\\dati\\azienda.mdb", false}, {"odbc", true},      {"ODBC.db", false},
  };
  for (const auto& c : cases) EXPECT_EQ(db::ENomeOdbc(c.name), c.odbc) << c.name;
}

class ExecutorTest : public DbTest {
 protected:
  int Count(const std::string& sql) {
    db::DbCursor c;
    const std::string k = c.Open(ex(), conn(), "", sql, false, db::kSnapshot);
    return c.GetField(k, "n").toLong();
  }
};

TEST_P(ExecutorTest, ExecuteReturnsTheRowsChanged) {
  EXPECT_EQ(ex().Execute(conn(), "INSERT INTO Monete (Moneta, Descrizione) VALUES ('EUR', 'Euro')"), 1);
  EXPECT_EQ(ex().Execute(conn(), "INSERT INTO Monete (Moneta, Descrizione) VALUES ('USD', 'Dollaro')"), 1);
  EXPECT_EQ(ex().Execute(conn(), "UPDATE Monete SET Descrizione = ucase(Descrizione)"), 2);
  EXPECT_EQ(ex().Execute(conn(), "Delete * from Monete where Moneta = 'eur'"), 1);  // text ignores case
  EXPECT_EQ(Count("Select count(*) as n from Monete"), 1);
}

TEST_P(ExecutorTest, DuplicateKeyIs3022OnEveryEngine) {
  ex().Execute(conn(), "INSERT INTO Monete (Moneta) VALUES ('EUR')");
  try {
    ex().Execute(conn(), "INSERT INTO Monete (Moneta) VALUES ('EUR')");
    FAIL();
  } catch (const util::RuntimeError& e) {
    EXPECT_EQ(e.number(), util::err::kDuplicateKey);
    EXPECT_FALSE(e.description().empty());
  }
}

// Collisions with another user on a server database carry numbers of their
// own, so that callers retry those and only those.
TEST_P(ExecutorTest, CollisionsOnAServerHaveTheirOwnNumbers) {
  if (GetParam() != testsupport::Engine::Postgres) GTEST_SKIP() << "a file database has no such collisions";
  ex().Execute(conn(), "INSERT INTO Monete (Moneta, NumDec) VALUES ('EUR', 2)");
  ex().Execute(conn(), "INSERT INTO Monete (Moneta, NumDec) VALUES ('USD', 2)");
  db::DbExecutor other;
  const std::string oc = db().OpenAnother(other);
  const auto numero = [](const std::function<void()>& f) {
    try {
      f();
    } catch (const util::RuntimeError& e) {
      return e.number();
    }
    return 0;
  };

  {
    SCOPED_TRACE("lock not available");
    ex().BeginTrans(conn());
    ex().Execute(conn(), "UPDATE Monete SET NumDec = 3 WHERE Moneta = 'EUR'");
    other.BeginTrans(oc);
    EXPECT_EQ(numero([&] { other.Execute(oc, "LOCK TABLE \"Monete\" IN SHARE MODE NOWAIT", db::kPassThrough); }),
              util::err::kLocked);
    other.Rollback(oc);
    ex().Rollback(conn());
  }
  {
    SCOPED_TRACE("serialization failure");
    ex().Execute(conn(), "SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL SERIALIZABLE", db::kPassThrough);
    ex().BeginTrans(conn());
    EXPECT_EQ(Count("Select count(*) as n from Monete"), 2);
    other.Execute(oc, "UPDATE Monete SET NumDec = 4 WHERE Moneta = 'EUR'");
    EXPECT_EQ(numero([&] { ex().Execute(conn(), "UPDATE Monete SET NumDec = 5 WHERE Moneta = 'EUR'"); }),
              util::err::kSerializationFailure);
    ex().Rollback(conn());
    ex().Execute(conn(), "SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL READ COMMITTED", db::kPassThrough);
  }
  {
    SCOPED_TRACE("deadlock");
    ex().BeginTrans(conn());
    other.BeginTrans(oc);
    ex().Execute(conn(), "UPDATE Monete SET NumDec = 6 WHERE Moneta = 'EUR'");
    other.Execute(oc, "UPDATE Monete SET NumDec = 6 WHERE Moneta = 'USD'");
    // Each waits for the other's row; the server gives up one of the two, and
    // that one rolls back so that the other can go on.
    int nostro = 0, altrui = 0;
    std::thread t([&] {
      altrui = numero([&] { other.Execute(oc, "UPDATE Monete SET NumDec = 7 WHERE Moneta = 'EUR'"); });
      if (altrui) other.Rollback(oc);
    });
    nostro = numero([&] { ex().Execute(conn(), "UPDATE Monete SET NumDec = 7 WHERE Moneta = 'USD'"); });
    if (nostro) ex().Rollback(conn());
    t.join();
    EXPECT_EQ(std::min(nostro, altrui), 0);
    EXPECT_EQ(std::max(nostro, altrui), util::err::kDeadlock);
    if (!nostro) ex().Rollback(conn());
    if (!altrui) other.Rollback(oc);
  }
  other.CloseDatabase(oc);
}

TEST_P(ExecutorTest, EngineErrorsCarryTheEngineText) {
  try {
    ex().Execute(conn(), "UPDATE Monete SET NonEsiste = 1");
    FAIL();
  } catch (const util::RuntimeError& e) {
    EXPECT_NE(e.description().find("NonEsiste"), std::string::npos) << e.description();
  }
}

TEST_P(ExecutorTest, NestedTransactionsCommitOnlyAtTheOutermost) {
  ex().BeginTrans(conn());
  ex().Execute(conn(), "INSERT INTO Monete (Moneta) VALUES ('A')");
  ex().BeginTrans(conn());
  ex().Execute(conn(), "INSERT INTO Monete (Moneta) VALUES ('B')");
  ex().Rollback(conn());  // only B goes
  ex().BeginTrans(conn());
  ex().Execute(conn(), "INSERT INTO Monete (Moneta) VALUES ('C')");
  ex().CommitTrans(conn());
  EXPECT_EQ(ex().TransactionDepth(conn()), 1);

  // Another operator sees nothing until the outer commit.
  db::DbExecutor other;
  const std::string oc = db().OpenAnother(other);
  auto countOther = [&] {
    db::DbCursor c;
    const std::string k = c.Open(other, oc, "", "Select count(*) as n from Monete", false, db::kSnapshot);
    return c.GetField(k, "n").toLong();
  };
  EXPECT_EQ(countOther(), 0);
  ex().CommitTrans(conn());
  EXPECT_EQ(countOther(), 2);
  EXPECT_EQ(Count("Select count(*) as n from Monete where Moneta = 'B'"), 0);
  EXPECT_THROW(ex().CommitTrans(conn()), util::RuntimeError);
}

TEST_P(ExecutorTest, FailedStatementInsideATransactionLeavesTheRestStanding) {
  ex().Execute(conn(), "INSERT INTO Monete (Moneta) VALUES ('EUR')");
  ex().BeginTrans(conn());
  ex().Execute(conn(), "INSERT INTO Monete (Moneta) VALUES ('USD')");
  EXPECT_THROW(ex().Execute(conn(), "INSERT INTO Monete (Moneta) VALUES ('EUR')"), util::RuntimeError);
  ex().Execute(conn(), "INSERT INTO Monete (Moneta) VALUES ('CHF')");
  ex().CommitTrans(conn());
  EXPECT_EQ(Count("Select count(*) as n from Monete"), 3);
}

TEST_P(ExecutorTest, SettingsAndColumnInfo) {
  EXPECT_EQ(ex().GetSetting(conn() + ":DbTipoSql"), Value(false));
  EXPECT_TRUE(ex().GetSetting("Sconosciuta").isNull());
  ex().SetSetting("DbSqlPubUID", Value("mario"));
  EXPECT_EQ(ex().GetSetting("dbsqlpubuid"), Value("mario"));
  EXPECT_EQ(ex().ColumnInfo(conn(), "scadenze", "contoscad").size, 6);
  EXPECT_EQ(ex().ColumnInfo(conn(), "Scadenze", "ImportoScad").type, db::ColumnType::Currency);
  EXPECT_EQ(ex().ColumnInfo(conn(), "Scadenze", "DataScad").type, db::ColumnType::Date);
  try {
    ex().ColumnInfo(conn(), "Scadenze", "Nessuno");
    FAIL();
  } catch (const util::RuntimeError& e) {
    EXPECT_EQ(e.number(), util::err::kFieldNotFound);
  }
}

TEST_P(ExecutorTest, PassThroughGoesToTheServerUntranslated) {
  // Native syntax the dialect would refuse.
  ex().Execute(conn(), "INSERT INTO \"Monete\" (\"Moneta\") VALUES ('EUR')", db::kPassThrough);
  EXPECT_THROW(ex().Execute(conn(), "SELECT 1 FROM \"Monete\" WHERE 1 = 1 LIMIT 1 OFFSET 0 ;;; x"), util::RuntimeError);
  EXPECT_EQ(Count("Select count(*) as n from Monete"), 1);
}

TEST_P(ExecutorTest, RowsReadForUpdateInsideATransactionAreLockedAgainstOtherOperators) {
  if (GetParam() != testsupport::Engine::Postgres) GTEST_SKIP() << "a file database locks the whole file instead";
  ex().Execute(conn(), "INSERT INTO Monete (Moneta) VALUES ('EUR')");
  ex().Execute(conn(), "INSERT INTO Monete (Moneta) VALUES ('USD')");
  db::DbExecutor other;
  const std::string oc = db().OpenAnother(other);
  other.Execute(oc, "SET lock_timeout = '300ms'", db::kPassThrough);

  ex().BeginTrans(conn());
  db::DbCursor c;
  c.Open(ex(), conn(), "", "Select * from Monete where Moneta = 'EUR'", false, db::kUpdatable);
  try {
    other.Execute(oc, "UPDATE Monete SET Descrizione = 'altro' WHERE Moneta = 'EUR'");
    FAIL() << "the row read for update was not locked";
  } catch (const util::RuntimeError& e) {
    EXPECT_EQ(e.number(), util::err::kLocked) << e.description();
  }
  // Other rows, and snapshot reads, are free.
  EXPECT_EQ(other.Execute(oc, "UPDATE Monete SET Descrizione = 'altro' WHERE Moneta = 'USD'"), 1);
  c.Open(ex(), conn(), "", "Select count(*) as n from Monete", false, db::kUpdatable);  // aggregates are not locked
  ex().CommitTrans(conn());
  EXPECT_EQ(other.Execute(oc, "UPDATE Monete SET Descrizione = 'altro' WHERE Moneta = 'EUR'"), 1);
}

// A run fills a working table inside its transaction, then reaches its rows
// by key in many statements: planned with the statistics of the empty
// table, each of them read the whole table.
TEST_P(ExecutorTest, ATableFilledInsideATransactionIsPlannedForItsRows) {
  if (GetParam() != testsupport::Engine::Postgres) GTEST_SKIP() << "the file engine plans without statistics";
  ex().BeginTrans(conn());
  for (int i = 1; i <= 2500; ++i)
    ex().Execute(conn(), "INSERT INTO ScadenzeApp (Anno, NumProg, Tipo, Utente) VALUES (2026, " + std::to_string(i) +
                             ", 3, 'u~1')");
  const db::ResultSet piano = ex().connection(conn()).queryRaw(
      "EXPLAIN DELETE FROM \"ScadenzeApp\" WHERE \"Utente\" = 'u~1' AND \"Anno\" = 2026 AND \"NumProg\" IN (7, 8)");
  std::string testo;
  for (const auto& riga : piano.rows) testo += riga.at(0).toText() + "\n";
  ex().Rollback(conn());
  EXPECT_NE(testo.find("Index Cond: ((\"Anno\" = 2026) AND (\"NumProg\" = ANY"), std::string::npos) << testo;
}

INSTANTIATE_TEST_SUITE_P(Db, ExecutorTest, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace

namespace {

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const util::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

TEST(FileDatabase, PasswordIsCheckedAtOpen) {
  testsupport::TestDatabase t(testsupport::Engine::Sqlite, false);
  t.executor().SetDatabasePassword(t.conn(), "Segreta1");
  const struct {
    const char* given;
    int number;
  } cases[] = {{"Segreta1", 0}, {"segreta1", util::err::kWrongPassword}, {"", util::err::kWrongPassword}};
  for (const auto& c : cases) {
    db::DbExecutor ex;
    ex.SetSetting("DbAccPWD", Value(c.given));
    EXPECT_EQ(ErrorOf([&] { ex.OpenDatabase(t.name()); }), c.number) << c.given;
  }
  t.executor().SetDatabasePassword(t.conn(), "");
  db::DbExecutor ex;
  EXPECT_EQ(ErrorOf([&] { ex.OpenDatabase(t.name()); }), 0);
  // The password table is the component's, not the company's.
  t.executor().SetDatabasePassword(t.conn(), "Altra");
  EXPECT_EQ(ErrorOf([&] { t.executor().ColumnInfo(t.conn(), "DbAccessoFile", "Sale"); }), util::err::kFieldNotFound);
}

TEST(FileDatabase, OpenFailuresHaveTheirNumbers) {
  testsupport::TestDatabase t(testsupport::Engine::Sqlite, false);
  const std::string dir = t.name().substr(0, t.name().rfind('/'));
  const std::string text = dir + "/note.txt";
  {
    FILE* f = std::fopen(text.c_str(), "w");
    std::fputs("questo non è un database, ma un testo abbastanza lungo da avere una intestazione\n", f);
    std::fclose(f);
  }
  db::DbExecutor ex;
  EXPECT_EQ(ErrorOf([&] { ex.OpenDatabase(text); }), util::err::kNotADatabase);
  EXPECT_EQ(ErrorOf([&] { ex.OpenDatabase(dir + "/manca.db"); }), 3024);
}

TEST(FileDatabase, AWriterWaitsForTheOtherAndGivesUpWithLocked) {
  testsupport::TestDatabase t(testsupport::Engine::Sqlite);
  t.executor().BeginTrans(t.conn());
  t.executor().Execute(t.conn(), "INSERT INTO Monete (Moneta) VALUES ('EUR')");
  db::DbExecutor other;
  other.SetSetting("DbAttesaBlocco", Value(int32_t{200}));
  const std::string oc = t.OpenAnother(other);
  EXPECT_EQ(ErrorOf([&] { other.BeginTrans(oc); }), util::err::kLocked);
  EXPECT_EQ(other.TransactionDepth(oc), 0);
  // Readers are not blocked by the writer in WAL mode.
  db::DbCursor c;
  EXPECT_EQ(c.RecordCount(c.Open(other, oc, "", "Select * from Monete", false, db::kSnapshot)), 0);
  t.executor().CommitTrans(t.conn());
  other.BeginTrans(oc);
  other.Execute(oc, "INSERT INTO Monete (Moneta) VALUES ('USD')");
  other.CommitTrans(oc);
}

TEST(OdbcSource, RefusedLoginIs3059) {
  const char* pg = std::getenv("COMPENSATO_TEST_PG");
  if (!pg) GTEST_SKIP() << "no PostgreSQL test cluster";
  db::DbExecutor ex;
  ex.SetSetting("DbSqlPubUID", Value("nessuno_utente"));
  ex.SetSetting("DbSqlPubPWD", Value("x"));
  EXPECT_EQ(ErrorOf([&] { ex.OpenDatabase("compensato_test"); }), util::err::kLoginFailed);
  db::DbExecutor ok;
  const std::string c = ok.OpenDatabase("compensato_test");
  EXPECT_EQ(ok.GetSetting(c + ":DbTipoSql"), Value(false));
}

TEST(OdbcSource, OpensAFileDsn) {
  const char* socket = std::getenv("COMPENSATO_PG_SOCKET");
  const char* role = std::getenv("COMPENSATO_PG_ROLE");
  if (!socket || !role) GTEST_SKIP() << "no PostgreSQL test cluster";
  testsupport::TestDatabase dir(testsupport::Engine::Sqlite, false);
  const std::string dsn = dir.name().substr(0, dir.name().rfind('/')) + "/ditta.dsn";
  FILE* f = std::fopen(dsn.c_str(), "w");
  std::fprintf(f, "[ODBC]\nDRIVER=PostgreSQL Unicode\nSERVERNAME=%s\nPORT=5432\nDATABASE=compensato\nUID=%s\n", socket,
               role);
  std::fclose(f);
  ASSERT_TRUE(db::ENomeOdbc(dsn));
  db::DbExecutor ex;
  const std::string c = ex.OpenDatabase(dsn);
  EXPECT_TRUE(ex.IsOpen(c));
}

}  // namespace
