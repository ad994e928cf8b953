#pragma once

// A session of the program under the real reference host on a fresh demo
// company, on the offscreen platform: the host's process group is the
// session's, so that a test can end it, kill its program or look for what it
// left running.
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
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/TestDatabase.h"

namespace e2e {

namespace fs = std::filesystem;

inline std::string Esegui(const std::string& cmd, int* rc = nullptr) {
  std::string out;
  FILE* p = ::popen(cmd.c_str(), "r");
  std::array<char, 512> buf{};
  while (p && std::fgets(buf.data(), buf.size(), p)) out += buf.data();
  const int s = p ? ::pclose(p) : -1;
  if (rc) *rc = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

inline std::string Leggi(const fs::path& f) {
  std::ifstream in(f);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class Sessione {
 public:
  explicit Sessione(testsupport::Engine engine = testsupport::Engine::Sqlite) {
    char tmpl[] = "/tmp/e2e.XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::replace);
    ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (engine == testsupport::Engine::Postgres) azienda_ = std::make_unique<testsupport::TestDatabase>(engine, false);
    nomeDb_ = azienda_ ? azienda_->name() : (dir_ / "demo.db").string();
    int rc = 0;
    const std::string out = Esegui(std::string(DEMOCOMPANY_EXE) + " '" + nomeDb_ + "' --force --params " +
                                       (dir_ / "params.ini").string() + " 2>&1",
                                   &rc);
    EXPECT_EQ(rc, 0) << out;
  }
  ~Sessione() {
    if (host_ > 0) {
      ::kill(-host_, SIGKILL);
      ::waitpid(host_, nullptr, 0);
    }
    fs::remove_all(dir_);
  }

  // Starts the host on the parameters file with the main configuration
  // `torvel`, launching `programma`; returns once the program answers.
  void Avvia(const std::string& torvel, const char* programma = COMPENSATO_EXE) {
    std::ofstream(dir_ / "torvel.ini") << torvel;
    host_ = ::fork();
    if (host_ == 0) {
      ::setpgid(0, 0);
      const std::string log = (dir_ / "host.log").string();
      std::freopen(log.c_str(), "a", stderr);
      std::freopen("/dev/null", "w", stdout);
      ::execl(MENUHOST_EXE, MENUHOST_EXE, "run", "--params", (dir_ / "params.ini").c_str(), "--instance", "E2E",
              "--ini", (dir_ / "torvel.ini").c_str(), "--", programma, static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::setpgid(host_, host_);
    gruppo_ = host_;
    for (int i = 0; i < 100; ++i) {
      if (Invia("esiste") == "true") return;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ADD_FAILURE() << "the program did not come up: " << Leggi(dir_ / "host.log");
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
  std::string nomeDb_;
  pid_t host_ = -1;
  pid_t gruppo_ = -1;                                   // the host's process group, which its program joins
  std::unique_ptr<testsupport::TestDatabase> azienda_;  // PostgreSQL: the company's schema
};

}  // namespace e2e
