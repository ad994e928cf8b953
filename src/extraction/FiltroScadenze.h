#pragma once

#include <string>

#include "src/data/Contesto.h"

namespace compensato {

// The three parts of an account code: group = the first two characters; with
// dashes the ledger is at 4-5 and the account from 7, without them the ledger
// is at 3-4 and the account from 5.
struct PartiConto {
  std::string gruppo, mastro, conto;
};
PartiConto DividiConto(const std::string& codice);

// Turns the run selection into the FROM expression and the WHERE clause that
// select the free, unpaid installments of the run (stored in ctx.run). Executes
// nothing; the reserve statement uses both.
void CostruisciFiltroScadenze(Contesto& ctx, const std::string& tabella);

}  // namespace compensato
