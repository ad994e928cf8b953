// The clients of a host (the program, the batch front, `menuhost send`)
// against what they may find at the socket path, and `menuhost` against the
// command lines and files it is given.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

#include "components/host/SocketMenuHost.h"
#include "components/util/Error.h"
#include "tests/tools/menuhost/Aiuti.h"

namespace {

using namespace menuhost::prova;

const std::string kMenuhost = MENUHOST_EXE;

// The three clients, each trying instance "I1"; the error text each gave.
struct Tentativo {
  const char* cliente;
  std::function<std::string()> prova;
};

std::vector<Tentativo> Clienti() {
  auto dalProgramma = [](bool attacca) {
    return [attacca]() -> std::string {
      host::SocketMenuHost::Attese a;
      a.connessioneMs = 500;
      a.chiamataMs = 500;
      host::SocketMenuHost h(a);
      try {
        if (attacca)
          h.Attach("I1", "", "");
        else
          h.Collega("I1");
      } catch (const util::RuntimeError& e) {
        return std::to_string(e.number()) + " " + e.description();
      }
      return "";
    };
  };
  return {
      {"the program", dalProgramma(true)},
      {"the batch front", dalProgramma(false)},
      {"menuhost send",
       []() -> std::string {
         const Esito e = Esegui(kMenuhost + " send I1 esiste --wait 500");
         return e.rc == 3 ? "3 " + e.err : "";
       }},
  };
}

// A listening socket at a path, made by this process or, with uid >= 0, by a
// child that becomes that user before it listens (what the clients see
// through SO_PEERCRED). It counts the bytes any client sends it.
class Ascoltatore {
 public:
  Ascoltatore(const std::string& path, int uid) {
    int pronto[2], conta[2];
    if (::pipe(pronto) != 0 || ::pipe(conta) != 0) return;
    figlio_ = ::fork();
    if (figlio_ == 0) {
      ::close(conta[1]);
      ::close(pronto[0]);
      const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
      sockaddr_un addr{};
      addr.sun_family = AF_UNIX;
      std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
      ::unlink(path.c_str());
      if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) ::_exit(1);
      ::chmod(path.c_str(), 0666);
      if (uid >= 0 && (::setgid(static_cast<gid_t>(uid)) != 0 || ::setuid(static_cast<uid_t>(uid)) != 0)) ::_exit(2);
      ::listen(fd, 16);
      (void)!::write(pronto[1], "k", 1);
      long byte = 0;
      // Until the test closes its end of the count pipe.
      for (;;) {
        pollfd p[2] = {{fd, POLLIN, 0}, {conta[0], POLLIN, 0}};
        ::poll(p, 2, 100);
        if (p[1].revents) break;
        if (!(p[0].revents & POLLIN)) continue;
        const int c = ::accept(fd, nullptr, nullptr);
        pollfd q{c, POLLIN, 0};
        char buf[512];
        while (::poll(&q, 1, 300) == 1) {
          const ssize_t n = ::read(c, buf, sizeof buf);
          if (n <= 0) break;
          byte += n;
        }
        ::close(c);
      }
      (void)!::write(pronto[1], &byte, sizeof byte);
      ::_exit(0);
    }
    ::close(conta[0]);
    fine_ = conta[1];
    risposta_ = pronto[0];
    ::close(pronto[1]);
    char k;
    (void)!::read(risposta_, &k, 1);
  }
  // The bytes the clients sent; the listener ends.
  long Ricevuti() {
    ::close(fine_);
    long byte = -1;
    (void)!::read(risposta_, &byte, sizeof byte);
    ::waitpid(figlio_, nullptr, 0);
    ::close(risposta_);
    return byte;
  }

 private:
  pid_t figlio_ = -1;
  int fine_ = -1;
  int risposta_ = -1;
};

TEST(Impostori, EveryClientRefusesAFolderOrAListenerThatIsNotTheUsersAndSendsNothing) {
  const bool root = ::geteuid() == 0;
  struct Caso {
    const char* nome;
    std::function<void(const fs::path& base)> prepara;  // makes base/compensato
    int uidAscolto;                                     // -1: this user listens
    const char* motivo;
    bool soloRoot;
  } casi[] = {
      {"a folder others can write (planted under /tmp)",
       [](const fs::path& b) {
         fs::create_directory(b / "compensato");
         ::chmod((b / "compensato").c_str(), 0777);
       },
       -1, "accessibile ad altri", false},
      {"a symbolic link to a folder",
       [](const fs::path& b) {
         fs::create_directory(b / "vero");
         ::chmod((b / "vero").c_str(), 0700);
         fs::create_directory_symlink(b / "vero", b / "compensato");
       },
       -1, "collegamento simbolico", false},
      {"a folder of another user",
       [](const fs::path& b) {
         fs::create_directory(b / "compensato");
         ::chmod((b / "compensato").c_str(), 0700);
         (void)!::chown((b / "compensato").c_str(), 65534, 65534);
       },
       -1, "altro utente", true},
      {"our folder, a listener of another user",
       [](const fs::path& b) {
         fs::create_directory(b / "compensato");
         ::chmod((b / "compensato").c_str(), 0700);
       },
       65534, "altro utente", true},
  };
  for (const auto& c : casi) {
    if (c.soloRoot && !root) {
      ADD_FAILURE() << c.nome << ": needs root to play another user";
      continue;
    }
    for (const Tentativo& t : Clienti()) {
      Cartella cartella;
      c.prepara(cartella.dir);
      Ascoltatore a((cartella.dir / "compensato" / "menu-I1.sock").string(), c.uidAscolto);
      const std::string errore = t.prova();
      EXPECT_EQ(a.Ricevuti(), 0) << c.nome << ", " << t.cliente << ": nothing is sent";
      EXPECT_EQ(errore.rfind(t.cliente == std::string("menuhost send") ? "3 " : "5 ", 0), 0u)
          << c.nome << ", " << t.cliente << ": " << errore;
      EXPECT_NE(errore.find(c.motivo), std::string::npos) << c.nome << ", " << t.cliente << ": " << errore;
    }
  }
}

// A host that answers `menuhost send` with the lines of a case.
class HostFinto {
 public:
  explicit HostFinto(std::vector<std::string> righe) : righe_(std::move(righe)) {
    host::wire::PreparaCartellaSocket();
    ascolto_ = host::wire::ApriSocketInAscolto(host::wire::PercorsoSocket("F1"));
    thread_ = std::thread([this] {
      pollfd p{ascolto_, POLLIN, 0};
      if (::poll(&p, 1, 5000) != 1) return;
      host::wire::Canale ch(::accept(ascolto_, nullptr, nullptr));
      Fino(ch, 2000, [](const json&) { return true; });
      for (const std::string& r : righe_) Riga(ch.fd(), r);
    });
  }
  ~HostFinto() {
    thread_.join();
    ::close(ascolto_);
  }

 private:
  std::vector<std::string> righe_;
  int ascolto_ = -1;
  std::thread thread_;
};

TEST(MenuhostSend, RepliesOfAnyShapeEndItWithAStatusNeverACrash) {
  struct Caso {
    const char* nome;
    std::vector<std::string> righe;
    int rc;
    const char* out;
  } casi[] = {
      {"garbage, then the reply", {"{{x", R"({"type":null})", R"({"type":"controlReply","reply":"ok"})"}, 0, "ok\n"},
      {"an error that is a number", {R"({"type":"controlReply","error":5})"}, 1, ""},
      {"an error of the wrong kinds", {R"({"type":"controlReply","error":{"number":"x","description":3}})"}, 1, ""},
      {"a reply that is an object", {R"({"type":"controlReply","reply":{"a":1}})"}, 0, "{\"a\":1}\n"},
      {"junk and a hang-up", {R"({"type":1,"id":"q"})"}, 2, ""},
  };
  for (const auto& c : casi) {
    Cartella cartella;
    Esito e;
    {
      HostFinto h(c.righe);
      e = Esegui(kMenuhost + " send F1 esiste --wait 3000");
    }
    EXPECT_EQ(e.rc, c.rc) << c.nome << ": " << e.err;
    EXPECT_EQ(e.out, c.out) << c.nome;
  }
}

TEST(MenuhostRighe, CommandLinesAndFilesItCannotUseAreRefusedWithTheReason) {
  struct Caso {
    const char* nome;
    std::function<std::string(const fs::path& dir)> riga;  // the arguments, given the test's folder
    int rc;
    const char* motivo;
  } casi[] = {
      {"a wait that is not a number", [](const fs::path&) { return "send I1 fine --wait abc"; }, 64, "--wait"},
      {"a parameters file that is not there",
       [](const fs::path&) { return "run --params /nonexistent.ini -- /bin/true"; }, 66, "/nonexistent.ini"},
      {"program parameters without a program key",
       [](const fs::path& d) {
         std::ofstream(d / "p.ini") << "[Host]\nProgramParam=CONT01\n";
         return "run --params " + (d / "p.ini").string() + " --instance R1 -- /bin/true";
       },
       1, "ProgramKey"},
      {"a symbolic link for the folder",
       [](const fs::path& d) {
         fs::create_directory(d / "vero");
         fs::create_directory_symlink(d / "vero", d / "compensato");
         std::ofstream(d / "p.ini") << "[Host]\n";
         return "run --params " + (d / "p.ini").string() + " --instance R2 -- /bin/true";
       },
       1, "collegamento simbolico"},
  };
  for (const auto& c : casi) {
    Cartella cartella;
    const Esito e = Esegui(kMenuhost + " " + c.riga(cartella.dir));
    EXPECT_EQ(e.rc, c.rc) << c.nome << ": " << e.err;
    EXPECT_NE(e.err.find(c.motivo), std::string::npos) << c.nome << ": " << e.err;
  }
}

TEST(MenuhostRighe, APathTooLongIsRefusedBeforeTheFolderIsMade) {
  Cartella cartella;
  const fs::path profonda = cartella.dir / std::string(60, 'd');
  fs::create_directory(profonda);
  ::setenv("XDG_RUNTIME_DIR", profonda.c_str(), 1);
  const Esito e = Esegui(kMenuhost + " run --params " + cartella.Parametri("").string() + " --instance " +
                         std::string(64, 'a') + " -- /bin/true");
  EXPECT_EQ(e.rc, 1) << e.err;
  EXPECT_NE(e.err.find("troppo lungo"), std::string::npos) << e.err;
  EXPECT_FALSE(fs::exists(profonda / "compensato"));
}

}  // namespace
