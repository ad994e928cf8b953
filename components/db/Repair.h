#pragma once

#include <string>

namespace db {

// What a repair did: the result and, when it succeeded, where the damaged file
// was kept.
struct RepairResult {
  bool repaired = false;
  std::string kept;    // the damaged file, beside the repaired one
  std::string reason;  // why it could not be repaired
};

// Repairs a file database the engine refuses to open: a damaged file header
// is rewritten on a working copy, every table is copied into a new file and
// that file is checked before it takes the database's name; the damaged file
// stays beside it as "<name>.danneggiato" (numbered when that name is taken).
// Nothing is changed when any of that fails, nor for a server (ODBC) name:
// rows are never dropped to make a file open.
RepairResult RepairDatabase(const std::string& path);

}  // namespace db
