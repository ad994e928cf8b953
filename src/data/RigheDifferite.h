#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "components/db/DbExecutor.h"
#include "components/util/Value.h"

namespace compensato {

// New rows of one table held back and written together, many rows to an
// INSERT, instead of one statement per row: for a run that stages tens of
// thousands of lines inside one transaction, where nothing reads them before
// the transaction ends. Each value takes its column's type when it is set, as
// a cursor's field would, so a value the column cannot hold fails there.
// Columns left unset take the table's defaults, as with a cursor.
class RigheDifferite {
 public:
  explicit RigheDifferite(std::string tabella) : tabella_(std::move(tabella)) {}

  // Starts a row; `origine` names, should the row be refused, whose it was.
  void Nuova(std::string origine);
  void Imposta(db::DbExecutor& db, const std::string& conn, const std::string& campo, const util::Value& valore);
  // An optional date or number column, stored as DataOpzionale and
  // NumeroOpzionale store it.
  void ImpostaData(db::DbExecutor& db, const std::string& conn, const std::string& campo, const util::Value& valore);
  void ImpostaNumero(db::DbExecutor& db, const std::string& conn, const std::string& campo, const util::Value& valore);
  // The row started by Nuova joins those waiting.
  void Aggiungi();

  size_t InAttesa() const { return righe_.size(); }

  // Writes every waiting row. When the engine refuses a row, the row's
  // origin is put in `origineRifiutata` and the error reaches the caller;
  // the rows are dropped either way (the caller's transaction then goes).
  void Scrivi(db::DbExecutor& db, const std::string& conn, std::string& origineRifiutata);
  // Drops the waiting rows and the one being built.
  void Scarta();

 private:
  struct Riga {
    std::string origine;
    std::vector<std::pair<std::string, util::Value>> campi;  // in the order set, each column once
  };
  const db::ColumnDescription& Colonna(db::DbExecutor& db, const std::string& conn, const std::string& campo);
  std::string Inserimento(const std::vector<const Riga*>& righe) const;

  std::string tabella_;
  std::map<std::string, db::ColumnDescription> colonne_;
  Riga corrente_;
  std::vector<Riga> righe_;
};

}  // namespace compensato
