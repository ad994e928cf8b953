#include "src/data/Transazioni.h"

namespace compensato {
namespace {

bool TipoSql(Contesto& ctx) {
  try {
    return ctx.db.GetSetting(ctx.conn + ":DbTipoSql").toBool();
  } catch (...) {
    return false;
  }
}

void Isolamento(Contesto& ctx, const char* statement) {
  if (!TipoSql(ctx)) return;
  try {
    ctx.db.Execute(ctx.conn, statement, db::kPassThrough);
  } catch (...) {
    // the isolation level is a courtesy to other users; the transaction stands
  }
}

}  // namespace

void IniziaTransazione(Contesto& ctx) {
  ctx.db.BeginTrans(ctx.conn);
  Isolamento(ctx, "SET TRANSACTION ISOLATION LEVEL READ UNCOMMITTED");
}

void ConfermaTransazione(Contesto& ctx) {
  ctx.db.CommitTrans(ctx.conn);
  Isolamento(ctx, "SET TRANSACTION ISOLATION LEVEL READ COMMITTED");
}

void AnnullaTransazione(Contesto& ctx) {
  ctx.db.Rollback(ctx.conn);
  Isolamento(ctx, "SET TRANSACTION ISOLATION LEVEL READ COMMITTED");
}

Transazione::~Transazione() {
  if (!aperta_) return;
  try {
    AnnullaTransazione(ctx_);
  } catch (...) {
    // a destructor must not throw; a lost connection has rolled back anyway
  }
}

void Transazione::Conferma() {
  ConfermaTransazione(ctx_);
  aperta_ = false;
}

}  // namespace compensato
