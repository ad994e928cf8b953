#include "components/util/Ini.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

#include "components/util/Text.h"

namespace util {
namespace {

// cp1252 characters 0x80..0x9F; 0 where the code page has none (read as the
// Latin-1 control of the same number).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string FromCp1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    char32_t c = b;
    if (b >= 0x80 && b < 0xA0 && kCp1252High[b - 0x80] != 0) c = kCp1252High[b - 0x80];
    AppendUtf8(out, c);
  }
  return out;
}

// Section or key name as compared: trimmed, lower case (ASCII; the names of
// the suite's files are plain ASCII).
std::string Folded(std::string_view s) {
  std::string out = Trim(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string Unquoted(std::string v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

// The raw value of the first occurrence of the key, or nullopt.
std::optional<std::string> Lookup(std::string_view section, std::string_view key, const std::filesystem::path& file) {
  if (file.empty()) return std::nullopt;
  const std::string text = ReadTextFile(file);
  const std::string wantSection = Folded(section);
  const std::string wantKey = Folded(key);
  bool inSection = false;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#') continue;
    if (t[0] == '[') {
      const size_t close = t.find(']');
      if (close == std::string::npos) continue;  // a broken header changes nothing
      inSection = Folded(std::string_view(t).substr(1, close - 1)) == wantSection;
      continue;
    }
    if (!inSection) continue;
    const size_t eq = t.find('=');
    if (eq == std::string::npos) continue;
    if (Folded(std::string_view(t).substr(0, eq)) != wantKey) continue;
    return Unquoted(Trim(std::string_view(t).substr(eq + 1)));
  }
  return std::nullopt;
}

}  // namespace

std::string ReadTextFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return bytes.substr(3);
  return IsValidUtf8(bytes) ? bytes : FromCp1252(bytes);
}

bool IniKeyExists(std::string_view section, std::string_view key, const std::filesystem::path& file) {
  return Lookup(section, key, file).has_value();
}

int ReadIniKey(std::string_view section, std::string_view key, std::string_view defaultValue, std::string& value,
               const std::filesystem::path& file, std::optional<std::size_t> limit) {
  const std::optional<std::string> found = Lookup(section, key, file);
  if (!found) {
    value = std::string(defaultValue);
    return 0;
  }
  value = limit ? Utf8Prefix(*found, *limit) : *found;
  return static_cast<int>(Utf8Length(value));
}

int ReadConfigKey(std::string_view section, std::string_view key, std::string_view defaultValue, std::string& value,
                  const std::filesystem::path& mainFile, const std::filesystem::path& databaseFile,
                  std::optional<std::size_t> limit) {
  if (!databaseFile.empty()) {
    std::filesystem::path db = databaseFile;
    if (db.is_relative() && !mainFile.empty()) db = mainFile.parent_path() / db;
    std::string fromDb;
    if (ReadIniKey(section, key, "", fromDb, db, limit) > 0) {
      value = std::move(fromDb);
      return static_cast<int>(Utf8Length(value));
    }
  }
  return ReadIniKey(section, key, defaultValue, value, mainFile, limit);
}

}  // namespace util
