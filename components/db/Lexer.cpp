#include "components/db/Lexer.h"

#include <cctype>

#include "components/util/Error.h"

namespace db {
namespace {

// ASCII classes, whatever the process locale says.
bool Digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool Alpha(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool Space(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool WordStart(unsigned char c) { return Alpha(c) || c == '_' || c >= 0x80; }
bool WordChar(unsigned char c) { return Alpha(c) || Digit(c) || c == '_' || c >= 0x80; }

[[noreturn]] void Fail(const std::string& what, std::string_view sql) {
  throw util::RuntimeError(util::err::kSyntax, what + " nell'istruzione: " + std::string(sql), "DbExecutor");
}

}  // namespace

bool Token::isWord(std::string_view upper) const {
  if (kind != Word || text.size() != upper.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(text[i])) != upper[i]) return false;
  return true;
}

std::vector<Token> Lex(std::string_view sql) {
  std::vector<Token> out;
  size_t i = 0;
  const size_t n = sql.size();
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(sql[i]);
    if (Space(c)) {
      ++i;
      continue;
    }
    Token t;
    if (WordStart(c)) {
      size_t j = i + 1;
      while (j < n && WordChar(static_cast<unsigned char>(sql[j]))) ++j;
      t.kind = Token::Word;
      t.text = std::string(sql.substr(i, j - i));
      i = j;
    } else if (Digit(c) || (c == '.' && i + 1 < n && Digit(static_cast<unsigned char>(sql[i + 1])))) {
      size_t j = i;
      while (j < n && Digit(static_cast<unsigned char>(sql[j]))) ++j;
      if (j < n && sql[j] == '.') {
        ++j;
        while (j < n && Digit(static_cast<unsigned char>(sql[j]))) ++j;
      }
      if (j < n && (sql[j] == 'e' || sql[j] == 'E')) {
        size_t k = j + 1;
        if (k < n && (sql[k] == '+' || sql[k] == '-')) ++k;
        if (k < n && Digit(static_cast<unsigned char>(sql[k]))) {
          j = k;
          while (j < n && Digit(static_cast<unsigned char>(sql[j]))) ++j;
        }
      }
      if (j < n && WordChar(static_cast<unsigned char>(sql[j]))) Fail("Numero non valido", sql);
      t.kind = Token::Number;
      t.text = std::string(sql.substr(i, j - i));
      i = j;
    } else if (c == '\'') {
      t.kind = Token::String;
      size_t j = i + 1;
      for (;;) {
        if (j >= n) Fail("Testo tra apici non chiuso", sql);
        if (sql[j] == '\'') {
          if (j + 1 < n && sql[j + 1] == '\'') {
            t.text += '\'';
            j += 2;
            continue;
          }
          ++j;
          break;
        }
        if (sql[j] == '\0') Fail("Carattere NUL", sql);
        t.text += sql[j++];
      }
      i = j;
    } else if (c == '[' || c == '"') {
      const char close = c == '[' ? ']' : '"';
      const size_t j = sql.find(close, i + 1);
      if (j == std::string_view::npos || j == i + 1) Fail("Nome tra delimitatori non chiuso", sql);
      t.kind = Token::Quoted;
      t.text = std::string(sql.substr(i + 1, j - i - 1));
      if (t.text.find_first_of("\"\0", 0, 2) != std::string::npos) Fail("Nome non valido", sql);
      i = j + 1;
    } else if (c == '#') {
      const size_t j = sql.find('#', i + 1);
      if (j == std::string_view::npos) Fail("Data tra # non chiusa", sql);
      t.kind = Token::Date;
      t.text = std::string(sql.substr(i + 1, j - i - 1));
      i = j + 1;
    } else {
      t.kind = Token::Symbol;
      const std::string_view two = sql.substr(i, 2);
      if (two == "<>" || two == "<=" || two == ">=" || two == "!=" || two == "||") {
        t.text = std::string(two);
        i += 2;
      } else if (std::string_view("(),.*=<>+-/&;%").find(static_cast<char>(c)) != std::string_view::npos) {
        t.text = std::string(1, static_cast<char>(c));
        ++i;
      } else {
        Fail(std::string("Carattere non previsto '") + static_cast<char>(c) + "'", sql);
      }
    }
    out.push_back(std::move(t));
  }
  return out;
}

}  // namespace db
