#include "components/host/Protocollo.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

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
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_' || c == '.';
    if (!ok) return false;
  }
  return true;
}

std::string CartellaSocket() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && Directory(runtime)) return std::string(runtime) + "/compensato";
  return "/tmp/compensato-" + std::to_string(::getuid());
}

std::string PreparaCartellaSocket() {
  const std::string dir = CartellaSocket();
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) Errore("Cartella " + dir + ": " + std::strerror(errno));
  struct stat st {};
  // lstat: a symbolic link planted in /tmp by someone else must not redirect us.
  if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) Errore("Cartella " + dir + " non valida");
  if (st.st_uid != ::getuid()) Errore("La cartella " + dir + " appartiene a un altro utente");
  if ((st.st_mode & 077) != 0 && ::chmod(dir.c_str(), 0700) != 0)
    Errore("La cartella " + dir + " e' accessibile ad altri utenti");
  return dir;
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

json DaErrore(int number, const std::string& description) {
  return {{"number", number}, {"description", description}};
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

Canale::Canale(int fd) : fd_(fd) {
  if (fd_ >= 0) NonBloccante(fd_);
}

Canale::~Canale() { Chiudi(); }

Canale::Canale(Canale&& o) noexcept
    : fd_(o.fd_), chiuso_(o.chiuso_), buffer_(std::move(o.buffer_)), pronti_(std::move(o.pronti_)) {
  o.fd_ = -1;
}

Canale& Canale::operator=(Canale&& o) noexcept {
  if (this != &o) {
    Chiudi();
    fd_ = o.fd_;
    chiuso_ = o.chiuso_;
    buffer_ = std::move(o.buffer_);
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

bool Canale::Invia(const json& message, int timeoutMs) {
  if (!aperto()) return false;
  // Invalid UTF-8 from a parameter file is replaced, not a reason to drop the line.
  std::string line = message.dump(-1, ' ', false, json::error_handler_t::replace);
  line.push_back('\n');
  size_t sent = 0;
  const int64_t fine = Adesso() + timeoutMs;
  while (sent < line.size()) {
    const ssize_t n = ::send(fd_, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      const int64_t resto = fine - Adesso();
      if (resto <= 0) return false;
      pollfd p{fd_, POLLOUT, 0};
      ::poll(&p, 1, static_cast<int>(resto));
      continue;
    }
    chiuso_ = true;
    return false;
  }
  return true;
}

bool Canale::Leggi() {
  if (!aperto()) return false;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n > 0) {
      buffer_.append(buf, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    chiuso_ = true;
    break;
  }
  size_t pos;
  while ((pos = buffer_.find('\n')) != std::string::npos) {
    const std::string line = buffer_.substr(0, pos);
    buffer_.erase(0, pos + 1);
    if (line.empty()) continue;
    json j = json::parse(line, nullptr, false);
    if (!j.is_discarded() && j.is_object()) pronti_.push_back(std::move(j));
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
    if (::poll(&p, 1, timeoutMs) == 1 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 &&
        err == 0)
      return fd;
  }
  ::close(fd);
  return -1;
}

int ApriSocketInAscolto(const std::string& path) {
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
  NonBloccante(fd);
  return fd;
}

}  // namespace host::wire
