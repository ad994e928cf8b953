#include "src/posting/Progressivi.h"

#include "components/util/Round.h"
#include "components/util/SqlLiteral.h"

namespace compensato::posting {
namespace {

constexpr const char* kCursore = "ContabMovPn.PdcProg";

util::Money Somma(util::Money totale, util::Money importo, int16_t decimali) {
  return util::Money::FromDouble(
      util::Round(totale.toDouble() + importo.toDouble(), "A", 1, -decimali));
}

}  // namespace

void AggiornaPdcProg(Contesto& ctx, db::DbCursor& c, const RigaProgressivo& r, util::Date dataReg,
                     bool apertura, int16_t decimali) {
  const std::string key = c.Open(
      ctx.db, ctx.conn, kCursore,
      std::string(" Select PdcProg.* from PdcProg") + " where Anno= " + util::SqlLiteral(r.anno, 2) +
          " and PartTipo= " + util::SqlLiteral(r.tipoPartita, 8) +
          " and CoPartGruppo= " + util::SqlLiteral(r.gruppoPartita, 8) +
          " and CoPartMastro= " + util::SqlLiteral(r.mastroPartita, 8) +
          " and CoPartConto= " + util::SqlLiteral(r.contoPartita, 8),
      false, db::kUpdatable);
  util::Money saldo, dare, avere;
  util::Date ultAgg;
  if (c.IsEmpty(key)) {
    c.AddNew(key);
    c.SetField(key, "Anno", util::Value(r.anno));
    c.SetField(key, "PartTipo", util::Value(r.tipoPartita));
    c.SetField(key, "CoPartGruppo", util::Value(r.gruppoPartita));
    c.SetField(key, "CoPartMastro", util::Value(r.mastroPartita));
    c.SetField(key, "CoPartConto", util::Value(r.contoPartita));
  } else {
    saldo = c.GetField(key, "SaldoIniziale").toMoney();
    dare = c.GetField(key, "ProgrDare").toMoney();
    avere = c.GetField(key, "ProgrAvere").toMoney();
    ultAgg = c.GetField(key, "UltAgg").toDate();
    c.Edit(key);
  }
  const bool debito = r.dareAvere == "D" || r.dareAvere == "d";
  if (apertura) {
    saldo = Somma(saldo, debito ? r.importo : -r.importo, decimali);
  } else if (debito) {
    dare = Somma(dare, r.importo, decimali);
  } else {
    avere = Somma(avere, r.importo, decimali);
  }
  c.SetField(key, "SaldoIniziale", util::Value(saldo));
  c.SetField(key, "ProgrDare", util::Value(dare));
  c.SetField(key, "ProgrAvere", util::Value(avere));
  if (dataReg > ultAgg) c.SetField(key, "UltAgg", util::Value(dataReg));
  c.Update(key);
  c.Close(key);
}

}  // namespace compensato::posting
