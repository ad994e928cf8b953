#pragma once

#include <optional>
#include <string>

#include "components/db/DbCursor.h"
#include "components/util/Value.h"
#include "src/data/Contesto.h"

namespace compensato {

// Transactions of the program, always on the main executor and connection.
// On a SQL Server connection ("DbTipoSql") the run reads uncommitted data of
// other users while its transaction is open, and committed data otherwise;
// a failure of that isolation statement never affects the transaction.
void IniziaTransazione(Contesto& ctx);
void ConfermaTransazione(Contesto& ctx);
void AnnullaTransazione(Contesto& ctx);

// Rolls back on destruction unless confirmed. For routines whose every exit
// must leave no transaction open.
class Transazione {
 public:
  explicit Transazione(Contesto& ctx) : ctx_(ctx) { IniziaTransazione(ctx_); }
  ~Transazione();
  void Conferma();
  Transazione(const Transazione&) = delete;
  Transazione& operator=(const Transazione&) = delete;

 private:
  Contesto& ctx_;
  bool aperta_ = true;
};

// Writes a date field; the empty date "01/01/100" is stored as an empty value.
void ScriviData(db::DbCursor& cursor, const std::string& key, const std::string& column,
                const util::Value& value);
// Writes a number field; 0 is stored as an empty value, so optional numbers
// (a protocol number) stay empty rather than zero.
void ScriviNumero(db::DbCursor& cursor, const std::string& key, const std::string& column,
                  const util::Value& value);

// "IIF(IsNull(x), replacement, x)", or with a third expression in place of the last x.
std::string SqlNullSe(const std::string& expression, const std::string& replacement,
                      const std::optional<std::string>& third = std::nullopt);

}  // namespace compensato
