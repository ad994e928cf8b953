#include "components/util/Files.h"

#include <cstdlib>
#include <system_error>

namespace util {

bool FileExists(const std::filesystem::path& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

std::filesystem::path StandardDirectory(DirectoryScope scope) {
  auto env = [](const char* name) -> std::string {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
  };
  if (scope == DirectoryScope::System) {
    const std::string dir = env("COMPENSATO_SYSCONFDIR");
    return dir.empty() ? std::filesystem::path("/etc") : std::filesystem::path(dir);
  }
  const std::filesystem::path xdg = env("XDG_CONFIG_HOME");
  if (!xdg.empty() && xdg.is_absolute()) return xdg / "torvel";
  const std::string home = env("HOME");
  if (home.empty()) return {};
  return std::filesystem::path(home) / ".config" / "torvel";
}

}  // namespace util
