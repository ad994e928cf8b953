#include "components/util/Money.h"

#include <charconv>
#include <stdexcept>

#include "components/util/Decimal.h"

namespace util {

Money Money::FromDouble(double value) { return Parse(ShortestDecimal(RoundDecimal(value, 4))); }

Money Money::Parse(const std::string& text) {
  std::string s = text;
  bool negative = false;
  size_t i = 0;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    i = 1;
  }
  const size_t dot = s.find('.', i);
  std::string whole = s.substr(i, dot == std::string::npos ? std::string::npos : dot - i);
  std::string frac = dot == std::string::npos ? "" : s.substr(dot + 1);
  if (whole.empty() && frac.empty()) throw std::invalid_argument("not an amount: " + text);
  if (frac.size() > 4) {
    // Round the decimal text itself: no binary detour.
    return FromDouble(std::stod(text));
  }
  frac.resize(4, '0');
  const std::string digits = (whole.empty() ? "0" : whole) + frac;
  int64_t units = 0;
  auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), units);
  if (ec != std::errc() || ptr != digits.data() + digits.size()) throw std::invalid_argument("not an amount: " + text);
  return Money(negative ? -units : units);
}

Money Money::Rounded(int decimals) const {
  if (decimals >= 4) return *this;
  // A step past 10^14 does not fit the type; no amount kept reaches half of it.
  if (decimals < -14) return Money();
  int64_t step = 1;
  for (int d = decimals; d < 4; ++d) step *= 10;
  const int64_t rest = units_ % step;  // with the sign of the amount
  const int64_t magnitude = rest < 0 ? -rest : rest;
  int64_t rounded = units_ - rest;
  if (2 * magnitude >= step) rounded += units_ < 0 ? -step : step;
  return Money(rounded);
}

std::string Money::toString() const {
  const int64_t a = units_ < 0 ? -units_ : units_;
  std::string out = units_ < 0 ? "-" : "";
  out += std::to_string(a / kScale);
  std::string frac = std::to_string(a % kScale);
  frac = std::string(4 - frac.size(), '0') + frac;
  while (!frac.empty() && frac.back() == '0') frac.pop_back();
  if (!frac.empty()) out += "." + frac;
  return out;
}

}  // namespace util
