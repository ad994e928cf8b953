#include "components/db/Dialect.h"

namespace db {

std::string Dialect::quoteName(std::string_view name) const {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string Dialect::text(std::string_view value) const {
  std::string out = "'";
  for (char c : value) {
    if (c == '\'') out += '\'';
    out += c;
  }
  return out + "'";
}

std::string Dialect::date(const util::Date& value) const {
  return (value.hasTime() ? "TIMESTAMP " : "DATE ") + text(value.iso());
}

}  // namespace db
