#pragma once

#include <string>

#include "components/util/Value.h"
#include "src/data/Contesto.h"

namespace compensato {

// The per-user, per-program key/value store (table AppoggioTemp) that keeps a
// run's parameters for the whole life of the run, recovery included.
// Value types: 1 text, 2 number, 3 date, 4 long text.

// Deletes every value of the user under the program. 0 done, 1 failed (shown).
int CancellaAppoggio(Contesto& ctx, const std::string& utente, const std::string& programma);
// Adds one value. 0 done, 1 failed (not shown: the caller reports).
int ScriviAppoggio(Contesto& ctx, const std::string& utente, const std::string& programma,
                   const std::string& chiave, const util::Value& valore, int tipo);
// The stored value (the last row read wins), or the text "~" when there is none.
// A database failure propagates.
util::Value LeggiAppoggio(Contesto& ctx, const std::string& utente, const std::string& programma,
                          const std::string& chiave, int tipo);

}  // namespace compensato
