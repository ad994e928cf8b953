#include "components/db/LiveMark.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "components/db/Connection.h"
#include "components/util/Error.h"

namespace db {
namespace {

bool IsPostgres(Connection& c) { return c.isOdbc() && std::string(c.dialect().name()) == "PostgreSQL"; }

// One byte of the mark file per identity, far beyond its end: locks past
// the end of a file are allowed and never grow it.
struct flock Byte(uint64_t key, short type) {
  struct flock l;
  std::memset(&l, 0, sizeof l);
  l.l_type = type;
  l.l_whence = SEEK_SET;
  l.l_start = static_cast<off_t>(key & 0xFFFFFFFFFFFFull);
  l.l_len = 1;
  return l;
}

std::string Bigint(uint64_t key) { return std::to_string(static_cast<int64_t>(key)); }

bool True(const ResultSet& rs) {
  if (rs.rows.empty() || rs.rows[0].empty()) return false;
  const util::Value& v = rs.rows[0][0];
  if (v.isNull()) return false;
  if (v.type() == util::VType::Boolean) return v.toBool();
  if (v.type() == util::VType::Text) return v.text() == "1" || v.text() == "t" || v.text() == "true";
  return v.toDouble() != 0;
}

}  // namespace

uint64_t LiveMarks::Key(const std::string& identity) {
  // FNV-1a: fixed, so every process and build finds the same key.
  uint64_t h = 1469598103934665603ull;
  for (const unsigned char ch : "compensato-live:" + identity) {
    h ^= ch;
    h *= 1099511628211ull;
  }
  return h;
}

LiveMarks::~LiveMarks() {
  if (fd_ >= 0) ::close(fd_);
}

std::string LiveMarks::markFile() const {
  const std::string file = connection_.databaseFile();
  if (file.empty() || file == ":memory:") return {};
  return file + "-live";
}

uint64_t LiveMarks::keyOf(const std::string& identity) {
  if (!IsPostgres(connection_)) return Key(identity);
  // Advisory locks are the whole database's: the schema keeps companies
  // that share one database apart.
  if (scope_.empty()) {
    const ResultSet rs = connection_.queryRaw("SELECT current_schema()");
    scope_ = rs.rows.empty() || rs.rows[0].empty() ? "-" : rs.rows[0][0].toText();
  }
  return Key(scope_ + "|" + identity);
}

bool LiveMarks::hold(const std::string& identity) {
  if (held_.count(identity)) return true;
  const uint64_t key = keyOf(identity);
  if (IsPostgres(connection_)) {
    if (!True(connection_.queryRaw("SELECT pg_try_advisory_lock(" + Bigint(key) + ")"))) return false;
  } else {
    const std::string file = markFile();
    if (file.empty()) return false;
    if (fd_ < 0) {
      fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
      if (fd_ < 0) return false;
    }
    struct flock l = Byte(key, F_WRLCK);
    if (::fcntl(fd_, F_OFD_SETLK, &l) != 0) return false;
  }
  held_.insert(identity);
  return true;
}

void LiveMarks::release(const std::string& identity) {
  if (!held_.erase(identity)) return;
  const uint64_t key = keyOf(identity);
  if (IsPostgres(connection_)) {
    connection_.queryRaw("SELECT pg_advisory_unlock(" + Bigint(key) + ")");
  } else if (fd_ >= 0) {
    struct flock l = Byte(key, F_UNLCK);
    ::fcntl(fd_, F_OFD_SETLK, &l);
  }
}

std::optional<bool> LiveMarks::held(const std::string& identity) {
  const uint64_t key = keyOf(identity);
  if (IsPostgres(connection_)) {
    // Looking, not taking: a try-lock from the holder's own session would
    // succeed and say nothing.
    const std::string hi = std::to_string(key >> 32), lo = std::to_string(key & 0xFFFFFFFFull);
    return True(connection_.queryRaw(
        "SELECT COUNT(*) FROM pg_locks WHERE locktype = 'advisory' AND granted AND objsubid = 1 AND classid = " + hi +
        " AND objid = " + lo + " AND database = (SELECT oid FROM pg_database WHERE datname = current_database())"));
  }
  if (connection_.isOdbc()) return std::nullopt;
  const std::string file = markFile();
  if (file.empty()) return std::nullopt;
  if (held_.count(identity)) return true;
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    // No mark file: no process of this database ever held a mark.
    if (errno == ENOENT) return false;
    throw util::RuntimeError(util::err::kEngine, "Impossibile leggere " + file + ": " + std::strerror(errno),
                             "DbExecutor");
  }
  struct flock l = Byte(key, F_WRLCK);
  const int rc = ::fcntl(fd, F_OFD_GETLK, &l);
  const int e = errno;
  ::close(fd);
  if (rc != 0)
    throw util::RuntimeError(util::err::kEngine, "Impossibile leggere " + file + ": " + std::strerror(e), "DbExecutor");
  return l.l_type != F_UNLCK;
}

}  // namespace db
