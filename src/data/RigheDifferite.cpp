#include "src/data/RigheDifferite.h"

#include <algorithm>

#include "components/db/Connection.h"
#include "components/util/SqlLiteral.h"
#include "src/data/CampiOpzionali.h"

namespace compensato {
namespace {

// Rows per INSERT: few statements, and far from the engines' limits on the
// values one statement may carry (some 30 columns a row).
constexpr size_t kRighePerIstruzione = 250;

std::string Letterale(const util::Value& v) {
  switch (v.type()) {
    case util::VType::Null: return "Null";
    case util::VType::Integer: return util::SqlLiteral(v, 2);
    case util::VType::Long: return util::SqlLiteral(v, 3);
    case util::VType::Double: return util::SqlLiteral(v, 5);
    case util::VType::Currency: return util::SqlLiteral(v, 6);
    case util::VType::Date: return util::SqlLiteral(v, 7);
    case util::VType::Boolean: return util::SqlLiteral(v, 11);
    case util::VType::Text: break;
  }
  return util::SqlLiteral(v, 8);
}

}  // namespace

const db::ColumnDescription& RigheDifferite::Colonna(db::DbExecutor& db, const std::string& conn,
                                                     const std::string& campo) {
  auto it = colonne_.find(campo);
  if (it == colonne_.end()) it = colonne_.emplace(campo, db.ColumnInfo(conn, tabella_, campo)).first;
  return it->second;
}

void RigheDifferite::Nuova(std::string origine) {
  corrente_.origine = std::move(origine);
  corrente_.campi.clear();
}

void RigheDifferite::Imposta(db::DbExecutor& db, const std::string& conn, const std::string& campo,
                             const util::Value& valore) {
  util::Value v = db::ToColumnValue(Colonna(db, conn, campo), valore);
  for (auto& [nome, attuale] : corrente_.campi)
    if (nome == campo) {
      attuale = std::move(v);
      return;
    }
  corrente_.campi.emplace_back(campo, std::move(v));
}

void RigheDifferite::ImpostaData(db::DbExecutor& db, const std::string& conn, const std::string& campo,
                                 const util::Value& valore) {
  Imposta(db, conn, campo, DataOpzionale(valore));
}

void RigheDifferite::ImpostaNumero(db::DbExecutor& db, const std::string& conn, const std::string& campo,
                                   const util::Value& valore) {
  Imposta(db, conn, campo, NumeroOpzionale(valore));
}

void RigheDifferite::Aggiungi() {
  righe_.push_back(std::move(corrente_));
  corrente_ = Riga();
}

std::string RigheDifferite::Inserimento(const std::vector<const Riga*>& righe) const {
  std::string sql = "INSERT INTO " + tabella_ + " (";
  const auto& primi = righe.front()->campi;
  for (size_t i = 0; i < primi.size(); ++i) sql += (i ? ", " : "") + primi[i].first;
  sql += ") VALUES ";
  for (size_t r = 0; r < righe.size(); ++r) {
    sql += r ? ", (" : "(";
    const auto& campi = righe[r]->campi;
    for (size_t i = 0; i < campi.size(); ++i) sql += (i ? ", " : "") + Letterale(campi[i].second);
    sql += ")";
  }
  return sql;
}

void RigheDifferite::Scrivi(db::DbExecutor& db, const std::string& conn, std::string& origineRifiutata) {
  std::vector<Riga> righe = std::move(righe_);
  righe_.clear();
  // One INSERT takes rows that set the same columns: grouped by their list,
  // each row's values put in the group's order.
  std::map<std::vector<std::string>, std::vector<const Riga*>> gruppi;
  for (Riga& r : righe) {
    std::sort(r.campi.begin(), r.campi.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> nomi;
    for (const auto& c : r.campi) nomi.push_back(c.first);
    gruppi[std::move(nomi)].push_back(&r);
  }
  for (const auto& [nomi, membri] : gruppi) {
    for (size_t i = 0; i < membri.size(); i += kRighePerIstruzione) {
      const std::vector<const Riga*> parte(
          membri.begin() + static_cast<std::ptrdiff_t>(i),
          membri.begin() + static_cast<std::ptrdiff_t>(std::min(membri.size(), i + kRighePerIstruzione)));
      // Inside a savepoint, so that a refused statement leaves the
      // transaction usable for finding which row it was.
      db.BeginTrans(conn);
      try {
        db.Execute(conn, Inserimento(parte));
        db.CommitTrans(conn);
        continue;
      } catch (const std::exception&) {
        db.Rollback(conn);
      }
      for (const Riga* r : parte) {
        try {
          db.Execute(conn, Inserimento({r}));
        } catch (const std::exception&) {
          origineRifiutata = r->origine;
          throw;
        }
      }
    }
  }
}

void RigheDifferite::Scarta() {
  righe_.clear();
  corrente_ = Riga();
}

}  // namespace compensato
