#pragma once

#include <string>
#include <string_view>

namespace db {

// SHA-256 of the bytes, as 64 lower-case hex digits. Used for the file
// database password check, which is access control, not encryption.
std::string Sha256Hex(std::string_view data);

}  // namespace db
