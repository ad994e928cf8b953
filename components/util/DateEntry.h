#pragma once

#include <string>

#include "components/util/Date.h"

namespace util {

// Statuses of ValidateDate. The two negative ones mean "wrong"; the screens
// test for them and treat every other status as a valid entry.
inline constexpr int kDataVuota = 0;                       // empty, and allowed
inline constexpr int kDataValida = 1;                      // a full date as typed
inline constexpr int kDataCompletata = 2;                  // completed from a short entry
inline constexpr int kDataErrata = -2;                     // not a date (31/02, letters, ...)
inline constexpr int kDataRifiutata = Date::kEmptySerial;  // -657434: missing where required

// Options of ValidateDate.
inline constexpr int kDataFacoltativa = 0;   // an empty field is valid
inline constexpr int kDataObbligatoria = 1;  // an empty field is refused

// Checks and completes what the operator typed in a date field, rewriting the
// text as dd/mm/yyyy when it is a date. Separators are "/", "-", "." or
// blanks; missing parts come from the working date:
//
//   "15"        -> 15 of the working month and year
//   "153"       -> 15/03 of the working year   (ddm)
//   "1503"      -> 15/03 of the working year   (ddmm)
//   "15/3"      -> 15/03 of the working year
//   "150324"    -> 15/03/2024                  (ddmmyy)
//   "15032024"  -> 15/03/2024                  (ddmmyyyy)
//   "15/3/24"   -> 15/03/2024
//
// A two-digit year is 2000-2029 for 00-29 and 1900-1999 for 30-99. A day or
// month that does not exist, a year outside 100..9999, five or seven bare
// digits (ambiguous), or anything but digits and separators is refused with
// kDataErrata and left as typed. `messaggio` receives the reason of a
// refusal ("" when valid); `data` the date (the empty date when none).
int ValidateDate(std::string& testo, int opzione, const Date& dataLavoro, Date* data = nullptr,
                 std::string* messaggio = nullptr);

// The last day of the date's month, time of day dropped; the empty date stays
// empty.
Date EndOfMonth(const Date& d);

}  // namespace util
