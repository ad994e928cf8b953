#include "components/util/ScreenFactor.h"

#include <algorithm>

#include "components/util/Round.h"

namespace util {

double AutomaticScreenFactor(int widthPx, int heightPx) {
  const double f = std::min(widthPx / 800.0, heightPx / 600.0);
  const double r = Round(f, "A", 1, -2);
  return r == 0 ? 1 : r;
}

}  // namespace util
