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

}  // namespace compensato
