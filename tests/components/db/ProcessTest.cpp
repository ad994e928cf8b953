#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "components/db/DbCursor.h"
#include "tests/support/TestDatabase.h"

namespace {

using testsupport::DbTest;

struct Child {
  pid_t pid = -1;
  int out = -1;
};

// Variables to set in a child's environment; an empty value removes one.
using Environment = std::vector<std::pair<std::string, std::string>>;

// Runs db_reserve_child with its output on a pipe; `killAt` arms the kill hook.
Child Start(const std::vector<std::string>& args, int killAt = 0, const Environment& env = {}) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    if (killAt > 0) setenv("COMPENSATO_DB_KILL_AT", std::to_string(killAt).c_str(), 1);
    for (const auto& [name, value] : env)
      if (value.empty())
        unsetenv(name.c_str());
      else
        setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv;
    std::string exe = COMPENSATO_RESERVE_CHILD;
    argv.push_back(exe.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(exe.c_str(), argv.data());
    _exit(127);
  }
  close(fds[1]);
  return {pid, fds[0]};
}

// Exit status and printed output.
std::pair<int, std::string> Wait(const Child& c) {
  std::string out;
  char buf[256];
  ssize_t n;
  while ((n = read(c.out, buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
  close(c.out);
  int status = 0;
  waitpid(c.pid, &status, 0);
  return {status, out};
}

class ProcessTest : public DbTest {
 protected:
  void Fixture(int rows) {
    ex().Execute(conn(), "INSERT INTO PagTipi (PagTipo, EmissEffetti) VALUES ('RB', 'S')");
    ex().Execute(conn(), "INSERT INTO Monete (Moneta, Descrizione) VALUES ('EUR', 'Euro')");
    ex().BeginTrans(conn());
    for (int i = 1; i <= rows; ++i)
      ex().Execute(conn(), "INSERT INTO Scadenze (Anno, NumProg, Tipo, PagTipo, Moneta, ImportoScad) VALUES (2024, " +
                               std::to_string(i) + ", 3, 'RB', 'EUR', 10)");
    ex().CommitTrans(conn());
  }
  long Reserved(const std::string& user) {
    db::DbCursor c;
    const std::string k =
        c.Open(ex(), conn(), "", "Select count(*) as n from Scadenze where Utente = '" + user + "' and FlStato = '0'",
               false, db::kSnapshot);
    return c.GetField(k, "n").toLong();
  }
};

TEST_P(ProcessTest, TwoOperatorsReservingOverlappingInstallmentsGetDisjointSets) {
  Fixture(200);
  for (int round = 0; round < 2; ++round) {
    ex().Execute(conn(), "UPDATE Scadenze SET Utente = Null, FlStato = Null");
    // A walks 1..150 and B 51..200 at the same time; rows 51..150 are wanted by both.
    const bool tx = round == 1;
    std::vector<std::string> a = {db().name(), "anna~1", "1", "150"}, b = {db().name(), "bruno~2", "51", "200"};
    if (tx) a.push_back("tx"), b.push_back("tx");
    const Child ca = Start(a), cb = Start(b);
    const auto [sa, outA] = Wait(ca);
    const auto [sb, outB] = Wait(cb);
    ASSERT_TRUE(WIFEXITED(sa) && WEXITSTATUS(sa) == 0) << outA;
    ASSERT_TRUE(WIFEXITED(sb) && WEXITSTATUS(sb) == 0) << outB;
    const long gotA = std::atol(outA.c_str()), gotB = std::atol(outB.c_str());
    // Each row went to exactly one of them: nobody overwrote the other's reservation.
    EXPECT_EQ(gotA + gotB, 200) << "round " << round;
    EXPECT_EQ(Reserved("anna~1"), gotA);
    EXPECT_EQ(Reserved("bruno~2"), gotB);
    EXPECT_GE(gotA, 50);
    EXPECT_GE(gotB, 50);
  }
}

TEST_P(ProcessTest, KillHookStopsTheProcessBeforeTheNthStatementAndNothingHalfDoneRemains) {
  Fixture(20);
  // Statements of the child inside its transaction: BEGIN, then one reserve per
  // block of five. Killed before the third: BEGIN and one reserve ran, uncommitted.
  const Child c = Start({db().name(), "carla~3", "1", "20", "tx"}, 3);
  const auto [status, out] = Wait(c);
  ASSERT_TRUE(WIFSIGNALED(status)) << out;
  EXPECT_EQ(WTERMSIG(status), SIGKILL);
  EXPECT_EQ(Reserved("carla~3"), 0);
  // The file or the server took no harm: the same work completes afterwards.
  const auto [status2, out2] = Wait(Start({db().name(), "carla~3", "1", "20", "tx"}));
  ASSERT_TRUE(WIFEXITED(status2) && WEXITSTATUS(status2) == 0);
  EXPECT_EQ(std::atol(out2.c_str()), 20);
  EXPECT_EQ(Reserved("carla~3"), 20);
}

// A user identity's live mark: seen by every connection while its holder
// runs, from this process and from others; gone once released, and gone the
// moment a holding process is killed.
TEST_P(ProcessTest, LiveMarkLastsAsLongAsItsHolder) {
  db::DbExecutor altro;
  const std::string c2 = db().OpenAnother(altro);
  EXPECT_EQ(ex().LiveMarkHeld(conn(), "MARIO~A"), std::optional<bool>(false));

  ASSERT_TRUE(ex().HoldLiveMark(conn(), "MARIO~A"));
  EXPECT_EQ(ex().LiveMarkHeld(conn(), "MARIO~A"), std::optional<bool>(true));
  EXPECT_EQ(altro.LiveMarkHeld(c2, "MARIO~A"), std::optional<bool>(true));
  EXPECT_EQ(altro.LiveMarkHeld(c2, "MARIO~B"), std::optional<bool>(false));
  ex().ReleaseLiveMark(conn(), "MARIO~A");
  EXPECT_EQ(altro.LiveMarkHeld(c2, "MARIO~A"), std::optional<bool>(false));

  const Child figlio = Start({db().name(), "MARIO~K", "live"});
  char pronto = 0;
  ASSERT_EQ(read(figlio.out, &pronto, 1), 1);
  ASSERT_EQ(pronto, '1');
  EXPECT_EQ(ex().LiveMarkHeld(conn(), "MARIO~K"), std::optional<bool>(true));
  kill(figlio.pid, SIGKILL);
  Wait(figlio);
  // The server ends the killed client's session as soon as it reads the
  // closed socket; give it a moment.
  std::optional<bool> vivo;
  for (int i = 0; i < 100; ++i) {
    vivo = ex().LiveMarkHeld(conn(), "MARIO~K");
    if (vivo == std::optional<bool>(false)) break;
    usleep(50 * 1000);
  }
  EXPECT_EQ(vivo, std::optional<bool>(false));
}

namespace fs = std::filesystem;

// The driver's section of a registration file, without its log entries.
std::string DriverSectionWithoutLogs(const fs::path& file) {
  std::ifstream in(file);
  std::string line, out;
  bool inSection = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '[') {
      inSection = line.rfind("[PostgreSQL Unicode]", 0) == 0;
      continue;
    }
    const std::string key = line.substr(0, line.find_first_of(" \t="));
    if (inSection && key != "CommLog" && key != "Debug" && key != "Logdir") out += line + "\n";
  }
  return out;
}

// The driver's log files in `folder`, with their sizes.
std::map<std::string, uintmax_t> DriverLogs(const fs::path& folder) {
  std::map<std::string, uintmax_t> found;
  for (const auto& f : fs::directory_iterator(folder)) {
    const std::string name = f.path().filename().string();
    if (name.rfind("psqlodbc_", 0) == 0 || name.rfind("mylog_", 0) == 0) found[name] = fs::file_size(f.path());
  }
  return found;
}

// What process `pid` wrote to the driver's logs in `folder`, given the files
// before it ran (a process of the same number may have left one earlier).
std::vector<std::string> WrittenBy(pid_t pid, const fs::path& folder, const std::map<std::string, uintmax_t>& before) {
  const passwd* user = getpwuid(getuid());
  const std::string ofPid = (user ? user->pw_name : "") + std::to_string(pid) + ".log";
  std::vector<std::string> written;
  for (const auto& [name, size] : DriverLogs(folder)) {
    const auto was = before.find(name);
    const bool ends = name.size() > ofPid.size() && name.compare(name.size() - ofPid.size(), ofPid.size(), ofPid) == 0;
    if (ends && (was == before.end() || was->second != size)) written.push_back(name);
  }
  return written;
}

// Debian registers the PostgreSQL driver with its communication log on, and
// the driver falls back to the registration once no connection is open: a
// process that opened a company used to leave a log file behind at its last
// disconnect, whatever its connection said.
TEST(DriverLogs, AProcessLeavesNoDriverLogUnlessItsConnectionAsksForOne) {
  if (std::getenv("COMPENSATO_TEST_PG") == nullptr) GTEST_SKIP() << "PostgreSQL not configured";
  testsupport::TestDatabase company(testsupport::Engine::Postgres);
  const fs::path dir = fs::temp_directory_path() / ("compensato-driverlog-" + std::to_string(getpid()));
  const fs::path logs = dir / "log";
  fs::create_directories(logs);
  // A registration with both logs on, written to a folder of the test's own.
  const char* installed = std::getenv("ODBCSYSINI");
  const fs::path registration = installed ? installed : "/etc";
  {
    std::ofstream reg(dir / "odbcinst.ini");
    reg << "[PostgreSQL Unicode]\n"
        << DriverSectionWithoutLogs(registration / "odbcinst.ini") << "CommLog=1\nDebug=1\nLogdir=" << logs.string()
        << "\n";
  }
  if (fs::exists(registration / "odbc.ini") && !fs::exists(dir / "odbc.ini"))
    fs::create_symlink(registration / "odbc.ini", dir / "odbc.ini");

  struct Case {
    const char* name;
    std::string database;
    bool ownRegistration;  // false: the registration as installed, logs in /tmp
    bool logsWanted;
  };
  const Case cases[] = {
      {"registration with the logs on", company.name(), true, false},
      {"connection asking for the logs", company.name() + ";CommLog=1;Debug=1", true, true},
      {"registration as installed", company.name(), false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path folder = c.ownRegistration ? logs : fs::path("/tmp");
    const auto before = DriverLogs(folder);
    const Environment env = {{"ODBCSYSINI", c.ownRegistration ? dir.string() : (installed ? installed : "")}};
    const Child child = Start({c.database, "open"}, 0, env);
    const auto [status, out] = Wait(child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
    const auto left = WrittenBy(child.pid, folder, before);
    EXPECT_EQ(!left.empty(), c.logsWanted) << (left.empty() ? "" : left.front());
  }
  fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Db, ProcessTest, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
