#pragma once

#include "src/data/Contesto.h"

namespace compensato {

// What the run start needs of the worklist screen. Prepara loads the grid over
// the working copy (it sets the worklist outcome to 1000 when there is nothing
// to show, after saying so); Mostra shows it and returns when it closes, after
// a confirmed run (InizioElab) or a cancel.
class ListaLavoro {
 public:
  virtual ~ListaLavoro() = default;
  virtual void Prepara(Contesto& ctx) = 0;
  virtual void Mostra(Contesto& ctx) = 0;
};

// The run start: refuses while the user has a suspended run, stores the run
// parameters, builds the installment filter and runs the automatic settlement
// or hands the working copy to the worklist. Returns 0 when the run started
// and ended as the operator asked, 1 when it was refused or failed.
int Elabora(Contesto& ctx, const SelezioneRun& selezione, ListaLavoro* lista);

}  // namespace compensato
