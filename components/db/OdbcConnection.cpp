#include "components/db/OdbcConnection.h"

#include "components/util/Error.h"

namespace db {

std::unique_ptr<Connection> OpenOdbc(const OdbcOptions&) {
  throw util::RuntimeError(util::err::kOdbcCallFailed, "ODBC non ancora disponibile", "DbExecutor");
}

}  // namespace db
