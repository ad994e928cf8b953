#include "schema/Schema.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

namespace schema {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : line) {
    if (c == '#') break;
    if (std::isspace(static_cast<unsigned char>(c)) || c == '(' || c == ')' || c == ',') {
      if (!cur.empty()) out.push_back(cur), cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

[[noreturn]] void Fail(int line, const std::string& what) {
  throw std::runtime_error("schema line " + std::to_string(line) + ": " + what);
}

std::string Quote(const std::string& name) { return "\"" + name + "\""; }

std::string TypeSql(const Column& c, Engine engine) {
  using db::ColumnType;
  const bool pg = engine == Engine::Postgres;
  switch (c.type) {
    case ColumnType::Integer: return "SMALLINT";
    case ColumnType::Long: return "INTEGER";
    case ColumnType::Double: return "DOUBLE PRECISION";
    case ColumnType::Currency: return "NUMERIC(19,4)";
    case ColumnType::Text:
      return pg ? "testo_" + std::to_string(c.size)
                : "VARCHAR(" + std::to_string(c.size) + ") COLLATE NOCASE CHECK (length(" + Quote(c.name) +
                      ") <= " + std::to_string(c.size) + ")";
    case ColumnType::Memo: return pg ? "CITEXT" : "TEXT COLLATE NOCASE";
    case ColumnType::Date: return "DATE";
    case ColumnType::DateTime: return pg ? "TIMESTAMP(0)" : "DATETIME";
    case ColumnType::Boolean: return "BOOLEAN";
  }
  return "";
}

}  // namespace

const Column* Table::find(std::string_view column) const {
  for (const Column& c : columns)
    if (SameName(c.name, column)) return &c;
  return nullptr;
}

const Table* Schema::find(std::string_view table) const {
  for (const Table& t : tables)
    if (SameName(t.name, table)) return &t;
  return nullptr;
}

Schema Parse(std::string_view text) {
  Schema s;
  std::istringstream in{std::string(text)};
  std::string line;
  int lineNo = 0;
  Table* current = nullptr;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto w = Words(line);
    if (w.empty()) continue;
    const bool indented = std::isspace(static_cast<unsigned char>(line[0]));
    if (!indented) {
      current = nullptr;
      if (w[0] == "table") {
        if (w.size() != 2 && !(w.size() == 4 && w[2] == "like")) Fail(lineNo, "table <Name> [like <Other>]");
        if (s.find(w[1])) Fail(lineNo, "table " + w[1] + " twice");
        Table t;
        t.name = w[1];
        if (w.size() == 4) {
          const Table* base = s.find(w[3]);
          if (!base) Fail(lineNo, "unknown table " + w[3]);
          t.columns = base->columns;
          t.key = base->key;
        }
        s.tables.push_back(std::move(t));
        current = &s.tables.back();
      } else if (w[0] == "index" || w[0] == "unique") {
        if (w.size() < 3) Fail(lineNo, "index <Table> (<col>, ...)");
        const Table* t = s.find(w[1]);
        if (!t) Fail(lineNo, "unknown table " + w[1]);
        Index ix{t->name, {}, w[0] == "unique"};
        for (size_t i = 2; i < w.size(); ++i) {
          const Column* c = t->find(w[i]);
          if (!c) Fail(lineNo, "unknown column " + w[i]);
          ix.columns.push_back(c->name);
        }
        s.indexes.push_back(std::move(ix));
      } else {
        Fail(lineNo, "expected table, index or unique");
      }
      continue;
    }
    if (!current) Fail(lineNo, "column outside a table");
    if (w.size() < 2) Fail(lineNo, "<Column> <type> [size] [key]");
    Column c;
    c.name = w[0];
    if (current->find(c.name)) Fail(lineNo, "column " + c.name + " twice");
    size_t i = 1;
    const std::string& type = w[i++];
    using db::ColumnType;
    if (type == "integer")
      c.type = ColumnType::Integer;
    else if (type == "long")
      c.type = ColumnType::Long;
    else if (type == "double")
      c.type = ColumnType::Double;
    else if (type == "currency")
      c.type = ColumnType::Currency;
    else if (type == "memo")
      c.type = ColumnType::Memo;
    else if (type == "date")
      c.type = ColumnType::Date;
    else if (type == "datetime")
      c.type = ColumnType::DateTime;
    else if (type == "boolean")
      c.type = ColumnType::Boolean;
    else if (type == "text") {
      c.type = ColumnType::Text;
      if (i >= w.size()) Fail(lineNo, "text needs a size");
      c.size = std::stoi(w[i++]);
      if (c.size <= 0 || c.size > 255) Fail(lineNo, "text size 1..255");
    } else {
      Fail(lineNo, "unknown type " + type);
    }
    if (i < w.size()) {
      if (w[i] != "key" || i + 1 != w.size()) Fail(lineNo, "unexpected " + w[i]);
      current->key.push_back(c.name);
    }
    current->columns.push_back(std::move(c));
  }
  return s;
}

std::vector<std::string> DdlStatements(const Schema& s, Engine engine) {
  std::vector<std::string> out;
  if (engine == Engine::Postgres) {
    std::set<int> sizes;
    for (const Table& t : s.tables)
      for (const Column& c : t.columns)
        if (c.type == db::ColumnType::Text) sizes.insert(c.size);
    // A domain per text size keeps the size visible in the catalog, which
    // citext alone would lose.
    for (int n : sizes)
      out.push_back("CREATE DOMAIN testo_" + std::to_string(n) +
                    " AS CITEXT CHECK (char_length(VALUE) <= " + std::to_string(n) + ")");
  }
  for (const Table& t : s.tables) {
    std::string sql = "CREATE TABLE " + Quote(t.name) + " (\n";
    for (size_t i = 0; i < t.columns.size(); ++i) {
      const Column& c = t.columns[i];
      sql += "  " + Quote(c.name) + " " + TypeSql(c, engine);
      if (std::find(t.key.begin(), t.key.end(), c.name) != t.key.end()) sql += " NOT NULL";
      if (i + 1 < t.columns.size() || !t.key.empty()) sql += ",";
      sql += "\n";
    }
    if (!t.key.empty()) {
      sql += "  PRIMARY KEY (";
      for (size_t i = 0; i < t.key.size(); ++i) sql += (i ? ", " : "") + Quote(t.key[i]);
      sql += ")\n";
    }
    sql += ")";
    out.push_back(sql);
  }
  std::map<std::string, int> counters;
  for (const Index& ix : s.indexes) {
    const std::string name = "ix_" + ix.table + "_" + std::to_string(++counters[ix.table]);
    std::string sql = std::string("CREATE ") + (ix.unique ? "UNIQUE " : "") + "INDEX " + Quote(name) + " ON " +
                      Quote(ix.table) + " (";
    for (size_t i = 0; i < ix.columns.size(); ++i) sql += (i ? ", " : "") + Quote(ix.columns[i]);
    out.push_back(sql + ")");
  }
  return out;
}

std::string DdlScript(const Schema& s, Engine engine) {
  std::string out =
      engine == Engine::Postgres
          ? "-- Company database for PostgreSQL. Generated from schema/compensato.schema by tools/schemagen.\n"
            "-- Needs: CREATE EXTENSION citext;\n\n"
          : "-- Company database for SQLite. Generated from schema/compensato.schema by tools/schemagen.\n\n";
  for (const std::string& stmt : DdlStatements(s, engine)) out += stmt + ";\n\n";
  return out;
}

}  // namespace schema
