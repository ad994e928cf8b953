#pragma once

#include <string>
#include <string_view>

#include "components/util/Date.h"
#include "components/util/Value.h"

namespace util {

// Display masks of the screens.
//
// Number masks: an integer part of '#', '0' and ',' and, after a '.', a
// decimal part of '^', '0' and '#'. A ',' anywhere in the integer part groups
// thousands with "."; each '0' there is a digit always shown, and the integer
// part always shows at least one digit (0 is "0", never blank). In the
// decimal part '^' and '0' are places always shown and '#' places shown only
// when not a trailing zero. The decimal separator shown is ",". The value is
// first rounded half away from zero to the places of the mask.
//
//   "#,###"        1234567.5  -> "1.234.568"
//   "#,###.^^"     -1234.5    -> "-1.234,50"
//   "#,###.^^^^^^" 1936.27    -> "1.936,270000"   (exchange rates)
//   "0"            1234.5     -> "1235"
//   "#,##0.##"     1234.5     -> "1.234,5"
//
// Date masks hold "d", "dd", "m", "mm", "yy", "yyyy" and "hh", "nn", "ss"
// (any case; "mm" right after an hour is minutes); other characters are
// copied: "dd/mm/yyyy" -> "05/03/2024". The empty date shows as "".

// The mask of an amount with `decimals` places: the base, then "." and that
// many `fill` characters ("#,###", 2 -> "#,###.^^"); no decimal part for 0.
std::string BuildNumberMask(int decimals, std::string_view base = "#,###", char fill = '^');

std::string FormatNumber(double value, std::string_view mask);
std::string FormatDate(const Date& date, std::string_view mask = "dd/mm/yyyy");

// A value through a mask: a null or blank value shows as ""; a date, or any
// value under a date mask, as a date; a number as a number. A text that is
// not a number under a number mask comes back as it is.
std::string FormatValue(const Value& value, std::string_view mask);

bool IsDateMask(std::string_view mask);

}  // namespace util
