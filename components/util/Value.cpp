#include "components/util/Value.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "components/util/Decimal.h"

namespace util {
namespace {

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return std::string(s.substr(b, e - b));
}

std::string WithComma(std::string s) {
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}

// "dd/mm/yyyy" with an optional " hh:mm[:ss]"; also d/m/yy.
bool ParseItalianDate(std::string_view text, Date& out) {
  const std::string s = Trim(text);
  int parts[6] = {0, 0, 0, 0, 0, 0};
  int n = 0;
  size_t i = 0;
  while (i < s.size() && n < 6) {
    size_t j = i;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
    if (j == i) return false;
    std::from_chars(s.data() + i, s.data() + j, parts[n]);
    const size_t digits = j - i;
    if (n == 2 && digits <= 2) parts[2] += parts[2] < 30 ? 2000 : 1900;
    ++n;
    if (j == s.size()) break;
    const char sep = s[j];
    if (n < 3 && sep != '/' && sep != '-' && sep != '.') return false;
    if (n == 3 && sep != ' ') return false;
    if (n > 3 && sep != ':') return false;
    i = j + 1;
    while (n == 3 && i < s.size() && s[i] == ' ') ++i;
  }
  if (n != 3 && n != 5 && n != 6) return false;
  auto d = Date::Make(parts[2], parts[1], parts[0], parts[3], parts[4], parts[5]);
  if (!d) return false;
  out = *d;
  return true;
}

}  // namespace

int VarTypeCode(VType type) {
  switch (type) {
    case VType::Null: return 1;
    case VType::Integer: return 2;
    case VType::Long: return 3;
    case VType::Double: return 5;
    case VType::Currency: return 6;
    case VType::Date: return 7;
    case VType::Text: return 8;
    case VType::Boolean: return 11;
  }
  return 0;
}

bool ParseItalianNumber(std::string_view text, double& out) {
  std::string s = Trim(text);
  if (s.empty()) return false;
  std::string plain;
  const bool hasComma = s.find(',') != std::string::npos;
  bool groupedDots = false;
  if (!hasComma) {
    // Dots group thousands only when every group after one has three digits.
    const size_t firstDot = s.find('.');
    if (firstDot != std::string::npos) {
      groupedDots = true;
      size_t pos = firstDot;
      while (pos != std::string::npos) {
        const size_t next = s.find('.', pos + 1);
        const size_t end = next == std::string::npos ? s.size() : next;
        if (end - pos - 1 != 3) groupedDots = false;
        pos = next;
      }
    }
  }
  for (char c : s) {
    if (c == '.') {
      if (hasComma || groupedDots) continue;  // thousands separator
      plain += '.';
    } else if (c == ',') {
      plain += '.';
    } else {
      plain += c;
    }
  }
  if (!plain.empty() && plain[0] == '+') plain.erase(0, 1);
  double v = 0;
  auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), v);
  if (ec != std::errc() || ptr != plain.data() + plain.size()) return false;
  out = v;
  return true;
}

bool Value::isNumeric() const {
  switch (type()) {
    case VType::Integer:
    case VType::Long:
    case VType::Double:
    case VType::Currency:
    case VType::Boolean: return true;
    case VType::Text: {
      double d;
      return ParseItalianNumber(text(), d);
    }
    default: return false;
  }
}

std::string Value::toText() const {
  switch (type()) {
    case VType::Null: return "";
    case VType::Integer: return std::to_string(std::get<int16_t>(v_));
    case VType::Long: return std::to_string(std::get<int32_t>(v_));
    case VType::Double: return WithComma(ShortestDecimal(std::get<double>(v_)));
    case VType::Currency: return WithComma(std::get<Money>(v_).toString());
    case VType::Text: return std::get<std::string>(v_);
    case VType::Date: return std::get<Date>(v_).toText();
    case VType::Boolean: return std::get<bool>(v_) ? "Vero" : "Falso";
  }
  return "";
}

double Value::toDouble() const {
  switch (type()) {
    case VType::Null: return 0;
    case VType::Integer: return std::get<int16_t>(v_);
    case VType::Long: return std::get<int32_t>(v_);
    case VType::Double: return std::get<double>(v_);
    case VType::Currency: return std::get<Money>(v_).toDouble();
    case VType::Date: return std::get<Date>(v_).oleSerial();
    case VType::Boolean: return std::get<bool>(v_) ? -1 : 0;
    case VType::Text: {
      const std::string& s = std::get<std::string>(v_);
      if (Trim(s).empty()) return 0;
      double d;
      if (!ParseItalianNumber(s, d)) throw std::invalid_argument("not a number: " + s);
      return d;
    }
  }
  return 0;
}

Money Value::toMoney() const {
  if (type() == VType::Currency) return std::get<Money>(v_);
  return Money::FromDouble(toDouble());
}

int32_t Value::toLong() const {
  if (type() == VType::Long) return std::get<int32_t>(v_);
  if (type() == VType::Integer) return std::get<int16_t>(v_);
  // Rounds half to even, as the automation conversions do.
  const double d = std::nearbyint(toDouble());
  if (d < std::numeric_limits<int32_t>::min() || d > std::numeric_limits<int32_t>::max())
    throw std::out_of_range("overflow: " + toText());
  return static_cast<int32_t>(d);
}

int16_t Value::toInteger() const {
  const int32_t l = toLong();
  if (l < std::numeric_limits<int16_t>::min() || l > std::numeric_limits<int16_t>::max())
    throw std::out_of_range("overflow: " + toText());
  return static_cast<int16_t>(l);
}

Date Value::toDate() const {
  switch (type()) {
    case VType::Null: return Date();
    case VType::Date: return std::get<Date>(v_);
    case VType::Text: {
      const std::string& s = std::get<std::string>(v_);
      if (Trim(s).empty()) return Date();
      Date d;
      if (ParseItalianDate(s, d)) return d;
      if (auto iso = Date::ParseIso(Trim(s))) return *iso;
      throw std::invalid_argument("not a date: " + s);
    }
    default: return Date::FromOleSerial(toDouble());
  }
}

bool Value::toBool() const {
  switch (type()) {
    case VType::Null: return false;
    case VType::Boolean: return std::get<bool>(v_);
    case VType::Text: {
      const std::string s = Trim(std::get<std::string>(v_));
      if (s == "Vero" || s == "True" || s == "vero" || s == "true") return true;
      if (s == "Falso" || s == "False" || s == "falso" || s == "false" || s.empty()) return false;
      return toDouble() != 0;
    }
    default: return toDouble() != 0;
  }
}

}  // namespace util
