#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>

namespace db {

class Connection;

// A mark that the process owning a user identity is still running, visible to
// every process that opens the same database, on this machine or another.
// It is held by an engine-side lock that the operating system or the server
// drops the moment the holder dies, however it dies, so a crashed run is
// never mistaken for a live one nor a live one for a crashed one.
//
// - A file database: an open-file-description lock on one byte, chosen by a
//   hash of the identity, of the file "<database>-live" beside it. The lock
//   belongs to the open file, not to the process's other descriptors, and the
//   kernel (or the file server, for a shared folder) releases it with the
//   last descriptor, at exit or kill.
// - PostgreSQL: a session advisory lock keyed by a hash of the schema and
//   the identity, released by the server when the holding session ends;
//   others see it in pg_locks without taking it.
// - Any other engine cannot tell: liveMarkHeld answers nothing.
class LiveMarks {
 public:
  explicit LiveMarks(Connection& connection) : connection_(connection) {}
  ~LiveMarks();
  LiveMarks(const LiveMarks&) = delete;
  LiveMarks& operator=(const LiveMarks&) = delete;

  // Takes the identity's mark for as long as this connection stays open.
  // False when the engine keeps no marks or the mark could not be taken
  // (for example a read-only folder).
  bool hold(const std::string& identity);
  void release(const std::string& identity);
  // Whether any live process (this one included) holds the identity's mark;
  // nothing when the engine cannot tell.
  std::optional<bool> held(const std::string& identity);

  // The 64-bit key of an identity (stable across processes and builds).
  static uint64_t Key(const std::string& identity);

 private:
  std::string markFile() const;
  uint64_t keyOf(const std::string& identity);

  Connection& connection_;
  int fd_ = -1;  // the file database's mark file, while something is held
  std::set<std::string> held_;
  std::string scope_;  // PostgreSQL: the connection's schema
};

}  // namespace db
