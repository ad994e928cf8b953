#include "components/db/DbExecutor.h"

#include <cctype>

#include "components/db/Connection.h"
#include "components/db/KillHook.h"
#include "components/db/OdbcConnection.h"
#include "components/db/SqliteConnection.h"
#include "components/util/Error.h"

namespace db {

using util::RuntimeError;
namespace err = util::err;

namespace {

bool EndsWithNoCase(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() && SameName(std::string_view(s).substr(s.size() - suffix.size()), suffix);
}

std::string Trim(std::string s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
  size_t b = 0;
  while (b < s.size() && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  return s.substr(b);
}

// A value for a connection string: braces when it holds a separator.
std::string OdbcValue(const std::string& v) {
  if (v.find_first_of(";{}= ") == std::string::npos) return v;
  std::string out = "{";
  for (char c : v) {
    out += c;
    if (c == '}') out += '}';
  }
  return out + "}";
}

bool HasKey(const std::string& connect, std::string_view key) {
  const std::string lower = Lower(connect);
  const std::string k = Lower(key) + "=";
  for (size_t p = lower.find(k); p != std::string::npos; p = lower.find(k, p + 1))
    if (p == 0 || lower[p - 1] == ';' || lower[p - 1] == ' ') return true;
  return false;
}

}  // namespace

bool ENomeOdbc(const std::string& name) {
  if (name.size() >= 5 && SameName(std::string_view(name).substr(0, 5), "ODBC;")) return true;
  if (EndsWithNoCase(name, ".dsn")) return true;
  return name.find('.') == std::string::npos;
}

DbExecutor::DbExecutor() = default;
DbExecutor::~DbExecutor() = default;

std::string DbExecutor::OpenDatabase(const std::string& name, int, bool exclusive, bool readOnly,
                                     const std::optional<std::string>& connect) {
  std::unique_ptr<Connection> c;
  if (ENomeOdbc(name)) {
    OdbcOptions o;
    o.readOnly = readOnly;
    if (name.size() >= 5 && SameName(std::string_view(name).substr(0, 5), "ODBC;"))
      o.connect = name.substr(5);
    else if (EndsWithNoCase(name, ".dsn"))
      o.connect = "FILEDSN=" + OdbcValue(name);
    else
      o.connect = "DSN=" + OdbcValue(name);
    if (connect && !Trim(*connect).empty()) {
      std::string extra = Trim(*connect);
      if (extra.size() >= 5 && SameName(std::string_view(extra).substr(0, 5), "ODBC;")) extra = extra.substr(5);
      if (!extra.empty()) o.connect += ";" + extra;
    }
    const std::string uid = GetSetting("DbSqlPubUID").toText();
    const std::string pwd = GetSetting("DbSqlPubPWD").toText();
    if (!uid.empty() && !HasKey(o.connect, "UID")) o.connect += ";UID=" + OdbcValue(uid);
    if (!pwd.empty() && !HasKey(o.connect, "PWD")) o.connect += ";PWD=" + OdbcValue(pwd);
    c = OpenOdbc(o);
  } else {
    SqliteOptions o;
    o.exclusive = exclusive;
    o.readOnly = readOnly;
    o.password = GetSetting("DbAccPWD").toText();
    if (const util::Value w = GetSetting("DbAttesaBlocco"); !w.isNull()) o.lockWaitMs = w.toLong();
    c = std::make_unique<SqliteConnection>(name, o);
  }
  std::string conn;
  do conn = "Conn" + std::to_string(nextConnection_++);
  while (connections_.count(conn));
  connections_[conn] = std::move(c);
  return conn;
}

std::string DbExecutor::CreateDatabase(const std::string& path) {
  SqliteOptions o;
  o.create = true;
  if (const util::Value w = GetSetting("DbAttesaBlocco"); !w.isNull()) o.lockWaitMs = w.toLong();
  auto c = std::make_unique<SqliteConnection>(path, o);
  std::string conn;
  do conn = "Conn" + std::to_string(nextConnection_++);
  while (connections_.count(conn));
  connections_[conn] = std::move(c);
  return conn;
}

void DbExecutor::SetDatabasePassword(const std::string& conn, const std::string& password) {
  auto* file = dynamic_cast<SqliteConnection*>(&connection(conn));
  if (!file) throw RuntimeError(err::kEngine, "La password si imposta solo su un database su file", "DbExecutor");
  file->setPassword(password);
}

void DbExecutor::CloseDatabase(const std::string& conn) { connections_.erase(conn); }
bool DbExecutor::IsOpen(const std::string& conn) const { return connections_.count(conn) > 0; }

Connection& DbExecutor::connection(const std::string& conn) const {
  const auto it = connections_.find(conn);
  if (it == connections_.end())
    throw RuntimeError(err::kEngine, "Connessione non aperta: '" + conn + "'", "DbExecutor");
  return *it->second;
}

bool DbExecutor::HoldLiveMark(const std::string& conn, const std::string& identity) {
  return connection(conn).liveMarks().hold(identity);
}

void DbExecutor::ReleaseLiveMark(const std::string& conn, const std::string& identity) {
  connection(conn).liveMarks().release(identity);
}

std::optional<bool> DbExecutor::LiveMarkHeld(const std::string& conn, const std::string& identity) {
  return connection(conn).liveMarks().held(identity);
}

int64_t DbExecutor::Execute(const std::string& conn, const std::string& sql, int options) {
  Connection& c = connection(conn);
  if (options & kPassThrough) {
    CountStatement();
    return c.executeRaw(sql);
  }
  return c.execute(sql);
}

util::Value DbExecutor::GetSetting(const std::string& key) const {
  const size_t colon = key.rfind(':');
  if (colon != std::string::npos && SameName(std::string_view(key).substr(colon + 1), "DbTipoSql")) {
    const auto it = connections_.find(key.substr(0, colon));
    if (it == connections_.end()) return util::Value();
    return util::Value(it->second->isSqlServer());
  }
  for (const auto& [k, v] : settings_)
    if (SameName(k, key)) return v;
  return util::Value();
}

void DbExecutor::SetSetting(const std::string& key, const util::Value& value) {
  const size_t colon = key.rfind(':');
  if (colon != std::string::npos && SameName(std::string_view(key).substr(colon + 1), "DbTipoSql"))
    throw RuntimeError(err::kEngine, "L'impostazione " + key + " è di sola lettura", "DbExecutor");
  for (auto& [k, v] : settings_)
    if (SameName(k, key)) {
      v = value;
      return;
    }
  settings_[key] = value;
}

ColumnDescription DbExecutor::ColumnInfo(const std::string& conn, const std::string& table, const std::string& field) {
  return connection(conn).columnInfo(table, field);
}

void DbExecutor::BeginTrans(const std::string& conn) { connection(conn).begin(); }
void DbExecutor::CommitTrans(const std::string& conn) { connection(conn).commit(); }
void DbExecutor::Rollback(const std::string& conn) { connection(conn).rollback(); }
int DbExecutor::TransactionDepth(const std::string& conn) const { return connection(conn).depth(); }

}  // namespace db
