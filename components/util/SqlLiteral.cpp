#include "components/util/SqlLiteral.h"

#include <cstdio>
#include <stdexcept>

#include "components/util/Decimal.h"
#include "components/util/Error.h"

namespace util {
namespace {

std::string Quoted(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '\'';
  for (char c : text) {
    if (c == '\0') throw RuntimeError(err::kTypeMismatch, "Carattere NUL in un testo per SQL", "SqlLiteral");
    if (c == '\'') out += '\'';
    out += c;
  }
  out += '\'';
  return out;
}

std::string DateLiteral(const Date& d) {
  char buf[48];
  if (d.hasTime())
    std::snprintf(buf, sizeof buf, "#%02d/%02d/%04d %02d:%02d:%02d#", d.month(), d.day(), d.year(), d.hour(),
                  d.minute(), d.second());
  else
    std::snprintf(buf, sizeof buf, "#%02d/%02d/%04d#", d.month(), d.day(), d.year());
  return buf;
}

bool EmptyText(const Value& v) { return v.type() == VType::Text && v.text().empty(); }

}  // namespace

std::string SqlLiteral(const Value& value, int typeCode) {
  if (value.isNull()) return "Null";
  try {
    switch (typeCode) {
      case 2:
        if (EmptyText(value)) return "0";
        if (value.type() == VType::Boolean) return value.toBool() ? "-1" : "0";
        return std::to_string(value.toInteger());
      case 3:
        if (EmptyText(value)) return "0";
        if (value.type() == VType::Boolean) return value.toBool() ? "-1" : "0";
        return std::to_string(value.toLong());
      case 5:
      case 6:
        if (EmptyText(value)) return "0";
        if (value.type() == VType::Currency) return value.toMoney().toString();
        return ShortestDecimal(value.toDouble());
      case 7:
        if (EmptyText(value)) return "Null";
        return DateLiteral(value.toDate());
      case 8: return Quoted(value.toText());
      case 11: return value.toBool() ? "True" : "False";
      default: break;
    }
  } catch (const std::out_of_range&) {
    throw RuntimeError(err::kTypeMismatch, "Valore fuori intervallo: " + value.toText(), "SqlLiteral");
  } catch (const std::invalid_argument&) {
    throw RuntimeError(err::kTypeMismatch, "Tipo non corrispondente: " + value.toText(), "SqlLiteral");
  }
  throw RuntimeError(err::kTypeMismatch, "Codice di tipo SQL non previsto: " + std::to_string(typeCode), "SqlLiteral");
}

}  // namespace util
