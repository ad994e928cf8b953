#include "src/posting/Progressivi.h"

#include <algorithm>
#include <vector>

#include "components/util/Error.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"

namespace compensato::posting {
namespace {

// Half away from zero, exactly: a double keeps only fifteen significant
// digits of the largest totals the currency column holds.
util::Money Somma(util::Money totale, util::Money importo, int16_t decimali) {
  return (totale + importo).Rounded(decimali);
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
void Somma(const std::vector<std::pair<bool, util::Money>>& righe, bool apertura, int16_t decimali, util::Money& saldo,
           util::Money& dare, util::Money& avere) {
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

// The rows already there of a registration's accounts, each with its new
// figures, stored by one UPDATE per group of accounts rather than one per
// account: on a server each statement is a round trip, and a registration
// has a few accounts. Each row's figures are its own, chosen by its key.
class Modifiche {
 public:
  template <class Conto>
  void Aggiungi(const Conto& conto, bool apertura, int16_t decimali, util::Money saldo, util::Money dare,
                util::Money avere, util::Date ultAgg) {
    Somma(conto.righe, apertura, decimali, saldo, dare, avere);
    righe_.push_back({Condizione(conto.codici), saldo, dare, avere, ultAgg});
  }

  void Scrivi(Contesto& ctx) {
    constexpr size_t kPerIstruzione = 25;
    for (size_t primo = 0; primo < righe_.size(); primo += kPerIstruzione) {
      const size_t fine = std::min(righe_.size(), primo + kPerIstruzione);
      auto colonna = [&](const std::string& nome, auto valore) {
        std::string e = nome;
        for (size_t i = fine; i-- > primo;) {
          const std::string v = valore(righe_[i]);
          if (v != nome) e = "IIF(" + righe_[i].condizione + ", " + v + ", " + e + ")";
        }
        return nome + " = " + e;
      };
      auto importo = [](util::Money m) { return util::SqlLiteral(util::Value(m), 6); };
      std::string dove;
      for (size_t i = primo; i < fine; ++i) dove += (i > primo ? " or " : "") + righe_[i].condizione;
      const std::string sql =
          "UPDATE PdcProg SET " + colonna("SaldoIniziale", [&](const Riga& r) { return importo(r.saldo); }) + ", " +
          colonna("ProgrDare", [&](const Riga& r) { return importo(r.dare); }) + ", " +
          colonna("ProgrAvere", [&](const Riga& r) { return importo(r.avere); }) + ", " +
          colonna("UltAgg",
                  [](const Riga& r) {
                    return r.ultAgg.isEmpty() ? std::string("UltAgg") : util::SqlLiteral(util::Value(r.ultAgg), 7);
                  }) +
          " WHERE " + dove;
      // The rows were read (and, on engines that lock rows, locked) by this
      // transaction: one missing was taken away under it.
      if (ctx.db.Execute(ctx.conn, sql) != static_cast<int64_t>(fine - primo))
        throw util::RuntimeError(util::err::kWriteConflict,
                                 "Il record di PdcProg è stato eliminato o cambiato da un altro utente", "DbCursor");
    }
    righe_.clear();
  }

 private:
  struct Riga {
    std::string condizione;
    util::Money saldo, dare, avere;
    util::Date ultAgg;  // empty: the row's own stays
  };
  std::vector<Riga> righe_;
};

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
    Modifiche modifiche;
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
      modifiche.Aggiungi(it->second, apertura_, decimali_, saldo, dare, avere,
                         dataReg_ > ultAgg ? dataReg_ : util::Date());
    }
    modifiche.Scrivi(ctx_);
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
