#include "components/db/OdbcConnection.h"

#include <sql.h>
#include <sqlext.h>

#include <charconv>
#include <cmath>
#include <map>

#include "components/db/DriverRegistration.h"
#include "components/db/KillHook.h"
#include "components/util/Decimal.h"
#include "components/util/Error.h"

namespace db {

using util::RuntimeError;
namespace err = util::err;

namespace {

// The driver speaks UTF-16; the program's text is UTF-8.
std::basic_string<SQLWCHAR> Wide(std::string_view s) {
  std::basic_string<SQLWCHAR> out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    uint32_t cp = 0;
    size_t len = 1;
    if (c < 0x80)
      cp = c;
    else if ((c >> 5) == 0x6)
      cp = c & 0x1F, len = 2;
    else if ((c >> 4) == 0xE)
      cp = c & 0x0F, len = 3;
    else if ((c >> 3) == 0x1E)
      cp = c & 0x07, len = 4;
    else
      cp = 0xFFFD;
    for (size_t k = 1; k < len; ++k)
      cp = i + k < s.size() ? (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F) : 0xFFFD;
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<SQLWCHAR>(0xD800 + (cp >> 10));
      out += static_cast<SQLWCHAR>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<SQLWCHAR>(cp);
    }
  }
  return out;
}

std::string Utf8(const SQLWCHAR* s, size_t n) {
  std::string out;
  out.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    uint32_t cp = s[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < n) cp = 0x10000 + ((cp - 0xD800) << 10) + (s[++i] - 0xDC00);
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

struct Diagnostic {
  std::string state;
  std::string text;
};

Diagnostic Diagnose(SQLSMALLINT type, SQLHANDLE h) {
  Diagnostic d;
  for (SQLSMALLINT rec = 1;; ++rec) {
    SQLWCHAR state[6] = {0};
    SQLWCHAR msg[1024];
    SQLINTEGER native = 0;
    SQLSMALLINT len = 0;
    const SQLRETURN rc = SQLGetDiagRecW(type, h, rec, state, &native, msg, 1024, &len);
    if (!SQL_SUCCEEDED(rc)) break;
    if (d.state.empty()) d.state = Utf8(state, 5);
    if (!d.text.empty()) d.text += " ";
    d.text += Utf8(msg, static_cast<size_t>(std::min<SQLSMALLINT>(len, 1023)));
  }
  return d;
}

bool Contains(const std::string& hay, std::string_view needle) { return hay.find(needle) != std::string::npos; }

int ErrorNumber(const Diagnostic& d, bool connecting) {
  if (d.state.rfind("28", 0) == 0) return err::kLoginFailed;
  if (connecting &&
      (Contains(d.text, "authentication") || Contains(d.text, "password") || Contains(d.text, "autenticazione") ||
       (Contains(d.text, "role") && Contains(d.text, "does not exist"))))
    return err::kLoginFailed;
  // The conflicts between users get the numbers the callers retry on, the
  // same a file database gives; everything else is the source's failure and
  // its text says which.
  if (d.state == "23505") return err::kDuplicateKey;
  if (d.state == "40001") return err::kSerializationFailure;
  if (d.state == "40P01") return err::kDeadlock;
  if (d.state == "55P03" || d.state == "HYT00") return err::kLocked;
  return err::kOdbcCallFailed;
}

[[noreturn]] void Fail(SQLSMALLINT type, SQLHANDLE h, const std::string& context, bool connecting = false) {
  const Diagnostic d = Diagnose(type, h);
  throw RuntimeError(
      ErrorNumber(d, connecting),
      "ODBC--chiamata non riuscita. [" + d.state + "] " + d.text + (context.empty() ? "" : " [" + context + "]"),
      "DbExecutor");
}

ColumnType FromSqlType(SQLSMALLINT t) {
  switch (t) {
    case SQL_SMALLINT:
    case SQL_TINYINT: return ColumnType::Integer;
    case SQL_INTEGER:
    case SQL_BIGINT: return ColumnType::Long;
    case SQL_DOUBLE:
    case SQL_FLOAT:
    case SQL_REAL: return ColumnType::Double;
    case SQL_NUMERIC:
    case SQL_DECIMAL: return ColumnType::Currency;
    case SQL_TYPE_DATE:
    case SQL_DATE: return ColumnType::Date;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP: return ColumnType::DateTime;
    case SQL_BIT: return ColumnType::Boolean;
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR: return ColumnType::Memo;
    default: return ColumnType::Text;
  }
}

util::Value Parse(const std::string& s, ColumnType type) {
  try {
    switch (type) {
      case ColumnType::Integer: {
        const long v = std::stol(s);
        if (v >= INT16_MIN && v <= INT16_MAX) return util::Value(static_cast<int16_t>(v));
        return util::Value(static_cast<int32_t>(v));
      }
      case ColumnType::Long: {
        const long long v = std::stoll(s);
        if (v >= INT32_MIN && v <= INT32_MAX) return util::Value(static_cast<int32_t>(v));
        return util::Value(static_cast<double>(v));
      }
      case ColumnType::Double: {
        double d = 0;
        std::from_chars(s.data(), s.data() + s.size(), d);
        return util::Value(d);
      }
      case ColumnType::Currency: {
        double d = 0;
        std::from_chars(s.data(), s.data() + s.size(), d);
        try {
          return util::Value(util::Money::Parse(s));
        } catch (const std::exception&) {
          return util::Value(util::Money::FromDouble(d));  // more than four decimals: an average, say
        }
      }
      case ColumnType::Date:
      case ColumnType::DateTime:
        if (const auto d = util::Date::ParseIso(s)) return util::Value(*d);
        return util::Value(s);
      case ColumnType::Boolean: return util::Value(s == "1" || s == "t" || s == "true" || s == "-1");
      case ColumnType::Text:
      case ColumnType::Memo: return util::Value(s);
    }
  } catch (const std::exception&) {
  }
  return util::Value(s);
}

class Statement_ {
 public:
  explicit Statement_(SQLHDBC dbc) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &h_))) Fail(SQL_HANDLE_DBC, dbc, "SQLAllocHandle");
  }
  ~Statement_() { SQLFreeHandle(SQL_HANDLE_STMT, h_); }
  Statement_(const Statement_&) = delete;
  Statement_& operator=(const Statement_&) = delete;
  SQLHSTMT h() const { return h_; }

 private:
  SQLHSTMT h_ = SQL_NULL_HSTMT;
};

class OdbcConnection : public Connection {
 public:
  OdbcConnection(const OdbcOptions& options) : Connection(std::make_unique<PostgresDialect>()) {
    KeepDriverLogsOff();
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
    std::string connect = options.connect;
    // Booleans as booleans; and a failed statement inside a transaction undoes
    // only itself, so callers can retry (a taken number, say) and go on.
    if (!Contains(Lower(connect), "boolsaschar=")) connect += ";BoolsAsChar=0";
    if (!Contains(Lower(connect), "protocol=")) connect += ";Protocol=7.4-2";
    SQLRETURN rc;
    SQLSMALLINT outLen = 0;
    if (Contains(Lower(connect), "filedsn=")) {
      // The driver manager reads file DSNs only in its narrow-character call.
      SQLCHAR out[2048];
      rc = SQLDriverConnect(dbc_, nullptr, reinterpret_cast<SQLCHAR*>(connect.data()),
                            static_cast<SQLSMALLINT>(connect.size()), out, 2048, &outLen, SQL_DRIVER_NOPROMPT);
    } else {
      const auto w = Wide(connect);
      SQLWCHAR out[2048];
      rc = SQLDriverConnectW(dbc_, nullptr, const_cast<SQLWCHAR*>(w.c_str()), static_cast<SQLSMALLINT>(w.size()), out,
                             2048, &outLen, SQL_DRIVER_NOPROMPT);
    }
    if (!SQL_SUCCEEDED(rc)) {
      const Diagnostic d = Diagnose(SQL_HANDLE_DBC, dbc_);
      Release();
      throw RuntimeError(ErrorNumber(d, true), "ODBC--connessione non riuscita. [" + d.state + "] " + d.text,
                         "DbExecutor");
    }
    connected_ = true;
    try {
      SQLWCHAR name[256] = {0};
      SQLSMALLINT len = 0;
      SQLGetInfoW(dbc_, SQL_DBMS_NAME, name, sizeof name, &len);
      dbms_ = Utf8(name, static_cast<size_t>(len) / sizeof(SQLWCHAR));
      if (!Contains(Lower(dbms_), "postgres"))
        throw RuntimeError(err::kOdbcCallFailed, "Sorgente ODBC senza dialetto: " + dbms_, "DbExecutor");
      // Backslashes in text literals are plain characters, whatever the server's default.
      // The statistics the connection gathers itself (Changed) need to tell a
      // few rows from many, not to shape the server's plans in general: a
      // small sample keeps them a fraction of a second on a large table.
      runRaw("SET standard_conforming_strings = on; SET datestyle = ISO; SET default_statistics_target = 10");
      if (options.readOnly) runRaw("SET default_transaction_read_only = on");
    } catch (...) {
      Release();
      throw;
    }
  }

  ~OdbcConnection() override { Release(); }

  bool isOdbc() const override { return true; }
  bool isSqlServer() const override { return Contains(Lower(dbms_), "sql server"); }

 protected:
  int64_t run(const Statement& st) override {
    CountStatement();
    const int64_t n = Exec(st.sql);
    if (n > 0 && st.kind != Statement::Kind::Select && !st.firstTable.empty()) Changed(st.firstTable, n);
    return n;
  }

  ResultSet fetch(const Statement& st) override {
    CountStatement();
    return Query(st.sql);
  }

  int64_t runRaw(const std::string& sql) override { return Exec(sql); }

  std::unique_ptr<RowStream> openStream(const Statement& st) override;

  int64_t runValues(const std::string& sql, const std::vector<util::Value>& values) override {
    CountStatement();
    std::string text;
    size_t v = 0;
    bool quoted = false;
    for (char c : sql) {
      if (c == '"') quoted = !quoted;
      if (c == '?' && !quoted) {
        text += Literal(values.at(v++));
        continue;
      }
      text += c;
    }
    return Exec(text);
  }

  void loadCatalog(TableCatalog& catalog) override {
    std::map<std::string, int> domainSize;
    for (const auto& row : Query("SELECT t.typname, pg_get_constraintdef(k.oid) FROM pg_constraint k "
                                 "JOIN pg_type t ON t.oid = k.contypid WHERE k.contype = 'c'")
                               .rows) {
      const std::string def = row[1].toText();
      const size_t p = def.find("<= ");
      if (p != std::string::npos) domainSize[row[0].toText()] = std::atoi(def.c_str() + p + 3);
    }
    std::map<std::string, TableInfo> tables;
    for (const auto& row :
         Query("SELECT c.table_name, c.column_name, c.data_type, c.domain_name, c.character_maximum_length "
               "FROM information_schema.columns c JOIN information_schema.tables t "
               "ON t.table_schema = c.table_schema AND t.table_name = c.table_name "
               "WHERE c.table_schema = current_schema() AND t.table_type = 'BASE TABLE' "
               "ORDER BY c.table_name, c.ordinal_position")
             .rows) {
      TableInfo& t = tables[row[0].toText()];
      t.name = row[0].toText();
      ColumnDescription c;
      c.name = row[1].toText();
      const std::string type = row[2].toText(), domain = row[3].toText();
      if (type == "smallint")
        c.type = ColumnType::Integer;
      else if (type == "integer" || type == "bigint")
        c.type = ColumnType::Long;
      else if (type == "double precision" || type == "real")
        c.type = ColumnType::Double;
      else if (type == "numeric")
        c.type = ColumnType::Currency;
      else if (type == "date")
        c.type = ColumnType::Date;
      else if (type.rfind("timestamp", 0) == 0)
        c.type = ColumnType::DateTime;
      else if (type == "boolean")
        c.type = ColumnType::Boolean;
      else if (type == "character varying" || type == "character")
        c.type = ColumnType::Text, c.size = row[4].isNull() ? 0 : std::atoi(row[4].toText().c_str());
      else if (domainSize.count(domain))
        c.type = ColumnType::Text, c.size = domainSize[domain];
      else
        c.type = ColumnType::Memo;
      t.columns.push_back(std::move(c));
    }
    for (const auto& row :
         Query("SELECT tc.table_name, kcu.column_name FROM information_schema.table_constraints tc "
               "JOIN information_schema.key_column_usage kcu ON kcu.constraint_name = tc.constraint_name "
               "AND kcu.constraint_schema = tc.constraint_schema AND kcu.table_name = tc.table_name "
               "WHERE tc.constraint_type = 'PRIMARY KEY' AND tc.table_schema = current_schema() "
               "ORDER BY tc.table_name, kcu.ordinal_position")
             .rows)
      tables[row[0].toText()].key.push_back(row[1].toText());
    std::vector<TableInfo> list;
    for (auto& [name, t] : tables) list.push_back(std::move(t));
    catalog.set(std::move(list));
  }

  void beginOuter() override {
    CountStatement();
    if (!SQL_SUCCEEDED(
            SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)))
      Fail(SQL_HANDLE_DBC, dbc_, "BEGIN");
  }
  void commitOuter() override { End(SQL_COMMIT); }
  void rollbackOuter() override { End(SQL_ROLLBACK); }

 private:
  void End(SQLSMALLINT how) {
    CountStatement();
    const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, dbc_, how);
    SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
    if (!SQL_SUCCEEDED(rc)) Fail(SQL_HANDLE_DBC, dbc_, how == SQL_COMMIT ? "COMMIT" : "ROLLBACK");
  }

  // A working table filled (or emptied) inside a transaction keeps the
  // statistics it had before: the planner then takes tens of thousands of
  // rows for a few and answers every later statement on them with a scan of
  // the whole table. The server's own statistics come only after the commit,
  // so the connection gathers them itself once a table has changed by many
  // rows, and again each time the changes grow fourfold. SKIP_LOCKED: a table being
  // analysed for another operator's transaction is left as it is rather
  // than waited for.
  void Changed(const std::string& table, int64_t rows) {
    Changes& c = changes_[Lower(table)];
    c.rows += rows;
    if (c.rows < c.next) return;
    c.next = 4 * c.rows;
    try {
      Exec("ANALYZE (SKIP_LOCKED) " + dialect().quoteName(table));
    } catch (const RuntimeError&) {  // statistics are a help, not part of the work
    }
  }

  std::string Literal(const util::Value& v) const {
    using util::VType;
    switch (v.type()) {
      case VType::Null: return "NULL";
      case VType::Integer:
      case VType::Long: return std::to_string(v.toLong());
      case VType::Double: {
        const double d = v.toDouble();
        if (!std::isfinite(d)) throw RuntimeError(err::kTypeMismatch, "Numero non finito", "DbCursor");
        return util::ShortestDecimal(d);
      }
      case VType::Currency: return v.toMoney().toString();
      case VType::Boolean: return dialect().boolean(v.toBool());
      case VType::Date: return dialect().date(v.toDate());
      case VType::Text: return dialect().text(v.text());
    }
    return "NULL";
  }

  int64_t Exec(const std::string& sql) {
    Statement_ st(dbc_);
    const auto w = Wide(sql);
    const SQLRETURN rc = SQLExecDirectW(st.h(), const_cast<SQLWCHAR*>(w.c_str()), static_cast<SQLINTEGER>(w.size()));
    if (rc == SQL_NO_DATA) return 0;
    if (!SQL_SUCCEEDED(rc)) Fail(SQL_HANDLE_STMT, st.h(), sql);
    SQLLEN n = 0;
    SQLRowCount(st.h(), &n);
    return n < 0 ? 0 : n;
  }

  ResultSet Query(const std::string& sql) {
    Statement_ st(dbc_);
    const auto w = Wide(sql);
    SQLRETURN rc = SQLExecDirectW(st.h(), const_cast<SQLWCHAR*>(w.c_str()), static_cast<SQLINTEGER>(w.size()));
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) Fail(SQL_HANDLE_STMT, st.h(), sql);
    ResultSet rs;
    SQLSMALLINT n = 0;
    SQLNumResultCols(st.h(), &n);
    for (SQLUSMALLINT c = 1; c <= n; ++c) {
      ResultColumn col;
      SQLWCHAR name[256];
      SQLSMALLINT len = 0, type = 0, digits = 0, nullable = 0;
      SQLULEN size = 0;
      SQLDescribeColW(st.h(), c, name, 256, &len, &type, &size, &digits, &nullable);
      col.name = Utf8(name, static_cast<size_t>(std::min<SQLSMALLINT>(len, 255)));
      col.type = FromSqlType(type);
      col.typed = true;
      SQLWCHAR buf[256];
      SQLSMALLINT blen = 0;
      if (SQL_SUCCEEDED(SQLColAttributeW(st.h(), c, SQL_DESC_BASE_TABLE_NAME, buf, sizeof buf, &blen, nullptr)))
        col.table = Utf8(buf, static_cast<size_t>(blen) / sizeof(SQLWCHAR));
      if (!col.table.empty() &&
          SQL_SUCCEEDED(SQLColAttributeW(st.h(), c, SQL_DESC_BASE_COLUMN_NAME, buf, sizeof buf, &blen, nullptr)))
        col.origin = Utf8(buf, static_cast<size_t>(blen) / sizeof(SQLWCHAR));
      rs.columns.push_back(std::move(col));
    }
    while ((rc = SQLFetch(st.h())) != SQL_NO_DATA) {
      if (!SQL_SUCCEEDED(rc)) Fail(SQL_HANDLE_STMT, st.h(), sql);
      std::vector<util::Value> row;
      row.reserve(static_cast<size_t>(n));
      for (SQLUSMALLINT c = 1; c <= n; ++c) {
        std::basic_string<SQLWCHAR> text;
        SQLWCHAR buf[1024];
        SQLLEN ind = 0;
        bool isNull = false;
        for (;;) {
          rc = SQLGetData(st.h(), c, SQL_C_WCHAR, buf, sizeof buf, &ind);
          if (rc == SQL_NO_DATA) break;
          if (!SQL_SUCCEEDED(rc)) Fail(SQL_HANDLE_STMT, st.h(), sql);
          if (ind == SQL_NULL_DATA) {
            isNull = true;
            break;
          }
          const size_t cap = sizeof buf / sizeof(SQLWCHAR) - 1;
          const size_t got = (ind == SQL_NO_TOTAL || static_cast<size_t>(ind) / sizeof(SQLWCHAR) > cap)
                                 ? cap
                                 : static_cast<size_t>(ind) / sizeof(SQLWCHAR);
          text.append(buf, got);
          if (rc == SQL_SUCCESS) break;
        }
        row.push_back(isNull ? util::Value() : Parse(Utf8(text.data(), text.size()), rs.columns[c - 1].type));
      }
      rs.rows.push_back(std::move(row));
    }
    return rs;
  }

  void Release() {
    if (dbc_) {
      if (connected_) SQLDisconnect(dbc_);
      SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
      dbc_ = nullptr;
    }
    if (env_) {
      SQLFreeHandle(SQL_HANDLE_ENV, env_);
      env_ = nullptr;
    }
  }

  friend class OdbcStream;

  SQLHENV env_ = nullptr;
  SQLHDBC dbc_ = nullptr;
  bool connected_ = false;
  std::string dbms_;
  int64_t nextStream_ = 0;
  struct Changes {
    int64_t rows = 0;
    int64_t next = 2000;
  };
  std::map<std::string, Changes> changes_;  // by table, lower case
  // Gone with the connection: a cursor the program keeps after closing the
  // database then leaves its server cursor alone.
  std::shared_ptr<int> vivo_ = std::make_shared<int>(0);
};

// A server cursor read a page per round trip: the driver would otherwise
// hold the whole result in memory, and the cursor with it. WITH HOLD keeps
// it open across the commits of a caller that walks its rows one
// transaction at a time, and lets it be opened outside one.
class OdbcStream : public RowStream {
 public:
  OdbcStream(OdbcConnection& c, const std::string& sql)
      : c_(c), vivo_(c.vivo_), name_("pagine_" + std::to_string(++c.nextStream_)) {
    c_.Exec("DECLARE " + name_ + " NO SCROLL CURSOR WITH HOLD FOR " + sql);
    open_ = true;
    ResultSet first = Fetch();
    columns_ = std::move(first.columns);
    page_ = std::move(first.rows);
    if (page_.size() < kPage) Close();
  }
  ~OdbcStream() override {
    try {
      Close();
    } catch (...) {  // the transaction that declared it was rolled back, and the cursor with it
    }
  }

  bool next(std::vector<std::vector<util::Value>>& rows) override {
    rows.clear();
    if (!page_.empty()) {
      rows.swap(page_);
      return true;
    }
    if (!open_) return false;
    if (vivo_.expired()) throw RuntimeError(err::kEngine, "Il database del cursore è stato chiuso", "DbCursor");
    rows = Fetch().rows;
    if (rows.size() < kPage) Close();
    return !rows.empty();
  }

 private:
  static constexpr size_t kPage = 500;

  ResultSet Fetch() {
    CountStatement();
    return c_.Query("FETCH FORWARD " + std::to_string(kPage) + " FROM " + name_);
  }
  void Close() {
    if (!open_ || vivo_.expired()) return;
    open_ = false;
    c_.Exec("CLOSE " + name_);
  }

  OdbcConnection& c_;
  std::weak_ptr<int> vivo_;
  const std::string name_;
  bool open_ = false;
  std::vector<std::vector<util::Value>> page_;  // the first page, read to learn the columns
};

std::unique_ptr<RowStream> OdbcConnection::openStream(const Statement& st) {
  CountStatement();
  return std::make_unique<OdbcStream>(*this, st.sql);
}

}  // namespace

std::unique_ptr<Connection> OpenOdbc(const OdbcOptions& options) { return std::make_unique<OdbcConnection>(options); }

}  // namespace db
