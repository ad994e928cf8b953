#include "components/db/Translator.h"

#include "components/db/Lexer.h"
#include "components/db/StatementWriter.h"
#include "components/util/Decimal.h"
#include "components/util/Error.h"

namespace db {
namespace {

[[noreturn]] void Fail(const std::string& what, std::string_view sql) {
  throw util::RuntimeError(util::err::kSyntax, what + " nell'istruzione: " + std::string(sql), "DbExecutor");
}

}  // namespace

std::string LikePattern(std::string_view pattern) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    auto literal = [&](char x) {
      if (x == '%' || x == '_' || x == '\\') out += '\\';
      out += x;
    };
    switch (c) {
      case '*': out += '%'; break;
      case '?': out += '_'; break;
      case '[': {
        // [c] stands for the character c itself; character lists have no
        // equivalent in a standard LIKE.
        if (i + 2 < pattern.size() && pattern[i + 2] == ']' && pattern[i + 1] != '!') {
          literal(pattern[i + 1]);
          i += 2;
          break;
        }
        throw util::RuntimeError(util::err::kSyntax,
                                 "Elenco di caratteri [..] in LIKE non traducibile: " + std::string(pattern),
                                 "DbExecutor");
      }
      default: literal(c);
    }
  }
  return out;
}

Statement Translator::translate(std::string_view sql, const TranslateOptions& options) {
  std::vector<Token> tokens = Lex(sql);
  while (!tokens.empty() && tokens.back().isSymbol(";")) tokens.pop_back();
  if (tokens.empty()) Fail("Istruzione vuota", sql);

  // The key: the tokens, with the values that will be bound left out.
  const std::vector<size_t> lift = LiftedLiterals(tokens, dialect_.bindsLiterals());
  std::string key;
  key.reserve(sql.size() + 4);
  key += options.forUpdate ? 'U' : 'R';
  std::vector<const Token*> lifted;
  for (size_t i = 0; i < tokens.size(); ++i) {
    key += '\x1f';
    key += static_cast<char>('0' + tokens[i].kind);
    if (lift[i] != SIZE_MAX)
      lifted.push_back(&tokens[i]);
    else
      key += tokens[i].text;
  }

  auto it = cache_.find(key);
  if (it == cache_.end()) {
    WrittenStatement w = WriteStatement(dialect_, catalog_, tokens, sql, options);
    Template tpl;
    tpl.statement = std::move(w.statement);
    for (const auto& [lit, conv] : w.slots) tpl.slots.push_back({lit, static_cast<Slot::Conv>(conv)});
    if (cache_.size() > 4096) cache_.clear();
    it = cache_.emplace(std::move(key), std::move(tpl)).first;
  }

  Statement st = it->second.statement;
  st.params.reserve(it->second.slots.size());
  for (const Slot& s : it->second.slots) {
    const Token& tk = *lifted.at(s.literal);
    switch (tk.kind) {
      case Token::String: st.params.emplace_back(s.conv == Slot::Like ? LikePattern(tk.text) : tk.text); break;
      case Token::Number:
        if (s.conv == Slot::Round4) {
          const SqlParam p = NumberParam(tk.text);
          const double d =
              std::holds_alternative<double>(p) ? std::get<double>(p) : static_cast<double>(std::get<int64_t>(p));
          st.params.emplace_back(util::RoundDecimal(d, 4));
        } else {
          st.params.push_back(NumberParam(tk.text));
        }
        break;
      default: {
        const auto date = ParseDateLiteral(tk.text);
        if (!date) Fail("Data non valida #" + tk.text + "#", sql);
        st.params.emplace_back(date->iso());
      }
    }
  }
  return st;
}

}  // namespace db
