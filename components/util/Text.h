#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace util {

// Small text helpers shared by the library. Texts are UTF-8; letter case is
// folded for ASCII only, which is what codes, commands and answers use.

// Without leading and trailing blanks, tabs and line ends.
std::string Trim(std::string_view s);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);

bool IsValidUtf8(std::string_view s);
// Characters (code points) of a UTF-8 text.
std::size_t Utf8Length(std::string_view s);
// The first `n` characters, never cutting a character in two.
std::string Utf8Prefix(std::string_view s, std::size_t n);

}  // namespace util
