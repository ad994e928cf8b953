#pragma once

#include "src/startup/qt/SchermoProvvisorio.h"

namespace selection {

// Help topic of the selection screen and of the worklist.
inline constexpr int32_t kAiutoSelezione = 50000;

// The entry screen of a settlement run. Its fields come with the selection
// screen; until then it keeps the screen contract and says it is not built.
class FrmSaldaSelezioni final : public startup::SchermoProvvisorio {
 public:
  explicit FrmSaldaSelezioni(startup::Programma& p)
      : SchermoProvvisorio(p, "FrmSaldaSelezioni", "Gestione Compensato", kAiutoSelezione) {}
  void PassaA() override;
};

}  // namespace selection
