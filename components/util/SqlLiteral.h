#pragma once

#include <string>

#include "components/util/Value.h"

namespace util {

// The value as a complete SQL literal of the program's dialect, for the type
// code the caller names (2 Integer, 3 Long, 5 Double, 7 Date, 8 Text, 11
// Boolean): text in single quotes with quotes doubled, numbers with a '.',
// dates #mm/dd/yyyy# (with " hh:nn:ss" when there is a time of day), True and
// False. A null, and the empty text as a date, give Null. The database layer
// turns this dialect into each engine's own.
//
// Raises RuntimeError 13 (type mismatch) when the value cannot be read as the
// type, and for a text holding a NUL character: no engine stores it, and a
// statement cut short at it would mean something else.
std::string SqlLiteral(const Value& value, int typeCode);

}  // namespace util
