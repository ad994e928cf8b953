#pragma once

#include "src/data/Contesto.h"
#include "src/worklist/ListaLavoro.h"

namespace compensato {

// The run start: refuses while the user has a suspended run, stores the run
// parameters, builds the installment filter and runs the automatic settlement
// or hands the working copy to the worklist. Returns 0 when the run started
// and ended as the operator asked, 1 when it was refused or failed.
int Elabora(Contesto& ctx, const SelezioneRun& selezione, ListaLavoro* lista);

}  // namespace compensato
