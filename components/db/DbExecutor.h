#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "components/util/Value.h"

namespace db {

class Connection;

// Column types of a company database, as the schema description names them.
enum class ColumnType { Integer, Long, Double, Currency, Text, Memo, Date, DateTime, Boolean };

struct ColumnDescription {
  std::string name;  // as the table spells it
  ColumnType type = ColumnType::Text;
  int size = 0;  // characters for Text; 0 otherwise
};

// Execute option: the text goes to the server as it stands, untranslated.
inline constexpr int kPassThrough = 64;

// The open connections of one process and the statements run on them. The
// program writes its SQL in one dialect of its own (docs/database.md); each
// connection translates it for its engine (SQLite for a file
// database, PostgreSQL reached through unixODBC for an ODBC name) so the same
// text means the same on every connection.
//
// Every failure is a util::RuntimeError with the engine's error numbers
// (util::err).
class DbExecutor {
 public:
  DbExecutor();
  ~DbExecutor();
  DbExecutor(const DbExecutor&) = delete;
  DbExecutor& operator=(const DbExecutor&) = delete;

  // Opens a company database and returns its connection name. `name` is the
  // path of a file database, or an ODBC name (IsOdbcName): an "ODBC;..."
  // connect string, a DSN name or a ".dsn" file DSN. Login settings
  // ("DbSqlPubUID", "DbSqlPubPWD") and the file password ("DbAccPWD") are
  // taken from the settings. Raises 3059 (login failed), 3031 (wrong file
  // password), 3343 (not a database).
  std::string OpenDatabase(const std::string& name, int options = 0, bool exclusive = false, bool readOnly = false,
                           const std::optional<std::string>& connect = std::nullopt);
  // Creates an empty file database at `path` (which must not hold another
  // kind of file) and opens it; for tools and tests that build a company.
  std::string CreateDatabase(const std::string& path);
  // The password a file database asks for from now on ("" removes it). The
  // file keeps a salted hash: this is access control, not encryption.
  void SetDatabasePassword(const std::string& conn, const std::string& password);
  void CloseDatabase(const std::string& conn);
  bool IsOpen(const std::string& conn) const;

  // Runs one statement. Returns the number of rows it changed.
  int64_t Execute(const std::string& conn, const std::string& sql, int options = 0);

  // Named settings: "DbAccPWD", "DbSqlPubUID", "DbSqlPubPWD", "DbAttesaBlocco"
  // (milliseconds a file database waits for a lock, 30000 by default), and, read only,
  // conn + ":DbTipoSql" (true only on a SQL Server connection). Unknown keys
  // read as null.
  util::Value GetSetting(const std::string& key) const;
  void SetSetting(const std::string& key, const util::Value& value);

  // Raises 3265 when the table or the column does not exist.
  ColumnDescription ColumnInfo(const std::string& conn, const std::string& table, const std::string& field);

  // Transactions nest: an inner begin does not commit or roll back what the
  // outer one holds (savepoints); only the outermost commit makes it durable.
  void BeginTrans(const std::string& conn);
  void CommitTrans(const std::string& conn);
  void Rollback(const std::string& conn);
  int TransactionDepth(const std::string& conn) const;

  // The mark that the process owning a user identity is alive (LiveMark.h):
  // taken for as long as the connection stays open; whether any live process
  // holds it (nothing when the engine cannot tell).
  bool HoldLiveMark(const std::string& conn, const std::string& identity);
  void ReleaseLiveMark(const std::string& conn, const std::string& identity);
  std::optional<bool> LiveMarkHeld(const std::string& conn, const std::string& identity);

  // For DbCursor and the engines.
  Connection& connection(const std::string& conn) const;

 private:
  std::map<std::string, util::Value> settings_;
  std::map<std::string, std::unique_ptr<Connection>> connections_;
  int nextConnection_ = 1;
};

// True for an ODBC name: it begins with "ODBC;" (any case), ends with ".dsn"
// (any case), or contains no ".". Any other name is a file database path.
bool ENomeOdbc(const std::string& name);

}  // namespace db
