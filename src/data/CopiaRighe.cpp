#include "src/data/CopiaRighe.h"

#include "components/db/DbCursor.h"
#include "components/db/Recordset.h"
#include "components/util/Text.h"

namespace compensato {
namespace {

// The columns of a table, in its own order.
std::vector<std::string> Colonne(Contesto& ctx, const std::string& tabella) {
  db::DbCursor c;
  const std::string k =
      c.Open(ctx.db, ctx.conn, "", "SELECT * FROM " + tabella + " WHERE false", false, db::kSnapshot);
  const db::Recordset& rs = c.GetRecordset(k);
  std::vector<std::string> nomi;
  for (int i = 0; i < rs.columnCount(); ++i) nomi.push_back(rs.columnName(i));
  c.Close(k);
  return nomi;
}

bool Contiene(const std::vector<std::string>& nomi, const std::string& nome) {
  for (const std::string& n : nomi)
    if (util::EqualsIgnoreCase(n, nome)) return true;
  return false;
}

}  // namespace

int64_t CopiaRighe(Contesto& ctx, const std::string& origine, const std::string& destinazione,
                   const std::string& condizione, const std::vector<ValoreColonna>& valori) {
  const std::vector<std::string> sorgente = Colonne(ctx, origine);
  std::string campi, espressioni;
  for (const std::string& col : Colonne(ctx, destinazione)) {
    std::string valore;
    for (const auto& [nome, v] : valori)
      if (util::EqualsIgnoreCase(nome, col)) valore = v;
    if (valore.empty() && Contiene(sorgente, col)) valore = origine + "." + col;
    if (valore.empty()) continue;
    if (!campi.empty()) campi += ", ", espressioni += ", ";
    campi += col;
    espressioni += valore;
  }
  return ctx.db.Execute(ctx.conn, "INSERT INTO " + destinazione + " (" + campi + ") SELECT " + espressioni +
                                      " FROM " + origine + " WHERE " + condizione);
}

}  // namespace compensato
