#include "components/util/Date.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <stdexcept>

namespace util {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct Civil {
  int year, month, day;
};

constexpr Civil CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t y = yoe + era * 400;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(y + (m <= 2)), m, d};
}

// Serial 0 is 30/12/1899.
constexpr int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);
static_assert(DaysFromCivil(100, 1, 1) - kEpochOffset == Date::kEmptySerial);
static_assert(DaysFromCivil(9999, 12, 31) - kEpochOffset == Date::kMaxSerial);

int ParseDigits(std::string_view s, size_t pos, size_t count, bool& ok) {
  int value = 0;
  if (pos + count > s.size()) {
    ok = false;
    return 0;
  }
  auto [ptr, ec] = std::from_chars(s.data() + pos, s.data() + pos + count, value);
  if (ec != std::errc() || ptr != s.data() + pos + count) ok = false;
  return value;
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[month - 1];
}

std::optional<Date> Date::Make(int year, int month, int day, int hour, int minute, int second) {
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return std::nullopt;
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return std::nullopt;
  const auto days = static_cast<int32_t>(DaysFromCivil(year, month, day) - kEpochOffset);
  return Date(days, hour * 3600 + minute * 60 + second);
}

Date Date::Carry(int year, int month, int day) {
  const int64_t monthIndex = static_cast<int64_t>(year) * 12 + (month - 1);
  const int64_t y = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
  const int m = static_cast<int>(monthIndex - y * 12) + 1;
  const int64_t days = DaysFromCivil(y, m, 1) - kEpochOffset + (day - 1);
  if (days < kEmptySerial || days > kMaxSerial) throw std::out_of_range("date out of range");
  return Date(static_cast<int32_t>(days), 0);
}

Date Date::FromSerial(int32_t days, int32_t secondsOfDay) {
  if (days < kEmptySerial || days > kMaxSerial || secondsOfDay < 0 || secondsOfDay >= 86400)
    throw std::out_of_range("date serial out of range");
  return Date(days, secondsOfDay);
}

Date Date::FromOleSerial(double serial) {
  // Negative serials keep their time as a positive distance from midnight.
  double whole = std::trunc(serial);
  double frac = std::fabs(serial - whole);
  auto secs = static_cast<int32_t>(std::lround(frac * 86400.0));
  if (secs == 86400) {
    secs = 0;
    whole += serial < 0 ? -1 : 1;
  }
  return FromSerial(static_cast<int32_t>(whole), secs);
}

double Date::oleSerial() const {
  const double frac = secs_ / 86400.0;
  return days_ < 0 ? days_ - frac : days_ + frac;
}

Date Date::Today() { return Now().dateOnly(); }

Date Date::Now() {
  const std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return *Make(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

int Date::year() const { return CivilFromDays(days_ + kEpochOffset).year; }
int Date::month() const { return CivilFromDays(days_ + kEpochOffset).month; }
int Date::day() const { return CivilFromDays(days_ + kEpochOffset).day; }

Date Date::addDays(int32_t n) const { return FromSerial(days_ + n, secs_); }

Date Date::addMonths(int32_t n) const {
  const Civil c = CivilFromDays(days_ + kEpochOffset);
  const int64_t monthIndex = static_cast<int64_t>(c.year) * 12 + (c.month - 1) + n;
  const int y = static_cast<int>(monthIndex / 12);
  const int m = static_cast<int>(monthIndex % 12) + 1;
  if (y < 100 || y > 9999) throw std::out_of_range("date out of range");
  const int d = std::min(c.day, DaysInMonth(y, m));
  return FromSerial(static_cast<int32_t>(DaysFromCivil(y, m, d) - kEpochOffset), secs_);
}

Date Date::endOfMonth() const {
  const Civil c = CivilFromDays(days_ + kEpochOffset);
  return *Make(c.year, c.month, DaysInMonth(c.year, c.month));
}

std::string Date::toText() const {
  const Civil c = CivilFromDays(days_ + kEpochOffset);
  char buf[40];
  if (secs_ == 0)
    std::snprintf(buf, sizeof buf, "%02d/%02d/%d", c.day, c.month, c.year);
  else
    std::snprintf(buf, sizeof buf, "%02d/%02d/%d %02d:%02d:%02d", c.day, c.month, c.year, hour(), minute(), second());
  return buf;
}

std::string Date::iso() const {
  const Civil c = CivilFromDays(days_ + kEpochOffset);
  char buf[40];
  if (secs_ == 0)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", c.year, c.month, c.day);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, hour(), minute(), second());
  return buf;
}

std::optional<Date> Date::ParseIso(std::string_view s) {
  bool ok = true;
  if (s.size() < 10 || s[4] != '-' || s[7] != '-') return std::nullopt;
  const int y = ParseDigits(s, 0, 4, ok);
  const int m = ParseDigits(s, 5, 2, ok);
  const int d = ParseDigits(s, 8, 2, ok);
  int hh = 0, mi = 0, ss = 0;
  if (s.size() > 10) {
    if ((s[10] != ' ' && s[10] != 'T') || s.size() < 16 || s[13] != ':') return std::nullopt;
    hh = ParseDigits(s, 11, 2, ok);
    mi = ParseDigits(s, 14, 2, ok);
    if (s.size() >= 19) {
      if (s[16] != ':') return std::nullopt;
      ss = ParseDigits(s, 17, 2, ok);
    }
  }
  if (!ok) return std::nullopt;
  return Make(y, m, d, hh, mi, ss);
}

}  // namespace util
