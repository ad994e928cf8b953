#pragma once

#include <cstdint>
#include <span>

#include "components/util/Value.h"

namespace util {

// Readers of screen fields and loose values, Italian conventions: decimal
// comma, "." grouping thousands, dates dd/mm/yyyy. An empty or blank value
// reads as 0 or the empty date. A value that cannot be read gives the same 0
// or empty date and clears `valido` when the caller passes it: a field the
// operator typed wrong never stops the program.

// A number rounded to the integer half away from zero ("2,5" is 3), then
// fitted into 16 or 32 bits; out of range counts as unreadable.
int16_t ToInteger(const Value& v, bool* valido = nullptr);
int32_t ToLong(const Value& v, bool* valido = nullptr);
double ToNumber(const Value& v, bool* valido = nullptr);
Date ToDate(const Value& v, bool* valido = nullptr);

// The value as the type of the code (2 Integer, 3 Long, 5 Double, 6 Currency,
// 7 Date, 8 Text); a null, or a value that cannot be read as the type, gives
// the type's empty value (0, the empty date, "").
Value NzAs(const Value& v, int typeCode);

// True when the value is empty for its type: a null or a blank text for every
// type; for dates also the empty date 01/01/100. A number 0 is not empty: it
// is a value the operator or the database gave.
bool IsEmptyValue(const Value& v, int typeCode = 8);

// The smallest element; 0 for an empty array.
double MinOfArray(std::span<const double> values);

// The database error number behind a run-time error number. The database
// layer already raises the engine's numbers, so the number is its own.
inline int DbErrorNumber(int number) { return number; }

}  // namespace util
