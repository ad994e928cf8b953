#pragma once

#include <map>
#include <optional>
#include <string>

#include "components/util/Value.h"
#include "src/data/Contesto.h"

namespace compensato {

// The read-only card of one installment of the working copy, with the
// descriptions of its codes: the text of each value label by its name, and
// whether it is money in.
struct SchedaScadenza {
  std::map<std::string, std::string> etichette;  // "labTipo", "labCodice", ...
  bool entrata = false;
};

// Reads the card of the working-copy row (anno, numProg); nothing when the
// row is not there. Amounts are the stored ones, unsigned, in the currency's
// mask; a code without its description row shows with an empty description.
std::optional<SchedaScadenza> LeggiSchedaScadenza(Contesto& ctx, const util::Value& anno, const util::Value& numProg);

// The caption of the account's type: "Cliente:", "Fornitore:", ...
std::string DidascaliaTipo(const std::string& tipo);

}  // namespace compensato
