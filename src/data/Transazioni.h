#pragma once

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

}  // namespace compensato
