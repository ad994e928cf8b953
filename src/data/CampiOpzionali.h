#pragma once

#include <string>

#include "components/db/DbCursor.h"
#include "components/util/Value.h"

namespace compensato {

// Optional fields of a row being written through a cursor: an empty value
// instead of the placeholder the program holds for "none", so that the
// stored row says "none" too.

// A date; the empty date "01/01/100" is stored as an empty value.
void ScriviData(db::DbCursor& cursor, const std::string& key, const std::string& column, const util::Value& value);
// A number; 0 is stored as an empty value, so optional numbers (a protocol
// number) stay empty rather than zero.
void ScriviNumero(db::DbCursor& cursor, const std::string& key, const std::string& column, const util::Value& value);

}  // namespace compensato
