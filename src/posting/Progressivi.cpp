#include "src/posting/Progressivi.h"

#include "components/util/Round.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"

namespace compensato::posting {
namespace {

util::Money Somma(util::Money totale, util::Money importo, int16_t decimali) {
  return util::Money::FromDouble(
      util::Round(totale.toDouble() + importo.toDouble(), "A", 1, -decimali));
}

std::string Condizione(const RigaProgressivo& r) {
  return std::string(" Select PdcProg.* from PdcProg") + " where Anno= " + util::SqlLiteral(r.anno, 2) +
         " and PartTipo= " + util::SqlLiteral(r.tipoPartita, 8) +
         " and CoPartGruppo= " + util::SqlLiteral(r.gruppoPartita, 8) +
         " and CoPartMastro= " + util::SqlLiteral(r.mastroPartita, 8) +
         " and CoPartConto= " + util::SqlLiteral(r.contoPartita, 8);
}

void NuovaRigaProgressivo(db::DbCursor& c, const std::string& key, const RigaProgressivo& r) {
  c.AddNew(key);
  c.SetField(key, "Anno", util::Value(r.anno));
  c.SetField(key, "PartTipo", util::Value(r.tipoPartita));
  c.SetField(key, "CoPartGruppo", util::Value(r.gruppoPartita));
  c.SetField(key, "CoPartMastro", util::Value(r.mastroPartita));
  c.SetField(key, "CoPartConto", util::Value(r.contoPartita));
}

// One line added to an account's figures.
void Somma(const RigaProgressivo& r, bool apertura, int16_t decimali, util::Money& saldo, util::Money& dare,
           util::Money& avere) {
  const bool debito = r.dareAvere == "D" || r.dareAvere == "d";
  if (apertura) {
    saldo = Somma(saldo, debito ? r.importo : -r.importo, decimali);
  } else if (debito) {
    dare = Somma(dare, r.importo, decimali);
  } else {
    avere = Somma(avere, r.importo, decimali);
  }
}

}  // namespace

void ProgressiviRegistrazione::Aggiungi(const RigaProgressivo& r) {
  auto chiave = std::make_tuple(r.anno, util::ToLower(r.tipoPartita), util::ToLower(r.gruppoPartita),
                                util::ToLower(r.mastroPartita), util::ToLower(r.contoPartita));
  auto it = totali_.find(chiave);
  if (it == totali_.end()) {
    Totale t;
    t.key = cursore_.Open(ctx_.db, ctx_.conn, "", Condizione(r), false, db::kUpdatable);
    if (cursore_.IsEmpty(t.key)) {
      t.nuovo = true;
      NuovaRigaProgressivo(cursore_, t.key, r);
    } else {
      t.saldo = cursore_.GetField(t.key, "SaldoIniziale").toMoney();
      t.dare = cursore_.GetField(t.key, "ProgrDare").toMoney();
      t.avere = cursore_.GetField(t.key, "ProgrAvere").toMoney();
      t.ultAgg = cursore_.GetField(t.key, "UltAgg").toDate();
    }
    it = totali_.emplace(std::move(chiave), std::move(t)).first;
  }
  Totale& t = it->second;
  Somma(r, apertura_, decimali_, t.saldo, t.dare, t.avere);
}

void ProgressiviRegistrazione::Scrivi() {
  for (auto& [chiave, t] : totali_) {
    if (!t.nuovo) cursore_.Edit(t.key);
    cursore_.SetField(t.key, "SaldoIniziale", util::Value(t.saldo));
    cursore_.SetField(t.key, "ProgrDare", util::Value(t.dare));
    cursore_.SetField(t.key, "ProgrAvere", util::Value(t.avere));
    if (dataReg_ > t.ultAgg) cursore_.SetField(t.key, "UltAgg", util::Value(dataReg_));
    cursore_.Update(t.key);
    cursore_.Close(t.key);
  }
  totali_.clear();
}

}  // namespace compensato::posting
