#pragma once

#include <optional>
#include <string>
#include <vector>

#include "components/db/DbExecutor.h"
#include "components/util/Value.h"

namespace lookup {

// A lookup kind: the table that resolves a code of that kind.
struct Tipo {
  std::string kind;         // "Conto", "Moneta", "PagTipo", "Causale", "CentroDiCosto"
  std::string tabella;
  std::vector<std::string> colonneCodice;  // the key; an account code has three parts
  std::string descrizione;  // column shown next to a decoded code
};

// The known kinds (kind names compare ignoring case). nullopt for an unknown kind.
std::optional<Tipo> TrovaTipo(const std::string& kind);

// What a decode found.
struct Decodifica {
  bool trovato = false;
  std::string descrizione;            // "** INESISTENTE **" when not found
  std::vector<util::Value> valori;    // the requested fields, by position
};

inline constexpr const char* kInesistente = "** INESISTENTE **";

// The suite's lookup component as far as the program decodes codes with it:
// a code of a kind is looked up in its table, with an optional extra SQL
// condition, and the requested fields come back by position. The lookup
// window and its events belong to the screens.
class Lookdex {
 public:
  Lookdex(db::DbExecutor& executor, std::string conn) : db_(executor), conn_(std::move(conn)) {}

  // The code of an account is its stored form "GGMMCCCCCC" (or with dashes);
  // an empty code with a filter decodes the first row the filter selects.
  // For "Conto" a non-empty tipoConto ("1", "2", "3") also requires PianoConti.Tipo.
  // Raises util::RuntimeError for an unknown kind or a database failure.
  Decodifica DecodificaCodice(const std::string& kind, const std::string& code,
                              const std::vector<std::string>& campi = {},
                              const std::string& filtro = "", const std::string& tipoConto = "");

 private:
  db::DbExecutor& db_;
  std::string conn_;
};

}  // namespace lookup
