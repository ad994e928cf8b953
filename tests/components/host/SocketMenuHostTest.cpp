#include "components/host/SocketMenuHost.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
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
  return {{"type", "event"}, {"id", id}, {"menuInstance", "T1"}, {"secondaryKey", "S"},
          {"command", command}, {"parameter", ""}};
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
  client.ProgramValue("AddSeg", "Tutti", host::HostValue(std::vector<util::Value>{util::Value::Long(46), util::Value("x")}));
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

}  // namespace
