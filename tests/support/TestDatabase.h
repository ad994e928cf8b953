#pragma once

#include <gtest/gtest.h>

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "components/db/DbExecutor.h"

namespace testsupport {

enum class Engine { Sqlite, Postgres };

// SQLite always; PostgreSQL too when COMPENSATO_TEST_PG holds an ODBC
// connection string (scripts/pgcluster prints it).
std::vector<Engine> Engines();
std::string EngineName(const ::testing::TestParamInfo<Engine>& info);
// ctest lists a parameterised case with its value: the engine's name, not its bytes.
void PrintTo(Engine engine, std::ostream* os);

// A fresh company database for one test, on one engine: a new file in a
// temporary folder for SQLite, a new schema of the test cluster for
// PostgreSQL (tests run in parallel; each sees only its own tables). The
// company schema is created unless told otherwise. Everything is removed when
// the object goes.
class TestDatabase {
 public:
  explicit TestDatabase(Engine engine, bool withSchema = true);
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  Engine engine() const { return engine_; }
  db::DbExecutor& executor() { return *executor_; }
  const std::string& conn() const { return conn_; }
  // The database name that opens this same database (another operator, a
  // child process, dbsql): a file path, or an "ODBC;..." name.
  const std::string& name() const { return name_; }
  // Opens the same database on another executor; returns its connection name.
  std::string OpenAnother(db::DbExecutor& executor) const;

 private:
  Engine engine_;
  std::unique_ptr<db::DbExecutor> executor_;
  std::string conn_;
  std::string name_;
  std::string dir_;     // SQLite: the temporary folder
  std::string schema_;  // PostgreSQL: the test's schema
};

// Base of tests that run once per engine:
//   TEST_P(MyTest, Case) { ... db().executor() ... }
//   INSTANTIATE_TEST_SUITE_P(Db, MyTest, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);
class DbTest : public ::testing::TestWithParam<Engine> {
 protected:
  TestDatabase& db() {
    if (!db_) db_ = std::make_unique<TestDatabase>(GetParam());
    return *db_;
  }
  db::DbExecutor& ex() { return db().executor(); }
  const std::string& conn() { return db().conn(); }
  void TearDown() override { db_.reset(); }

 private:
  std::unique_ptr<TestDatabase> db_;
};

}  // namespace testsupport
