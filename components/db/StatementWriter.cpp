// The walk over one statement's tokens, written for one engine. The
// translator caches what it writes.
#include "components/db/StatementWriter.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <set>

#include "components/util/Error.h"

namespace db {

using util::RuntimeError;

// "mm/dd/yyyy[ hh:nn[:ss]]", month first as the program's dialect writes dates, or ISO "yyyy-mm-dd[ hh:nn[:ss]]".
std::optional<util::Date> ParseDateLiteral(std::string_view text) {
  std::string s(text);
  while (!s.empty() && s.front() == ' ') s.erase(s.begin());
  while (!s.empty() && s.back() == ' ') s.pop_back();
  if (s.size() >= 10 && s[4] == '-') return util::Date::ParseIso(s);
  int f[6] = {0, 0, 0, 0, 0, 0};
  int n = 0;
  size_t i = 0;
  while (i < s.size() && n < 6) {
    size_t j = i;
    while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
    if (j == i || j - i > 4) return std::nullopt;
    std::from_chars(s.data() + i, s.data() + j, f[n++]);
    if (j == s.size()) {
      i = j;
      break;
    }
    const char sep = s[j];
    if ((n < 3 && sep != '/') || (n == 3 && sep != ' ') || (n > 3 && sep != ':')) return std::nullopt;
    i = j + 1;
    while (n == 3 && i < s.size() && s[i] == ' ') ++i;
  }
  if (i != s.size() || (n != 3 && n != 5 && n != 6)) return std::nullopt;
  return util::Date::Make(f[2], f[0], f[1], f[3], f[4], f[5]);
}

SqlParam NumberParam(const std::string& text) {
  if (text.find_first_of(".eE") == std::string::npos) {
    int64_t v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec == std::errc() && r.ptr == text.data() + text.size()) return v;
  }
  double d = 0;
  std::from_chars(text.data(), text.data() + text.size(), d);
  return d;
}

namespace {

[[noreturn]] void Fail(const std::string& what, std::string_view sql) {
  throw RuntimeError(util::err::kSyntax, what + " nell'istruzione: " + std::string(sql), "DbExecutor");
}

const std::set<std::string>& Keywords() {
  static const std::set<std::string> k = {
      "SELECT", "DISTINCT", "DISTINCTROW", "ALL",   "TOP",    "PERCENT", "FROM",   "WHERE",  "AND",   "OR",
      "NOT",    "NULL",     "IS",          "IN",    "LIKE",   "BETWEEN", "AS",     "ON",     "INNER", "LEFT",
      "RIGHT",  "OUTER",    "JOIN",        "ORDER", "GROUP",  "BY",      "HAVING", "ASC",    "DESC",  "UPDATE",
      "SET",    "DELETE",   "INSERT",      "INTO",  "VALUES", "TRUE",    "FALSE",  "EXISTS", "UNION", "MOD",
      "XOR",    "CASE",     "WHEN",        "THEN",  "ELSE",   "END",     "ESCAPE", "EQV",    "IMP"};
  return k;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool IsKeyword(const Token& t) { return t.kind == Token::Word && Keywords().count(Upper(t.text)) > 0; }
bool IsName(const Token& t) { return (t.kind == Token::Word && !IsKeyword(t)) || t.kind == Token::Quoted; }
bool IsLiteral(const Token& t) { return t.kind == Token::String || t.kind == Token::Number || t.kind == Token::Date; }

// Joins output pieces with the spacing a reader expects.
class Out {
 public:
  void add(std::string_view piece) {
    if (piece.empty()) return;
    const bool noSpaceBefore = piece == ")" || piece == "," || piece == ".";
    if (!s_.empty() && !noSpaceBefore && s_.back() != '(' && s_.back() != '.' && s_.back() != ' ') s_ += ' ';
    s_ += piece;
  }
  void raw(std::string_view piece) { s_ += piece; }
  std::string& str() { return s_; }

 private:
  std::string s_;
};

struct Range {
  size_t b, e;
};

// One translation: the walk over a statement's tokens.
class Writer {
 public:
  Writer(const Dialect& d, Catalog& c, const std::vector<Token>& t, std::string_view sql)
      : d_(d), c_(c), t_(t), sql_(sql), litIndex_(t.size(), SIZE_MAX) {
    Prepare();
  }

  std::vector<size_t>& literalIndex() { return litIndex_; }
  std::vector<std::pair<size_t, int>> slots;  // literal index, conversion
  bool aggregate = false;

  Statement Run(const TranslateOptions& options) {
    Statement st;
    const Token& first = t_[0];
    if (first.isWord("SELECT")) {
      st.kind = Statement::Kind::Select;
      Select(st, options);
    } else if (first.isWord("UPDATE")) {
      st.kind = Statement::Kind::Update;
      Update(st);
    } else if (first.isWord("DELETE")) {
      st.kind = Statement::Kind::Delete;
      Delete(st);
    } else if (first.isWord("INSERT")) {
      st.kind = Statement::Kind::Insert;
      if (t_.size() < 2 || !t_[1].isWord("INTO")) Fail("INSERT senza INTO", sql_);
      if (t_.size() > 2) st.firstTable = TableName(t_[2]);
      MarkInsertCurrency();
      out_.add("INSERT");
      Emit({1, t_.size()});
    } else {
      Fail("Istruzione non riconosciuta '" + first.text + "'", sql_);
    }
    st.sql = std::move(out_.str());
    return st;
  }

 private:
  // Which literals become parameters, and the names the statement defines.
  void Prepare() {
    litIndex_ = LiftedLiterals(t_, d_.bindsLiterals());
    for (size_t i = 0; i < t_.size(); ++i) {
      const Token& tk = t_[i];
      if (tk.isWord("AS") && i + 1 < t_.size() && IsName(t_[i + 1])) {
        const std::string key = Lower(t_[i + 1].text);
        if (i > 0 && IsName(t_[i - 1]) && c_.table(t_[i - 1].text))
          tableAlias_[key] = c_.table(t_[i - 1].text)->name;
        else
          aliases_.emplace(key, t_[i + 1].text);
      }
      if (IsName(tk) && (i == 0 || !t_[i - 1].isSymbol("."))) {
        if (const TableInfo* ti = c_.table(tk.text)) {
          if (std::find(tables_.begin(), tables_.end(), ti) == tables_.end()) tables_.push_back(ti);
          // "FROM Scadenze S": a table alias without AS
          if (i + 1 < t_.size() && t_[i + 1].kind == Token::Word && !IsKeyword(t_[i + 1]) &&
              (i + 2 >= t_.size() || !t_[i + 2].isSymbol("(")) && !c_.table(t_[i + 1].text) && i > 0 &&
              (t_[i - 1].isWord("FROM") || t_[i - 1].isWord("JOIN") || t_[i - 1].isSymbol(",") ||
               t_[i - 1].isSymbol("(")))
            tableAlias_[Lower(t_[i + 1].text)] = ti->name;
        }
      }
    }
  }

  size_t Matching(size_t open) const {
    int depth = 0;
    for (size_t i = open; i < t_.size(); ++i) {
      if (t_[i].isSymbol("(")) ++depth;
      if (t_[i].isSymbol(")") && --depth == 0) return i;
    }
    Fail("Parentesi non chiusa", sql_);
  }

  // Index of the first word `w` at depth 0 in [b, e), or e.
  size_t FindTop(Range r, std::string_view w) const {
    int depth = 0;
    for (size_t i = r.b; i < r.e; ++i) {
      if (t_[i].isSymbol("(")) ++depth;
      if (t_[i].isSymbol(")")) --depth;
      if (depth == 0 && t_[i].isWord(w)) return i;
    }
    return r.e;
  }

  std::vector<Range> SplitTop(Range r) const {
    std::vector<Range> parts;
    int depth = 0;
    size_t start = r.b;
    for (size_t i = r.b; i < r.e; ++i) {
      if (t_[i].isSymbol("(")) ++depth;
      if (t_[i].isSymbol(")")) --depth;
      if (depth == 0 && t_[i].isSymbol(",")) {
        parts.push_back({start, i});
        start = i + 1;
      }
    }
    parts.push_back({start, r.e});
    return parts;
  }

  std::string TableName(const Token& tk) {
    if (const TableInfo* ti = c_.table(tk.text)) return ti->name;
    return tk.text;
  }

  const TableInfo* QualifierTable(const Token& q) {
    if (const auto it = tableAlias_.find(Lower(q.text)); it != tableAlias_.end()) return c_.table(it->second);
    return c_.table(q.text);
  }

  std::string Name(const Token& tk) {
    if (!d_.canonicalNames()) return tk.kind == Token::Quoted ? d_.quoteName(tk.text) : tk.text;
    if (const TableInfo* ti = c_.table(tk.text)) return d_.quoteName(ti->name);
    for (const TableInfo* ti : tables_)
      if (const ColumnDescription* col = ti->find(tk.text)) return d_.quoteName(col->name);
    if (const auto col = c_.anyColumn(tk.text)) return d_.quoteName(*col);
    if (const auto it = aliases_.find(Lower(tk.text)); it != aliases_.end()) return d_.quoteName(it->second);
    return tk.kind == Token::Quoted ? d_.quoteName(tk.text) : tk.text;
  }

  std::string ColumnOf(const Token& qualifier, const Token& col) {
    if (!d_.canonicalNames()) return Name(col);
    if (const TableInfo* ti = QualifierTable(qualifier))
      if (const ColumnDescription* c = ti->find(col.text)) return d_.quoteName(c->name);
    return Name(col);
  }

  std::string Qualifier(const Token& tk) {
    if (!d_.canonicalNames()) return Name(tk);
    if (tableAlias_.count(Lower(tk.text))) return tk.kind == Token::Quoted ? d_.quoteName(tk.text) : tk.text;
    if (const TableInfo* ti = c_.table(tk.text)) return d_.quoteName(ti->name);
    return tk.kind == Token::Quoted ? d_.quoteName(tk.text) : tk.text;
  }

  void Literal(size_t i, int conv) {
    const Token& tk = t_[i];
    if (tk.kind == Token::Number && roundTo4_.count(i)) conv = 3;
    if (litIndex_[i] != SIZE_MAX) {
      out_.add("?");
      slots.emplace_back(litIndex_[i], conv);
      return;
    }
    switch (tk.kind) {
      case Token::String: out_.add(d_.text(conv == 1 ? LikePattern(tk.text) : tk.text)); break;
      case Token::Number: out_.add(tk.text); break;
      default: {
        const auto date = ParseDateLiteral(tk.text);
        if (!date) Fail("Data non valida #" + tk.text + "#", sql_);
        out_.add(d_.date(*date));
      }
    }
  }

  void Emit(Range r) {
    bool concat = false;
    int depth = 0;
    for (size_t i = r.b; i < r.e; ++i) {
      if (t_[i].isSymbol("(")) ++depth;
      if (t_[i].isSymbol(")")) --depth;
      if (depth == 0 && t_[i].isSymbol("&")) concat = true;
    }
    size_t i = r.b;
    if (!concat) {
      while (i < r.e) i = EmitOne(i, r.e);
      return;
    }
    // The operands of & reach to the nearest comparison, comma or keyword.
    while (i < r.e) {
      if (Boundary(i)) {
        i = EmitOne(i, r.e);
        continue;
      }
      size_t j = i;
      depth = 0;
      bool here = false;
      while (j < r.e && (depth > 0 || !Boundary(j))) {
        if (t_[j].isSymbol("(")) ++depth;
        if (t_[j].isSymbol(")")) --depth;
        if (depth == 0 && t_[j].isSymbol("&")) here = true;
        ++j;
      }
      if (here)
        Concat({i, j});
      else
        while (i < j) i = EmitOne(i, j);
      i = j;
    }
  }

  bool Boundary(size_t i) const {
    const Token& tk = t_[i];
    if (tk.kind == Token::Symbol)
      return tk.text == "," || tk.text == "=" || tk.text == "<>" || tk.text == "<" || tk.text == ">" ||
             tk.text == "<=" || tk.text == ">=" || tk.text == "!=" || tk.text == ")";
    return IsKeyword(tk) && !tk.isWord("NULL") && !tk.isWord("TRUE") && !tk.isWord("FALSE") && !tk.isWord("MOD");
  }

  // a & b joins texts as the program's dialect does: a null is an empty text
  // and a number or a date is joined as its text.
  void Concat(Range r) {
    std::vector<Range> operands;
    int depth = 0;
    size_t start = r.b;
    for (size_t i = r.b; i < r.e; ++i) {
      if (t_[i].isSymbol("(")) ++depth;
      if (t_[i].isSymbol(")")) --depth;
      if (depth == 0 && t_[i].isSymbol("&")) {
        operands.push_back({start, i});
        start = i + 1;
      }
    }
    operands.push_back({start, r.e});
    out_.add("(");
    for (size_t k = 0; k < operands.size(); ++k) {
      if (operands[k].b == operands[k].e) Fail("Operando di & mancante", sql_);
      if (k) out_.add("||");
      if (operands[k].e == operands[k].b + 1 && t_[operands[k].b].kind == Token::String) {
        Emit(operands[k]);  // a text literal is never null
        continue;
      }
      out_.add("COALESCE(CAST(");
      Emit(operands[k]);
      out_.add("AS TEXT), '')");
    }
    out_.add(")");
  }

  size_t EmitOne(size_t i, size_t e) {
    const Token& tk = t_[i];
    switch (tk.kind) {
      case Token::String:
      case Token::Number: Literal(i, 0); return i + 1;
      case Token::Date:
        if (!ParseDateLiteral(tk.text)) Fail("Data non valida #" + tk.text + "#", sql_);
        Literal(i, 2);
        return i + 1;
      case Token::Symbol:
        if (tk.text == "(") {
          // a group: its own & operands end at its parentheses
          const size_t close = Matching(i);
          out_.add("(");
          Emit({i + 1, close});
          out_.add(")");
          return close + 1;
        }
        if (tk.text == "&")
          Fail("Operando di & mancante", sql_);
        else if (tk.text == "!=")
          out_.add("<>");
        else if (tk.text == ";")
          Fail("Più istruzioni in un solo testo", sql_);
        else if (tk.text == "%")
          Fail("Operatore '%' non previsto", sql_);
        else
          out_.add(tk.text);
        return i + 1;
      case Token::Quoted:
      case Token::Word: break;
    }
    if (IsKeyword(tk)) return Keyword(i, e);
    const bool call =
        i + 1 < e && t_[i + 1].isSymbol("(") && tk.kind == Token::Word && !(i > 0 && t_[i - 1].isWord("INTO"));
    if (call) return Function(i);
    if (i > 0 && t_[i - 1].isSymbol(".") && i > 1) {
      out_.add(ColumnOf(t_[i - 2], tk));
    } else if (i + 1 < e && t_[i + 1].isSymbol(".")) {
      out_.add(Qualifier(tk));
    } else {
      out_.add(Name(tk));
    }
    return i + 1;
  }

  size_t Keyword(size_t i, size_t e) {
    const std::string k = Upper(t_[i].text);
    if (k == "TRUE" || k == "FALSE") {
      out_.add(d_.boolean(k == "TRUE"));
    } else if (k == "MOD") {
      out_.add("%");
    } else if (k == "XOR" || k == "EQV" || k == "IMP") {
      Fail("Operatore " + k + " non traducibile", sql_);
    } else if (k == "TOP") {
      Fail("TOP dentro una sottoquery non traducibile", sql_);
    } else if (k == "DISTINCTROW") {
      out_.add("DISTINCT");
    } else if (k == "LIKE") {
      if (i + 1 >= e || t_[i + 1].kind != Token::String) Fail("LIKE con un modello che non è un testo tra apici", sql_);
      out_.add(d_.like());
      Literal(i + 1, 1);
      out_.add("ESCAPE");
      out_.add(d_.text("\\"));
      return i + 2;
    } else if (k == "ESCAPE") {
      Fail("ESCAPE non previsto (il modello di LIKE usa * e ?)", sql_);
    } else {
      out_.add(k);
    }
    return i + 1;
  }

  size_t Function(size_t i) {
    const std::string f = Upper(t_[i].text);
    const size_t close = Matching(i + 1);
    std::vector<Range> args;
    if (close > i + 2) args = SplitTop({i + 2, close});
    auto need = [&](size_t lo, size_t hi) {
      if (args.size() < lo || args.size() > hi) Fail("Numero di argomenti errato per " + t_[i].text, sql_);
    };
    auto plain = [&](const std::string& name) {
      out_.add(name);
      out_.raw("(");
      for (size_t a = 0; a < args.size(); ++a) {
        if (a) out_.add(",");
        Emit(args[a]);
      }
      out_.add(")");
    };
    if (f == "IIF") {
      need(3, 3);
      out_.add("CASE WHEN");
      Emit(args[0]);
      out_.add("THEN");
      Emit(args[1]);
      out_.add("ELSE");
      Emit(args[2]);
      out_.add("END");
    } else if (f == "ISNULL") {
      need(1, 1);
      out_.add("(");
      Emit(args[0]);
      out_.add("IS NULL");
      out_.add(")");
    } else if (f == "NZ") {
      need(2, 2);
      plain("COALESCE");
    } else if (f == "COUNT" || f == "SUM" || f == "MAX" || f == "MIN" || f == "AVG") {
      need(1, 1);
      aggregate = true;
      plain(f);
    } else if (f == "UCASE" || f == "UPPER") {
      need(1, 1);
      plain("UPPER");
    } else if (f == "LCASE" || f == "LOWER") {
      need(1, 1);
      plain("LOWER");
    } else if (f == "LEN") {
      need(1, 1);
      plain("LENGTH");
    } else if (f == "TRIM" || f == "LTRIM" || f == "RTRIM" || f == "ABS") {
      need(1, 1);
      plain(f);
    } else if (f == "COALESCE") {
      need(1, 16);
      plain(f);
    } else if (f == "MID") {
      need(2, 3);
      plain("SUBSTR");
    } else if (f == "LEFT") {
      need(2, 2);
      out_.add("SUBSTR");
      out_.raw("(");
      Emit(args[0]);
      out_.add(", 1,");
      Emit(args[1]);
      out_.add(")");
    } else {
      Fail("Funzione non traducibile '" + t_[i].text + "'", sql_);
    }
    return close + 1;
  }

  // SELECT [DISTINCT] [TOP n] ...
  void Select(Statement& st, const TranslateOptions& options) {
    size_t i = 1;
    out_.add("SELECT");
    bool distinct = false;
    if (i < t_.size() && (t_[i].isWord("DISTINCT") || t_[i].isWord("DISTINCTROW"))) {
      out_.add("DISTINCT");
      distinct = true;
      ++i;
    } else if (i < t_.size() && t_[i].isWord("ALL")) {
      ++i;
    }
    std::optional<int64_t> top;
    if (i < t_.size() && t_[i].isWord("TOP")) {
      if (i + 1 >= t_.size() || t_[i + 1].kind != Token::Number ||
          t_[i + 1].text.find_first_of(".eE") != std::string::npos)
        Fail("TOP senza un numero intero", sql_);
      if (i + 2 < t_.size() && t_[i + 2].isWord("PERCENT")) Fail("TOP ... PERCENT non traducibile", sql_);
      top = std::get<int64_t>(NumberParam(t_[i + 1].text));
      i += 2;
    }
    Emit({i, t_.size()});
    if (top) out_.raw(d_.limit(*top));

    const size_t from = FindTop({1, t_.size()}, "FROM");
    for (size_t j = from + 1; j < t_.size(); ++j) {
      if (t_[j].isSymbol("(")) continue;
      if (IsName(t_[j])) st.firstTable = TableName(t_[j]);
      break;
    }
    const Range all{1, t_.size()};
    st.lockable = !distinct && !aggregate && FindTop(all, "GROUP") == all.e && FindTop(all, "UNION") == all.e &&
                  !st.firstTable.empty();
    if (options.forUpdate && st.lockable) out_.raw(d_.forUpdate(st.firstTable));
  }

  // DELETE [* | T.* | T] FROM T ...
  void Delete(Statement& st) {
    size_t i = 1;
    if (i < t_.size() && t_[i].isSymbol("*")) {
      i = 2;
    } else if (i + 2 < t_.size() && IsName(t_[i]) && t_[i + 1].isSymbol(".") && t_[i + 2].isSymbol("*")) {
      i = 4;
    } else if (i + 1 < t_.size() && IsName(t_[i]) && t_[i + 1].isWord("FROM")) {
      i = 2;
    }
    if (i >= t_.size() || !t_[i].isWord("FROM")) Fail("DELETE senza FROM", sql_);
    if (FindTop({i, t_.size()}, "JOIN") != t_.size()) Fail("DELETE su più tabelle non traducibile", sql_);
    if (i + 1 < t_.size()) st.firstTable = TableName(t_[i + 1]);
    out_.add("DELETE");
    Emit({i, t_.size()});
  }

  struct JoinPart {
    size_t table;  // token of the table name
    std::optional<size_t> alias;
    Range on{0, 0};  // join condition; empty for the first table
  };

  bool JoinStart(size_t i) const {
    return t_[i].isWord("INNER") || t_[i].isWord("LEFT") || t_[i].isWord("RIGHT") || t_[i].isWord("JOIN");
  }

  // ((T INNER JOIN A ON ...) INNER JOIN B ON ...): the tables in order and their conditions.
  size_t ParseJoin(size_t i, size_t e, std::vector<JoinPart>& parts) {
    i = ParsePrimary(i, e, parts);
    while (i < e && JoinStart(i)) {
      if (!t_[i].isWord("INNER") && !t_[i].isWord("JOIN"))
        Fail("UPDATE con " + Upper(t_[i].text) + " JOIN non traducibile", sql_);
      if (t_[i].isWord("INNER")) ++i;
      if (i >= e || !t_[i].isWord("JOIN")) Fail("JOIN atteso", sql_);
      const size_t before = parts.size();
      i = ParsePrimary(i + 1, e, parts);
      if (parts.size() != before + 1) Fail("JOIN annidato a destra non traducibile", sql_);
      if (i >= e || !t_[i].isWord("ON")) Fail("JOIN senza ON", sql_);
      const size_t b = ++i;
      int depth = 0;
      while (i < e) {
        if (t_[i].isSymbol("(")) ++depth;
        if (t_[i].isSymbol(")")) {
          if (depth == 0) break;
          --depth;
        }
        if (depth == 0 && JoinStart(i)) break;
        ++i;
      }
      if (i == b) Fail("JOIN con ON vuoto", sql_);
      parts.back().on = {b, i};
    }
    return i;
  }

  size_t ParsePrimary(size_t i, size_t e, std::vector<JoinPart>& parts) {
    if (i >= e) Fail("Tabella attesa", sql_);
    if (t_[i].isSymbol("(")) {
      i = ParseJoin(i + 1, e, parts);
      if (i >= e || !t_[i].isSymbol(")")) Fail("Parentesi di JOIN non chiusa", sql_);
      return i + 1;
    }
    if (!IsName(t_[i])) Fail("Tabella attesa al posto di '" + t_[i].text + "'", sql_);
    JoinPart p{i, std::nullopt, {0, 0}};
    ++i;
    if (i < e && t_[i].isWord("AS")) ++i;
    if (i < e && IsName(t_[i])) p.alias = i++;
    parts.push_back(p);
    return i;
  }

  void EmitTable(const JoinPart& p) {
    out_.add(Qualifier(t_[p.table]));
    if (p.alias) out_.add(Qualifier(t_[*p.alias]));
  }

  // UPDATE target SET [T.]col = ..., ... [WHERE ...]; a target over joins
  // becomes UPDATE T SET ... FROM A, B WHERE (join conditions) AND (where).
  void Update(Statement& st) {
    const size_t set = FindTop({1, t_.size()}, "SET");
    if (set == t_.size() || set == 1) Fail("UPDATE senza SET", sql_);
    std::vector<JoinPart> parts;
    if (ParseJoin(1, set, parts) != set) Fail("Tabella di UPDATE non riconosciuta", sql_);
    st.firstTable = TableName(t_[parts[0].table]);
    const size_t where = FindTop({set + 1, t_.size()}, "WHERE");

    out_.add("UPDATE");
    EmitTable(parts[0]);
    out_.add("SET");
    bool firstItem = true;
    for (const Range& item : SplitTop({set + 1, where})) {
      if (!firstItem) out_.add(",");
      firstItem = false;
      size_t b = item.b;
      const Token* qualifier = nullptr;
      if (item.e - b >= 3 && IsName(t_[b]) && t_[b + 1].isSymbol(".")) {
        qualifier = &t_[b];
        b += 2;
      }
      if (b >= item.e || !IsName(t_[b]) || b + 1 >= item.e || !t_[b + 1].isSymbol("="))
        Fail("Elemento di SET non riconosciuto", sql_);
      out_.add(qualifier ? ColumnOf(*qualifier, t_[b]) : Name(t_[b]));
      MarkCurrency(st.firstTable, t_[b], {b + 2, item.e});
      Emit({b + 1, item.e});
    }
    if (parts.size() > 1) {
      out_.add("FROM");
      for (size_t p = 1; p < parts.size(); ++p) {
        if (p > 1) out_.add(",");
        EmitTable(parts[p]);
      }
      out_.add("WHERE");
      for (size_t p = 1; p < parts.size(); ++p) {
        if (p > 1) out_.add("AND");
        out_.add("(");
        Emit(parts[p].on);
        out_.add(")");
      }
      if (where < t_.size()) {
        out_.add("AND (");
        Emit({where + 1, t_.size()});
        out_.add(")");
      }
    } else {
      Emit({where, t_.size()});
    }
  }

  // A number written straight into a currency column is rounded to the
  // column's four decimals, as the column itself does on engines with a
  // fixed-point type; an expression is left to the engine.
  void MarkCurrency(const std::string& table, const Token& column, Range value) {
    const TableInfo* ti = c_.table(table);
    const ColumnDescription* col = ti ? ti->find(column.text) : nullptr;
    if (!col || col->type != ColumnType::Currency) return;
    size_t b = value.b;
    if (b < value.e && (t_[b].isSymbol("-") || t_[b].isSymbol("+"))) ++b;
    if (b + 1 == value.e && t_[b].kind == Token::Number) roundTo4_.insert(b);
  }

  // INSERT INTO T (a, b) VALUES (x, y)
  void MarkInsertCurrency() {
    if (t_.size() < 5 || !t_[3].isSymbol("(")) return;
    const size_t close = Matching(3);
    if (close + 2 >= t_.size() || !t_[close + 1].isWord("VALUES") || !t_[close + 2].isSymbol("(")) return;
    const std::vector<Range> cols = SplitTop({4, close});
    const std::vector<Range> vals = SplitTop({close + 3, Matching(close + 2)});
    if (cols.size() != vals.size()) return;
    for (size_t i = 0; i < cols.size(); ++i)
      if (cols[i].e == cols[i].b + 1) MarkCurrency(t_[2].text, t_[cols[i].b], vals[i]);
  }

  std::set<size_t> roundTo4_;
  const Dialect& d_;
  Catalog& c_;
  const std::vector<Token>& t_;
  std::string_view sql_;
  std::vector<size_t> litIndex_;
  std::map<std::string, std::string> aliases_;     // column aliases: lower -> spelling
  std::map<std::string, std::string> tableAlias_;  // table aliases: lower -> table
  std::vector<const TableInfo*> tables_;
  Out out_;
};

}  // namespace

std::vector<size_t> LiftedLiterals(const std::vector<Token>& tokens, bool binds) {
  std::vector<size_t> index(tokens.size(), SIZE_MAX);
  if (!binds) return index;
  // TOP's count and the ordinals of ORDER BY and GROUP BY are part of the
  // statement, not values.
  size_t lit = 0;
  bool keepNext = false;
  int listDepth = -1, depth = 0;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& tk = tokens[i];
    if (tk.isSymbol("(")) ++depth;
    if (tk.isSymbol(")") && --depth < listDepth) listDepth = -1;
    if (tk.isWord("TOP")) keepNext = true;
    if (tk.isWord("BY") && i > 0 && (tokens[i - 1].isWord("ORDER") || tokens[i - 1].isWord("GROUP"))) listDepth = depth;
    if (tk.isWord("HAVING") || tk.isWord("UNION")) listDepth = -1;
    if (IsLiteral(tk)) {
      const bool keep = (keepNext || listDepth == depth) && tk.kind == Token::Number;
      keepNext = false;
      if (!keep) index[i] = lit++;
    }
  }
  return index;
}

WrittenStatement WriteStatement(const Dialect& dialect, Catalog& catalog, const std::vector<Token>& tokens,
                                std::string_view sql, const TranslateOptions& options) {
  Writer w(dialect, catalog, tokens, sql);
  WrittenStatement out;
  out.statement = w.Run(options);
  out.slots = std::move(w.slots);
  return out;
}

}  // namespace db
