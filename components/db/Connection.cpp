#include "components/db/Connection.h"

#include <cctype>
#include <limits>
#include <stdexcept>

#include "components/db/KillHook.h"
#include "components/util/Error.h"

namespace db {

using util::RuntimeError;
namespace err = util::err;

namespace {
constexpr int kNoTransaction = 3034;  // commit or rollback without a begin
constexpr int kNumericOverflow = 3349;
}  // namespace

Connection::Connection(std::unique_ptr<Dialect> dialect)
    : dialect_(std::move(dialect)), translator_(*dialect_, catalog_) {}

Connection::~Connection() = default;

ResultSet Connection::queryRaw(const std::string& sql) {
  Statement st;
  st.kind = Statement::Kind::Select;
  st.sql = sql;
  return fetch(st);
}

LiveMarks& Connection::liveMarks() {
  if (!liveMarks_) liveMarks_ = std::make_unique<LiveMarks>(*this);
  return *liveMarks_;
}

Catalog& Connection::catalog() {
  if (!catalog_.loaded()) loadCatalog(catalog_);
  return catalog_;
}

void Connection::reloadCatalog() {
  catalog_.clear();
  translator_.clear();
}

Statement Connection::translate(std::string_view sql, bool forUpdate) {
  catalog();
  return translator_.translate(sql, TranslateOptions{forUpdate});
}

int64_t Connection::execute(std::string_view sql) {
  StopHook(sql);
  const Statement st = translate(sql);
  if (st.kind == Statement::Kind::Select) {
    fetch(st);
    return 0;
  }
  return run(st);
}

ResultSet Connection::query(std::string_view sql, bool forUpdate) {
  StopHook(sql);
  return fetch(translate(sql, forUpdate));
}

std::unique_ptr<RowStream> Connection::stream(std::string_view sql) {
  StopHook(sql);
  const Statement st = translate(sql);
  if (st.kind != Statement::Kind::Select)
    throw RuntimeError(err::kSyntax, "Si leggono a pagine solo le SELECT: " + std::string(sql), "DbCursor");
  return openStream(st);
}

int64_t Connection::countRows(std::string_view sql) {
  Statement st = translate(sql);
  st.sql = "SELECT COUNT(*) FROM (" + st.sql + ") AS righe_contate";
  const ResultSet rs = fetch(st);
  return rs.rows.empty() || rs.rows[0].empty() ? 0 : rs.rows[0][0].toLong();
}

int64_t Connection::executeRaw(const std::string& sql) {
  struct Reload {
    Connection& c;
    ~Reload() { c.reloadCatalog(); }
  } reload{*this};
  return runRaw(sql);
}

std::string Connection::where(const TableInfo& table) const {
  if (table.key.empty())
    throw RuntimeError(err::kNotUpdatable,
                       "La tabella " + table.name + " non ha chiave primaria: righe non aggiornabili", "DbCursor");
  std::string w = " WHERE ";
  for (size_t i = 0; i < table.key.size(); ++i) {
    if (i) w += " AND ";
    w += dialect_->quoteName(table.key[i]) + " = ?";
  }
  return w;
}

void Connection::insertRow(const TableInfo& table, const std::vector<std::string>& columns,
                           const std::vector<util::Value>& values) {
  runValues(insertSql(table, columns), values);
}

std::string Connection::insertSql(const TableInfo& table, const std::vector<std::string>& columns) const {
  std::string sql = "INSERT INTO " + dialect_->quoteName(table.name);
  if (columns.empty()) {
    sql += " DEFAULT VALUES";
  } else {
    std::string names, marks;
    for (size_t i = 0; i < columns.size(); ++i) {
      if (i) names += ", ", marks += ", ";
      names += dialect_->quoteName(columns[i]);
      marks += "?";
    }
    sql += " (" + names + ") VALUES (" + marks + ")";
  }
  return sql;
}

int64_t Connection::updateRow(const TableInfo& table, const std::vector<std::string>& columns,
                              const std::vector<util::Value>& values, const std::vector<util::Value>& keys) {
  if (columns.empty()) return 0;
  std::string sql = "UPDATE " + dialect_->quoteName(table.name) + " SET ";
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i) sql += ", ";
    sql += dialect_->quoteName(columns[i]) + " = ?";
  }
  sql += where(table);
  std::vector<util::Value> all = values;
  all.insert(all.end(), keys.begin(), keys.end());
  return runValues(sql, all);
}

int64_t Connection::deleteRow(const TableInfo& table, const std::vector<util::Value>& keys) {
  return runValues("DELETE FROM " + dialect_->quoteName(table.name) + where(table), keys);
}

void Connection::begin() {
  if (depth_ == 0) {
    beginOuter();
  } else {
    CountStatement();
    runRaw("SAVEPOINT livello_" + std::to_string(depth_));
  }
  ++depth_;
}

void Connection::commit() {
  if (depth_ == 0) throw RuntimeError(kNoTransaction, "Conferma senza una transazione aperta", "DbExecutor");
  if (depth_ == 1) {
    commitOuter();
  } else {
    CountStatement();
    runRaw("RELEASE SAVEPOINT livello_" + std::to_string(depth_ - 1));
  }
  --depth_;
}

void Connection::rollback() {
  if (depth_ == 0) throw RuntimeError(kNoTransaction, "Annullamento senza una transazione aperta", "DbExecutor");
  // The level is closed whatever the engine says: a failed rollback has lost
  // the transaction anyway, and the caller's next begin must start afresh.
  const int level = depth_--;
  if (level == 1) {
    rollbackOuter();
  } else {
    const std::string sp = "livello_" + std::to_string(level - 1);
    CountStatement();
    runRaw("ROLLBACK TO SAVEPOINT " + sp);
    runRaw("RELEASE SAVEPOINT " + sp);
  }
}

ColumnDescription Connection::columnInfo(const std::string& table, const std::string& column) {
  const TableInfo* t = catalog().table(table);
  if (!t) throw RuntimeError(err::kFieldNotFound, "Tabella non trovata: " + table, "DbExecutor");
  const ColumnDescription* c = t->find(column);
  if (!c) throw RuntimeError(err::kFieldNotFound, "Campo non trovato: " + table + "." + column, "DbExecutor");
  return *c;
}

util::Value EmptyValue(ColumnType type) {
  switch (type) {
    case ColumnType::Integer: return util::Value(int16_t{0});
    case ColumnType::Long: return util::Value(int32_t{0});
    case ColumnType::Double: return util::Value(0.0);
    case ColumnType::Currency: return util::Value(util::Money());
    case ColumnType::Text:
    case ColumnType::Memo: return util::Value("");
    case ColumnType::Date:
    case ColumnType::DateTime: return util::Value(util::Date());
    case ColumnType::Boolean: return util::Value(false);
  }
  return util::Value();
}

util::Value ToColumnValue(const ColumnDescription& column, const util::Value& value) {
  using util::Value;
  using util::VType;
  if (value.isNull()) return Value();
  const bool text = column.type == ColumnType::Text || column.type == ColumnType::Memo;
  if (!text && value.type() == VType::Text) {
    bool blank = true;
    for (char ch : value.text())
      if (!std::isspace(static_cast<unsigned char>(ch))) blank = false;
    if (blank) return Value();
  }
  try {
    switch (column.type) {
      case ColumnType::Integer:
        if (value.type() == VType::Boolean) return Value(static_cast<int16_t>(value.toBool() ? -1 : 0));
        return Value(value.toInteger());
      case ColumnType::Long:
        if (value.type() == VType::Boolean) return Value(static_cast<int32_t>(value.toBool() ? -1 : 0));
        return Value(value.toLong());
      case ColumnType::Double: return Value(value.toDouble());
      case ColumnType::Currency: {
        const util::Money m = value.toMoney();
        // 922337203685477.5807 is the largest amount the database's currency holds.
        if (m.units() > std::numeric_limits<int64_t>::max() / 2 || m.units() < std::numeric_limits<int64_t>::min() / 2)
          throw std::out_of_range("currency");
        return Value(m);
      }
      case ColumnType::Text:
      case ColumnType::Memo: {
        std::string s = value.toText();
        if (s.find('\0') != std::string::npos)
          throw RuntimeError(err::kTypeMismatch, "Carattere NUL nel campo " + column.name, "DbCursor");
        if (column.type == ColumnType::Text && column.size > 0) {
          size_t chars = 0;  // UTF-8 characters, as the column counts them
          for (unsigned char ch : s)
            if ((ch & 0xC0) != 0x80) ++chars;
          if (chars > static_cast<size_t>(column.size))
            throw RuntimeError(err::kFieldTooSmall, "Il campo " + column.name + " è troppo piccolo per il valore: " + s,
                               "DbCursor");
        }
        return Value(std::move(s));
      }
      case ColumnType::Date:
      case ColumnType::DateTime: {
        const util::Date d = value.toDate();
        if (d.isEmpty()) return Value();
        return Value(column.type == ColumnType::Date ? d.dateOnly() : d);
      }
      case ColumnType::Boolean: return Value(value.toBool());
    }
  } catch (const std::out_of_range&) {
    throw RuntimeError(kNumericOverflow, "Overflow del campo numerico " + column.name + ": " + value.toText(),
                       "DbCursor");
  } catch (const std::invalid_argument&) {
    throw RuntimeError(err::kTypeMismatch,
                       "Tipo non corrispondente per il campo " + column.name + ": " + value.toText(), "DbCursor");
  }
  return Value();
}

ColumnDescription DescribeDeclaredType(std::string_view declared) {
  std::string d;
  for (char c : declared) d += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  ColumnDescription out;
  auto starts = [&](std::string_view p) { return d.rfind(p, 0) == 0; };
  if (starts("SMALLINT") || starts("INT2"))
    out.type = ColumnType::Integer;
  else if (starts("INTEGER") || starts("INT") || starts("BIGINT"))
    out.type = ColumnType::Long;
  else if (starts("DOUBLE") || starts("REAL") || starts("FLOAT"))
    out.type = ColumnType::Double;
  else if (starts("NUMERIC") || starts("DECIMAL") || starts("MONEY"))
    out.type = ColumnType::Currency;
  else if (starts("DATETIME") || starts("TIMESTAMP"))
    out.type = ColumnType::DateTime;
  else if (starts("DATE"))
    out.type = ColumnType::Date;
  else if (starts("BOOL") || starts("BIT"))
    out.type = ColumnType::Boolean;
  else if (starts("VARCHAR") || starts("CHAR") || starts("NVARCHAR")) {
    out.type = ColumnType::Text;
    const size_t open = d.find('(');
    if (open != std::string::npos) out.size = std::atoi(d.c_str() + open + 1);
  } else {
    out.type = ColumnType::Memo;
  }
  return out;
}

}  // namespace db
