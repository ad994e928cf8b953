#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace util {

// The database's fixed-point currency: a 64-bit count of ten-thousandths.
class Money {
 public:
  static constexpr int64_t kScale = 10000;

  constexpr Money() = default;
  static constexpr Money FromUnits(int64_t units) { return Money(units); }
  // Rounded half away from zero to four decimals on the value's decimal writing.
  static Money FromDouble(double value);
  // Parses "-1234.5678" (a '.' separator, at most four decimals after rounding).
  // Throws std::invalid_argument on anything else.
  static Money Parse(const std::string& text);

  constexpr int64_t units() const { return units_; }
  double toDouble() const { return static_cast<double>(units_) / kScale; }
  // Plain decimal text with '.' and no trailing zeros: "12.5", "-0.0001", "3".
  std::string toString() const;
  // To the given decimals (negative: to tens, hundreds, ...), a half away
  // from zero. Exact for every amount the type holds, where a double keeps
  // only fifteen significant digits of it.
  Money Rounded(int decimals) const;

  friend constexpr auto operator<=>(const Money&, const Money&) = default;
  constexpr Money operator+(Money o) const { return Money(units_ + o.units_); }
  constexpr Money operator-(Money o) const { return Money(units_ - o.units_); }
  constexpr Money operator-() const { return Money(-units_); }
  Money& operator+=(Money o) {
    units_ += o.units_;
    return *this;
  }
  Money& operator-=(Money o) {
    units_ -= o.units_;
    return *this;
  }

 private:
  constexpr explicit Money(int64_t units) : units_(units) {}
  int64_t units_ = 0;
};

// The amount without its sign.
constexpr Money Abs(Money m) { return m < Money() ? -m : m; }

}  // namespace util
