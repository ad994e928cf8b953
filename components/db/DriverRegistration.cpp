#include "components/db/DriverRegistration.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

// The odbcinst library's own names for its registration file; exported, but
// declared only in a header that drags in the library's internals.
extern "C" {
char* odbcinst_system_file_path(char* buffer);
char* odbcinst_system_file_name(char* buffer);
}

namespace db {

namespace {

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

#ifdef __linux__

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// "../" once for each folder between the root and `dir`, so that a name the
// library appends to `dir` can reach any absolute path.
std::optional<std::string> UpToRoot(const std::string& dir) {
  char real[PATH_MAX];
  if (!realpath(dir.c_str(), real)) return std::nullopt;
  std::string up;
  std::string_view rest(real);
  while (!rest.empty()) {
    const size_t slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    if (!part.empty()) up += "../";
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  return up;
}

void GiveLibraryCopyWithoutLogs() {
  // Large enough for what the library copies into them (its own limit is the
  // system's file name limit).
  char folderBuf[2 * PATH_MAX] = {0};
  char nameBuf[2 * PATH_MAX] = {0};
  const std::string folder = odbcinst_system_file_path(folderBuf);
  const char* previous = std::getenv("ODBCINSTINI");
  const std::string previousName = previous ? previous : "";
  const auto registration = ReadFile(folder + "/" + (previous ? previousName : std::string("odbcinst.ini")));
  const auto up = UpToRoot(folder);
  if (!registration || !up) return;

  const std::string text = WithDriverLogsOff(*registration);
  const int fd = memfd_create("odbcinst.ini", MFD_CLOEXEC);
  if (fd < 0) return;
  for (size_t done = 0; done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n <= 0) {
      close(fd);
      return;
    }
    done += static_cast<size_t>(n);
  }

  // The library reads the variable once, at its first look at the file, and
  // keeps the name; putting the variable back at once keeps the driver
  // manager and child processes on the registration as installed.
  const std::string copy = *up + "proc/self/fd/" + std::to_string(fd);
  setenv("ODBCINSTINI", copy.c_str(), 1);
  const std::string taken = odbcinst_system_file_name(nameBuf);
  if (previous)
    setenv("ODBCINSTINI", previousName.c_str(), 1);
  else
    unsetenv("ODBCINSTINI");
  // The descriptor stays open for the life of the process: the driver opens
  // the copy again each time it is loaded.
  if (taken != copy) close(fd);  // the library had named its file already
}

#endif

}  // namespace

std::string WithDriverLogsOff(std::string_view registration) {
  std::string out;
  out.reserve(registration.size());
  while (!registration.empty()) {
    const size_t end = registration.find('\n');
    std::string_view line = registration.substr(0, end == std::string_view::npos ? registration.size() : end + 1);
    registration.remove_prefix(line.size());
    std::string_view body = line;
    std::string_view ending;
    if (!body.empty() && body.back() == '\n') body.remove_suffix(1), ending = "\n";
    if (!body.empty() && body.back() == '\r') body.remove_suffix(1), ending = "\r\n";
    const size_t start = body.find_first_not_of(" \t");
    const size_t equals = body.find('=');
    if (start != std::string_view::npos && body[start] != ';' && body[start] != '#' && body[start] != '[' &&
        equals != std::string_view::npos && equals > start) {
      const std::string_view key = TrimRight(body.substr(start, equals - start));
      if (SameKey(key, "CommLog") || SameKey(key, "Debug")) {
        out.append(body.substr(0, equals + 1));
        out += "0";
        out.append(ending);
        continue;
      }
    }
    out.append(line);
  }
  return out;
}

void KeepDriverLogsOff() {
#ifdef __linux__
  static std::once_flag once;
  std::call_once(once, GiveLibraryCopyWithoutLogs);
#endif
}

}  // namespace db
