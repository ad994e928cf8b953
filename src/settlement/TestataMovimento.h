#pragma once

#include <cstdint>
#include <string>

#include "components/util/Date.h"
#include "src/data/Contesto.h"

namespace compensato {

// Opens the run's header set ("Select * from MovPnTes where false") and line
// set ("Select * from MovPnDettApp where false") in one cursor object.
void ApriTabelleMovimento(Contesto& ctx);
// Closes both; errors are ignored.
void ChiudiTabelleMovimento(Contesto& ctx);

// Writes the run's journal entry header with the next registration number of
// the run's year (raised on a duplicate at insertion), takes the entry lock
// and sets the line counter to 1. The document reference is written only when
// the run settles exactly one installment. 0 done; 1 failed, after showing the
// error titled "Creazione testata movimento di prima nota".
int CreaTestataMovimento(Contesto& ctx, int32_t numScadenze, const std::string& monetaMovimento,
                         const std::string& numDoc, const util::Date& dataDoc, const std::string& prefisso);

// Takes the lock of the run's entry (its year and number, state "0") on the
// lock service's standard cursor; the cursor stands on the lock row also when
// another identity already holds it, so it can be released after posting.
void PrendiLockMovimento(Contesto& ctx);

// The lock of the run's entry: kind "C", management "9".
inline constexpr const char* kTipoLockMovimento = "C";
inline constexpr const char* kGestioneCompensato = "9";
inline constexpr const char* kDescrizioneLockMovimento = "Movimenti di prima nota";

}  // namespace compensato
