#pragma once

#include <string>

#include "src/data/Contesto.h"

namespace compensato {

// Turns the run selection into the FROM expression and the WHERE clause that
// select the free, unpaid installments of the run (stored in ctx.run). Executes
// nothing; the reserve statement uses both.
void CostruisciFiltroScadenze(Contesto& ctx, const std::string& tabella);

}  // namespace compensato
