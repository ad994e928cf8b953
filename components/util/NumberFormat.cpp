#include "components/util/NumberFormat.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "components/util/Convert.h"
#include "components/util/Decimal.h"
#include "components/util/Round.h"
#include "components/util/Text.h"

namespace util {
namespace {

std::string TwoDigits(int n) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d", n);
  return buf;
}

}  // namespace

bool IsDateMask(std::string_view mask) {
  for (char c : mask) {
    const char l = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (l == 'd' || l == 'y' || l == 'm') return true;
  }
  return false;
}

std::string BuildNumberMask(int decimals, std::string_view base, char fill) {
  std::string mask(base);
  if (decimals > 0) mask += '.' + std::string(static_cast<size_t>(decimals), fill);
  return mask;
}

std::string FormatNumber(double value, std::string_view mask) {
  if (!std::isfinite(value)) return "";
  const size_t point = mask.find('.');
  const std::string_view intMask = mask.substr(0, point);
  const std::string_view decMask = point == std::string_view::npos ? std::string_view() : mask.substr(point + 1);
  const bool group = intMask.find(',') != std::string_view::npos;
  size_t minInt = 0;
  for (char c : intMask)
    if (c == '0') ++minInt;
  if (minInt == 0) minInt = 1;
  size_t places = 0, fixedPlaces = 0;
  for (char c : decMask) {
    if (c == '^' || c == '0' || c == '#') ++places;
    if (c == '^' || c == '0') fixedPlaces = places;
  }

  const double rounded = Round(value, "A", 1, -static_cast<int>(places));
  std::string digits = ShortestDecimal(std::fabs(rounded));  // "1234.5"
  const size_t dot = digits.find('.');
  std::string intDigits = digits.substr(0, dot);
  std::string frac = dot == std::string::npos ? "" : digits.substr(dot + 1);
  while (intDigits.size() < minInt) intDigits.insert(intDigits.begin(), '0');
  if (frac.size() < fixedPlaces) frac.append(fixedPlaces - frac.size(), '0');

  std::string out;
  if (rounded < 0) out += '-';
  if (group) {
    const size_t lead = intDigits.size() % 3 == 0 ? 3 : intDigits.size() % 3;
    out += intDigits.substr(0, lead);
    for (size_t i = lead; i < intDigits.size(); i += 3) out += '.' + intDigits.substr(i, 3);
  } else {
    out += intDigits;
  }
  if (!frac.empty()) out += ',' + frac;
  return out;
}

std::string FormatDate(const Date& date, std::string_view mask) {
  if (date.isEmpty()) return "";
  std::string out;
  bool afterHour = false;
  size_t i = 0;
  while (i < mask.size()) {
    const char l = static_cast<char>(std::tolower(static_cast<unsigned char>(mask[i])));
    size_t run = 1;
    while (i + run < mask.size() && std::tolower(static_cast<unsigned char>(mask[i + run])) == l) ++run;
    switch (l) {
      case 'd':
        out += run >= 2 ? TwoDigits(date.day()) : std::to_string(date.day());
        afterHour = false;
        break;
      case 'm':
        if (afterHour)
          out += TwoDigits(date.minute());
        else
          out += run >= 2 ? TwoDigits(date.month()) : std::to_string(date.month());
        afterHour = false;
        break;
      case 'y':
        out += run >= 3 ? std::to_string(date.year()) : TwoDigits(date.year() % 100);
        afterHour = false;
        break;
      case 'h':
        out += TwoDigits(date.hour());
        afterHour = true;
        break;
      case 'n':
        out += TwoDigits(date.minute());
        afterHour = false;
        break;
      case 's':
        out += TwoDigits(date.second());
        afterHour = false;
        break;
      default:
        out.append(run, mask[i]);  // separators keep an hour's "mm" as minutes
        break;
    }
    i += run;
  }
  return out;
}

std::string FormatValue(const Value& value, std::string_view mask) {
  if (IsEmptyValue(value, 8)) return "";
  if (value.type() == VType::Date || IsDateMask(mask)) {
    bool ok = true;
    const Date d = ToDate(value, &ok);
    return ok ? FormatDate(d, IsDateMask(mask) ? mask : "dd/mm/yyyy") : value.toText();
  }
  bool ok = true;
  const double d = ToNumber(value, &ok);
  return ok ? FormatNumber(d, mask) : value.toText();
}

}  // namespace util
