#pragma once

#include "src/ui/qt/SchermoProvvisorio.h"

namespace selection {

// The entry screen of a settlement run. Its fields come with the selection
// screen; until then it keeps the screen contract and says it is not built.
class FrmSaldaSelezioni final : public ui::SchermoProvvisorio {
 public:
  explicit FrmSaldaSelezioni(startup::Programma& p) : SchermoProvvisorio(p, "FrmSaldaSelezioni", "Gestione Compensato") {}
  void PassaA() override { p_.ctx.host.RegisterWindow("Gestione Compensato", "frmSaldaSelezioni", osKeySec); }
};

}  // namespace selection
