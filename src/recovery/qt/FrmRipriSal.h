#pragma once

#include "src/ui/qt/SchermoProvvisorio.h"

namespace recovery {

// The recovery window of interrupted runs; its grid comes with the recovery.
class frmRipriSal final : public ui::SchermoProvvisorio {
 public:
  explicit frmRipriSal(startup::Programma& p)
      : SchermoProvvisorio(p, "frmRipriSal", "Ripristino da interruzioni in elaborazione Compensato") {}
};

}  // namespace recovery
