#pragma once

namespace db {

// Test hook for crash tests: with COMPENSATO_DB_KILL_AT=N in the environment,
// the Nth statement this process sends to an engine (statements, cursor
// opens, row writes, BEGIN/COMMIT/ROLLBACK and savepoints alike) kills the
// process with SIGKILL before it runs. Without the variable it costs one
// comparison.
void CountStatement();

// The statements counted so far (only while the variable is set: a value
// larger than any run counts without killing).
long StatementCount();

}  // namespace db
