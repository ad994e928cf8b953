#pragma once

#include <cstdint>

#include "src/data/Contesto.h"

namespace compensato {

// Posts the run's entry from the staging tables (MovPnTes, MovPnDettApp,
// MovPnIvaApp) in mode "N": no renumbering, no installments, the engine's own
// transaction. 0 posted; 1 when the engine counted errors (shown with the
// title "Contabilizzazione dettagli movimento di prima nota"). A message of
// the engine is shown with "&Ok".
int ContabilizzaMovimento(Contesto& ctx);

// Whether the lock of the entry with this number and the run's year still
// exists; when it does not, says so ("Il movimento di prima nota è già stato
// sbloccato").
bool ControllaBloccoMovimento(Contesto& ctx, int32_t numReg);

}  // namespace compensato
