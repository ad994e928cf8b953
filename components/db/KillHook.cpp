#include "components/db/KillHook.h"

#ifdef COMPENSATO_TEST_HOOKS

#include <atomic>
#include <csignal>
#include <cstdlib>

namespace db {
namespace {

long KillAt() {
  const char* v = std::getenv("COMPENSATO_DB_KILL_AT");
  return v ? std::atol(v) : 0;
}

// Process-wide on purpose: the hook counts what the process does, whatever
// executor or connection it goes through.
std::atomic<long> count{0};

}  // namespace

void CountStatement() {
  static const long killAt = KillAt();
  if (killAt <= 0) return;
  if (++count == killAt) std::raise(SIGKILL);
}

long StatementCount() { return count.load(); }

void StopHook(std::string_view sql) {
  static const char* const testo = std::getenv("COMPENSATO_DB_STOP_ON");
  static std::atomic<bool> fermato{false};
  if (!testo || !*testo || fermato.load()) return;
  if (sql.find(testo) == std::string_view::npos || fermato.exchange(true)) return;
  std::raise(SIGSTOP);
}

}  // namespace db

#else

namespace db {

void CountStatement() {}
long StatementCount() { return 0; }
void StopHook(std::string_view) {}

}  // namespace db

#endif
