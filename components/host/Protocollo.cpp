#include "components/host/Protocollo.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <dirent.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "components/util/Error.h"

namespace host::wire {
namespace {

[[noreturn]] void Errore(const std::string& description) {
  throw util::RuntimeError(kHostNonDisponibile, description, "host");
}

bool Directory(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void NonBloccante(int fd) {
  const int flags = ::fcntl(fd, F_GETFL, 0);
  ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

bool Indirizzo(const std::string& path, sockaddr_un& addr) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return true;
}

int64_t Adesso() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

bool IstanzaValida(const std::string& instance) {
  if (instance.empty() || instance.size() > 64 || instance[0] == '.') return false;
  for (char c : instance) {
    const bool ok =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
    if (!ok) return false;
  }
  return true;
}

std::string CartellaSocket() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && Directory(runtime)) return std::string(runtime) + "/compensato";
  return "/tmp/compensato-" + std::to_string(::getuid());
}

std::string PreparaCartellaSocket(std::vector<std::string>* rimossi) {
  const std::string dir = CartellaSocket();
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) Errore("Cartella " + dir + ": " + std::strerror(errno));
  struct stat st {};
  // lstat: a symbolic link planted in /tmp by someone else must not redirect us.
  if (::lstat(dir.c_str(), &st) != 0) Errore("Cartella " + dir + ": " + std::strerror(errno));
  if (S_ISLNK(st.st_mode)) Errore("La cartella " + dir + " e' un collegamento simbolico: la si rimuova");
  if (!S_ISDIR(st.st_mode)) Errore(dir + " esiste e non e' una cartella");
  if (st.st_uid != ::getuid()) Errore("La cartella " + dir + " appartiene a un altro utente");
  if ((st.st_mode & 077) != 0 && ::chmod(dir.c_str(), 0700) != 0)
    Errore("La cartella " + dir + " e' accessibile ad altri utenti");
  // Only someone else's entries are removed: our own sockets belong to live
  // or dead hosts of ours, which ApriSocketInAscolto tells apart.
  DIR* d = ::opendir(dir.c_str());
  if (!d) Errore("Cartella " + dir + ": " + std::strerror(errno));
  std::vector<std::string> estranei;
  while (const dirent* e = ::readdir(d)) {
    const std::string nome = e->d_name;
    if (nome == "." || nome == "..") continue;
    struct stat es {};
    if (::fstatat(::dirfd(d), e->d_name, &es, AT_SYMLINK_NOFOLLOW) == 0 && es.st_uid != ::getuid())
      estranei.push_back(dir + "/" + nome);
  }
  ::closedir(d);
  for (const std::string& f : estranei) {
    if (::unlink(f.c_str()) != 0 && ::rmdir(f.c_str()) != 0)
      Errore("La cartella " + dir + " contiene " + f + " di un altro utente e non si riesce a rimuoverlo");
    if (rimossi) rimossi->push_back(f);
  }
  return dir;
}

void ControllaCartella(const std::string& dir) {
  struct stat st {};
  if (::lstat(dir.c_str(), &st) != 0) Errore("Nessun menu in esecuzione: manca la cartella " + dir);
  if (S_ISLNK(st.st_mode)) Errore("La cartella " + dir + " e' un collegamento simbolico: non la si usa");
  if (!S_ISDIR(st.st_mode)) Errore(dir + " non e' una cartella");
  if (st.st_uid != ::getuid()) Errore("La cartella " + dir + " appartiene a un altro utente: non la si usa");
  if ((st.st_mode & 077) != 0) Errore("La cartella " + dir + " e' accessibile ad altri utenti: non la si usa");
}

std::string PercorsoSocket(const std::string& instance) {
  if (!IstanzaValida(instance)) Errore("Istanza del menu non valida: '" + instance + "'");
  const std::string path = CartellaSocket() + "/menu-" + instance + ".sock";
  sockaddr_un addr{};
  if (!Indirizzo(path, addr)) Errore("Percorso del socket troppo lungo: " + path);
  return path;
}

json DaValore(const util::Value& v) {
  switch (v.type()) {
    case util::VType::Null: return nullptr;
    case util::VType::Integer: return json{{"int", v.toInteger()}};
    case util::VType::Long: return json{{"long", v.toLong()}};
    case util::VType::Double: return json{{"double", v.toDouble()}};
    case util::VType::Currency: return json{{"currency", v.toMoney().toString()}};
    case util::VType::Text: return v.text();
    case util::VType::Date: return json{{"date", v.toDate().iso()}};
    case util::VType::Boolean: return v.toBool();
  }
  return nullptr;
}

util::Value ValoreDa(const json& j) {
  if (j.is_null()) return {};
  if (j.is_boolean()) return util::Value(j.get<bool>());
  if (j.is_string()) return util::Value(j.get<std::string>());
  if (j.is_number_integer()) {
    const auto n = j.get<int64_t>();
    if (n < INT32_MIN || n > INT32_MAX) return util::Value(static_cast<double>(n));
    return util::Value::Long(n);
  }
  if (j.is_number()) return util::Value(j.get<double>());
  if (j.is_object() && j.size() == 1) {
    const auto it = j.begin();
    const std::string tag = it.key();
    const json& val = it.value();
    if (tag == "int" && val.is_number_integer()) {
      const auto n = val.get<int64_t>();
      if (n >= INT16_MIN && n <= INT16_MAX) return util::Value::Integer(static_cast<int>(n));
    }
    if (tag == "long" && val.is_number_integer()) {
      const auto n = val.get<int64_t>();
      if (n >= INT32_MIN && n <= INT32_MAX) return util::Value::Long(n);
    }
    if (tag == "double" && val.is_number()) return util::Value(val.get<double>());
    if (tag == "currency" && val.is_string()) return util::Value(util::Money::Parse(val.get<std::string>()));
    if (tag == "date" && val.is_string()) {
      if (auto d = util::Date::ParseIso(val.get<std::string>())) return util::Value(*d);
    }
  }
  throw std::invalid_argument("valore non riconosciuto: " + j.dump());
}

json DaHostValue(const HostValue& value) {
  if (const auto* single = std::get_if<util::Value>(&value)) return DaValore(*single);
  json arr = json::array();
  for (const auto& v : std::get<std::vector<util::Value>>(value)) arr.push_back(DaValore(v));
  return arr;
}

HostValue HostValueDa(const json& j) {
  if (!j.is_array()) return ValoreDa(j);
  std::vector<util::Value> out;
  for (const auto& e : j) out.push_back(ValoreDa(e));
  return out;
}

json DaLaunchInfo(const LaunchInfo& i) {
  return {{"osParam", i.osParam},
          {"osChiLancia", i.osChiLancia},
          {"osKeySecLancia", i.osKeySecLancia},
          {"osParamLancia", i.osParamLancia},
          {"osTipoForm", i.osTipoForm}};
}

LaunchInfo LaunchInfoDa(const json& j) {
  if (!j.is_object()) throw std::invalid_argument("informazioni di lancio non valide");
  LaunchInfo i;
  i.osParam = j.value("osParam", "");
  i.osChiLancia = j.value("osChiLancia", "");
  i.osKeySecLancia = j.value("osKeySecLancia", "");
  i.osParamLancia = j.value("osParamLancia", "");
  i.osTipoForm = j.value("osTipoForm", "");
  return i;
}

json DaComando(const HostCommand& c) {
  return {{"menuInstance", c.menuInstance},
          {"secondaryKey", c.secondaryKey},
          {"command", c.command},
          {"parameter", DaHostValue(c.parameter)}};
}

HostCommand ComandoDa(const json& j) {
  HostCommand c;
  c.menuInstance = j.value("menuInstance", "");
  c.secondaryKey = j.value("secondaryKey", "");
  c.command = j.value("command", "");
  c.parameter = HostValueDa(j.contains("parameter") ? j.at("parameter") : json());
  return c;
}

json DaErrore(int number, const std::string& description) { return {{"number", number}, {"description", description}}; }

std::string CampoTesto(const json& m, const char* key) {
  if (!m.is_object()) return "";
  const auto it = m.find(key);
  return it != m.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::optional<json> CampoId(const json& m) {
  if (!m.is_object()) return std::nullopt;
  const auto it = m.find("id");
  if (it == m.end() || !(it->is_number() || it->is_string())) return std::nullopt;
  return *it;
}

std::optional<int64_t> IdIntero(const json& m) {
  if (!m.is_object()) return std::nullopt;
  const auto it = m.find("id");
  if (it == m.end() || !it->is_number_integer()) return std::nullopt;
  return it->get<int64_t>();
}

std::string Estratto(const std::string& text, size_t max) {
  std::string out;
  for (size_t i = 0; i < text.size() && i < max; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    out.push_back(c < 0x20 || c == 0x7f ? '?' : static_cast<char>(c));
  }
  if (text.size() > max) out += "...";
  return out;
}

void Segnala(const std::string& peer, const std::string& what, const std::string& excerpt) {
  std::cerr << (peer.empty() ? std::string("collegamento") : peer) << ": " << what;
  if (!excerpt.empty()) std::cerr << ": " << excerpt;
  std::cerr << std::endl;
}

void SollevaErrore(const json& error, const std::string& source) {
  int number = 5;
  std::string description = "Errore del menu";
  if (error.is_object()) {
    if (error.contains("number") && error["number"].is_number_integer()) number = error["number"].get<int>();
    if (error.contains("description") && error["description"].is_string())
      description = error["description"].get<std::string>();
  }
  throw util::RuntimeError(number, description, source);
}

Canale::Canale(int fd, std::string peer) : fd_(fd), peer_(std::move(peer)) {
  if (fd_ >= 0) NonBloccante(fd_);
}

Canale::~Canale() { Chiudi(); }

Canale::Canale(Canale&& o) noexcept
    : fd_(o.fd_),
      chiuso_(o.chiuso_),
      peer_(std::move(o.peer_)),
      buffer_(std::move(o.buffer_)),
      cercato_(o.cercato_),
      uscita_(std::move(o.uscita_)),
      pronti_(std::move(o.pronti_)) {
  o.fd_ = -1;
}

Canale& Canale::operator=(Canale&& o) noexcept {
  if (this != &o) {
    Chiudi();
    fd_ = o.fd_;
    chiuso_ = o.chiuso_;
    peer_ = std::move(o.peer_);
    buffer_ = std::move(o.buffer_);
    cercato_ = o.cercato_;
    uscita_ = std::move(o.uscita_);
    pronti_ = std::move(o.pronti_);
    o.fd_ = -1;
  }
  return *this;
}

void Canale::Chiudi() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  chiuso_ = true;
}

void Canale::Lascia(const std::string& why) {
  Segnala(peer_, why + ": collegamento chiuso");
  Chiudi();
}

bool Canale::Accoda(const json& message) {
  if (!aperto()) return false;
  // Invalid UTF-8 from a parameter file is replaced, not a reason to drop the line.
  uscita_ += message.dump(-1, ' ', false, json::error_handler_t::replace);
  uscita_.push_back('\n');
  if (!Svuota()) return false;
  if (uscita_.size() > kUscitaMassima) {
    Lascia("oltre " + std::to_string(kUscitaMassima >> 20) + " MiB in attesa di un destinatario che non legge");
    return false;
  }
  return true;
}

bool Canale::Svuota() {
  if (!aperto()) return false;
  size_t sent = 0;
  while (sent < uscita_.size()) {
    const ssize_t n = ::send(fd_, uscita_.data() + sent, uscita_.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    chiuso_ = true;
    uscita_.clear();
    return false;
  }
  uscita_.erase(0, sent);
  return true;
}

bool Canale::Invia(const json& message, int timeoutMs) {
  if (!Accoda(message)) return false;
  const int64_t fine = Adesso() + timeoutMs;
  while (daScrivere()) {
    const int64_t resto = fine - Adesso();
    if (resto <= 0) return false;
    pollfd p{fd_, POLLOUT, 0};
    ::poll(&p, 1, static_cast<int>(resto));
    if (!Svuota()) return false;
  }
  return true;
}

bool Canale::Leggi() {
  if (!aperto()) return false;
  char buf[4096];
  // Bounded per call, so that a peer that never stops sending cannot keep
  // us here; what is left is read on the next call.
  for (size_t letti = 0; letti < kRigaMassima / 4;) {
    const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n > 0) {
      buffer_.append(buf, static_cast<size_t>(n));
      letti += static_cast<size_t>(n);
      size_t pos;
      while ((pos = buffer_.find('\n', cercato_)) != std::string::npos) {
        if (pos > kRigaMassima) break;
        const std::string line = buffer_.substr(0, pos);
        buffer_.erase(0, pos + 1);
        cercato_ = 0;
        if (line.empty()) continue;
        json j = json::parse(line, nullptr, false);
        if (!j.is_discarded() && j.is_object())
          pronti_.push_back(std::move(j));
        else
          Segnala(peer_, "riga scartata, non e' un oggetto JSON", Estratto(line));
      }
      cercato_ = buffer_.size();
      if (buffer_.size() > kRigaMassima) {
        Lascia("riga oltre " + std::to_string(kRigaMassima >> 20) + " MiB (" + Estratto(buffer_, 40) + ")");
        buffer_.clear();
        cercato_ = 0;
        return false;
      }
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    chiuso_ = true;
    break;
  }
  return !chiuso_;
}

std::optional<json> Canale::Prossimo() {
  if (pronti_.empty()) return std::nullopt;
  json j = std::move(pronti_.front());
  pronti_.pop_front();
  return j;
}

bool Canale::Attendi(int timeoutMs) {
  const size_t prima = pronti_.size();
  const int64_t fine = Adesso() + timeoutMs;
  for (;;) {
    if (!Leggi() && pronti_.size() == prima) return false;
    if (pronti_.size() > prima) return true;
    const int64_t resto = fine - Adesso();
    if (resto <= 0) return false;
    pollfd p{fd_, POLLIN, 0};
    const int r = ::poll(&p, 1, static_cast<int>(resto));
    if (r < 0 && errno != EINTR) return false;
  }
}

int ConnettiSocket(const std::string& path, int timeoutMs) {
  sockaddr_un addr{};
  if (!Indirizzo(path, addr)) return -1;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) return fd;
  if (errno == EINPROGRESS || errno == EAGAIN) {
    pollfd p{fd, POLLOUT, 0};
    int err = 0;
    socklen_t len = sizeof err;
    if (::poll(&p, 1, timeoutMs) == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0) return fd;
  }
  ::close(fd);
  return -1;
}

long UtentePeer(int fd) {
  ucred cr{};
  socklen_t len = sizeof cr;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cr, &len) != 0) return -1;
  return static_cast<long>(cr.uid);
}

long PidPeer(int fd) {
  ucred cr{};
  socklen_t len = sizeof cr;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cr, &len) != 0) return -1;
  return static_cast<long>(cr.pid);
}

int ConnettiMenu(const std::string& path, int timeoutMs) {
  const auto barra = path.rfind('/');
  ControllaCartella(barra == std::string::npos ? std::string(".") : path.substr(0, barra));
  const int fd = ConnettiSocket(path, timeoutMs);
  if (fd < 0) Errore("Nessun menu in ascolto su " + path);
  const long uid = UtentePeer(fd);
  if (uid != static_cast<long>(::getuid())) {
    ::close(fd);
    Errore("Il processo in ascolto su " + path + " e' di un altro utente (uid " + std::to_string(uid) +
           "): non gli si manda nulla");
  }
  return fd;
}

bool RimuoviSocket(const std::string& path, const FileSocket& creato) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || st.st_dev != creato.dev || st.st_ino != creato.ino) return false;
  return ::unlink(path.c_str()) == 0;
}

int ApriSocketInAscolto(const std::string& path, FileSocket* creato) {
  sockaddr_un addr{};
  if (!Indirizzo(path, addr)) Errore("Percorso del socket troppo lungo: " + path);
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) {
    if (!S_ISSOCK(st.st_mode)) Errore(path + " esiste e non e' un socket");
    const int vivo = ConnettiSocket(path, 200);
    if (vivo >= 0) {
      ::close(vivo);
      Errore("Un altro menu usa gia' l'istanza " + path);
    }
    ::unlink(path.c_str());
  }
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) Errore(std::string("socket: ") + std::strerror(errno));
  // The umask makes the socket owner-only from the moment it exists; a chmod
  // afterwards would leave a window in which others could connect.
  const mode_t vecchia = ::umask(0177);
  const int r = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  ::umask(vecchia);
  if (r != 0 || ::listen(fd, 16) != 0) {
    const std::string why = std::strerror(errno);
    ::close(fd);
    Errore("Impossibile aprire " + path + ": " + why);
  }
  if (creato && ::lstat(path.c_str(), &st) == 0) *creato = FileSocket{st.st_dev, st.st_ino};
  NonBloccante(fd);
  return fd;
}

}  // namespace host::wire
