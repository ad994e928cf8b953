#pragma once

#include <optional>
#include <string_view>

namespace util {

// The one rounding routine of the suite. Rounds `value` to a multiple of the
// unit step × 10^power (power omitted: 0) according to `mode`, compared
// ignoring case:
//
//   "A"  to the nearest multiple; a half goes away from zero (1.005 -> 1.01,
//        -0.125 -> -0.13). The rule of Italian commercial rounding.
//   "E"  by excess: the next multiple away from zero (1.231 -> 1.24,
//        -1.231 -> -1.24).
//   "D"  by defect: the next multiple towards zero (1.239 -> 1.23).
//   "P"  to the nearest multiple; a half goes to the even multiple.
//   "N", "Nessuno" or ""  no rounding: the value comes back unchanged.
//
// Any other mode rounds as "A": a rounding table holding a letter we do not
// know still gives a rounded amount rather than an unrounded one. A step of 0
// (or not finite) means no rounding; a negative step counts as its magnitude.
//
// Amounts are doubles but a bookkeeper reads them as decimals, so the work is
// done on the shortest decimal writing of value and step: a value that is a
// half in its decimal writing is a half, and the result is the double nearest
// to the exact decimal result, with no binary noise (0.1 + 0.2 to two
// decimals reads back as 0.3).
double Round(double value, std::string_view mode, double step, std::optional<int> power = {});

}  // namespace util
