#pragma once

#include <string>

#include "components/db/DbCursor.h"
#include "components/util/Value.h"

namespace compensato {

// Optional fields of a row being written through a cursor: an empty value
// instead of the placeholder the program holds for "none", so that the
// stored row says "none" too.

// What an optional date or number is stored as: the empty date "01/01/100"
// and the number 0 as an empty value, anything else as it is. Optional
// numbers (a protocol number) so stay empty rather than zero.
util::Value DataOpzionale(const util::Value& value);
util::Value NumeroOpzionale(const util::Value& value);

// A date, as DataOpzionale stores it.
void ScriviData(db::DbCursor& cursor, const std::string& key, const std::string& column, const util::Value& value);
// A number, as NumeroOpzionale stores it.
void ScriviNumero(db::DbCursor& cursor, const std::string& key, const std::string& column, const util::Value& value);

}  // namespace compensato
