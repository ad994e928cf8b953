#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace db {

// One token of the program's SQL dialect.
struct Token {
  enum Kind { Word, Quoted, String, Number, Date, Symbol };
  Kind kind = Word;
  std::string text;                           // Word/Quoted: the name; String: the value, quotes undone;
                                              // Number: as written; Date: between the #; Symbol: the characters
  bool isWord(std::string_view upper) const;  // a bare word, ignoring case
  bool isSymbol(std::string_view s) const { return kind == Symbol && text == s; }
};

// Splits statement text into tokens: words, [bracketed] and "quoted" names
// ("..." is a name here; text literals use single quotes), 'text' with ''
// doubled, numbers, #date# literals and operators. Raises 3075 for an
// unterminated literal or a character the dialect does not have.
std::vector<Token> Lex(std::string_view sql);

}  // namespace db
