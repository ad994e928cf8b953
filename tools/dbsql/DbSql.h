#pragma once

#include <iosfwd>
#include <string>

#include "components/db/DbExecutor.h"

namespace dbsql {

// Runs the program's dialect read from `in`, one statement per line, on an
// open connection. A query prints its column names and then its rows, tab
// separated; any other statement prints the number of rows it changed.
// Blank lines and lines starting with "--" are skipped; "BEGIN", "COMMIT" and
// "ROLLBACK" drive a transaction; a line starting with "!" goes to the engine
// untranslated. An error prints "Errore(n): description" on `err` and the run
// goes on with the next line. Returns the number of errors.
int RunScript(db::DbExecutor& executor, const std::string& conn, std::istream& in, std::ostream& out,
              std::ostream& err);

// A value for a tab-separated line: null is empty; tabs, line breaks and
// backslashes are written \t, \n and \\.
std::string Cell(const util::Value& value);

}  // namespace dbsql
