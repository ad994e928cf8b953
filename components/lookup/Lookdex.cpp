#include "components/lookup/Lookdex.h"

#include <cctype>

#include "components/db/DbCursor.h"
#include "components/util/Error.h"
#include "components/util/SqlLiteral.h"

namespace lookup {
namespace {

bool Uguale(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Splits an account code typed with or without its two dashes.
std::vector<std::string> PartiConto(const std::string& code) {
  auto parte = [&](size_t pos, size_t len) {
    return pos < code.size() ? code.substr(pos, len) : std::string();
  };
  if (code.find('-') == std::string::npos) return {parte(0, 2), parte(2, 2), parte(4, std::string::npos)};
  return {parte(0, 2), parte(3, 2), parte(6, std::string::npos)};
}

}  // namespace

std::optional<Tipo> TrovaTipo(const std::string& kind) {
  static const Tipo kTipi[] = {
      {"Conto", "PianoConti", {"Gruppo", "Mastro", "Conto"}, "Descrizione"},
      {"Moneta", "Monete", {"Moneta"}, "Descrizione"},
      {"PagTipo", "PagTipi", {"PagTipo"}, "Descrizione"},
      {"Causale", "Causali", {"Causale"}, "Descrizione"},
      {"CentroDiCosto", "CentriDiCosto", {"CentroDiCosto"}, "Descrizione"},
      {"Pagamento", "Pagamenti", {"Pagamento"}, "Descrizione"},
      {"Banca", "Banche", {"Banca"}, "Descrizione"},
      {"Iva", "Tabiva", {"Iva"}, "Descrizione"},
  };
  for (const Tipo& t : kTipi)
    if (Uguale(t.kind, kind)) return t;
  return std::nullopt;
}

Decodifica Lookdex::DecodificaCodice(const std::string& kind, const std::string& code,
                                     const std::vector<std::string>& campi, const std::string& filtro,
                                     const std::string& tipoConto) {
  const auto tipo = TrovaTipo(kind);
  if (!tipo) throw util::RuntimeError(util::err::kFieldNotFound, "Tipo di decodifica sconosciuto: " + kind, "Lookdex");
  std::string where;
  auto aggiungi = [&](const std::string& condizione) {
    where += (where.empty() ? " WHERE " : " AND ") + condizione;
  };
  if (!code.empty()) {
    const std::vector<std::string> valori =
        tipo->colonneCodice.size() == 3 ? PartiConto(code) : std::vector<std::string>{code};
    for (size_t i = 0; i < tipo->colonneCodice.size(); ++i)
      aggiungi(tipo->tabella + "." + tipo->colonneCodice[i] + " = " + util::SqlLiteral(valori[i], 8));
  }
  if (!tipoConto.empty() && tipo->kind == "Conto")
    aggiungi(tipo->tabella + ".Tipo = " + util::SqlLiteral(tipoConto, 8));
  if (!filtro.empty()) aggiungi("(" + filtro + ")");
  if (where.empty()) return Decodifica{false, kInesistente, std::vector<util::Value>(campi.size())};

  db::DbCursor c;
  const std::string key = c.Open(db_, conn_, "", "SELECT * FROM " + tipo->tabella + where, false, db::kSnapshot);
  Decodifica d;
  d.valori.resize(campi.size());
  if (c.IsEmpty(key)) {
    d.descrizione = kInesistente;
  } else {
    d.trovato = true;
    d.descrizione = c.GetField(key, tipo->descrizione).toText();
    for (size_t i = 0; i < campi.size(); ++i) d.valori[i] = c.GetField(key, campi[i]);
  }
  c.Close(key);
  return d;
}

}  // namespace lookup
