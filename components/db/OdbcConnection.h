#pragma once

#include <memory>
#include <string>

#include "components/db/Connection.h"

namespace db {

struct OdbcOptions {
  std::string connect;  // ODBC connection string (DSN=...;UID=...;PWD=... or FILEDSN=...)
  bool readOnly = false;
};

// An ODBC data source: PostgreSQL through its ODBC driver, or a SQL Server
// (recognised, for the isolation statements of the callers). Raises 3059 when
// the login is refused, 3022 on a duplicate key, 3960 on a serialization
// failure, 3961 on a deadlock, 3218 when a lock is not available or its wait
// ran out, and 3146 for any other failure of the source.
std::unique_ptr<Connection> OpenOdbc(const OdbcOptions& options);

}  // namespace db
