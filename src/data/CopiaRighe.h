#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "src/data/Contesto.h"

namespace compensato {

// A column of the target given its own value: SQL text, a literal or an
// expression over the source table.
using ValoreColonna = std::pair<std::string, std::string>;

// Copies the rows of `origine` that `condizione` selects into `destinazione`
// with one INSERT ... SELECT: every column the two tables share by name takes
// the source's value, the columns in `valori` take theirs. The engine moves
// the rows without sending them to the program, and a failure copies none.
// Returns the rows copied; a failure reaches the caller.
int64_t CopiaRighe(Contesto& ctx, const std::string& origine, const std::string& destinazione,
                   const std::string& condizione, const std::vector<ValoreColonna>& valori = {});

}  // namespace compensato
