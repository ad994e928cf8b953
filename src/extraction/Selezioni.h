#pragma once

#include "src/data/Contesto.h"

namespace compensato {

// Stores the run parameters of the current run selection in the temporary
// value store, under the user identity and the program identifier. 0 when the
// whole record was written; 1 after the first failed write, shown once.
int ScriviSelezioni(Contesto& ctx);

// The key of the run currency, stored after the fourteen run parameters so
// that a run completed by recovery in another process converts its amounts
// from the currency it was started with.
inline constexpr const char* kChiaveMonetaRun = "Moneta";

}  // namespace compensato
