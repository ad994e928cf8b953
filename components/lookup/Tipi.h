#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lookup {

// A column of the lookup window: the table's field, its caption and its
// designed width in twips (scaled with the window, as screens are).
struct Colonna {
  std::string campo;
  std::string titolo;
  int larghezza = 1500;
};

// The pseudo-field of an account's code in a column set: the three parts
// joined with dashes, as the screens show an account.
inline constexpr const char* kCampoCodice = "Codice";

// A lookup kind: the table that resolves a code of that kind.
struct Tipo {
  std::string kind;  // "Conto", "Moneta", "PagTipo", "Causale", "CentroDiCosto"
  std::string tabella;
  std::vector<std::string> colonneCodice;  // the key; an account code has three parts
  std::string descrizione;                 // column shown next to a decoded code
  // What the window shows when the column set names nothing.
  std::vector<Colonna> colonne;

  bool Conto() const { return colonneCodice.size() == 3; }
};

// The known kinds (kind names compare ignoring case). nullopt for an unknown kind.
std::optional<Tipo> TrovaTipo(const std::string& kind);

// The column set of the window ("Campi" + kind): items separated by commas,
// each "Campo", "Campo:Titolo" or "Campo:Titolo:Larghezza" (twips); blank
// items are skipped, so a set may begin with a comma and a caller may append
// ",Campo..." to it. The code and the description always come first (what
// Enter writes must be in sight); naming them in the set only changes their
// caption or width. An empty set, or one beginning ",No,", gives the kind's
// own columns.
std::vector<Colonna> LeggiColonne(const Tipo& tipo, const std::string& set);

}  // namespace lookup
