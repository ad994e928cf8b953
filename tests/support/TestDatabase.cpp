#include "tests/support/TestDatabase.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "schema/Schema.h"

namespace testsupport {
namespace {

std::string PgConnect() {
  const char* v = std::getenv("COMPENSATO_TEST_PG");
  return v ? v : "";
}

std::string Unique() {
  static std::atomic<int> n{0};
  return std::to_string(::getpid()) + "_" + std::to_string(++n) + "_" + std::to_string(std::rand() % 100000);
}

// The driver reads its connection settings percent-encoded.
std::string PercentEncode(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (std::isalnum(c) || c == '_') {
      out += static_cast<char>(c);
    } else {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    }
  }
  return out;
}

}  // namespace

std::vector<Engine> Engines() {
  std::vector<Engine> e{Engine::Sqlite};
  if (!PgConnect().empty()) e.push_back(Engine::Postgres);
  return e;
}

namespace {
const char* Name(Engine engine) { return engine == Engine::Sqlite ? "SQLite" : "PostgreSQL"; }
}  // namespace

std::string EngineName(const ::testing::TestParamInfo<Engine>& info) { return Name(info.param); }

void PrintTo(Engine engine, std::ostream* os) { *os << Name(engine); }

TestDatabase::TestDatabase(Engine engine, bool withSchema)
    : engine_(engine), executor_(std::make_unique<db::DbExecutor>()) {
  if (engine == Engine::Sqlite) {
    dir_ = (std::filesystem::temp_directory_path() / ("compensato-db-" + Unique())).string();
    std::filesystem::create_directories(dir_);
    name_ = dir_ + "/azienda.db";
    conn_ = executor_->CreateDatabase(name_);
  } else {
    schema_ = "t_" + Unique();
    const std::string base = "ODBC;" + PgConnect();
    // The schema is made on a connection of its own; the test's connection
    // then finds only the schema's tables (and citext from public).
    {
      db::DbExecutor admin;
      const std::string c = admin.OpenDatabase(base);
      admin.Execute(c, "CREATE SCHEMA " + schema_, db::kPassThrough);
    }
    name_ = base + ";ConnSettings=" + PercentEncode("SET search_path TO " + schema_ + ", public");
    conn_ = executor_->OpenDatabase(name_);
  }
  if (withSchema) {
    const auto e = engine == Engine::Sqlite ? schema::Engine::Sqlite : schema::Engine::Postgres;
    executor_->Execute(conn_, schema::DdlScript(schema::CompanySchema(), e), db::kPassThrough);
  }
}

TestDatabase::~TestDatabase() {
  executor_.reset();
  try {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
    if (!schema_.empty()) {
      db::DbExecutor admin;
      const std::string c = admin.OpenDatabase("ODBC;" + PgConnect());
      admin.Execute(c, "DROP SCHEMA " + schema_ + " CASCADE", db::kPassThrough);
    }
  } catch (...) {
    // a leftover schema or folder does not make the test wrong
  }
}

std::string TestDatabase::OpenAnother(db::DbExecutor& executor) const { return executor.OpenDatabase(name_); }

}  // namespace testsupport
