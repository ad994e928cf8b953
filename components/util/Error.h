#pragma once

#include <stdexcept>
#include <string>

namespace util {

// The run-time error of the program: a number, a description and the routine
// or component it comes from. Database failures carry the engine's error
// numbers (3022 duplicate key, 3218 locked, 3146 ODBC call failed, ...). A routine that has
// a handler catches it at its boundary and reports it; elsewhere it propagates.
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, std::string description, std::string source = "")
      : std::runtime_error(description),
        number_(number),
        description_(std::move(description)),
        source_(std::move(source)) {}

  int number() const { return number_; }
  const std::string& description() const { return description_; }
  const std::string& source() const { return source_; }

  // The same error raised again by another routine: the number and the
  // description stay, so the caller that reports it still tells what failed,
  // and the source names where it was raised last.
  RuntimeError withSource(std::string source) const { return RuntimeError(number_, description_, std::move(source)); }

 private:
  int number_;
  std::string description_;
  std::string source_;
};

// Error numbers the program relies on, as the suite's engine numbered them.
namespace err {
inline constexpr int kOutOfMemory = 7;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kDuplicateKey = 3022;    // a unique key already taken, on every engine
inline constexpr int kOdbcCallFailed = 3146;  // any other failure reported by an ODBC source
inline constexpr int kLoginFailed = 3059;     // ODBC login failed or cancelled
inline constexpr int kWrongPassword = 3031;   // file database password
inline constexpr int kNotADatabase = 3343;    // unrecognised database format
inline constexpr int kLocked = 3218;          // locked by another user or process; a lock wait ran out
// A server database can give up a transaction that collided with another one;
// the file engine never does, so these two numbers are our own. Repeating the
// whole transaction is the answer to both.
inline constexpr int kSerializationFailure = 3960;  // could not serialize access
inline constexpr int kDeadlock = 3961;              // chosen as the victim of a deadlock
inline constexpr int kNoCurrentRecord = 3021;
inline constexpr int kUpdateWithoutEdit = 3020;
inline constexpr int kNotUpdatable = 3027;
inline constexpr int kFieldNotFound = 3265;
inline constexpr int kFieldTooSmall = 3163;
inline constexpr int kWriteConflict = 3197;
inline constexpr int kSyntax = 3075;  // statement the dialect cannot read or translate
inline constexpr int kEngine = 3000;  // any other engine failure; the text is the engine's
}  // namespace err

// Any exception as the run-time error it stands for: a RuntimeError as it
// is; a failed conversion (std::invalid_argument) as 13, type mismatch; any
// other with its text under `otherwise`.
inline RuntimeError AsRuntimeError(const std::exception& e, int otherwise = err::kEngine) {
  if (const auto* r = dynamic_cast<const RuntimeError*>(&e)) return *r;
  if (dynamic_cast<const std::invalid_argument*>(&e)) return RuntimeError(err::kTypeMismatch, e.what());
  return RuntimeError(otherwise, e.what());
}

}  // namespace util
