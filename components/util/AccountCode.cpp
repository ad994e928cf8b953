#include "components/util/AccountCode.h"

#include <algorithm>
#include <cctype>

#include "components/util/Text.h"

namespace util {
namespace {

bool Digits(std::string_view s) {
  return !s.empty() &&
         std::all_of(s.begin(), s.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

std::string Part(std::string_view s, size_t pos, size_t len) {
  return pos < s.size() ? std::string(s.substr(pos, len)) : std::string();
}

// The parts of a typed code, or false when it is not a well formed code.
bool Parts(std::string_view text, int length, AccountParts& p) {
  const std::string t = Trim(text);
  const size_t contoWidth = length > 4 ? static_cast<size_t>(length - 4) : 0;
  if (t.find('-') == std::string::npos) {
    if (t.size() > static_cast<size_t>(length)) return false;
    p = {Part(t, 0, 2), Part(t, 2, 2), Part(t, 4, std::string::npos)};
    return true;
  }
  const size_t d1 = t.find('-');
  const size_t d2 = t.find('-', d1 + 1);
  if (d2 != std::string::npos && t.find('-', d2 + 1) != std::string::npos) return false;
  p.gruppo = Trim(std::string_view(t).substr(0, d1));
  p.mastro = Trim(std::string_view(t).substr(d1 + 1, d2 == std::string::npos ? std::string::npos : d2 - d1 - 1));
  p.conto = d2 == std::string::npos ? "" : Trim(std::string_view(t).substr(d2 + 1));
  for (std::string* s : {&p.gruppo, &p.mastro})
    if (s->size() == 1 && Digits(*s)) s->insert(s->begin(), '0');
  return p.gruppo.size() <= 2 && p.mastro.size() <= 2 && p.conto.size() <= contoWidth;
}

bool IsConto(std::string_view kind) { return EqualsIgnoreCase(Trim(kind), "conto"); }

}  // namespace

AccountParts SplitAccountCode(std::string_view code) {
  if (code.find('-') == std::string_view::npos)
    return {Part(code, 0, 2), Part(code, 2, 2), Part(code, 4, std::string::npos)};
  return {Part(code, 0, 2), Part(code, 3, 2), Part(code, 6, std::string::npos)};
}

std::string NormaliseCode(std::string_view text, std::string_view kind, int length) {
  if (!IsConto(kind)) return Trim(text);
  AccountParts p;
  if (!Parts(text, length, p)) return Trim(text);
  return p.gruppo + p.mastro + p.conto;
}

std::string FormatCode(std::string_view text, std::string_view kind, int length) {
  if (!IsConto(kind)) return Trim(text);
  AccountParts p;
  if (!Parts(text, length, p)) return Trim(text);
  if (p.gruppo.empty() && p.mastro.empty() && p.conto.empty()) return "";
  std::string out = p.gruppo;
  if (!p.mastro.empty() || !p.conto.empty()) out += "-" + p.mastro;
  if (!p.conto.empty()) out += "-" + p.conto;
  return out;
}

}  // namespace util
