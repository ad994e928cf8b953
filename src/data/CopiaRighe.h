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

// Copies rows of one table into another with one INSERT ... SELECT: every
// column the two tables share by name takes the source's value, the columns
// given to Esegui take theirs. The engine moves the rows without sending them
// to the program, and a failed copy copies none. The tables' columns are read
// once, for a caller that copies many times.
class CopiaRighe {
 public:
  CopiaRighe(Contesto& ctx, std::string origine, std::string destinazione);
  // Copies the rows of the source that the condition selects; returns how
  // many. A failure reaches the caller.
  int64_t Esegui(const std::string& condizione, const std::vector<ValoreColonna>& valori = {}) const;

 private:
  Contesto& ctx_;
  std::string origine_, destinazione_;
  std::vector<std::pair<std::string, bool>> colonne_;  // the target's, and whether the source has it
};

}  // namespace compensato
