#include "components/util/CommandLine.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

#include "components/util/Decimal.h"
#include "components/util/Text.h"
#include "components/util/Value.h"

namespace util {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The letter of a switch starting at i, if one does.
std::optional<char> SwitchAt(std::string_view s, size_t i) {
  if (i + 1 >= s.size() || (s[i] != '/' && s[i] != '-')) return std::nullopt;
  if (i > 0 && !IsBlank(s[i - 1])) return std::nullopt;
  const auto letter = static_cast<unsigned char>(s[i + 1]);
  if (!std::isalpha(letter)) return std::nullopt;
  if (i + 2 < s.size() && !IsBlank(s[i + 2]) && s[i + 2] != ':' && s[i + 2] != '=') return std::nullopt;
  return static_cast<char>(std::toupper(letter));
}

struct Found {
  bool present = false;
  std::string value;
};

Found Find(std::string_view s, char letter) {
  const char want = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] == '"') {  // a quoted stretch outside a value: skip it whole
      ++i;
      while (i < s.size() && !(s[i] == '"' && (i + 1 >= s.size() || s[i + 1] != '"'))) i += s[i] == '"' ? 2 : 1;
      ++i;
      continue;
    }
    const auto sw = SwitchAt(s, i);
    if (!sw) {
      ++i;
      continue;
    }
    i += 2;
    if (i < s.size() && (s[i] == ':' || s[i] == '=')) ++i;
    while (i < s.size() && IsBlank(s[i])) ++i;
    Found f;
    f.present = true;
    std::string raw;
    bool quoted = false;
    size_t quotedEnd = 0;  // blanks before this point were inside quotes
    while (i < s.size()) {
      if (s[i] == '"') {
        quoted = true;
        ++i;
        while (i < s.size()) {
          if (s[i] == '"') {
            if (i + 1 < s.size() && s[i + 1] == '"') {
              raw += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          raw += s[i++];
        }
        quotedEnd = raw.size();
        continue;
      }
      if (SwitchAt(s, i)) break;
      raw += s[i++];
    }
    if (quoted) {
      // blanks outside the quotes go, those inside stay
      size_t e = raw.size();
      while (e > quotedEnd && IsBlank(raw[e - 1])) --e;
      f.value = raw.substr(0, e);
    } else {
      f.value = Trim(raw);
    }
    if (*sw == want) return f;
  }
  return {};
}

}  // namespace

std::string SwitchValue(std::string_view commandLine, char letter) { return Find(commandLine, letter).value; }

bool HasSwitch(std::string_view commandLine, char letter) { return Find(commandLine, letter).present; }

std::string JoinCommandLine(const std::vector<std::string>& args) {
  std::string out;
  for (const std::string& a : args) {
    if (!out.empty()) out += ' ';
    // A switch ("-M", "/M=12") goes as it is; a value is quoted when it
    // holds a blank or a quote.
    const bool isSwitch = SwitchAt(a, 0).has_value();
    const bool quote = !isSwitch && (a.empty() || a.find_first_of(" \t\"") != std::string::npos);
    if (!quote) {
      out += a;
      continue;
    }
    out += '"';
    for (char c : a) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  return out;
}

namespace {

[[noreturn]] void Refuse(std::string_view option, std::string_view text, std::string_view why) {
  throw OptionError(std::string(option) + ": \"" + std::string(text) + "\" " + std::string(why));
}

}  // namespace

int64_t IntegerOption(std::string_view option, std::string_view text, int64_t min, int64_t max) {
  const std::string t = Trim(text);
  const char* first = t.data();
  if (!t.empty() && t[0] == '+') ++first;
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(first, t.data() + t.size(), value);
  const std::string limits = "fuori dai limiti " + std::to_string(min) + ".." + std::to_string(max);
  if (t.empty() || end != t.data() + t.size() || (ec != std::errc() && ec != std::errc::result_out_of_range))
    Refuse(option, text, "non è un numero intero");
  if (ec == std::errc::result_out_of_range || value < min || value > max) Refuse(option, text, limits);
  return value;
}

double NumberOption(std::string_view option, std::string_view text, double min, double max) {
  double value = 0;
  if (!ParseItalianNumber(text, value) || std::isnan(value)) Refuse(option, text, "non è un numero");
  if (!std::isfinite(value) || value < min || value > max)
    Refuse(option, text, "fuori dai limiti " + ShortestDecimal(min) + ".." + ShortestDecimal(max));
  return value;
}

}  // namespace util
