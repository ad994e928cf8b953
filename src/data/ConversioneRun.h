#pragma once

#include "src/company/Valute.h"
#include "src/data/Contesto.h"

namespace compensato {

// Converts an amount of the run's currency at the run's exchange rate, as every
// conversion of the settlement does: all three roundings on, no rounding
// tables, mode "E", no chaining. The run's currency is the one chosen at run
// start (the company currency when the run carries none).
// The amount in lire, in euro, in the run's currency (moneta) and in the
// company currency (azienda).
company::ImportiConvertiti ConvertiPerScadenza(Contesto& ctx, double importo);

}  // namespace compensato
