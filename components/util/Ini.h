#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace util {

// Configuration files in the suite's initialisation format:
//
//   ; comment            (also "#"; only at the start of a line)
//   [Section]
//   Key = value
//
// Reading follows what the suite's programs have always relied on:
// - section and key names compare ignoring case and surrounding blanks;
// - the first occurrence wins: sections of the same name are searched in file
//   order and the first line carrying the key gives the value;
// - the value is trimmed, and one pair of surrounding double (or single)
//   quotes is removed, which keeps blanks inside them;
// - nothing after the "=" is taken as a comment: connect strings and paths
//   hold ";" and "#";
// - CRLF or LF line ends, an optional UTF-8 byte-order mark; a file that is
//   not valid UTF-8 is read as Windows Latin-1 (cp1252), the encoding these
//   files were written in, and its text comes back as UTF-8.
//
// The result is the number of characters of the value returned; a missing
// file, section or key gives the default and 0, and so does a key that is
// present with an empty value (then the value is ""). With `limit`, a value is
// cut to that many characters, as a caller with a fixed buffer gets it.
int ReadIniKey(std::string_view section, std::string_view key, std::string_view defaultValue, std::string& value,
               const std::filesystem::path& file, std::optional<std::size_t> limit = std::nullopt);

// True when the file holds the key in the section (even with an empty value).
bool IniKeyExists(std::string_view section, std::string_view key, const std::filesystem::path& file);

// A key of the program's configuration, which is two files: the main one and
// the database configuration chosen at startup. The database file is the more
// specific, so a non-empty value there wins; otherwise the main file is read
// (its value, or the default). An empty entry in the database file does not
// hide the main file's value. An empty path is skipped. A relative database file
// name is taken from the folder of the main file.
int ReadConfigKey(std::string_view section, std::string_view key, std::string_view defaultValue, std::string& value,
                  const std::filesystem::path& mainFile, const std::filesystem::path& databaseFile,
                  std::optional<std::size_t> limit = std::nullopt);

// The text of a file as UTF-8: byte-order mark dropped, cp1252 converted when
// the bytes are not UTF-8. Empty when the file cannot be read.
std::string ReadTextFile(const std::filesystem::path& file);

}  // namespace util
