#include "components/util/Round.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace util {
namespace {

// A 128-bit integer holds any double's decimal digits scaled to a common
// power of ten, so a remainder is exact.
__extension__ typedef __int128 Int;

// Above this many digits an integer no longer fits the 128-bit working type
// with room for one addition.
constexpr int kMaxDigits = 36;

// Significant digits of a value that are taken as meant; see Round.
constexpr int kSignificant = 15;

// A finite non-zero double as its shortest decimal writing:
// (-1)^negative × digits × 10^exponent.
struct Decimal {
  bool negative = false;
  uint64_t digits = 0;
  int count = 0;  // number of decimal digits of `digits`
  int exponent = 0;
};

Decimal Decompose(double value) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::scientific);
  *res.ptr = '\0';  // the exponent is read with atoi
  Decimal d;
  const char* p = buf;
  if (*p == '-') {
    d.negative = true;
    ++p;
  }
  int fraction = 0;
  bool afterPoint = false;
  for (; p < res.ptr && *p != 'e'; ++p) {
    if (*p == '.') {
      afterPoint = true;
      continue;
    }
    d.digits = d.digits * 10 + static_cast<uint64_t>(*p - '0');
    ++d.count;
    if (afterPoint) ++fraction;
  }
  d.exponent = std::atoi(p + 1) - fraction;
  return d;
}

Int Pow10(int n) {
  Int r = 1;
  while (n-- > 0) r *= 10;
  return r;
}

double Compose(bool negative, Int magnitude, int exponent) {
  if (magnitude == 0) return 0.0;
  std::string text;
  while (magnitude > 0) {
    text.insert(text.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  }
  if (negative) text.insert(text.begin(), '-');
  text += 'e' + std::to_string(exponent);
  double out = 0;
  std::from_chars(text.data(), text.data() + text.size(), out);
  return out;
}

enum class Mode { None, HalfAway, HalfEven, Up, Down };

Mode ParseMode(std::string_view mode) {
  std::string m;
  for (char c : mode)
    if (c != ' ') m += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (m.empty() || m == "N" || m == "NESSUNO") return Mode::None;
  if (m == "E") return Mode::Up;
  if (m == "D") return Mode::Down;
  if (m == "P") return Mode::HalfEven;
  return Mode::HalfAway;
}

}  // namespace

double Round(double value, std::string_view mode, double step, std::optional<int> power) {
  const Mode m = ParseMode(mode);
  if (m == Mode::None || !std::isfinite(value) || !std::isfinite(step) || step == 0) return value;
  if (value == 0) return 0.0;

  Decimal v = Decompose(value);
  // Arithmetic on doubles leaves noise in the 16th and 17th significant digit
  // (0.1 + 0.2 is 0.30000000000000004, 1.15 × 100 is 114.99999999999999).
  // No amount or rate anyone wrote has that many digits, so the value is first
  // taken to 15 significant digits: by excess the noise would otherwise turn
  // 0.3 into 0.4, by defect 115 into 114.
  if (v.count > kSignificant) {
    const int drop = v.count - kSignificant;
    uint64_t p10 = 1;
    for (int i = 0; i < drop; ++i) p10 *= 10;
    const uint64_t rest = v.digits % p10;
    v.digits = v.digits / p10 + (rest * 2 >= p10 ? 1 : 0);
    v.exponent += drop;
    v.count = kSignificant;
    if (v.digits >= 1000000000000000ULL) ++v.count;  // 999..9 carried into a 16th digit
  }
  Decimal u = Decompose(std::fabs(step));
  u.exponent += power.value_or(0);

  // Bring value and unit to the same power of ten: value = a × 10^e and
  // unit = b × 10^e with a, b integers.
  const int e = std::min(v.exponent, u.exponent);
  const int shiftV = v.exponent - e;
  const int shiftU = u.exponent - e;
  // The unit is so far below the value's last significant digit that any
  // correction is lost in the double: the value is already as rounded as it
  // can be written.
  if (v.count + shiftV > kMaxDigits) return value;

  const Int a = static_cast<Int>(v.digits) * Pow10(shiftV);
  Int q = 0;
  Int r = a;
  Int b = 0;
  const bool hugeUnit = u.count + shiftU > kMaxDigits;  // then a < unit / 2
  if (!hugeUnit) {
    b = static_cast<Int>(u.digits) * Pow10(shiftU);
    q = a / b;
    r = a % b;
  }
  if (r != 0) {
    bool up = false;
    switch (m) {
      case Mode::Up: up = true; break;
      case Mode::Down: up = false; break;
      case Mode::HalfAway: up = !hugeUnit && 2 * r >= b; break;
      case Mode::HalfEven: up = !hugeUnit && (2 * r > b || (2 * r == b && q % 2 == 1)); break;
      case Mode::None: break;
    }
    if (up) ++q;
  }
  // result = q × unit, written back from its exact decimal digits.
  return Compose(v.negative, q * static_cast<Int>(u.digits), u.exponent);
}

}  // namespace util
