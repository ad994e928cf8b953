// The database layer as the program operators run is built: without the test
// hooks the kill switch is not there, whatever the environment says.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "components/db/KillHook.h"

namespace {

TEST(KillHookOff, TheVariableNeitherKillsNorCounts) {
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    setenv("COMPENSATO_DB_KILL_AT", "1", 1);
    for (int i = 0; i < 3; ++i) db::CountStatement();
    _exit(db::StatementCount() == 0 ? 0 : 1);
  }
  int stato = 0;
  ASSERT_EQ(waitpid(pid, &stato, 0), pid);
  ASSERT_FALSE(WIFSIGNALED(stato)) << "killed by signal " << WTERMSIG(stato);
  EXPECT_EQ(WEXITSTATUS(stato), 0) << "statements were counted";
}

}  // namespace
