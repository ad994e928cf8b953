#include "src/posting/Progressivi.h"

#include <algorithm>
#include <vector>

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
  return "(Anno= " + util::SqlLiteral(r.anno, 2) + " and PartTipo= " + util::SqlLiteral(r.tipoPartita, 8) +
         " and CoPartGruppo= " + util::SqlLiteral(r.gruppoPartita, 8) +
         " and CoPartMastro= " + util::SqlLiteral(r.mastroPartita, 8) +
         " and CoPartConto= " + util::SqlLiteral(r.contoPartita, 8) + ")";
}

// The accounts of one statement: the OR of their conditions stays short.
constexpr size_t kContiPerLettura = 100;

void NuovaRigaProgressivo(db::DbCursor& c, const std::string& key, const RigaProgressivo& r) {
  c.AddNew(key);
  c.SetField(key, "Anno", util::Value(r.anno));
  c.SetField(key, "PartTipo", util::Value(r.tipoPartita));
  c.SetField(key, "CoPartGruppo", util::Value(r.gruppoPartita));
  c.SetField(key, "CoPartMastro", util::Value(r.mastroPartita));
  c.SetField(key, "CoPartConto", util::Value(r.contoPartita));
}

// The lines of an account added to its figures, in line order, each rounded
// as it is added.
void Somma(const std::vector<std::pair<bool, util::Money>>& righe, bool apertura, int16_t decimali,
           util::Money& saldo, util::Money& dare, util::Money& avere) {
  for (const auto& [debito, importo] : righe) {
    if (apertura) {
      saldo = Somma(saldo, debito ? importo : -importo, decimali);
    } else if (debito) {
      dare = Somma(dare, importo, decimali);
    } else {
      avere = Somma(avere, importo, decimali);
    }
  }
}

}  // namespace

ProgressiviRegistrazione::Chiave ProgressiviRegistrazione::ChiaveDi(const RigaProgressivo& r) {
  return std::make_tuple(r.anno, util::ToLower(r.tipoPartita), util::ToLower(r.gruppoPartita),
                         util::ToLower(r.mastroPartita), util::ToLower(r.contoPartita));
}

void ProgressiviRegistrazione::Aggiungi(const RigaProgressivo& r) {
  Conto& conto = conti_[ChiaveDi(r)];
  if (conto.righe.empty()) conto.codici = r;
  conto.righe.emplace_back(r.dareAvere == "D" || r.dareAvere == "d", r.importo);
}

void ProgressiviRegistrazione::Scrivi() {
  std::vector<Conto*> conti;
  for (auto& [chiave, conto] : conti_) conti.push_back(&conto);
  for (size_t primo = 0; primo < conti.size(); primo += kContiPerLettura) {
    const size_t fine = std::min(conti.size(), primo + kContiPerLettura);
    std::string sql = " Select PdcProg.* from PdcProg where ";
    for (size_t i = primo; i < fine; ++i) sql += (i > primo ? " or " : "") + Condizione(conti[i]->codici);
    // Read for update: on engines that lock rows the accounts stay locked
    // until the registration commits.
    const std::string k = cursore_.Open(ctx_.db, ctx_.conn, "", sql, false, db::kUpdatable);
    auto scrivi = [&](const Conto& conto, util::Money saldo, util::Money dare, util::Money avere, util::Date ultAgg) {
      Somma(conto.righe, apertura_, decimali_, saldo, dare, avere);
      cursore_.SetField(k, "SaldoIniziale", util::Value(saldo));
      cursore_.SetField(k, "ProgrDare", util::Value(dare));
      cursore_.SetField(k, "ProgrAvere", util::Value(avere));
      if (dataReg_ > ultAgg) cursore_.SetField(k, "UltAgg", util::Value(dataReg_));
      cursore_.Update(k);
    };
    for (cursore_.MoveFirst(k); !cursore_.Eof(k); cursore_.MoveNext(k)) {
      RigaProgressivo r;
      r.anno = cursore_.GetField(k, "Anno").toInteger();
      r.tipoPartita = cursore_.GetField(k, "PartTipo").toText();
      r.gruppoPartita = cursore_.GetField(k, "CoPartGruppo").toText();
      r.mastroPartita = cursore_.GetField(k, "CoPartMastro").toText();
      r.contoPartita = cursore_.GetField(k, "CoPartConto").toText();
      const auto it = conti_.find(ChiaveDi(r));
      if (it == conti_.end() || it->second.scritto) continue;
      it->second.scritto = true;
      const util::Money saldo = cursore_.GetField(k, "SaldoIniziale").toMoney();
      const util::Money dare = cursore_.GetField(k, "ProgrDare").toMoney();
      const util::Money avere = cursore_.GetField(k, "ProgrAvere").toMoney();
      const util::Date ultAgg = cursore_.GetField(k, "UltAgg").toDate();
      cursore_.Edit(k);
      scrivi(it->second, saldo, dare, avere, ultAgg);
    }
    // An account's first line of the year makes its row.
    for (size_t i = primo; i < fine; ++i) {
      if (conti[i]->scritto) continue;
      conti[i]->scritto = true;
      NuovaRigaProgressivo(cursore_, k, conti[i]->codici);
      scrivi(*conti[i], util::Money(), util::Money(), util::Money(), util::Date());
    }
    cursore_.Close(k);
  }
  conti_.clear();
}

}  // namespace compensato::posting
