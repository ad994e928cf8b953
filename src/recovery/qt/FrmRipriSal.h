#pragma once

#include "src/startup/qt/SchermoProvvisorio.h"

namespace recovery {

// Help topic of the recovery window.
inline constexpr int32_t kAiutoRipristino = 50010;

// The recovery window of interrupted runs; its grid comes with the recovery.
class frmRipriSal final : public startup::SchermoProvvisorio {
 public:
  explicit frmRipriSal(startup::Programma& p)
      : SchermoProvvisorio(p, "frmRipriSal", "Ripristino da interruzioni in elaborazione Compensato", kAiutoRipristino) {}
};

}  // namespace recovery
