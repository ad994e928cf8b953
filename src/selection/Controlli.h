#pragma once

#include <string>
#include <vector>

#include "src/data/Contesto.h"

namespace compensato {

// The confirmation checks of a run selection made without the screen (the
// batch front): the codes must exist, the mandatory accounts be given, the
// ranges be in order, the maximum amount not be 0, the currency agree with the
// transaction code and the protocol be there when required. Returns the
// messages the screen would show, in its order; empty when the run may start.
std::vector<std::string> ControllaSelezione(Contesto& ctx, const SelezioneRun& s);

}  // namespace compensato
