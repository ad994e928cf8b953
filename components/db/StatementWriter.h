#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "components/db/Lexer.h"
#include "components/db/Translator.h"

namespace db {

// One statement written for an engine, with its "?" in order: each names a
// lifted literal (its index among them) and how its value is converted
// (0 as written, 1 as a LIKE pattern, 2 as a date, 3 rounded to four decimals).
struct WrittenStatement {
  Statement statement;
  std::vector<std::pair<size_t, int>> slots;
};

WrittenStatement WriteStatement(const Dialect& dialect, Catalog& catalog, const std::vector<Token>& tokens,
                                std::string_view sql, const TranslateOptions& options);

// Per token, its index among the literals a binding dialect takes out of the
// text; SIZE_MAX for every other token (and for every token when `binds` is false).
std::vector<size_t> LiftedLiterals(const std::vector<Token>& tokens, bool binds);

// "#mm/dd/yyyy[ hh:nn[:ss]]#" (or ISO) without the #; nullopt when it is no date.
std::optional<util::Date> ParseDateLiteral(std::string_view text);
// A number token as an integer when it is one, otherwise a double.
SqlParam NumberParam(const std::string& text);

}  // namespace db
