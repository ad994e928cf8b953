#include "src/data/Contesto.h"

namespace compensato {

void LeggiIdentita(Contesto& ctx) {
  ctx.operatore = ctx.host.OperatorName();
  ctx.programId = ctx.host.ProgramId();
  ctx.utente = ctx.host.UserIdentity();
}

bool MarcaVita(Contesto& ctx) { return !ctx.utente.empty() && ctx.db.HoldLiveMark(ctx.conn, ctx.utente); }

bool InUso(Contesto& ctx, const std::string& utente) {
  return ctx.db.LiveMarkHeld(ctx.conn, utente).value_or(false);
}

}  // namespace compensato
