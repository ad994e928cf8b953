#include "tools/menuhost/Server.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/signalfd.h>
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
#include "components/host/SocketMenuHost.h"
#include "components/util/Error.h"
#include "components/util/Text.h"

namespace menuhost {

using host::wire::json;

namespace {

// An operator's name as a file name part: any byte is safe in hex.
std::string Esadecimale(const std::string& s) {
  static const char* cifre = "0123456789abcdef";
  std::string out;
  for (const unsigned char ch : s) {
    out += cifre[ch >> 4];
    out += cifre[ch & 15];
  }
  return out;
}

std::string PrefissoMarca(const std::string& operatore) { return "prog-" + Esadecimale(operatore) + "-"; }

json Risultato(const json& id, json r) { return {{"type", "result"}, {"id", id}, {"result", std::move(r)}}; }

json ErroreChiamata(const json& id, int number, const std::string& description) {
  return {{"type", "result"}, {"id", id}, {"error", host::wire::DaErrore(number, description)}};
}

json ErroreControllo(const std::string& description) {
  return {{"type", "controlReply"}, {"error", host::wire::DaErrore(5, description)}};
}

int64_t Adesso() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string Casuale() {
  std::random_device rd;
  char buf[33];
  std::snprintf(buf, sizeof buf, "%08x%08x%08x%08x", rd(), rd(), rd(), rd());
  return buf;
}

sigset_t SegnaliDiChiusura() {
  sigset_t s;
  sigemptyset(&s);
  sigaddset(&s, SIGTERM);
  sigaddset(&s, SIGINT);
  sigaddset(&s, SIGHUP);
  return s;
}

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
  // The path is checked before anything is made on disk for it.
  socket_ = host::wire::PercorsoSocket(istanza_);
  std::vector<std::string> rimossi;
  host::wire::PreparaCartellaSocket(&rimossi);
  for (const std::string& f : rimossi) std::cerr << "menuhost: rimosso " << f << ", di un altro utente\n";
  ascolto_ = host::wire::ApriSocketInAscolto(socket_, &file_);
  token_ = Casuale().substr(0, 16);
  segreto_ = Casuale();
  // Signals come through a descriptor, so that the loop handles them between
  // messages like any other event.
  const sigset_t s = SegnaliDiChiusura();
  ::sigprocmask(SIG_BLOCK, &s, nullptr);
  segnali_ = ::signalfd(-1, &s, SFD_NONBLOCK | SFD_CLOEXEC);
}

Server::~Server() {
  clienti_.clear();
  if (ascolto_ >= 0) ::close(ascolto_);
  if (segnali_ >= 0) ::close(segnali_);
  host::wire::RimuoviSocket(socket_, file_);
  const sigset_t s = SegnaliDiChiusura();
  ::sigprocmask(SIG_UNBLOCK, &s, nullptr);
}

pid_t Server::Lancia(const std::vector<std::string>& programma) {
  std::vector<std::string> argv = programma;
  const std::string chiave = par_.Host("ProgramKey");
  const std::string param = par_.Host("ProgramParam");
  // The program takes the first word of /P as its key: parameters without a
  // key would become the key.
  if (chiave.empty() && !param.empty())
    throw util::RuntimeError(5, "ProgramParam senza ProgramKey nel file " + par_.file +
                                    ": il programma prenderebbe i parametri per la chiave");
  if (chiave.find_first_of(" \t") != std::string::npos)
    throw util::RuntimeError(5, "ProgramKey con spazi nel file " + par_.file + ": \"" + chiave + "\"");
  argv.insert(argv.end(), {"/M", istanza_});
  if (!chiave.empty()) argv.insert(argv.end(), {"/P", param.empty() ? chiave : chiave + " " + param});
  argv.insert(argv.end(), {"/F", par_.Host("Form", "FrmSaldaSelezioni")});
  const std::string switchI = par_.Host("SwitchI");
  if (!switchI.empty()) argv.insert(argv.end(), {"/I", switchI});
  figlio_ = ::fork();
  if (figlio_ == 0) {
    const sigset_t s = SegnaliDiChiusura();
    ::sigprocmask(SIG_UNBLOCK, &s, nullptr);
    ::setenv(host::SocketMenuHost::kVariabileToken, segreto_.c_str(), 1);
    std::vector<char*> a;
    for (auto& x : argv) a.push_back(x.data());
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
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return;
      // Out of descriptors or memory: the listener stays readable, so
      // accepting again at once would only spin.
      std::cerr << "menuhost: accept: " << std::strerror(errno) << ", nuovi collegamenti sospesi per un momento\n";
      accettaDopo_ = Adesso() + 250;
      return;
    }
    const long uid = host::wire::UtentePeer(fd);
    if (uid != static_cast<long>(::getuid())) {
      std::cerr << "menuhost: rifiutato un collegamento dell'utente " << uid << "\n";
      ::close(fd);
      continue;
    }
    auto c = std::make_unique<Cliente>();
    c->pid = host::wire::PidPeer(fd);
    c->canale = host::wire::Canale(
        fd, "menuhost: client " + std::to_string(prossimoCliente_++) + " (pid " + std::to_string(c->pid) + ")");
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

json Server::Esegui(Cliente& c, const std::string& op, const json& args, const std::string& token) {
  const std::string operatore = par_.Host("OperatorName", "OPERATORE");
  if (op == "Attach") {
    // Commands go to the program this host launched, not to whoever asks
    // for them: the launched process itself, or one holding its token.
    const bool lanciato = figlio_ > 0 && c.pid == static_cast<long>(figlio_);
    if (!lanciato && token != segreto_) {
      std::cerr << c.canale.peer() << ": Attach rifiutato, non e' il programma lanciato da questo menu\n";
      throw util::RuntimeError(5, "Attach rifiutato: il programma non e' stato lanciato da questo menu");
    }
    c.programma = true;
    c.eraProgramma = true;
    c.inCorso.Prendi(operatore, istanza_);
    return 0;
  }
  if (op == "Detach") {
    c.programma = false;
    c.inCorso.Rilascia();
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
  // The operator's running programs under every host of this user, not
  // only this one: a second session must not take the first's run for
  // interrupted.
  if (op == "CountRunning") return ProgrammaInCorso::Conta(operatore);
  if (op == "RegisterWindow") {
    std::cerr << "menuhost: finestra attiva \"" << Arg(args, 0) << "\" (" << Arg(args, 1) << ")\n";
    return nullptr;
  }
  if (op == "ShowMenu") return nullptr;
  if (op == "ReturnTo" || op == "SetActiveKey" || op == "ReleaseKey") return 0;
  throw util::RuntimeError(438, "Operazione non supportata dal menu: " + op);
}

void ProgrammaInCorso::Prendi(const std::string& operatore, const std::string& istanza) {
  if (fd_ >= 0) return;
  static int progressivo = 0;
  file_ = host::wire::CartellaSocket() + "/" + PrefissoMarca(operatore) + Esadecimale(istanza) + "-" +
          std::to_string(::getpid()) + "-" + std::to_string(++progressivo);
  fd_ = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd_ < 0 || ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    std::cerr << "menuhost: segno del programma non registrato in " << file_ << ": " << std::strerror(errno) << "\n";
    Rilascia();
  }
}

void ProgrammaInCorso::Rilascia() {
  if (fd_ < 0) return;
  ::unlink(file_.c_str());
  ::close(fd_);
  fd_ = -1;
}

int ProgrammaInCorso::Conta(const std::string& operatore) {
  const std::string cartella = host::wire::CartellaSocket();
  const std::string prefisso = PrefissoMarca(operatore);
  DIR* d = ::opendir(cartella.c_str());
  if (!d) return 0;
  int n = 0;
  while (const dirent* e = ::readdir(d)) {
    const std::string nome = e->d_name;
    if (nome.rfind(prefisso, 0) != 0) continue;
    const std::string file = cartella + "/" + nome;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) continue;
    // A lock on another open file conflicts even within this host: its own
    // programs count like the others'.
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
      ++n;
    } else {
      ::unlink(file.c_str());  // its host is gone
    }
    ::close(fd);
  }
  ::closedir(d);
  return n;
}

Server::Cliente* Server::Programma() {
  Cliente* prog = nullptr;
  for (auto& x : clienti_)
    if (x->programma && x->canale.aperto()) prog = x.get();
  return prog;
}

void Server::Chiamata(Cliente& c, const json& m) {
  const std::optional<json> id = host::wire::CampoId(m);
  if (!id) {
    host::wire::Segnala(c.canale.peer(), "chiamata senza id scartata", host::wire::Estratto(m.dump()));
    return;
  }
  const auto op = m.find("op");
  const auto args = m.find("args");
  if (op == m.end() || !op->is_string() || (args != m.end() && !args->is_array())) {
    host::wire::Segnala(c.canale.peer(), "chiamata non valida", host::wire::Estratto(m.dump()));
    c.canale.Accoda(ErroreChiamata(*id, 5, "Chiamata non valida"));
    return;
  }
  try {
    c.canale.Accoda(Risultato(*id, Esegui(c, op->get<std::string>(), args == m.end() ? json::array() : *args,
                                          host::wire::CampoTesto(m, "token"))));
  } catch (const util::RuntimeError& e) {
    c.canale.Accoda(ErroreChiamata(*id, e.number(), e.description()));
  } catch (const std::exception& e) {
    c.canale.Accoda(ErroreChiamata(*id, 5, e.what()));
  }
}

void Server::Controllo(Cliente& c, const json& m) {
  Cliente* prog = Programma();
  if (!prog) {
    c.canale.Accoda(ErroreControllo("Nessun programma collegato"));
    return;
  }
  host::HostCommand cmd;
  try {
    for (const char* k : {"secondaryKey", "command"})
      if (m.contains(k) && !m[k].is_string()) throw std::invalid_argument(std::string(k) + " non e' un testo");
    cmd = host::HostCommand{istanza_, host::wire::CampoTesto(m, "secondaryKey"), host::wire::CampoTesto(m, "command"),
                            host::wire::HostValueDa(m.contains("parameter") ? m["parameter"] : json(""))};
  } catch (const std::exception& e) {
    host::wire::Segnala(c.canale.peer(), std::string("comando non valido (") + e.what() + ")",
                        host::wire::Estratto(m.dump()));
    c.canale.Accoda(ErroreControllo(std::string("Comando non valido: ") + e.what()));
    return;
  }
  const int64_t id = prossimoEvento_++;
  json ev = host::wire::DaComando(cmd);
  ev["type"] = "event";
  ev["id"] = id;
  inAttesa_[id] = &c;
  prog->canale.Accoda(ev);
}

void Server::Gestisci(Cliente& c, const json& m) {
  const std::string type = host::wire::CampoTesto(m, "type");
  if (type == "call") return Chiamata(c, m);
  if (type == "control") return Controllo(c, m);
  if (type == "reply") {
    const std::optional<int64_t> id = host::wire::IdIntero(m);
    const auto it = id ? inAttesa_.find(*id) : inAttesa_.end();
    if (it == inAttesa_.end()) {
      host::wire::Segnala(c.canale.peer(), "risposta a un comando sconosciuto scartata",
                          host::wire::Estratto(m.dump()));
      return;
    }
    Cliente* dest = it->second;
    inAttesa_.erase(it);
    if (!dest) return;  // our own "fine"
    json r{{"type", "controlReply"}};
    if (m.contains("error")) r["error"] = m["error"];
    r["reply"] = m.contains("reply") ? m["reply"] : json();
    dest->canale.Accoda(r);
    return;
  }
  host::wire::Segnala(c.canale.peer(), "messaggio di tipo sconosciuto", host::wire::Estratto(m.dump()));
  if (const auto id = host::wire::CampoId(m)) c.canale.Accoda(ErroreChiamata(*id, 5, "Messaggio non valido"));
}

void Server::Segnale(int sig) {
  std::cerr << "menuhost: segnale " << sig << ", chiusura del programma\n";
  if (terminaAlle_ != 0) {
    // A second signal: no more waiting.
    terminaAlle_ = Adesso();
    return;
  }
  terminaAlle_ = Adesso() + attesaChiusuraMs_;
  if (Cliente* prog = Programma()) {
    const int64_t id = prossimoEvento_++;
    json ev = host::wire::DaComando(host::HostCommand{istanza_, "", "fine", util::Value("")});
    ev["type"] = "event";
    ev["id"] = id;
    inAttesa_[id] = nullptr;
    prog->canale.Accoda(ev);
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
    if (!figlioVivo && (!attaccati || terminaAlle_ != 0)) return esito_;
    if (terminaAlle_ != 0 && Adesso() >= terminaAlle_) {
      if (!figlioVivo) return esito_;
      if (!terminato_) {
        std::cerr << "menuhost: il programma non si e' chiuso, lo si termina\n";
        ::kill(figlio_, SIGTERM);
        terminato_ = true;
        terminaAlle_ = Adesso() + 2000;
      } else {
        ::kill(figlio_, SIGKILL);
      }
    }

    // A client's burst is taken a slice at a time, and one that has plenty
    // waiting is not read further, so that every client gets its turn and
    // none can make the host hold more than a slice's worth for it.
    constexpr size_t kFetta = 64;
    bool ancora = false;
    for (auto& c : clienti_) ancora = ancora || c->canale.pronti() > 0;
    const bool accetta = Adesso() >= accettaDopo_;
    std::vector<pollfd> fds{{accetta ? ascolto_ : -1, POLLIN, 0}, {segnali_, POLLIN, 0}};
    for (auto& c : clienti_) {
      const short ev =
          static_cast<short>((c->canale.pronti() < kFetta ? POLLIN : 0) | (c->canale.daScrivere() ? POLLOUT : 0));
      fds.push_back({c->canale.fd(), ev, 0});
    }
    ::poll(fds.data(), fds.size(), ancora ? 0 : 100);
    if (fds[1].revents & POLLIN) {
      signalfd_siginfo si{};
      while (::read(segnali_, &si, sizeof si) == static_cast<ssize_t>(sizeof si))
        Segnale(static_cast<int>(si.ssi_signo));
    }
    if (fds[0].revents & POLLIN) Accetta();
    for (size_t i = 0; i < clienti_.size(); ++i) {
      Cliente& c = *clienti_[i];
      if (c.canale.daScrivere()) c.canale.Svuota();
      if (c.canale.pronti() < kFetta) c.canale.Leggi();
      for (size_t k = 0; k < kFetta; ++k) {
        auto m = c.canale.Prossimo();
        if (!m) break;
        Gestisci(c, *m);
      }
    }
    // Clients that went away: their pending replies go nowhere.
    for (auto it = clienti_.begin(); it != clienti_.end();) {
      if ((*it)->canale.aperto() || (*it)->canale.pronti() > 0) {
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
  int fd = -1;
  try {
    fd = host::wire::ConnettiMenu(host::wire::PercorsoSocket(istanza), 2000);
  } catch (const util::RuntimeError& e) {
    std::cerr << "menuhost: " << e.description() << "\n";
    return 3;
  }
  host::wire::Canale ch(fd, "menuhost send: menu " + istanza);
  const int64_t fine = Adesso() + attesaMs;
  if (!ch.Invia({{"type", "control"}, {"command", comando}, {"parameter", parametro}, {"secondaryKey", chiave}},
                attesaMs)) {
    std::cerr << "menuhost: il menu non accetta il comando\n";
    return 2;
  }
  for (;;) {
    while (auto m = ch.Prossimo()) {
      if (host::wire::CampoTesto(*m, "type") != "controlReply") {
        host::wire::Segnala(ch.peer(), "messaggio inatteso scartato", host::wire::Estratto(m->dump()));
        continue;
      }
      if (m->contains("error")) {
        const json& e = (*m)["error"];
        const json n = e.is_object() && e.contains("number") ? e["number"] : json();
        std::cerr << "menuhost: errore " << (n.is_number_integer() ? n.dump() : std::string("5")) << ": "
                  << host::wire::CampoTesto(e, "description") << "\n";
        return 1;
      }
      const json r = m->contains("reply") ? (*m)["reply"] : json();
      std::cout << (r.is_string() ? r.get<std::string>() : r.is_null() ? std::string() : r.dump()) << "\n";
      return 0;
    }
    const int64_t resto = fine - Adesso();
    if (!ch.aperto()) {
      std::cerr << "menuhost: il menu ha chiuso il collegamento senza risposta\n";
      return 2;
    }
    if (resto <= 0) {
      std::cerr << "menuhost: il programma non ha risposto\n";
      return 2;
    }
    ch.Attendi(static_cast<int>(resto));
  }
}

}  // namespace menuhost
