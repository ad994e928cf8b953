// The program started by the real reference host on the demo company, as
// the operator would see it, on the offscreen platform.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

std::string Esegui(const std::string& cmd, int* rc = nullptr) {
  std::string out;
  FILE* p = ::popen(cmd.c_str(), "r");
  std::array<char, 512> buf{};
  while (p && std::fgets(buf.data(), buf.size(), p)) out += buf.data();
  const int s = p ? ::pclose(p) : -1;
  if (rc) *rc = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

std::string Leggi(const fs::path& f) {
  std::ifstream in(f);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class Sessione : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/e2e.XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::replace);
    ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int rc = 0;
    Esegui(std::string(DEMOCOMPANY_EXE) + " " + (dir_ / "demo.db").string() + " --params " +
               (dir_ / "params.ini").string() + " >/dev/null 2>&1",
           &rc);
    ASSERT_EQ(rc, 0);
  }
  void TearDown() override {
    if (host_ > 0) {
      ::kill(-host_, SIGKILL);
      ::waitpid(host_, nullptr, 0);
    }
    fs::remove_all(dir_);
  }

  void Avvia(const std::string& torvel) {
    std::ofstream(dir_ / "torvel.ini") << torvel;
    host_ = ::fork();
    if (host_ == 0) {
      ::setpgid(0, 0);
      const std::string log = (dir_ / "host.log").string();
      std::freopen(log.c_str(), "w", stderr);
      std::freopen("/dev/null", "w", stdout);
      ::execl(MENUHOST_EXE, MENUHOST_EXE, "run", "--params", (dir_ / "params.ini").c_str(), "--instance", "E2E",
              "--ini", (dir_ / "torvel.ini").c_str(), "--", COMPENSATO_EXE, static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::setpgid(host_, host_);
    gruppo_ = host_;
    // The program is up once it answers "esiste".
    for (int i = 0; i < 100; ++i) {
      if (Invia("esiste") == "true") return;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    FAIL() << "the program did not come up: " << Leggi(dir_ / "host.log");
  }

  std::string Invia(const std::string& comando, int* rc = nullptr) {
    return Esegui(std::string(MENUHOST_EXE) + " send E2E " + comando + " --wait 10000 2>/dev/null", rc);
  }

  // Waits for the host (and so the program) to end; its exit status, -1 on timeout.
  int Fine(int secondi) {
    for (int i = 0; i < secondi * 10; ++i) {
      int s = 0;
      if (::waitpid(host_, &s, WNOHANG) == host_) {
        host_ = -1;
        return WIFEXITED(s) ? WEXITSTATUS(s) : 128;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return -1;
  }

  fs::path dir_;
  pid_t host_ = -1;
  pid_t gruppo_ = -1;  // the host's process group, which its program joins
};

TEST_F(Sessione, StartsOpensTheScreenAnswersAndClosesOnFine) {
  Avvia("[Parametri Generali]\nOrdIniDBase=db.ini\n");
  EXPECT_EQ(Invia("ESISTE"), "true");
  EXPECT_EQ(Invia("paramprgclie"), "$Default$");
  Invia("preppassaa");
  EXPECT_NE(Leggi(dir_ / "host.log").find("finestra attiva \"Gestione Compensato\""), std::string::npos)
      << Leggi(dir_ / "host.log");
  int rc = -1;
  EXPECT_EQ(Invia("fine", &rc), "");
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(Fine(20), 0) << Leggi(dir_ / "host.log");
}

TEST_F(Sessione, AModalMessageOpenMakesFineAnswerMascheraModal) {
  // The parameter display asks for confirmation in a modal box that nobody answers.
  Avvia("[Parametri Generali]\nOrdIniDBase=db.ini\nVisParam=DB1\n");
  EXPECT_EQ(Invia("fine"), "Maschera Modal");
  EXPECT_EQ(Fine(1), -1) << "the program is still running";
}

TEST_F(Sessione, ASigtermToTheHostEndsTheProgramThroughFineAndRemovesTheSocket) {
  Avvia("[Parametri Generali]\nOrdIniDBase=db.ini\n");
  ::kill(host_, SIGTERM);
  EXPECT_EQ(Fine(20), 0) << "the program closed on \"fine\": " << Leggi(dir_ / "host.log");
  EXPECT_FALSE(fs::exists(dir_ / "compensato" / "menu-E2E.sock"));
  // By this session's process group: another test's session may be running
  // the same program at the same time.
  EXPECT_EQ(Esegui("pgrep -g " + std::to_string(gruppo_)), "") << "no program left behind";
}

}  // namespace
