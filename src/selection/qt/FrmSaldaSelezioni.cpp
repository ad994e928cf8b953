#include "src/selection/qt/FrmSaldaSelezioni.h"

#include "src/startup/Programma.h"

namespace selection {

void FrmSaldaSelezioni::PassaA() { p_.ctx.host.RegisterWindow("Gestione Compensato", "frmSaldaSelezioni", osKeySec); }

}  // namespace selection
