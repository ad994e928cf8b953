#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "components/host/Protocollo.h"

namespace menuhost::prova {

using host::wire::json;
namespace fs = std::filesystem;

// A folder of its own for the sockets of one test.
struct Cartella {
  Cartella() {
    char tmpl[] = "/tmp/menuhost.XXXXXX";
    dir = ::mkdtemp(tmpl);
    ::chmod(dir.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  ~Cartella() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  fs::path Parametri(const std::string& host) const {
    const fs::path f = dir / "params.ini";
    std::ofstream(f) << "[Host]\nOperatorName=MARIO\nProgramId=Compensa\n" << host << "[Azienda]\nNomeDBAzie=demo\n";
    return f;
  }
  fs::path dir;
};

struct Esito {
  int rc = -1;
  std::string out, err;
};

// Runs a shell command line; its exit status, standard output and error.
inline Esito Esegui(const std::string& cmd) {
  const fs::path err = fs::temp_directory_path() / ("menuhost-err." + std::to_string(::getpid()));
  Esito e;
  FILE* p = ::popen((cmd + " 2>" + err.string()).c_str(), "r");
  std::array<char, 512> buf{};
  while (p && std::fgets(buf.data(), buf.size(), p)) e.out += buf.data();
  const int s = p ? ::pclose(p) : -1;
  e.rc = WIFEXITED(s) ? WEXITSTATUS(s) : 128 + WTERMSIG(s);
  std::ifstream in(err);
  std::stringstream ss;
  ss << in.rdbuf();
  e.err = ss.str();
  fs::remove(err);
  return e;
}

// Writes a raw line, as a hand-written or broken peer would.
inline void Riga(int fd, const std::string& text, bool accapo = true) {
  const std::string line = accapo ? text + "\n" : text;
  size_t sent = 0;
  while (sent < line.size()) {
    const ssize_t n = ::send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno != EAGAIN && errno != EINTR) return;
    if (n <= 0) {
      pollfd p{fd, POLLOUT, 0};
      if (::poll(&p, 1, 2000) <= 0) return;
      continue;
    }
    sent += static_cast<size_t>(n);
  }
}

// The messages that arrive until one satisfies the test, or ms pass.
template <class F>
std::vector<json> Fino(host::wire::Canale& ch, int ms, F basta) {
  std::vector<json> got;
  const auto fine = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < fine) {
    while (auto m = ch.Prossimo()) {
      got.push_back(*m);
      if (basta(*m)) return got;
    }
    if (!ch.aperto()) break;
    ch.Attendi(
        static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(fine - std::chrono::steady_clock::now()).count()) +
        1);
  }
  return got;
}

}  // namespace menuhost::prova
