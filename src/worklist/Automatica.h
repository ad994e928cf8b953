#pragma once

#include "src/data/Contesto.h"

namespace compensato {

// The automatic settlement: after the operator confirms, reserves and copies
// the installments of the run's filter, settles them in full in worklist order
// while their signed total stays within the run's maximum amount, and hands
// the working copy to the run engine. Returns 0 when the run was handed over
// (or the operator said no), 1 when it failed and everything was given back.
int Creazione_Automatica(Contesto& ctx);

}  // namespace compensato
