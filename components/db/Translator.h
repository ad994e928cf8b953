#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "components/db/Catalog.h"
#include "components/db/Dialect.h"

namespace db {

// A value bound to a "?" of a translated statement.
using SqlParam = std::variant<std::monostate, int64_t, double, std::string>;

// A statement of the program's dialect, rewritten for one engine.
struct Statement {
  enum class Kind { Select, Update, Insert, Delete };
  Kind kind = Kind::Select;
  std::string sql;
  std::vector<SqlParam> params;  // only for dialects that bind literals
  std::string firstTable;        // first table of the FROM, or the table written to
  bool lockable = false;         // a plain SELECT that row locks may be taken for
};

struct TranslateOptions {
  bool forUpdate = false;  // lock the first table's rows (when the statement allows it)
};

// The program's SQL dialect (one text for every engine) turned into an
// engine's: IIF and IsNull, LIKE with * and ?, & concatenation, TOP n,
// #mm/dd/yyyy# dates, True/False, ucase and friends, UPDATE over joins,
// "Delete * from" and "Delete T.* From". Anything it cannot carry over raises
// util::RuntimeError 3075 naming the construct: a statement never runs with a
// meaning other than the one written.
//
// Translations are cached. With a dialect that binds literals the cache key is
// the statement with its values taken out, so statements that differ only in
// their values share one translation (and one prepared statement).
class Translator {
 public:
  Translator(const Dialect& dialect, Catalog& catalog) : dialect_(dialect), catalog_(catalog) {}

  Statement translate(std::string_view sql, const TranslateOptions& options = {});
  // Forget every translation (the catalog changed).
  void clear() { cache_.clear(); }
  size_t cacheSize() const { return cache_.size(); }

 private:
  struct Slot {
    size_t literal;  // index among the statement's lifted literals
    enum Conv { Plain, Like, Date, Round4 } conv;
  };
  struct Template {
    Statement statement;
    std::vector<Slot> slots;
  };

  const Dialect& dialect_;
  Catalog& catalog_;
  std::unordered_map<std::string, Template> cache_;
};

// The program's LIKE pattern (* any text, ? one character, [c] the character
// c) as a standard LIKE pattern with '\' as its escape character.
std::string LikePattern(std::string_view pattern);

}  // namespace db
