#include "components/util/Decimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace util {
namespace {

// A decimal number as sign, digit string (no leading zeros but "0") and the
// power of ten of the last digit.
struct DecimalDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;  // value = digits * 10^exponent
};

DecimalDigits Decompose(double value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  std::string s(buf, res.ptr);  // e.g. "-2.675e+00"
  DecimalDigits d;
  size_t i = 0;
  if (s[i] == '-') {
    d.negative = true;
    ++i;
  }
  const size_t ePos = s.find('e');
  int exp10 = std::atoi(s.c_str() + ePos + 1);
  std::string mant = s.substr(i, ePos - i);
  std::string digits;
  int fracDigits = 0;
  bool afterPoint = false;
  for (char c : mant) {
    if (c == '.') {
      afterPoint = true;
      continue;
    }
    digits += c;
    if (afterPoint) ++fracDigits;
  }
  d.digits = digits;
  d.exponent = exp10 - fracDigits;
  return d;
}

std::string Compose(const DecimalDigits& d) {
  std::string digits = d.digits;
  std::string out = d.negative ? "-" : "";
  if (d.exponent >= 0) {
    out += digits + std::string(static_cast<size_t>(d.exponent), '0');
  } else {
    const size_t frac = static_cast<size_t>(-d.exponent);
    if (digits.size() <= frac) digits = std::string(frac - digits.size() + 1, '0') + digits;
    out += digits.substr(0, digits.size() - frac) + "." + digits.substr(digits.size() - frac);
    // trim trailing zeros of the fraction
    while (!out.empty() && out.back() == '0') out.pop_back();
    if (!out.empty() && out.back() == '.') out.pop_back();
  }
  if (out == "-0" || out == "-") out = "0";
  return out;
}

}  // namespace

std::string ShortestDecimal(double value) {
  if (value == 0 || !std::isfinite(value)) return value == 0 ? "0" : std::to_string(value);
  return Compose(Decompose(value));
}

double RoundDecimal(double value, int decimals) {
  if (value == 0 || !std::isfinite(value)) return value;
  DecimalDigits d = Decompose(value);
  const int keepExponent = -decimals;  // power of ten of the last kept digit
  if (d.exponent < keepExponent) {
    const int drop = keepExponent - d.exponent;
    std::string digits = d.digits;
    if (static_cast<int>(digits.size()) < drop + 1)
      digits = std::string(static_cast<size_t>(drop + 1 - static_cast<int>(digits.size())), '0') + digits;
    const char first = digits[digits.size() - static_cast<size_t>(drop)];
    std::string kept = digits.substr(0, digits.size() - static_cast<size_t>(drop));
    if (first >= '5') {
      int i = static_cast<int>(kept.size()) - 1;
      while (i >= 0 && kept[static_cast<size_t>(i)] == '9') kept[static_cast<size_t>(i--)] = '0';
      if (i < 0)
        kept.insert(kept.begin(), '1');
      else
        ++kept[static_cast<size_t>(i)];
    }
    d.digits = kept;
    d.exponent = keepExponent;
  }
  const std::string text = Compose(d);
  double result = 0;
  std::from_chars(text.data(), text.data() + text.size(), result);
  return result;
}

}  // namespace util
