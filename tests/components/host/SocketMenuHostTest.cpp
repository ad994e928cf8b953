#include "components/host/SocketMenuHost.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

#include "components/util/Error.h"

namespace {

using host::wire::json;

// A host on a thread: accepts one program and answers each call with what
// the test's function returns (nullopt = never answer).
class HostDiProva {
 public:
  using Risposta = std::function<std::optional<json>(const json& call, host::wire::Canale& ch)>;

  explicit HostDiProva(Risposta risposta) : risposta_(std::move(risposta)) {
    char tmpl[] = "/tmp/hostsock.XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    host::wire::PreparaCartellaSocket();
    listen_ = host::wire::ApriSocketInAscolto(host::wire::PercorsoSocket("T1"));
    thread_ = std::thread([this] { Servi(); });
  }
  ~HostDiProva() {
    stop_ = true;
    thread_.join();
    ::close(listen_);
    std::filesystem::remove_all(dir_);
  }
  std::vector<json> ricevuti() {
    std::lock_guard<std::mutex> g(m_);
    return ricevuti_;
  }

 private:
  void Servi() {
    int fd = -1;
    while (!stop_ && fd < 0) {
      pollfd p{listen_, POLLIN, 0};
      if (::poll(&p, 1, 20) == 1) fd = ::accept(listen_, nullptr, nullptr);
    }
    if (fd < 0) return;
    host::wire::Canale ch(fd);
    while (!stop_ && ch.aperto()) {
      if (!ch.Attendi(20)) continue;
      while (auto m = ch.Prossimo()) {
        {
          std::lock_guard<std::mutex> g(m_);
          ricevuti_.push_back(*m);
        }
        if (m->value("type", "") != "call") continue;
        if (auto r = risposta_(*m, ch)) ch.Invia(*r);
        if (!ch.aperto()) return;
      }
    }
  }

  Risposta risposta_;
  std::string dir_;
  int listen_ = -1;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::mutex m_;
  std::vector<json> ricevuti_;
};

json Risultato(const json& call, json result) { return {{"type", "result"}, {"id", call["id"]}, {"result", result}}; }

json Evento(int id, const std::string& command) {
  return {{"type", "event"},     {"id", id},           {"menuInstance", "T1"},
          {"secondaryKey", "S"}, {"command", command}, {"parameter", ""}};
}

class Ricevitore : public host::RicevitoreComandi {
 public:
  std::function<host::HostReply(const host::HostCommand&)> f;
  std::vector<std::string> visti;
  host::HostReply EseguiComando(const host::HostCommand& c) override {
    visti.push_back(c.command);
    return f ? f(c) : host::HostReply("");
  }
};

host::SocketMenuHost::Attese Brevi() {
  host::SocketMenuHost::Attese a;
  a.connessioneMs = 500;
  a.chiamataMs = 300;
  a.interattivaMs = 300;
  return a;
}

// Writes a raw line, as a hand-written or broken peer would.
void Riga(host::wire::Canale& ch, const std::string& text) {
  const std::string line = text + "\n";
  size_t sent = 0;
  while (sent < line.size()) {
    const ssize_t n = ::send(ch.fd(), line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno != EAGAIN && errno != EINTR) return;
    if (n <= 0) {
      pollfd p{ch.fd(), POLLOUT, 0};
      if (::poll(&p, 1, 1000) <= 0) return;
      continue;
    }
    sent += static_cast<size_t>(n);
  }
}

bool Risposto(const std::vector<json>& got, const json& id) {
  for (const auto& m : got)
    if (host::wire::CampoTesto(m, "type") == "reply" && m.contains("id") && m["id"] == id && m.contains("error"))
      return true;
  return false;
}

// The event loop of the program, for at most ms: what the 20 ms timer does.
template <class F>
bool Finche(host::SocketMenuHost& client, int ms, F fatto) {
  for (int t = 0; t < ms; t += 10) {
    client.DeliverPending();
    if (fatto()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return fatto();
}

int NumeroErrore(const std::function<void()>& f) {
  try {
    f();
  } catch (const util::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

TEST(SocketMenuHost, CallsPairWithTheirRepliesAndCarryTheirArguments) {
  HostDiProva h([](const json& call, host::wire::Canale&) -> std::optional<json> {
    const std::string op = call["op"];
    if (op == "GetParameter") return Risultato(call, "valore di " + call["args"][0].get<std::string>());
    if (op == "WorkDate") return Risultato(call, {{"date", "2024-03-15"}});
    if (op == "LaunchInfo") return Risultato(call, {{"osParam", "/FfrmRipriSal"}});
    if (op == "CountRunning") return Risultato(call, 2);
    return Risultato(call, 0);
  });
  host::SocketMenuHost client(Brevi());
  EXPECT_EQ(client.Attach("T1", "KEY", "p1 p2"), 0);
  EXPECT_EQ(client.GetParameter("NomeDBAzie"), util::Value("valore di NomeDBAzie"));
  EXPECT_EQ(client.WorkDate(), *util::Date::Make(2024, 3, 15));
  EXPECT_EQ(client.GetLaunchInfo().osParam, "/FfrmRipriSal");
  EXPECT_EQ(client.CountRunning("MARIO", 12), 2);
  client.ProgramValue("AddSeg", "Tutti",
                      host::HostValue(std::vector<util::Value>{util::Value::Long(46), util::Value("x")}));
  client.Detach();
  EXPECT_FALSE(client.collegato());
  const auto got = h.ricevuti();
  ASSERT_GE(got.size(), 7u);
  EXPECT_EQ(got[0]["op"], "Attach");
  EXPECT_EQ(got[0]["args"], json({"T1", "KEY", "p1 p2"}));
  EXPECT_EQ(got[5]["args"][2], json({{{"long", 46}}, "x"}));
  EXPECT_EQ(got.back()["op"], "Detach");
}

TEST(SocketMenuHost, ACommandArrivingDuringACallWaitsForTheEventLoop) {
  HostDiProva h([](const json& call, host::wire::Canale& ch) -> std::optional<json> {
    if (call["op"] == "OperatorName") ch.Invia(Evento(77, "esiste"));
    return Risultato(call, "MARIO");
  });
  host::SocketMenuHost client(Brevi());
  Ricevitore r;
  r.f = [](const host::HostCommand&) { return host::HostReply(true); };
  client.SetReceiver(&r);
  client.Attach("T1", "", "");
  EXPECT_EQ(client.OperatorName(), "MARIO");
  EXPECT_TRUE(r.visti.empty()) << "not inside the call";
  EXPECT_EQ(client.comandiInAttesa(), 1u);
  EXPECT_EQ(client.DeliverPending(), 1);
  EXPECT_EQ(r.visti, std::vector<std::string>{"esiste"});
  client.ProgramId();  // gives the host thread time to read the reply
  const auto got = h.ricevuti();
  bool replied = false;
  for (const auto& m : got)
    if (m.value("type", "") == "reply" && m["id"] == 77 && m["reply"] == true) replied = true;
  EXPECT_TRUE(replied);
}

TEST(SocketMenuHost, ACommandInsideAnotherCommandsHandlerIsHeldBack) {
  HostDiProva h([](const json& call, host::wire::Canale& ch) -> std::optional<json> {
    if (call["op"] == "Attach") {
      ch.Invia(Risultato(call, 0));
      ch.Invia(Evento(1, "FEInvio"));
      return std::nullopt;
    }
    if (call["op"] == "ProgramValue") ch.Invia(Evento(2, "esiste"));
    return Risultato(call, "");
  });
  host::SocketMenuHost client(Brevi());
  Ricevitore r;
  std::vector<int> nested;
  r.f = [&](const host::HostCommand& c) {
    if (c.command == "FEInvio") {
      client.ProgramValue("MsgBox", "Tutti", host::HostValue(util::Value("Inviate 3 fatture")));
      nested.push_back(client.DeliverPending());  // what a modal window's own loop would do
    }
    return host::HostReply("");
  };
  client.SetReceiver(&r);
  client.Attach("T1", "", "");
  for (int i = 0; i < 50 && client.comandiInAttesa() == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    client.LeggiDisponibili();
  }
  EXPECT_EQ(client.DeliverPending(), 2);
  EXPECT_EQ(nested, std::vector<int>{0}) << "a command never runs inside another one's handler";
  EXPECT_EQ(r.visti, (std::vector<std::string>{"FEInvio", "esiste"}));
}

TEST(SocketMenuHost, ADeadOrSilentHostIsError5WithinTheBound) {
  {
    host::SocketMenuHost client(Brevi());
    EXPECT_EQ(NumeroErrore([&] {
                char tmpl[] = "/tmp/hostnone.XXXXXX";
                ::setenv("XDG_RUNTIME_DIR", ::mkdtemp(tmpl), 1);
                client.Attach("NessunMenu", "", "");
              }),
              5)
        << "no host listening";
    EXPECT_EQ(NumeroErrore([&] { client.OperatorName(); }), 5) << "never linked";
  }
  {
    HostDiProva silent([](const json& call, host::wire::Canale&) -> std::optional<json> {
      if (call["op"] == "Attach") return Risultato(call, 0);
      return std::nullopt;
    });
    host::SocketMenuHost client(Brevi());
    client.Attach("T1", "", "");
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(NumeroErrore([&] { client.IniFile(); }), 5);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(3));
    EXPECT_FALSE(client.collegato()) << "the link is dropped, later calls fail at once";
    EXPECT_EQ(NumeroErrore([&] { client.IniFile(); }), 5);
  }
  {
    HostDiProva closing([](const json& call, host::wire::Canale& ch) -> std::optional<json> {
      if (call["op"] == "Attach") return Risultato(call, 0);
      ch.Chiudi();
      return std::nullopt;
    });
    host::SocketMenuHost client(Brevi());
    client.Attach("T1", "", "");
    EXPECT_EQ(NumeroErrore([&] { client.UserIdentity(); }), 5);
  }
}

TEST(SocketMenuHost, HostErrorsAndHandlerErrorsKeepTheirNumbers) {
  HostDiProva h([](const json& call, host::wire::Canale& ch) -> std::optional<json> {
    if (call["op"] == "ShowMenu")
      return json{{"type", "result"}, {"id", call["id"]}, {"error", host::wire::DaErrore(91, "menu chiuso")}};
    if (call["op"] == "ProgramId") ch.Invia(Evento(9, "guasto"));
    return Risultato(call, "Compensa");
  });
  host::SocketMenuHost client(Brevi());
  Ricevitore r;
  r.f = [](const host::HostCommand&) -> host::HostReply { throw util::RuntimeError(3022, "doppio"); };
  client.SetReceiver(&r);
  client.Attach("T1", "", "");
  EXPECT_EQ(NumeroErrore([&] { client.ShowMenu("Tutti"); }), 91);
  EXPECT_EQ(client.ProgramId(), "Compensa");
  client.DeliverPending();
  client.OperatorName();
  bool sawError = false;
  for (const auto& m : h.ricevuti())
    if (m.value("type", "") == "reply" && m["id"] == 9 && m["error"]["number"] == 3022) sawError = true;
  EXPECT_TRUE(sawError);
}

// Lines a broken or hostile host sends; each must be logged, answered with
// an error when it has an id, and leave the link up, whether it arrives while
// the program is idle (the program's event loop) or while it waits for a
// result (the batch front's calls).
struct Malformato {
  const char* nome;
  const char* riga;
  std::optional<json> id;  // the id of the error reply expected
  const char* segno;       // what the log line shows of it
};

const Malformato kMalformati[] = {
    {"type null", R"({"type":null})", std::nullopt, R"("type":null)"},
    {"type a number, with an id", R"({"type":1,"id":505})", json(505), "505"},
    {"event whose command is a number", R"({"type":"event","id":7,"command":3})", json(7), R"("command":3)"},
    {"event whose parameter is an object", R"({"type":"event","id":8,"command":"fine","parameter":{"x":1}})", json(8),
     R"({"x":1})"},
    {"event with a text id and a number key", R"({"type":"event","id":"z9","command":"fine","secondaryKey":4})",
     json("z9"), "z9"},
    {"event without id", R"({"type":"event","command":"fine"})", std::nullopt, R"("command":"fine")"},
    {"result whose id is a text", R"({"type":"result","id":"1","result":"x"})", std::nullopt, R"("id":"1")"},
    {"not JSON", "garbage{{", std::nullopt, "garbage{{"},
    {"a JSON array", "[1,2,3]", std::nullopt, "[1,2,3]"},
};

TEST(SocketMenuHost, MalformedLinesFromTheHostAreLoggedAnsweredAndSurvived) {
  for (const bool inChiamata : {false, true}) {
    for (const Malformato& c : kMalformati) {
      const std::string caso = std::string(inChiamata ? "during a call: " : "idle: ") + c.nome;
      HostDiProva h([&](const json& call, host::wire::Canale& ch) -> std::optional<json> {
        const bool qui = inChiamata ? call["op"] == "OperatorName" : call["op"] == "Attach";
        if (!qui) return Risultato(call, 0);
        if (!inChiamata) ch.Invia(Risultato(call, 0));
        Riga(ch, c.riga);
        ch.Invia(Evento(900, "esiste"));
        return inChiamata ? std::optional<json>(Risultato(call, "MARIO")) : std::nullopt;
      });
      host::SocketMenuHost client(Brevi());
      Ricevitore r;
      client.SetReceiver(&r);
      testing::internal::CaptureStderr();
      ASSERT_NO_THROW({
        client.Attach("T1", "", "");
        if (inChiamata) {
          EXPECT_EQ(client.OperatorName(), "MARIO") << caso;
        }
        EXPECT_TRUE(Finche(client, 1000, [&] { return !r.visti.empty(); })) << caso;
      }) << caso;
      client.ProgramId();  // the host has read everything before it
      const std::string log = testing::internal::GetCapturedStderr();
      EXPECT_EQ(r.visti, std::vector<std::string>{"esiste"}) << caso << ": only the sound event is carried out";
      EXPECT_TRUE(client.collegato()) << caso;
      EXPECT_FALSE(client.Perso()) << caso;
      EXPECT_NE(log.find(c.segno), std::string::npos) << caso << ": " << log;
      EXPECT_NE(log.find("menu T1"), std::string::npos) << caso << ": the log names the peer: " << log;
      if (c.id) {
        EXPECT_TRUE(Risposto(h.ricevuti(), *c.id)) << caso;
      }
    }
  }
}

TEST(SocketMenuHost, AnAnswerOfTheWrongKindIsAnErrorOfTheCallNotACrash) {
  HostDiProva h([](const json& call, host::wire::Canale&) -> std::optional<json> {
    if (call["op"] == "Attach") return Risultato(call, 0);
    if (call["op"] == "LaunchInfo") return Risultato(call, {{"osParam", 12}});
    if (call["op"] == "WorkDate") return Risultato(call, {{"date", "ieri"}});
    return Risultato(call, {{"nonso", 1}});
  });
  host::SocketMenuHost client(Brevi());
  client.Attach("T1", "", "");
  testing::internal::CaptureStderr();
  EXPECT_EQ(NumeroErrore([&] { client.GetLaunchInfo(); }), 13);
  EXPECT_EQ(NumeroErrore([&] { client.WorkDate(); }), 13);
  EXPECT_EQ(NumeroErrore([&] { client.GetParameter("NomeDBAzie"); }), 13);
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(client.collegato()) << "a host that answers badly is still there";
}

TEST(SocketMenuHost, ACallsLimitCountsFromWhenItWasSent) {
  // Events every 50 ms and never the answer: each one used to restart the wait.
  HostDiProva h([](const json& call, host::wire::Canale& ch) -> std::optional<json> {
    if (call["op"] == "Attach") return Risultato(call, 0);
    for (int i = 0; i < 100 && ch.Invia(Evento(1000 + i, "esiste"), 100); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return std::nullopt;
  });
  host::SocketMenuHost client(Brevi());
  client.Attach("T1", "", "");
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(NumeroErrore([&] { client.IniFile(); }), 5);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(2000));
  EXPECT_TRUE(client.Perso());
}

TEST(SocketMenuHost, AHostThatStopsReadingEndsTheLinkInsteadOfFreezingTheProgram) {
  HostDiProva h([](const json& call, host::wire::Canale& ch) -> std::optional<json> {
    ch.Invia(Risultato(call, 0));
    for (int i = 0; i < 200; ++i) ch.Invia(Evento(i + 1, "keyprgprim"));
    // and never reads again while the program answers
    std::this_thread::sleep_for(std::chrono::seconds(3));
    return std::nullopt;
  });
  auto attese = Brevi();
  attese.invioMs = 200;
  host::SocketMenuHost client(attese);
  Ricevitore r;
  r.f = [](const host::HostCommand&) { return host::HostReply(std::string(64 * 1024, 'k')); };
  client.SetReceiver(&r);
  client.Attach("T1", "", "");
  const auto t0 = std::chrono::steady_clock::now();
  testing::internal::CaptureStderr();
  EXPECT_TRUE(Finche(client, 3000, [&] { return client.Perso(); }));
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(2500));
  EXPECT_FALSE(client.collegato());
  EXPECT_NE(log.find("non legge"), std::string::npos) << log;
  EXPECT_EQ(NumeroErrore([&] { client.ProgramId(); }), 5) << "later calls fail at once";
}

TEST(SocketMenuHost, AHostThatGoesWhileTheProgramIsIdleIsNoticedAtOnce) {
  struct Caso {
    const char* nome;
    std::function<void(host::wire::Canale&)> fine;
    const char* log;
  } casi[] = {
      {"the host closes its end", [](host::wire::Canale& ch) { ch.Chiudi(); }, ""},
      {"a line of 2 MiB without an end",
       [](host::wire::Canale& ch) {
         Riga(ch, std::string(2 << 20, 'x'));
         ch.Invia(Evento(5, "esiste"));
       },
       "MiB"},
  };
  for (const auto& c : casi) {
    HostDiProva h([&](const json& call, host::wire::Canale& ch) -> std::optional<json> {
      ch.Invia(Risultato(call, 0));
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      c.fine(ch);
      return std::nullopt;
    });
    host::SocketMenuHost client(Brevi());
    Ricevitore r;
    client.SetReceiver(&r);
    client.Attach("T1", "", "");
    EXPECT_FALSE(client.Perso()) << c.nome;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(Finche(client, 1000, [&] { return client.Perso(); })) << c.nome;
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find(c.log), std::string::npos) << c.nome << ": " << log;
    EXPECT_TRUE(r.visti.empty()) << c.nome << ": nothing after the bad line is trusted";
  }
}

TEST(SocketMenuHost, DetachingIsNotALostLink) {
  HostDiProva h([](const json& call, host::wire::Canale&) -> std::optional<json> { return Risultato(call, 0); });
  host::SocketMenuHost client(Brevi());
  client.Attach("T1", "", "");
  client.Detach();
  client.DeliverPending();
  EXPECT_FALSE(client.Perso());
}

}  // namespace
