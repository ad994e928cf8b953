#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "components/util/Date.h"

namespace db {

// How one engine writes what the program's dialect says. The defaults are
// standard SQL; an engine overrides what it does differently. Adding an engine
// (SQL Server, say) means adding a dialect here and a connection class, never
// touching the callers' statements.
class Dialect {
 public:
  virtual ~Dialect() = default;
  virtual const char* name() const = 0;

  // Literal values travel as bound parameters, so one prepared statement
  // serves every statement that differs only in its values.
  virtual bool bindsLiterals() const { return false; }
  // Quoted names are case-sensitive on the engine, so every name known to the
  // catalog is written quoted, in the catalog's spelling.
  virtual bool canonicalNames() const { return false; }

  virtual std::string quoteName(std::string_view name) const;
  virtual std::string boolean(bool value) const { return value ? "TRUE" : "FALSE"; }
  virtual std::string text(std::string_view value) const;
  virtual std::string date(const util::Date& value) const;
  // "LIKE" or a case-insensitive variant: the program's LIKE ignores case.
  virtual std::string like() const { return "LIKE"; }
  virtual std::string limit(int64_t rows) const { return " LIMIT " + std::to_string(rows); }
  // Row locks for a read that is about to be updated; "" when the engine
  // serialises writers otherwise.
  virtual std::string forUpdate(std::string_view table) const { return " FOR UPDATE OF " + quoteName(table); }
};

class SqliteDialect : public Dialect {
 public:
  const char* name() const override { return "SQLite"; }
  bool bindsLiterals() const override { return true; }
  std::string boolean(bool value) const override { return value ? "1" : "0"; }
  // Dates are stored as ISO text, which sorts and compares as dates do.
  std::string date(const util::Date& value) const override { return text(value.iso()); }
  // A write transaction (BEGIN IMMEDIATE) already holds the file's write lock.
  std::string forUpdate(std::string_view) const override { return ""; }
};

class PostgresDialect : public Dialect {
 public:
  const char* name() const override { return "PostgreSQL"; }
  bool canonicalNames() const override { return true; }
  std::string like() const override { return "ILIKE"; }
};

}  // namespace db
