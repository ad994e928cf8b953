#include "src/settlement/Contabilizza.h"

#include "components/util/SqlLiteral.h"
#include "src/data/ComLock.h"
#include "src/posting/ContabMovPn.h"
#include "src/settlement/TestataMovimento.h"
#include "src/ui/Errori.h"

namespace compensato {

int ContabilizzaMovimento(Contesto& ctx) {
  posting::ArgomentiContab a;
  a.tabTestata = "MovPnTes";
  a.tabRighe = "MovPnDettApp";
  a.tabIva = "MovPnIvaApp";
  a.rinumera = false;
  a.creaScadenze = false;
  a.anno = ctx.run.par.anno;
  a.numRegDa = ctx.run.numReg;
  a.numRegA = ctx.run.numReg;
  a.modo = "N";
  // The settlement's fixed values for installment creation, which a
  // settlement entry never reaches.
  a.tipoRifDoc = "X";
  a.passoArrotMagg = util::Money::FromUnits(1000 * util::Money::kScale);
  a.modoArrotMagg = "5";
  int esito = 0;
  try {
    posting::ContabMovPn(ctx, a);
  } catch (const util::RuntimeError& e) {
    a.numErrori += 1;
    a.testoErrori += ui::DescrizioneErrore(e);
  }
  if (a.numErrori > 0) {
    ui::MsgErrfrm(ctx.op, a.testoErrori, util::err::kEngine, "", "",
                  std::string("Contabilizzazione dettagli movimento di prima nota"));
    esito = 1;
  }
  if (!a.messaggio.empty()) ui::Avviso(ctx.op, a.messaggio);
  return esito;
}

bool ControllaBloccoMovimento(Contesto& ctx, int32_t numReg) {
  db::DbCursor& c = ctx.lock.cursore;
  ctx.lock.key = c.Open(ctx.db, ctx.conn, ctx.lock.key,
                        "Select * from LockGest Where Gestione = " + util::SqlLiteral(kGestioneCompensato, 8) +
                            " AND Anno = " + util::SqlLiteral(ctx.run.par.anno, 2) +
                            " AND NumReg = " + util::SqlLiteral(numReg, 3),
                        false, db::kUpdatable);
  if (c.IsEmpty(ctx.lock.key)) {
    ui::Avviso(ctx.op, "Il movimento di prima nota è già stato sbloccato");
    return false;
  }
  return true;
}

}  // namespace compensato
