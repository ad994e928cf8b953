#include "src/data/Contesto.h"

namespace compensato {

void LeggiIdentita(Contesto& ctx) {
  ctx.operatore = ctx.host.OperatorName();
  ctx.programId = ctx.host.ProgramId();
  ctx.utente = ctx.host.UserIdentity();
}

EsitoMarca MarcaVita(Contesto& ctx) {
  if (ctx.utente.empty()) return EsitoMarca::NonDisponibile;
  if (ctx.db.HoldLiveMark(ctx.conn, ctx.utente)) return EsitoMarca::Presa;
  return InUso(ctx, ctx.utente) ? EsitoMarca::InUsoAltrove : EsitoMarca::NonDisponibile;
}

std::string TestoIdentitaInUso(const std::string& utente) {
  return "Un altro programma di compensato dell'utente " + utente +
         " \xC3\xA8 in esecuzione.\nAttendere che finisca prima di avviarne un altro.";
}

bool InUso(Contesto& ctx, const std::string& utente) { return ctx.db.LiveMarkHeld(ctx.conn, utente).value_or(false); }

}  // namespace compensato
