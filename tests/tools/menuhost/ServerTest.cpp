// The reference host against clients that misbehave: it logs, answers what
// can be answered, drops what cannot, and keeps serving everyone else.
#include "tools/menuhost/Server.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <iterator>
#include <memory>
#include <sstream>
#include <thread>

#include "components/host/SocketMenuHost.h"
#include "components/util/Error.h"
#include "tests/tools/menuhost/Aiuti.h"

namespace {

using namespace menuhost::prova;

// A host serving on a thread, with a launched "program" that only sleeps:
// the test's own clients play the program and the command-line tools.
class MenuInEsecuzione : public ::testing::Test {
 protected:
  void SetUp() override {
    menuhost::Parametri par;
    par.file = cartella_.Parametri("").string();
    server_ = std::make_unique<menuhost::Server>(par, "S1");
    figlio_ = server_->Lancia({"/bin/sh", "-c", "exec sleep 60"});
    thread_ = std::thread([this] { server_->Servi(); });
  }
  void TearDown() override {
    ::kill(figlio_, SIGKILL);
    thread_.join();
    server_.reset();
  }

  host::wire::Canale Client() {
    return host::wire::Canale(host::wire::ConnettiMenu(host::wire::PercorsoSocket("S1"), 1000), "test");
  }
  // The token the host gave the program it launched (once it has exec'd).
  std::string Token() { return Token(figlio_); }
  static std::string Token(pid_t figlio) {
    const std::string nome = std::string(host::SocketMenuHost::kVariabileToken) + "=";
    for (int i = 0; i < 200; ++i) {
      std::ifstream in("/proc/" + std::to_string(figlio) + "/environ");
      std::string var;
      while (std::getline(in, var, '\0'))
        if (var.rfind(nome, 0) == 0) return var.substr(nome.size());
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "";
  }
  static json Chiamata(int id, const std::string& op, json args = json::array()) {
    return {{"type", "call"}, {"id", id}, {"op", op}, {"args", std::move(args)}};
  }
  static bool Risultato(const json& m, int id) { return m.value("type", "") == "result" && m["id"] == id; }
  static json Attendi(host::wire::Canale& ch, int id, int ms = 2000) {
    const auto got = Fino(ch, ms, [id](const json& m) { return Risultato(m, id); });
    return !got.empty() && Risultato(got.back(), id) ? got.back() : json();
  }
  // The program: attached with the launch's token.
  host::wire::Canale Programma(const std::string& istanza = "S1", pid_t figlio = 0) {
    host::wire::Canale p(host::wire::ConnettiMenu(host::wire::PercorsoSocket(istanza), 1000), "test");
    json a = Chiamata(1, "Attach", {istanza, "", ""});
    a["token"] = Token(figlio ? figlio : figlio_);
    p.Invia(a);
    EXPECT_EQ(Attendi(p, 1).value("result", json()), 0) << "the launched program attaches";
    return p;
  }

  Cartella cartella_;
  std::unique_ptr<menuhost::Server> server_;
  pid_t figlio_ = -1;
  std::thread thread_;
};

TEST_F(MenuInEsecuzione, MalformedLinesAreLoggedAnsweredAndTheHostServesOn) {
  struct Caso {
    const char* nome;
    const char* riga;
    const char* risposta;  // "result" (an error result with id 3), "control" (an error controlReply), "" none
    const char* segno;     // what the log shows of it
  } casi[] = {
      {"type null", R"({"type":null})", "", R"("type":null)"},
      {"type a number", R"({"type":1})", "", R"("type":1)"},
      {"type a number, with an id", R"({"type":1,"id":3})", "result", R"("id":3)"},
      {"call whose op is a number", R"({"type":"call","id":3,"op":7})", "result", R"("op":7)"},
      {"call whose args are an object", R"({"type":"call","id":3,"op":"GetParameter","args":{"a":1}})", "result",
       R"({"a":1})"},
      {"call without id", R"({"type":"call","op":"ProgramId"})", "", R"("op":"ProgramId")"},
      {"control whose secondaryKey is a number", R"({"type":"control","command":"esiste","secondaryKey":5})", "control",
       R"("secondaryKey":5)"},
      {"control whose parameter is an object", R"({"type":"control","command":"esiste","parameter":{"x":1}})",
       "control", R"({"x":1})"},
      {"reply whose id is a text", R"({"type":"reply","id":"abc","reply":""})", "", R"("id":"abc")"},
      {"not JSON", "{{{ nonsense", "", "{{{ nonsense"},
  };
  host::wire::Canale programma = Programma();
  for (const auto& c : casi) {
    testing::internal::CaptureStderr();
    host::wire::Canale ch = Client();
    Riga(ch.fd(), c.riga);
    ch.Invia(Chiamata(99, "ProgramId"));
    const auto got = Fino(ch, 2000, [](const json& m) { return Risultato(m, 99); });
    const std::string log = testing::internal::GetCapturedStderr();
    ASSERT_FALSE(got.empty()) << c.nome << ": the host went: " << log;
    EXPECT_EQ(got.back().value("result", json()), "Compensa") << c.nome << ": the host still serves";
    const std::string atteso = c.risposta;
    bool errore = false;
    for (const auto& m : got) {
      if (atteso == "result") errore = errore || (Risultato(m, 3) && m.contains("error"));
      if (atteso == "control") errore = errore || (m.value("type", "") == "controlReply" && m.contains("error"));
    }
    EXPECT_EQ(errore, !atteso.empty()) << c.nome;
    EXPECT_EQ(got.size(), atteso.empty() ? 1u : 2u) << c.nome;
    EXPECT_NE(log.find(c.segno), std::string::npos) << c.nome << ": " << log;
    EXPECT_NE(log.find("client"), std::string::npos) << c.nome << ": the log names the peer: " << log;
  }
  // None of it reached the program.
  EXPECT_TRUE(Fino(programma, 100, [](const json&) { return true; }).empty());
}

// Every host of the user counts the operator's programs attached to any of
// them; another operator's do not count, a program that goes away stops
// counting, and a mark left by a dead host is neither counted nor kept.
TEST_F(MenuInEsecuzione, CountRunningContaIProgrammiDiOgniMenu) {
  struct AltroMenu {
    std::unique_ptr<menuhost::Server> server;
    pid_t figlio = -1;
    std::thread thread;
    ~AltroMenu() {
      ::kill(figlio, SIGKILL);
      if (thread.joinable()) thread.join();
    }
  };
  auto avvia = [&](AltroMenu& m, const std::string& istanza, const std::string& operatore) {
    const fs::path f = cartella_.dir / ("params-" + istanza + ".ini");
    std::ofstream(f) << "[Host]\nOperatorName=" << operatore << "\nProgramId=Compensa\n[Azienda]\nNomeDBAzie=demo\n";
    menuhost::Parametri par;
    par.file = f.string();
    m.server = std::make_unique<menuhost::Server>(par, istanza);
    m.figlio = m.server->Lancia({"/bin/sh", "-c", "exec sleep 60"});
    m.thread = std::thread([&m] { m.server->Servi(); });
  };
  host::SocketMenuHost batch;
  batch.Collega("S1");
  host::wire::Canale programma = Programma();
  EXPECT_EQ(batch.CountRunning("x", 12), 1);

  AltroMenu stesso, altro;
  avvia(stesso, "S2", "MARIO");
  avvia(altro, "S3", "ANNA");
  auto secondo = std::make_unique<host::wire::Canale>(Programma("S2", stesso.figlio));
  host::wire::Canale terzo = Programma("S3", altro.figlio);
  EXPECT_EQ(batch.CountRunning("x", 12), 2) << "both of MARIO's programs, not ANNA's";
  host::SocketMenuHost dalSecondo;
  dalSecondo.Collega("S2");
  EXPECT_EQ(dalSecondo.CountRunning("x", 12), 2) << "the same from the other host";

  // A mark whose host died holds no lock: not counted, and cleaned away.
  const fs::path morto = fs::path(host::wire::CartellaSocket()) / "prog-4d4152494f-5339-1-1";
  std::ofstream(morto) << "";
  EXPECT_EQ(batch.CountRunning("x", 12), 2);
  EXPECT_FALSE(fs::exists(morto));

  secondo.reset();
  for (int i = 0; i < 100 && batch.CountRunning("x", 12) != 1; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(batch.CountRunning("x", 12), 1) << "a program that went away stops counting";
}

TEST_F(MenuInEsecuzione, CommandsGoOnlyToTheProgramItLaunched) {
  host::wire::Canale impostore = Client();
  impostore.Invia(Chiamata(1, "Attach", {"S1", "", ""}));
  EXPECT_TRUE(Attendi(impostore, 1).contains("error")) << "no token, not the launched process";

  host::wire::Canale send = Client();
  send.Invia({{"type", "control"}, {"command", "esiste"}});
  auto got = Fino(send, 2000, [](const json& m) { return m.value("type", "") == "controlReply"; });
  ASSERT_FALSE(got.empty());
  EXPECT_TRUE(got.back().contains("error")) << "no program is attached yet";

  // The batch front links without attaching: it is no program of the host.
  host::SocketMenuHost batch;
  batch.Collega("S1");
  EXPECT_EQ(batch.CountRunning("x", 12), 0);

  host::wire::Canale programma = Programma();
  EXPECT_EQ(batch.CountRunning("x", 12), 1);
  send.Invia({{"type", "control"}, {"command", "esiste"}});
  got = Fino(programma, 2000, [](const json& m) { return m.value("type", "") == "event"; });
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back()["command"], "esiste");
  programma.Invia({{"type", "reply"}, {"id", got.back()["id"]}, {"reply", true}});
  got = Fino(send, 2000, [](const json& m) { return m.value("type", "") == "controlReply"; });
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.back()["reply"], true);
  EXPECT_TRUE(Fino(impostore, 100, [](const json&) { return true; }).empty()) << "the impostor heard nothing";
}

TEST_F(MenuInEsecuzione, AClientThatDoesNotReadStallsNobody) {
  host::wire::Canale lento = Client();
  std::string calls;
  for (int i = 0; i < 8000; ++i) calls += Chiamata(1000 + i, "ProgramId").dump() + "\n";
  Riga(lento.fd(), calls, false);  // and never reads its results
  host::wire::Canale altro = Client();
  altro.Invia(Chiamata(5, "OperatorName"));
  EXPECT_EQ(Attendi(altro, 5, 2000).value("result", json()), "MARIO");
}

TEST_F(MenuInEsecuzione, AnOverlongLineDropsThatClientAndOnlyIt) {
  host::wire::Canale grande = Client();
  testing::internal::CaptureStderr();
  Riga(grande.fd(), std::string(2 << 20, 'x'), false);
  Fino(grande, 2000, [](const json&) { return false; });
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(grande.aperto()) << "the host hung up";
  EXPECT_NE(log.find("MiB"), std::string::npos) << log;
  host::wire::Canale altro = Client();
  altro.Invia(Chiamata(5, "OperatorName"));
  EXPECT_EQ(Attendi(altro, 5).value("result", json()), "MARIO");
}

// CPU time a process used so far, in clock ticks.
long Tick(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string s((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream campi(s.substr(s.rfind(')') + 2));
  std::string x;
  long utime = 0, stime = 0;
  for (int i = 3; i <= 13; ++i) campi >> x;
  campi >> utime >> stime;
  return utime + stime;
}

TEST(Server, OutOfDescriptorsItWaitsInsteadOfSpinning) {
  Cartella cartella;
  menuhost::Parametri par;
  par.file = cartella.Parametri("").string();
  int pronto[2];
  ASSERT_EQ(::pipe(pronto), 0);
  const pid_t host = ::fork();
  if (host == 0) {
    ::setpgid(0, 0);
    menuhost::Server s(par, "S4");
    s.Lancia({"/bin/sh", "-c", "exec sleep 60"});
    // Room for two more descriptors: the third client finds none.
    long aperti = 0;
    for (const auto& e : fs::directory_iterator("/proc/self/fd")) aperti += e.path().filename() != "" ? 1 : 0;
    rlimit r{};
    ::getrlimit(RLIMIT_NOFILE, &r);
    r.rlim_cur = static_cast<rlim_t>(aperti + 2);
    ::setrlimit(RLIMIT_NOFILE, &r);
    (void)!::write(pronto[1], "k", 1);
    ::_exit(s.Servi());
  }
  ::close(pronto[1]);
  char k;
  ASSERT_EQ(::read(pronto[0], &k, 1), 1);
  std::vector<int> clienti;
  for (int i = 0; i < 8; ++i) {
    const int fd = host::wire::ConnettiSocket(host::wire::PercorsoSocket("S4"), 1000);
    if (fd >= 0) clienti.push_back(fd);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const long prima = Tick(host);
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const long dopo = Tick(host);
  ::kill(-host, SIGKILL);
  ::waitpid(host, nullptr, 0);
  for (int fd : clienti) ::close(fd);
  ::close(pronto[0]);
  EXPECT_GE(clienti.size(), 4u);
  // A spinning host burns the whole second; a waiting one a few ticks.
  EXPECT_LT(dopo - prima, ::sysconf(_SC_CLK_TCK) / 4) << "ticks used in one second";
}

TEST(Server, ItRemovesOnlyTheSocketItCreated) {
  Cartella cartella;
  menuhost::Parametri par;
  par.file = cartella.Parametri("").string();
  auto primo = std::make_unique<menuhost::Server>(par, "S2");
  const std::string path = host::wire::PercorsoSocket("S2");
  ::unlink(path.c_str());  // removed by hand
  auto secondo = std::make_unique<menuhost::Server>(par, "S2");
  primo.reset();
  EXPECT_TRUE(fs::exists(path)) << "the first host's exit leaves the second's socket";
  secondo.reset();
  EXPECT_FALSE(fs::exists(path));
}

TEST(Server, EntriesOfAnotherUserInItsFolderAreRemovedAndNamed) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file to another user";
  Cartella cartella;
  const fs::path dir = cartella.dir / "compensato";
  fs::create_directory(dir);
  ::chmod(dir.c_str(), 0777);  // open, as someone else could have left it
  const fs::path piantato = dir / "menu-altro.sock";
  std::ofstream(piantato) << "x";
  ASSERT_EQ(::chown(piantato.c_str(), 65534, 65534), 0);
  const fs::path nostro = dir / "nota";
  std::ofstream(nostro) << "x";
  menuhost::Parametri par;
  par.file = cartella.Parametri("").string();
  testing::internal::CaptureStderr();
  { menuhost::Server s(par, "S3"); }
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(fs::exists(piantato));
  EXPECT_TRUE(fs::exists(nostro)) << "our own entries stay";
  EXPECT_NE(log.find(piantato.string()), std::string::npos) << log;
  struct stat st {};
  ASSERT_EQ(::stat(dir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

}  // namespace
