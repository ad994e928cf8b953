#pragma once

#include <cstdint>
#include <string>

#include "components/db/DbCursor.h"
#include "components/util/Date.h"
#include "components/util/Money.h"
#include "src/data/Contesto.h"

namespace compensato::posting {

// What the running totals need of one posted line.
struct RigaProgressivo {
  int16_t anno = 0;
  std::string tipoPartita;
  std::string gruppoPartita;
  std::string mastroPartita;
  std::string contoPartita;
  std::string dareAvere;  // "D" debit; anything else counts as credit
  util::Money importo;    // company currency
};

// Adds one posted line to the PdcProg row of its account and year, creating
// the row on the account's first line of the year. An opening entry moves the
// opening balance instead of the running totals. Errors reach the caller,
// whose transaction makes the registration's totals all or nothing.
void AggiornaPdcProg(Contesto& ctx, db::DbCursor& cursore, const RigaProgressivo& riga,
                     util::Date dataReg, bool apertura, int16_t decimali);

}  // namespace compensato::posting
