#include "components/lookup/Tipi.h"

#include "components/util/Text.h"
#include "components/util/Value.h"

namespace lookup {
namespace {

std::vector<std::string> Dividi(const std::string& s, char sep) {
  std::vector<std::string> parti;
  std::string corrente;
  for (char c : s) {
    if (c == sep) {
      parti.push_back(corrente);
      corrente.clear();
    } else {
      corrente += c;
    }
  }
  parti.push_back(corrente);
  return parti;
}

}  // namespace

std::optional<Tipo> TrovaTipo(const std::string& kind) {
  // clang-format off
  static const Tipo kTipi[] = {
      {"Conto", "PianoConti", {"Gruppo", "Mastro", "Conto"}, "Descrizione",
       {{kCampoCodice, "Conto", 1500}, {"Descrizione", "Descrizione", 4500}, {"Localita", "Localit\xC3\xA0", 2200}}},
      {"Moneta", "Monete", {"Moneta"}, "Descrizione",
       {{"Moneta", "Moneta", 900}, {"Descrizione", "Descrizione", 3500}, {"NumDec", "Decimali", 900}}},
      {"PagTipo", "PagTipi", {"PagTipo"}, "Descrizione",
       {{"PagTipo", "Tipo", 900}, {"Descrizione", "Descrizione", 3500}}},
      {"Causale", "Causali", {"Causale"}, "Descrizione",
       {{"Causale", "Causale", 900}, {"Descrizione", "Descrizione", 3500}, {"TipoCausale", "Tipo", 700}}},
      {"CentroDiCosto", "CentriDiCosto", {"CentroDiCosto"}, "Descrizione",
       {{"CentroDiCosto", "Centro", 1200}, {"Descrizione", "Descrizione", 3500}}},
      {"Pagamento", "Pagamenti", {"Pagamento"}, "Descrizione",
       {{"Pagamento", "Pagamento", 1100}, {"Descrizione", "Descrizione", 3500}}},
      {"Banca", "Banche", {"Banca"}, "Descrizione",
       {{"Banca", "Banca", 1100}, {"Descrizione", "Descrizione", 3500}, {"Abi", "ABI", 800}, {"Cab", "CAB", 800}}},
      {"Iva", "Tabiva", {"Iva"}, "Descrizione",
       {{"Iva", "Codice", 800}, {"Descrizione", "Descrizione", 3500}, {"Aliquota", "Aliquota", 900}}},
  };
  // clang-format on
  for (const Tipo& t : kTipi)
    if (util::EqualsIgnoreCase(t.kind, kind)) return t;
  return std::nullopt;
}

std::vector<Colonna> LeggiColonne(const Tipo& tipo, const std::string& set) {
  std::vector<Colonna> colonne = {tipo.colonne.at(0), tipo.colonne.at(1)};
  if (util::Trim(set).empty() || set.rfind(",No,", 0) == 0) return tipo.colonne;
  for (const std::string& voce : Dividi(set, ',')) {
    if (util::Trim(voce).empty()) continue;
    const std::vector<std::string> parti = Dividi(voce, ':');
    Colonna c;
    c.campo = util::Trim(parti[0]);
    c.titolo = parti.size() > 1 && !util::Trim(parti[1]).empty() ? util::Trim(parti[1]) : c.campo;
    double larghezza = 0;
    if (parti.size() > 2 && util::ParseItalianNumber(util::Trim(parti[2]), larghezza) && larghezza > 0)
      c.larghezza = static_cast<int>(larghezza);
    if (c.campo.empty()) continue;
    bool sostituita = false;
    for (Colonna& esistente : colonne) {
      if (util::EqualsIgnoreCase(esistente.campo, c.campo)) {
        esistente.titolo = c.titolo;
        if (parti.size() > 2) esistente.larghezza = c.larghezza;
        sostituita = true;
      }
    }
    if (!sostituita) colonne.push_back(c);
  }
  return colonne;
}

}  // namespace lookup
