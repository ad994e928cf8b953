#include "src/data/Contesto.h"

namespace compensato {

void LeggiIdentita(Contesto& ctx) {
  ctx.operatore = ctx.host.OperatorName();
  ctx.programId = ctx.host.ProgramId();
  ctx.utente = ctx.host.UserIdentity();
}

}  // namespace compensato
