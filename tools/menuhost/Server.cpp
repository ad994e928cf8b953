#include "tools/menuhost/Server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <iostream>
#include <random>

#include "components/host/FileParametri.h"
#include "components/util/Error.h"
#include "components/util/Text.h"

namespace menuhost {

using host::wire::json;

namespace {

json Risultato(const json& id, json r) { return {{"type", "result"}, {"id", id}, {"result", std::move(r)}}; }

std::string Arg(const json& args, size_t i) {
  if (!args.is_array() || i >= args.size()) return "";
  const json& a = args[i];
  if (a.is_string()) return a.get<std::string>();
  return a.dump();
}

std::string TestoValore(const json& v) {
  try {
    return host::wire::ValoreDa(v).toText();
  } catch (const std::exception&) {
    return v.dump();
  }
}

}  // namespace

std::string Parametri::Host(const std::string& key, const std::string& def) const {
  if (key == "IniFile" && !iniFile.empty()) return iniFile;
  return host::ValoreHost(file, key, def);
}

json Parametri::Parametro(const std::string& key, const std::string& operatore) const {
  if (auto it = sovrascritti.find(key); it != sovrascritti.end()) return it->second;
  return host::ParametroDaFile(file, key, operatore);
}

Server::Server(Parametri parametri, std::string istanza) : par_(std::move(parametri)), istanza_(std::move(istanza)) {
  host::wire::PreparaCartellaSocket();
  socket_ = host::wire::PercorsoSocket(istanza_);
  ascolto_ = host::wire::ApriSocketInAscolto(socket_);
  std::random_device rd;
  char buf[17];
  std::snprintf(buf, sizeof buf, "%08x%08x", rd(), rd());
  token_ = buf;
}

Server::~Server() {
  clienti_.clear();
  if (ascolto_ >= 0) ::close(ascolto_);
  ::unlink(socket_.c_str());
}

pid_t Server::Lancia(const std::vector<std::string>& programma) {
  std::vector<std::string> argv = programma;
  const std::string chiave = par_.Host("ProgramKey");
  const std::string param = par_.Host("ProgramParam");
  argv.insert(argv.end(), {"/M", istanza_});
  if (!chiave.empty() || !param.empty()) argv.insert(argv.end(), {"/P", param.empty() ? chiave : chiave + " " + param});
  argv.insert(argv.end(), {"/F", par_.Host("Form", "FrmSaldaSelezioni")});
  const std::string switchI = par_.Host("SwitchI");
  if (!switchI.empty()) argv.insert(argv.end(), {"/I", switchI});
  figlio_ = ::fork();
  if (figlio_ == 0) {
    std::vector<char*> a;
    for (auto& s : argv) a.push_back(s.data());
    a.push_back(nullptr);
    ::execvp(a[0], a.data());
    std::cerr << "menuhost: impossibile avviare " << argv[0] << ": " << std::strerror(errno) << "\n";
    ::_exit(127);
  }
  return figlio_;
}

void Server::Accetta() {
  for (;;) {
    const int fd = ::accept4(ascolto_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    auto c = std::make_unique<Cliente>();
    c->canale = host::wire::Canale(fd);
    clienti_.push_back(std::move(c));
  }
}

std::string Server::ChiediLogin() {
  // An operator at a terminal types the login; otherwise the file gives it.
  const int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
  if (tty < 0) {
    const std::string l = par_.Host("LoginSql");
    par_.sovrascritti["SqlLogin"] = l;
    par_.sovrascritti["SqlPwd"] = par_.Host("PasswordSql");
    return l;
  }
  auto leggi = [tty](const char* prompt, bool eco) {
    ::write(tty, prompt, std::strlen(prompt));
    termios vecchio{};
    const bool term = ::tcgetattr(tty, &vecchio) == 0;
    if (term && !eco) {
      termios t = vecchio;
      t.c_lflag &= ~static_cast<tcflag_t>(ECHO);
      ::tcsetattr(tty, TCSANOW, &t);
    }
    std::string s;
    char ch;
    while (::read(tty, &ch, 1) == 1 && ch != '\n') s.push_back(ch);
    if (term && !eco) {
      ::tcsetattr(tty, TCSANOW, &vecchio);
      ::write(tty, "\n", 1);
    }
    return s;
  };
  const std::string l = leggi("Utente del database: ", true);
  const std::string p = leggi("Password: ", false);
  ::close(tty);
  par_.sovrascritti["SqlLogin"] = l;
  par_.sovrascritti["SqlPwd"] = p;
  return l;
}

json Server::Esegui(Cliente& c, const std::string& op, const json& args) {
  const std::string operatore = par_.Host("OperatorName", "OPERATORE");
  if (op == "Attach") {
    c.programma = true;
    c.eraProgramma = true;
    return 0;
  }
  if (op == "Detach") {
    c.programma = false;
    return nullptr;
  }
  if (op == "ProgramId") return par_.Host("ProgramId", "Compensa");
  if (op == "OperatorName") return operatore;
  if (op == "UserIdentity") return operatore + "~" + token_;
  if (op == "WorkDate") {
    util::Value v(par_.Host("WorkDate"));
    try {
      return host::wire::DaValore(util::Value(v.toDate()));
    } catch (const std::exception&) {
      return host::wire::DaValore(util::Value(util::Date::Today()));
    }
  }
  if (op == "IniFile") return par_.Host("IniFile");
  if (op == "LaunchInfo") {
    host::LaunchInfo li;
    li.osParam = par_.Host("LaunchParam", "/F " + par_.Host("Form", "FrmSaldaSelezioni"));
    li.osChiLancia = par_.Host("Launcher");
    li.osKeySecLancia = par_.Host("LauncherKey");
    li.osParamLancia = par_.Host("LauncherParam");
    li.osTipoForm = par_.Host("TipoForm", "0");
    return host::wire::DaLaunchInfo(li);
  }
  if (op == "GetParameter") {
    const std::string key = Arg(args, 0);
    if (key == "ChiediPwdSql") {
      ChiediLogin();
      return "";
    }
    return par_.Parametro(key, operatore);
  }
  if (op == "ProgramValue") {
    const std::string name = Arg(args, 0);
    if (name == "MsgBox") {
      std::cerr << "menuhost: messaggio del programma:\n" << (args.size() > 2 ? TestoValore(args[2]) : "") << "\n";
      return "";
    }
    if (name == "AddSeg") return par_.Host("PrepProcCorr");
    if (name == "PrepProcCorr") return par_.Host("PrepProcCorr");
    return "";
  }
  if (op == "CountRunning") {
    return static_cast<int>(std::count_if(clienti_.begin(), clienti_.end(), [](const auto& x) { return x->programma; }));
  }
  if (op == "RegisterWindow") {
    std::cerr << "menuhost: finestra attiva \"" << Arg(args, 0) << "\" (" << Arg(args, 1) << ")\n";
    return nullptr;
  }
  if (op == "ShowMenu") return nullptr;
  if (op == "ReturnTo" || op == "SetActiveKey" || op == "ReleaseKey") return 0;
  throw util::RuntimeError(438, "Operazione non supportata dal menu: " + op);
}

void Server::Gestisci(Cliente& c, const json& m) {
  const std::string type = m.value("type", "");
  if (type == "call") {
    const json id = m.value("id", json());
    try {
      c.canale.Invia(Risultato(id, Esegui(c, m.value("op", ""), m.value("args", json::array()))));
    } catch (const util::RuntimeError& e) {
      c.canale.Invia({{"type", "result"}, {"id", id}, {"error", host::wire::DaErrore(e.number(), e.description())}});
    } catch (const std::exception& e) {
      c.canale.Invia({{"type", "result"}, {"id", id}, {"error", host::wire::DaErrore(5, e.what())}});
    }
    return;
  }
  if (type == "control") {
    Cliente* prog = nullptr;
    for (auto& x : clienti_)
      if (x->programma) prog = x.get();
    if (!prog) {
      c.canale.Invia({{"type", "controlReply"}, {"error", host::wire::DaErrore(5, "Nessun programma collegato")}});
      return;
    }
    const int64_t id = prossimoEvento_++;
    host::HostCommand cmd{istanza_, m.value("secondaryKey", ""), m.value("command", ""),
                          host::wire::HostValueDa(m.value("parameter", json("")))};
    json ev = host::wire::DaComando(cmd);
    ev["type"] = "event";
    ev["id"] = id;
    inAttesa_[id] = &c;
    prog->canale.Invia(ev);
    return;
  }
  if (type == "reply") {
    const auto it = inAttesa_.find(m.value("id", int64_t{-1}));
    if (it == inAttesa_.end()) return;
    json r{{"type", "controlReply"}};
    if (m.contains("error")) r["error"] = m["error"];
    r["reply"] = m.value("reply", json());
    it->second->canale.Invia(r);
    inAttesa_.erase(it);
  }
}

int Server::Servi() {
  bool figlioVivo = figlio_ > 0;
  for (;;) {
    if (figlioVivo) {
      int status = 0;
      if (::waitpid(figlio_, &status, WNOHANG) == figlio_) {
        figlioVivo = false;
        esito_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
    }
    // A program that detached may still be sending its last reply: wait for its socket to close.
    const bool attaccati =
        std::any_of(clienti_.begin(), clienti_.end(), [](const auto& x) { return x->programma || x->eraProgramma; });
    if (!figlioVivo && !attaccati) return esito_;

    std::vector<pollfd> fds{{ascolto_, POLLIN, 0}};
    for (auto& c : clienti_) fds.push_back({c->canale.fd(), POLLIN, 0});
    ::poll(fds.data(), fds.size(), 100);
    if (fds[0].revents & POLLIN) Accetta();
    for (size_t i = 0; i < clienti_.size(); ++i) {
      Cliente& c = *clienti_[i];
      c.canale.Leggi();
      while (auto m = c.canale.Prossimo()) Gestisci(c, *m);
    }
    // Clients that went away: their pending replies go nowhere.
    for (auto it = clienti_.begin(); it != clienti_.end();) {
      if ((*it)->canale.aperto()) {
        ++it;
        continue;
      }
      for (auto w = inAttesa_.begin(); w != inAttesa_.end();)
        w = w->second == it->get() ? inAttesa_.erase(w) : std::next(w);
      it = clienti_.erase(it);
    }
  }
}

int Invia(const std::string& istanza, const std::string& comando, const std::string& parametro,
          const std::string& chiave, int attesaMs) {
  const int fd = host::wire::ConnettiSocket(host::wire::PercorsoSocket(istanza), 2000);
  if (fd < 0) {
    std::cerr << "menuhost: nessun menu per l'istanza " << istanza << "\n";
    return 3;
  }
  host::wire::Canale ch(fd);
  ch.Invia({{"type", "control"}, {"command", comando}, {"parameter", parametro}, {"secondaryKey", chiave}});
  for (;;) {
    if (!ch.Attendi(attesaMs)) {
      std::cerr << "menuhost: il programma non ha risposto\n";
      return 2;
    }
    while (auto m = ch.Prossimo()) {
      if (m->value("type", "") != "controlReply") continue;
      if (m->contains("error")) {
        std::cerr << "menuhost: errore " << (*m)["error"].value("number", 0) << ": "
                  << (*m)["error"].value("description", "") << "\n";
        return 1;
      }
      const json& r = (*m)["reply"];
      std::cout << (r.is_string() ? r.get<std::string>() : r.is_null() ? std::string() : r.dump()) << "\n";
      return 0;
    }
  }
}

}  // namespace menuhost
