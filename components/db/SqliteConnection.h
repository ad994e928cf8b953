#pragma once

#include <string>
#include <unordered_map>

#include "components/db/Connection.h"

struct sqlite3;
struct sqlite3_stmt;

namespace db {

struct SqliteOptions {
  bool create = false;  // create the file when it does not exist
  bool exclusive = false;
  bool readOnly = false;
  std::string password;  // checked against the one stored in the file, if any
  int lockWaitMs = 30000;
};

// A file database. Several operators' processes share one company file: the
// journal is in WAL mode, a locked file is waited for, and write transactions
// take the write lock when they begin (BEGIN IMMEDIATE), so two writers queue
// instead of one failing halfway. A wait that runs out raises 3218.
class SqliteConnection : public Connection {
 public:
  SqliteConnection(const std::string& path, const SqliteOptions& options);
  ~SqliteConnection() override;

  bool isOdbc() const override { return false; }
  std::string databaseFile() const override { return path_; }
  // Sets (or, with "", removes) the password the file asks for. The file
  // keeps a salted hash of it; its data are not encrypted.
  void setPassword(const std::string& password);

 protected:
  int64_t run(const Statement& st) override;
  ResultSet fetch(const Statement& st) override;
  std::unique_ptr<RowStream> openStream(const Statement& st) override;
  int64_t runRaw(const std::string& sql) override;
  int64_t runValues(const std::string& sql, const std::vector<util::Value>& values) override;
  void loadCatalog(TableCatalog& catalog) override;
  void beginOuter() override;
  void commitOuter() override;
  void rollbackOuter() override;

 private:
  sqlite3_stmt* prepare(const std::string& sql);
  int64_t step(sqlite3_stmt* stmt);
  void checkPassword(const std::string& password);
  [[noreturn]] void fail(int rc, const std::string& context) const;

  sqlite3* db_ = nullptr;
  std::string path_;
  std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

// The table where a file database keeps its password hash.
inline constexpr const char* kPasswordTable = "DbAccessoFile";

}  // namespace db
