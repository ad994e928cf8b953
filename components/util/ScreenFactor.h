#pragma once

namespace util {

// The factor a window designed for 800x600 is scaled by on a screen of that
// size: the smaller of width/800 and height/600, to two decimals; 0 (a
// screen of no size) gives 1.
double AutomaticScreenFactor(int widthPx, int heightPx);

}  // namespace util
