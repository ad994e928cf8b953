#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace util {

// A calendar date with an optional time of day, counted as the suite has
// always counted it: day serial 0 is 30/12/1899, so 01/01/1900 is 2 and the
// empty date 01/01/100, the lowest date the type holds, is -657434.
// The empty date is the program's "no date" value; it is never stored.
class Date {
 public:
  static constexpr int32_t kEmptySerial = -657434;
  static constexpr int32_t kMaxSerial = 2958465;  // 31/12/9999

  // The empty date.
  constexpr Date() = default;

  // Exact calendar date; nullopt when the day does not exist or the year is
  // outside 100..9999.
  static std::optional<Date> Make(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
  // Calendar date that carries overflow: month 13 is January of the next year,
  // day 32 of January is 1 February, day 0 is the last day of the month before.
  // Throws std::out_of_range when the result leaves the type's range.
  static Date Carry(int year, int month, int day);
  static Date FromSerial(int32_t days, int32_t secondsOfDay = 0);
  // The fractional serial of the older automation interfaces (days + day fraction).
  static Date FromOleSerial(double serial);
  static Date Today();
  static Date Now();

  int32_t serial() const { return days_; }
  int32_t secondsOfDay() const { return secs_; }
  double oleSerial() const;
  bool isEmpty() const { return days_ == kEmptySerial && secs_ == 0; }
  bool hasTime() const { return secs_ != 0; }

  int year() const;
  int month() const;
  int day() const;
  int hour() const { return secs_ / 3600; }
  int minute() const { return secs_ / 60 % 60; }
  int second() const { return secs_ % 60; }

  Date dateOnly() const { return FromSerial(days_); }
  Date addDays(int32_t n) const;
  // Keeps the day, clamped to the last day of a shorter month.
  Date addMonths(int32_t n) const;
  Date endOfMonth() const;

  // "dd/mm/yyyy", with " hh:mm:ss" when there is a time of day. The year is
  // not padded, so the empty date reads "01/01/100".
  std::string toText() const;
  // "yyyy-mm-dd", with " hh:mm:ss" when there is a time; the database form.
  std::string iso() const;
  // Accepts "yyyy-mm-dd", "yyyy-mm-dd hh:mm[:ss[.fff]]" and a "T" separator.
  static std::optional<Date> ParseIso(std::string_view text);

  friend constexpr auto operator<=>(const Date&, const Date&) = default;

 private:
  constexpr Date(int32_t days, int32_t secs) : days_(days), secs_(secs) {}
  int32_t days_ = kEmptySerial;
  int32_t secs_ = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

}  // namespace util
