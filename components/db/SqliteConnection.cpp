#include "components/db/SqliteConnection.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "components/db/KillHook.h"
#include "components/db/Sha256.h"
#include "components/util/Error.h"

namespace db {

using util::RuntimeError;
namespace err = util::err;

namespace {

constexpr int kFileNotFound = 3024;
constexpr int kCannotOpen = 3051;
constexpr int kNotNull = 3314;

int ErrorNumber(int rc, int extended) {
  switch (extended) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE: return err::kDuplicateKey;
    case SQLITE_CONSTRAINT_NOTNULL: return kNotNull;
    case SQLITE_CONSTRAINT_CHECK: return err::kFieldTooSmall;  // the schema's checks bound text lengths
    default: break;
  }
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return err::kLocked;
    case SQLITE_NOTADB: return err::kNotADatabase;
    case SQLITE_CANTOPEN: return kFileNotFound;
    case SQLITE_READONLY:
    case SQLITE_PERM: return kCannotOpen;
    case SQLITE_NOMEM: return err::kOutOfMemory;
    default: return err::kEngine;
  }
}

// Values outlive the step that uses them, so text is bound without a copy.
// Dates are stored as ISO text: it sorts and compares as the dates do.
void Bind(sqlite3_stmt* s, int i, const util::Value& v) {
  using util::VType;
  switch (v.type()) {
    case VType::Null: sqlite3_bind_null(s, i); break;
    case VType::Integer:
    case VType::Long: sqlite3_bind_int64(s, i, v.toLong()); break;
    case VType::Double: sqlite3_bind_double(s, i, v.toDouble()); break;
    case VType::Currency: sqlite3_bind_double(s, i, v.toMoney().toDouble()); break;
    case VType::Boolean: sqlite3_bind_int(s, i, v.toBool() ? 1 : 0); break;
    case VType::Date: {
      const std::string iso = v.toDate().iso();
      sqlite3_bind_text(s, i, iso.c_str(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
      break;
    }
    case VType::Text:
      sqlite3_bind_text(s, i, v.text().c_str(), static_cast<int>(v.text().size()), SQLITE_STATIC);
      break;
  }
}

void Bind(sqlite3_stmt* s, int i, const SqlParam& p) {
  if (const auto* n = std::get_if<int64_t>(&p))
    sqlite3_bind_int64(s, i, *n);
  else if (const auto* d = std::get_if<double>(&p))
    sqlite3_bind_double(s, i, *d);
  else if (const auto* t = std::get_if<std::string>(&p))
    sqlite3_bind_text(s, i, t->c_str(), static_cast<int>(t->size()), SQLITE_STATIC);
  else
    sqlite3_bind_null(s, i);
}

std::string Text(sqlite3_stmt* s, int c) {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
  return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(s, c))) : std::string();
}

util::Value Read(sqlite3_stmt* s, int c, const ResultColumn& col) {
  const int st = sqlite3_column_type(s, c);
  if (st == SQLITE_NULL) return util::Value();
  if (!col.typed) {
    switch (st) {
      case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_column_int64(s, c);
        if (v >= INT32_MIN && v <= INT32_MAX) return util::Value(static_cast<int32_t>(v));
        return util::Value(static_cast<double>(v));
      }
      case SQLITE_FLOAT: return util::Value(sqlite3_column_double(s, c));
      default: return util::Value(Text(s, c));
    }
  }
  switch (col.type) {
    case ColumnType::Integer: {
      const sqlite3_int64 v = sqlite3_column_int64(s, c);
      if (v >= INT16_MIN && v <= INT16_MAX) return util::Value(static_cast<int16_t>(v));
      return util::Value(static_cast<int32_t>(v));
    }
    case ColumnType::Long:
      if (st == SQLITE_FLOAT) return util::Value(sqlite3_column_double(s, c));
      return util::Value(static_cast<int32_t>(sqlite3_column_int64(s, c)));
    case ColumnType::Double: return util::Value(sqlite3_column_double(s, c));
    case ColumnType::Currency:
      if (st == SQLITE_INTEGER)
        return util::Value(util::Money::FromUnits(sqlite3_column_int64(s, c) * util::Money::kScale));
      return util::Value(util::Money::FromDouble(sqlite3_column_double(s, c)));
    case ColumnType::Date:
    case ColumnType::DateTime: {
      const std::string t = Text(s, c);
      if (const auto d = util::Date::ParseIso(t)) return util::Value(*d);
      return util::Value(t);
    }
    case ColumnType::Boolean: return util::Value(sqlite3_column_int64(s, c) != 0);
    case ColumnType::Text:
    case ColumnType::Memo: return util::Value(Text(s, c));
  }
  return util::Value();
}

std::string Hash(const std::string& salt, const std::string& password) {
  std::string h = salt;
  for (int i = 0; i < 5000; ++i) h = Sha256Hex(salt + h + password);
  return h;
}

}  // namespace

SqliteConnection::SqliteConnection(const std::string& path, const SqliteOptions& options)
    : Connection(std::make_unique<SqliteDialect>()), path_(path) {
  int flags = options.readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  if (options.create && !options.readOnly) flags |= SQLITE_OPEN_CREATE;
  const int rc = sqlite3_open_v2(path.c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    const std::string msg = db_ ? sqlite3_errmsg(db_) : "memoria insufficiente";
    sqlite3_close(db_);
    db_ = nullptr;
    const int number = (rc & 0xff) == SQLITE_CANTOPEN ? kFileNotFound : ErrorNumber(rc, rc);
    throw RuntimeError(number, "Impossibile aprire il database " + path + " (" + msg + ")", "DbExecutor");
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, options.lockWaitMs);
  try {
    // The first read of the file tells whether it is a database at all.
    runRaw("SELECT count(*) FROM sqlite_master");
    if (!options.readOnly) runRaw("PRAGMA journal_mode=WAL");
    runRaw("PRAGMA synchronous=NORMAL");
    if (options.exclusive) runRaw("PRAGMA locking_mode=EXCLUSIVE");
    checkPassword(options.password);
  } catch (...) {
    for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
    statements_.clear();
    sqlite3_close(db_);
    db_ = nullptr;
    throw;
  }
}

SqliteConnection::~SqliteConnection() {
  for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
  // A forward-only cursor the program still holds keeps its statement; the
  // file closes when that goes.
  sqlite3_close_v2(db_);
}

void SqliteConnection::fail(int rc, const std::string& context) const {
  const int ext = sqlite3_extended_errcode(db_);
  throw RuntimeError(ErrorNumber(rc, ext), std::string(sqlite3_errmsg(db_)) + " [" + context + "]", "DbExecutor");
}

sqlite3_stmt* SqliteConnection::prepare(const std::string& sql) {
  if (const auto it = statements_.find(sql); it != statements_.end()) return it->second;
  if (statements_.size() >= 1024) {
    for (auto& [text, stmt] : statements_) sqlite3_finalize(stmt);
    statements_.clear();
  }
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, &tail);
  if (rc != SQLITE_OK) fail(rc, sql);
  if (tail && *tail) {
    sqlite3_finalize(stmt);
    throw RuntimeError(err::kSyntax, "Più istruzioni in un solo testo: " + sql, "DbExecutor");
  }
  statements_.emplace(sql, stmt);
  return stmt;
}

int64_t SqliteConnection::step(sqlite3_stmt* stmt) {
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) {
    const std::string sql = sqlite3_sql(stmt);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    fail(rc, sql);
  }
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  return sqlite3_changes(db_);
}

int64_t SqliteConnection::run(const Statement& st) {
  CountStatement();
  sqlite3_stmt* stmt = prepare(st.sql);
  for (size_t i = 0; i < st.params.size(); ++i) Bind(stmt, static_cast<int>(i + 1), st.params[i]);
  return step(stmt);
}

int64_t SqliteConnection::runValues(const std::string& sql, const std::vector<util::Value>& values) {
  CountStatement();
  sqlite3_stmt* stmt = prepare(sql);
  for (size_t i = 0; i < values.size(); ++i) Bind(stmt, static_cast<int>(i + 1), values[i]);
  return step(stmt);
}

namespace {

std::vector<ResultColumn> Columns(sqlite3_stmt* stmt) {
  const int n = sqlite3_column_count(stmt);
  std::vector<ResultColumn> columns(static_cast<size_t>(n));
  for (int c = 0; c < n; ++c) {
    ResultColumn& col = columns[static_cast<size_t>(c)];
    col.name = sqlite3_column_name(stmt, c);
    if (const char* decl = sqlite3_column_decltype(stmt, c)) {
      col.type = DescribeDeclaredType(decl).type;
      col.typed = true;
    }
    if (const char* t = sqlite3_column_table_name(stmt, c)) col.table = t;
    if (const char* o = sqlite3_column_origin_name(stmt, c)) col.origin = o;
  }
  return columns;
}

// A statement of its own, apart from the connection's cache: it stays
// stepped halfway for as long as the cursor lives, while the same text may
// run elsewhere.
class SqliteStream : public RowStream {
 public:
  SqliteStream(sqlite3* db, const Statement& st) : db_(db), sql_(st.sql), params_(st.params) {
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql_.c_str(), static_cast<int>(sql_.size()), &stmt_, &tail);
    if (rc != SQLITE_OK) Fail(rc);
    if (tail && *tail) {
      sqlite3_finalize(stmt_);
      throw RuntimeError(err::kSyntax, "Più istruzioni in un solo testo: " + sql_, "DbExecutor");
    }
    for (size_t i = 0; i < params_.size(); ++i) Bind(stmt_, static_cast<int>(i + 1), params_[i]);
    columns_ = Columns(stmt_);
  }
  ~SqliteStream() override { sqlite3_finalize(stmt_); }

  bool next(std::vector<std::vector<util::Value>>& rows) override {
    rows.clear();
    if (done_) return false;
    const int n = sqlite3_column_count(stmt_);
    int rc = SQLITE_ROW;
    while (rows.size() < kPage && (rc = sqlite3_step(stmt_)) == SQLITE_ROW) {
      std::vector<util::Value> row;
      row.reserve(static_cast<size_t>(n));
      for (int c = 0; c < n; ++c) row.push_back(Read(stmt_, c, columns_[static_cast<size_t>(c)]));
      rows.push_back(std::move(row));
    }
    if (rc != SQLITE_ROW) {
      done_ = true;
      if (rc != SQLITE_DONE) Fail(rc);
    }
    return !rows.empty();
  }

 private:
  static constexpr size_t kPage = 256;

  [[noreturn]] void Fail(int rc) const {
    throw RuntimeError(ErrorNumber(rc, sqlite3_extended_errcode(db_)),
                       std::string(sqlite3_errmsg(db_)) + " [" + sql_ + "]", "DbExecutor");
  }

  sqlite3* db_;
  std::string sql_;
  std::vector<SqlParam> params_;  // bound without a copy: they live as long as the statement
  sqlite3_stmt* stmt_ = nullptr;
  bool done_ = false;
};

}  // namespace

std::unique_ptr<RowStream> SqliteConnection::openStream(const Statement& st) {
  CountStatement();
  return std::make_unique<SqliteStream>(db_, st);
}

ResultSet SqliteConnection::fetch(const Statement& st) {
  CountStatement();
  sqlite3_stmt* stmt = prepare(st.sql);
  for (size_t i = 0; i < st.params.size(); ++i) Bind(stmt, static_cast<int>(i + 1), st.params[i]);
  ResultSet rs;
  rs.columns = Columns(stmt);
  const int n = sqlite3_column_count(stmt);
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    std::vector<util::Value> row;
    row.reserve(static_cast<size_t>(n));
    for (int c = 0; c < n; ++c) row.push_back(Read(stmt, c, rs.columns[static_cast<size_t>(c)]));
    rs.rows.push_back(std::move(row));
  }
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  if (rc != SQLITE_DONE) fail(rc, st.sql);
  return rs;
}

int64_t SqliteConnection::runRaw(const std::string& sql) {
  const char* p = sql.c_str();
  int64_t changes = 0;
  while (p && *p) {
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db_, p, -1, &stmt, &tail);
    if (rc != SQLITE_OK) fail(rc, p);
    if (!stmt) break;  // only blanks or comments were left
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
      const std::string text = sqlite3_sql(stmt);
      const int ext = sqlite3_extended_errcode(db_);
      const std::string msg = sqlite3_errmsg(db_);
      sqlite3_finalize(stmt);
      throw RuntimeError(ErrorNumber(rc, ext), msg + " [" + text + "]", "DbExecutor");
    }
    changes = sqlite3_changes(db_);
    sqlite3_finalize(stmt);
    p = tail;
  }
  return changes;
}

void SqliteConnection::loadCatalog(TableCatalog& catalog) {
  std::vector<TableInfo> tables;
  {
    Statement list;
    list.sql = "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%'";
    sqlite3_stmt* stmt = prepare(list.sql);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      TableInfo t;
      t.name = Text(stmt, 0);
      if (SameName(t.name, kPasswordTable)) continue;
      tables.push_back(std::move(t));
    }
    sqlite3_reset(stmt);
  }
  for (TableInfo& t : tables) {
    sqlite3_stmt* stmt = prepare("SELECT name, type, pk FROM pragma_table_info(?) ORDER BY cid");
    sqlite3_bind_text(stmt, 1, t.name.c_str(), -1, SQLITE_TRANSIENT);
    std::vector<std::pair<int, std::string>> key;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      ColumnDescription c = DescribeDeclaredType(Text(stmt, 1));
      c.name = Text(stmt, 0);
      if (const int pk = sqlite3_column_int(stmt, 2); pk > 0) key.emplace_back(pk, c.name);
      t.columns.push_back(std::move(c));
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    std::sort(key.begin(), key.end());
    for (auto& [order, name] : key) t.key.push_back(name);
  }
  catalog.set(std::move(tables));
}

void SqliteConnection::beginOuter() {
  CountStatement();
  runRaw("BEGIN IMMEDIATE");
}

void SqliteConnection::commitOuter() {
  CountStatement();
  runRaw("COMMIT");
}

void SqliteConnection::rollbackOuter() {
  CountStatement();
  // A statement that failed with a full disk or an I/O error may have rolled
  // the transaction back already.
  if (!sqlite3_get_autocommit(db_)) runRaw("ROLLBACK");
}

void SqliteConnection::checkPassword(const std::string& password) {
  const int exists = [&] {
    sqlite3_stmt* stmt = prepare("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?");
    sqlite3_bind_text(stmt, 1, kPasswordTable, -1, SQLITE_STATIC);
    const int n = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    return n;
  }();
  if (!exists) return;
  sqlite3_stmt* stmt = prepare(std::string("SELECT Sale, Impronta FROM ") + kPasswordTable);
  bool ok = true;
  if (sqlite3_step(stmt) == SQLITE_ROW) ok = Hash(Text(stmt, 0), password) == Text(stmt, 1);
  sqlite3_reset(stmt);
  if (!ok) throw RuntimeError(err::kWrongPassword, "Password non valida per il database " + path_, "DbExecutor");
}

void SqliteConnection::setPassword(const std::string& password) {
  const std::string table = kPasswordTable;
  runRaw("CREATE TABLE IF NOT EXISTS " + table + " (Sale TEXT NOT NULL, Impronta TEXT NOT NULL)");
  runRaw("DELETE FROM " + table);
  if (password.empty()) {
    runRaw("DROP TABLE " + table);
    return;
  }
  std::random_device rd;
  std::string salt;
  for (int i = 0; i < 4; ++i) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08x", rd());
    salt += buf;
  }
  sqlite3_stmt* stmt = prepare("INSERT INTO " + table + " (Sale, Impronta) VALUES (?, ?)");
  const std::string hash = Hash(salt, password);
  sqlite3_bind_text(stmt, 1, salt.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(stmt, 2, hash.c_str(), -1, SQLITE_TRANSIENT);
  step(stmt);
}

}  // namespace db
