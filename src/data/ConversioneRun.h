#pragma once

#include "src/data/Contesto.h"

namespace compensato {

// An amount of the run's currency and its equivalents.
struct ImportiScadenza {
  double lire = 0;
  double euro = 0;
  double moneta = 0;   // in the run's currency
  double azienda = 0;  // in the company currency
};

// Converts an amount of the run's currency at the run's exchange rate, as every
// conversion of the settlement does: all three roundings on, no rounding
// tables, mode "E", no chaining. The run's currency is the one chosen at run
// start (the company currency when the run carries none).
ImportiScadenza ConvertiPerScadenza(Contesto& ctx, double importo);

}  // namespace compensato
