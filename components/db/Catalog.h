#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "components/db/DbExecutor.h"

namespace db {

// What the database says about one of its tables.
struct TableInfo {
  std::string name;  // as the database spells it
  std::vector<ColumnDescription> columns;
  std::vector<std::string> key;  // primary key columns, in order
  const ColumnDescription* find(std::string_view column) const;
};

// Name lookups the translator and the cursors need, answered from the
// connected database's own catalog. Names compare ignoring case.
class Catalog {
 public:
  virtual ~Catalog() = default;
  // nullptr when the database has no such table.
  virtual const TableInfo* table(std::string_view name) = 0;
  // The spelling of a column name in any table, for a name used without its
  // table; nullopt when no table has it.
  virtual std::optional<std::string> anyColumn(std::string_view name) = 0;
};

// A catalog held in memory: filled once by an engine, reloaded on demand.
class TableCatalog : public Catalog {
 public:
  const TableInfo* table(std::string_view name) override;
  std::optional<std::string> anyColumn(std::string_view name) override;
  void set(std::vector<TableInfo> tables);
  bool loaded() const { return loaded_; }
  void clear();

 private:
  std::map<std::string, TableInfo> tables_;     // by lower-case name
  std::map<std::string, std::string> columns_;  // lower-case -> first spelling seen
  bool loaded_ = false;
};

std::string Lower(std::string_view s);
bool SameName(std::string_view a, std::string_view b);

}  // namespace db
