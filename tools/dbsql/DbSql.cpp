#include "tools/dbsql/DbSql.h"

#include <istream>
#include <ostream>

#include "components/db/DbCursor.h"
#include "components/db/Recordset.h"
#include "components/util/Error.h"

namespace dbsql {
namespace {

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t\r;") + 1 - b);
}

std::string FirstWord(const std::string& s) {
  std::string w;
  for (char c : s) {
    if (!std::isalpha(static_cast<unsigned char>(c))) break;
    w += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return w;
}

}  // namespace

std::string Cell(const util::Value& value) {
  std::string out;
  for (char c : value.toText()) {
    if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\\')
      out += "\\\\";
    else
      out += c;
  }
  return out;
}

int RunScript(db::DbExecutor& executor, const std::string& conn, std::istream& in, std::ostream& out,
              std::ostream& err) {
  int errors = 0;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    const std::string sql = Trim(line);
    if (sql.empty() || sql.rfind("--", 0) == 0) continue;
    try {
      const std::string word = FirstWord(sql);
      if (sql[0] == '!') {
        out << executor.Execute(conn, sql.substr(1), db::kPassThrough) << " righe modificate\n";
      } else if (word == "BEGIN" && sql.size() == 5) {
        executor.BeginTrans(conn);
      } else if (word == "COMMIT" && sql.size() == 6) {
        executor.CommitTrans(conn);
      } else if (word == "ROLLBACK" && sql.size() == 8) {
        executor.Rollback(conn);
      } else if (word == "SELECT") {
        db::DbCursor cursor;
        const std::string key = cursor.Open(executor, conn, "", sql, false, db::kSnapshot);
        const db::Recordset& rs = cursor.GetRecordset(key);
        for (int c = 0; c < rs.columnCount(); ++c) out << (c ? "\t" : "") << rs.columnName(c);
        out << '\n';
        for (int r = 0; r < rs.rowCount(); ++r) {
          for (int c = 0; c < rs.columnCount(); ++c) out << (c ? "\t" : "") << Cell(rs.value(r, c));
          out << '\n';
        }
      } else {
        out << executor.Execute(conn, sql) << " righe modificate\n";
      }
    } catch (const util::RuntimeError& e) {
      ++errors;
      err << "Errore(" << e.number() << "): " << e.description() << " (riga " << lineNo << ")\n";
    }
    out.flush();
  }
  return errors;
}

}  // namespace dbsql
