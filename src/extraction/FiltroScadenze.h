#pragma once

#include <string>

#include "src/data/Contesto.h"

namespace compensato {

// Turns the run selection into the filter that selects the free, unpaid
// installments of the run from the table (stored in ctx.run.filtro). Executes
// nothing; the reserve statement uses it whole.
void CostruisciFiltroScadenze(Contesto& ctx, const std::string& tabella);

}  // namespace compensato
