#pragma once

#include <string_view>

namespace db {

// Test hook for crash tests, built only with COMPENSATO_TEST_HOOKS: with
// COMPENSATO_DB_KILL_AT=N in the environment, the Nth statement this process
// sends to an engine (statements, cursor opens, row writes,
// BEGIN/COMMIT/ROLLBACK and savepoints alike) kills the process with SIGKILL
// before it runs. Without the variable it costs one comparison; without the
// build option it does nothing and the variable is never read.
void CountStatement();

// The statements counted so far (only while the variable is set: a value
// larger than any run counts without killing). Always 0 without the build
// option.
long StatementCount();

// Test hook for tests of concurrent processes, built only with
// COMPENSATO_TEST_HOOKS: with COMPENSATO_DB_STOP_ON=<text> in the environment,
// the first statement of the program's dialect containing the text stops the
// process (SIGSTOP) before it runs, so a test can act while the process is
// held mid-run and then let it go on (SIGCONT) or kill it.
void StopHook(std::string_view sql);

}  // namespace db
