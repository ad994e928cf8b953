#pragma once

#include <filesystem>
#include <string>

namespace util {

// True when the path names an existing regular file (a symbolic link to one
// counts). A folder, a missing path or an empty one is false; the check never
// throws.
bool FileExists(const std::filesystem::path& path);

// Where the suite keeps its configuration files on this platform.
//
// User: $XDG_CONFIG_HOME/torvel when the variable holds an absolute path,
// otherwise $HOME/.config/torvel; empty when neither is known.
// System: $COMPENSATO_SYSCONFDIR when set (tests and relocated installs),
// otherwise /etc.
enum class DirectoryScope { User, System };
std::filesystem::path StandardDirectory(DirectoryScope scope = DirectoryScope::User);

}  // namespace util
