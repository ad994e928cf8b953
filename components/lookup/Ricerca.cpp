#include "components/lookup/Ricerca.h"

#include "components/db/DbCursor.h"
#include "components/db/Recordset.h"
#include "components/util/AccountCode.h"
#include "components/util/NumberFormat.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"

namespace lookup {
namespace {

std::string Nome(const Tipo& t, const std::string& campo) { return t.tabella + "." + campo; }

std::string SoloCifre(const std::string& testo) {
  std::string out;
  for (char c : testo)
    if (c != '-' && c != ' ') out += c;
  return out;
}

std::string Testo(const util::Value& v, const std::string& formatoData) {
  if (v.type() == util::VType::Date) return util::FormatDate(v.toDate(), formatoData);
  return v.toText();
}

}  // namespace

std::string PatternLike(const std::string& testo, bool ovunque) {
  std::string p = ovunque ? "*" : "";
  for (char c : testo) {
    if (c == '*' || c == '?' || c == '[')
      p += std::string("[") + c + "]";
    else
      p += c;
  }
  return p + "*";
}

Criterio CriterioDaLettera(const std::string& lettera, const Criterio& altrimenti) {
  const std::string l = util::ToUpper(util::Trim(lettera));
  if (l == "C") return {Chiave::Codice, ""};
  if (l == "D") return {Chiave::Descrizione, ""};
  if (l == "P") return {Chiave::Colonna, "PartitaIva"};
  if (l == "F") return {Chiave::Colonna, "CodFiscale"};
  return altrimenti;
}

Ricerca::Ricerca(db::DbExecutor& db, std::string conn, DefinizioneRicerca definizione)
    : db_(db), conn_(std::move(conn)), def_(std::move(definizione)) {
  if (def_.colonne.empty()) def_.colonne = LeggiColonne(def_.tipo, "");
}

std::string Ricerca::Istruzione(const Criterio& criterio, const std::string& testo) const {
  const Tipo& t = def_.tipo;
  std::string select;
  for (const std::string& c : t.colonneCodice) select += (select.empty() ? "" : ", ") + Nome(t, c);
  select += ", " + Nome(t, t.descrizione);
  for (const lookup::Colonna& c : def_.colonne) {
    if (util::EqualsIgnoreCase(c.campo, t.descrizione)) continue;
    if (t.Conto() && util::EqualsIgnoreCase(c.campo, kCampoCodice)) continue;
    bool chiave = false;
    for (const std::string& k : t.colonneCodice) chiave = chiave || util::EqualsIgnoreCase(k, c.campo);
    if (!chiave) select += ", " + Nome(t, c.campo);
  }

  std::vector<std::string> condizioni;
  if (t.Conto() && def_.tipoConto != 0) condizioni.push_back(Nome(t, "Tipo") + " = " + std::to_string(def_.tipoConto));
  if (!util::Trim(def_.filtro).empty()) condizioni.push_back("(" + def_.filtro + ")");
  if (!testo.empty()) {
    switch (criterio.chiave) {
      case Chiave::Codice:
        if (t.Conto()) {
          // Group and ledger are fixed width: a prefix of the joined code is
          // whole parts followed by the start of one part.
          const std::string cifre = SoloCifre(testo);
          const std::string g = cifre.substr(0, 2);
          const std::string m = cifre.size() > 2 ? cifre.substr(2, 2) : "";
          const std::string c = cifre.size() > 4 ? cifre.substr(4) : "";
          if (cifre.size() <= 2) {
            condizioni.push_back(Nome(t, "Gruppo") + " LIKE " + util::SqlLiteral(PatternLike(g, false), 8));
          } else {
            condizioni.push_back(Nome(t, "Gruppo") + " = " + util::SqlLiteral(g, 8));
            if (cifre.size() <= 4) {
              condizioni.push_back(Nome(t, "Mastro") + " LIKE " + util::SqlLiteral(PatternLike(m, false), 8));
            } else {
              condizioni.push_back(Nome(t, "Mastro") + " = " + util::SqlLiteral(m, 8));
              condizioni.push_back(Nome(t, "Conto") + " LIKE " + util::SqlLiteral(PatternLike(c, false), 8));
            }
          }
        } else {
          condizioni.push_back(Nome(t, t.colonneCodice[0]) + " LIKE " + util::SqlLiteral(PatternLike(testo, false), 8));
        }
        break;
      case Chiave::Descrizione:
        condizioni.push_back(Nome(t, t.descrizione) + " LIKE " + util::SqlLiteral(PatternLike(testo, true), 8));
        break;
      case Chiave::Colonna:
        condizioni.push_back(Nome(t, criterio.colonna) + " LIKE " + util::SqlLiteral(PatternLike(testo, true), 8));
        break;
    }
  }

  std::string sql = "SELECT " + select + " FROM " + t.tabella;
  for (size_t i = 0; i < condizioni.size(); ++i) sql += (i == 0 ? " WHERE " : " AND ") + condizioni[i];
  std::string ordine;
  if (criterio.chiave == Chiave::Descrizione) ordine = Nome(t, t.descrizione);
  if (criterio.chiave == Chiave::Colonna) ordine = Nome(t, criterio.colonna);
  for (const std::string& c : t.colonneCodice) ordine += (ordine.empty() ? "" : ", ") + Nome(t, c);
  return sql + " ORDER BY " + ordine;
}

void Ricerca::Cerca(const Criterio& criterio, const std::string& testo) {
  const Tipo& t = def_.tipo;
  db::DbCursor cursore;
  const std::string key = cursore.Open(db_, conn_, "", Istruzione(criterio, testo), false, db::kSnapshot);
  db::Recordset& rs = cursore.GetRecordset(key);
  std::vector<int> posCodice;
  for (const std::string& c : t.colonneCodice) posCodice.push_back(rs.columnIndex(c));
  const int posDescrizione = rs.columnIndex(t.descrizione);
  std::vector<int> posCelle;
  for (const lookup::Colonna& c : def_.colonne) posCelle.push_back(rs.columnIndex(c.campo));

  std::vector<Riga> righe;
  righe.reserve(static_cast<size_t>(rs.rowCount()));
  for (int r = 0; r < rs.rowCount(); ++r) {
    Riga riga;
    if (t.Conto()) {
      riga.codice = util::FormatCode(rs.field(r, posCodice[0]).toText() + rs.field(r, posCodice[1]).toText() +
                                     rs.field(r, posCodice[2]).toText());
    } else {
      riga.codice = rs.field(r, posCodice[0]).toText();
    }
    riga.descrizione = rs.field(r, posDescrizione).toText();
    riga.celle.reserve(posCelle.size());
    for (size_t i = 0; i < posCelle.size(); ++i) {
      if (t.Conto() && util::EqualsIgnoreCase(def_.colonne[i].campo, kCampoCodice))
        riga.celle.push_back(riga.codice);
      else if (posCelle[i] >= 0)
        riga.celle.push_back(Testo(rs.field(r, posCelle[i]), def_.formatoData));
      else
        riga.celle.emplace_back();
    }
    righe.push_back(std::move(riga));
  }
  cursore.Close(key);
  righe_ = std::move(righe);
}

}  // namespace lookup
