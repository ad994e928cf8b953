#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/TestDatabase.h"
#include "tools/dbsql/DbSql.h"

namespace {

class DbSqlTest : public testsupport::DbTest {
 protected:
  int Run(const std::string& script) {
    std::istringstream in(script);
    out.str("");
    err.str("");
    return dbsql::RunScript(ex(), conn(), in, out, err);
  }
  std::ostringstream out, err;
};

TEST_P(DbSqlTest, RunsStatementsAndPrintsRowsTabSeparated) {
  const int errors = Run("-- a comment\n"
                         "INSERT INTO Monete (Moneta, Descrizione, NumDec) VALUES ('EUR', 'Euro', 2)\n"
                         "\n"
                         "INSERT INTO Monete (Moneta, Descrizione) VALUES ('X', 'tab\there')\n"
                         "Select Moneta, Descrizione, NumDec from Monete order by Moneta;\n");
  EXPECT_EQ(errors, 0) << err.str();
  EXPECT_EQ(out.str(),
            "1 righe modificate\n1 righe modificate\nMoneta\tDescrizione\tNumDec\nEUR\tEuro\t2\nX\ttab\\there\t\n");
}

TEST_P(DbSqlTest, ErrorsArePrintedWithTheirNumberAndTheRunGoesOn) {
  const int errors = Run("INSERT INTO Monete (Moneta) VALUES ('EUR')\n"
                         "INSERT INTO Monete (Moneta) VALUES ('EUR')\n"
                         "Select Format(Moneta) from Monete\n"
                         "Select count(*) as n from Monete\n");
  EXPECT_EQ(errors, 2);
  EXPECT_NE(err.str().find("Errore(3022)"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("Errore(3075)"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("(riga 3)"), std::string::npos);
  EXPECT_NE(out.str().find("n\n1\n"), std::string::npos) << out.str();
}

TEST_P(DbSqlTest, TransactionLinesAndPassThrough) {
  const int errors = Run("BEGIN\n"
                         "INSERT INTO Monete (Moneta) VALUES ('EUR')\n"
                         "ROLLBACK\n"
                         "!INSERT INTO \"Monete\" (\"Moneta\") VALUES ('USD')\n"
                         "Select Moneta from Monete\n");
  EXPECT_EQ(errors, 0) << err.str();
  EXPECT_NE(out.str().find("Moneta\nUSD\n"), std::string::npos) << out.str();
}

INSTANTIATE_TEST_SUITE_P(Db, DbSqlTest, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
