#include "components/db/Catalog.h"

#include <algorithm>
#include <cctype>

namespace db {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

const ColumnDescription* TableInfo::find(std::string_view column) const {
  for (const ColumnDescription& c : columns)
    if (SameName(c.name, column)) return &c;
  return nullptr;
}

const TableInfo* TableCatalog::table(std::string_view name) {
  const auto it = tables_.find(Lower(name));
  return it == tables_.end() ? nullptr : &it->second;
}

std::optional<std::string> TableCatalog::anyColumn(std::string_view name) {
  const auto it = columns_.find(Lower(name));
  if (it == columns_.end()) return std::nullopt;
  return it->second;
}

void TableCatalog::set(std::vector<TableInfo> tables) {
  clear();
  for (TableInfo& t : tables) {
    for (const ColumnDescription& c : t.columns) columns_.emplace(Lower(c.name), c.name);
    const std::string key = Lower(t.name);
    tables_.emplace(key, std::move(t));
  }
  loaded_ = true;
}

void TableCatalog::clear() {
  tables_.clear();
  columns_.clear();
  loaded_ = false;
}

}  // namespace db
