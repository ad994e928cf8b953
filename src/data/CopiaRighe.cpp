#include "src/data/CopiaRighe.h"

#include "components/db/DbCursor.h"
#include "components/db/Recordset.h"
#include "components/util/Text.h"

namespace compensato {
namespace {

// The columns of a table, in its own order.
std::vector<std::string> Colonne(Contesto& ctx, const std::string& tabella) {
  db::DbCursor c;
  const std::string k = c.Open(ctx.db, ctx.conn, "", "SELECT * FROM " + tabella + " WHERE false", false, db::kSnapshot);
  const db::Recordset& rs = c.GetRecordset(k);
  std::vector<std::string> nomi;
  for (int i = 0; i < rs.columnCount(); ++i) nomi.push_back(rs.columnName(i));
  c.Close(k);
  return nomi;
}

}  // namespace

CopiaRighe::CopiaRighe(Contesto& ctx, std::string origine, std::string destinazione)
    : ctx_(ctx), origine_(std::move(origine)), destinazione_(std::move(destinazione)) {
  const std::vector<std::string> sorgente = Colonne(ctx_, origine_);
  for (const std::string& col : Colonne(ctx_, destinazione_)) {
    bool presente = false;
    for (const std::string& s : sorgente) presente = presente || util::EqualsIgnoreCase(s, col);
    colonne_.emplace_back(col, presente);
  }
}

int64_t CopiaRighe::Esegui(const std::string& condizione, const std::vector<ValoreColonna>& valori) const {
  std::string campi, espressioni;
  for (const auto& [col, presente] : colonne_) {
    std::string valore;
    for (const auto& [nome, v] : valori)
      if (util::EqualsIgnoreCase(nome, col)) valore = v;
    if (valore.empty() && presente) valore = origine_ + "." + col;
    if (valore.empty()) continue;
    if (!campi.empty()) campi += ", ", espressioni += ", ";
    campi += col;
    espressioni += valore;
  }
  return ctx_.db.Execute(ctx_.conn, "INSERT INTO " + destinazione_ + " (" + campi + ") SELECT " + espressioni +
                                        " FROM " + origine_ + " WHERE " + condizione);
}

}  // namespace compensato
