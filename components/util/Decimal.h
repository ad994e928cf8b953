#pragma once

#include <cstdint>
#include <string>

namespace util {

// Amounts are doubles in the program's arithmetic, but an amount is a decimal
// number to a bookkeeper: 2.675 is a half cent, even though its nearest double
// is a hair below it. These helpers work on the shortest decimal writing of a
// double (the one that reads back to the same double), so halves in the
// decimal writing are treated as halves and results carry no binary noise.

// The shortest decimal text that reads back as the same double, in plain
// positional form ("0.00001", never "1e-05"), with '.' as separator.
std::string ShortestDecimal(double value);

// value rounded to `decimals` places (negative: to tens, hundreds, ...), half
// away from zero, computed on ShortestDecimal(value). The result is the
// double nearest to the exact decimal result.
double RoundDecimal(double value, int decimals);

}  // namespace util
