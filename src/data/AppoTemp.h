#pragma once

#include <string>

#include "components/util/Value.h"
#include "src/data/Contesto.h"

namespace compensato {

// The per-user, per-program key/value store (table AppoggioTemp) that keeps a
// run's parameters for the whole life of the run, recovery included.

// The type a value is stored as (the column it goes to); the numbers are
// what the table's rows hold.
namespace appoggio {
inline constexpr int kTesto = 1;
inline constexpr int kNumero = 2;
inline constexpr int kData = 3;
inline constexpr int kTestoLungo = 4;
// What LeggiAppoggio gives for a key that is not stored.
inline constexpr const char* kMancante = "~";
}  // namespace appoggio

// Deletes every value of the user under the program. 0 done, 1 failed (shown).
int CancellaAppoggio(Contesto& ctx, const std::string& utente, const std::string& programma);
// Adds one value. 0 done, 1 failed (not shown: the caller reports).
int ScriviAppoggio(Contesto& ctx, const std::string& utente, const std::string& programma, const std::string& chiave,
                   const util::Value& valore, int tipo);
// The stored value (the last row read wins), or the text "~" when there is none.
// A database failure propagates.
util::Value LeggiAppoggio(Contesto& ctx, const std::string& utente, const std::string& programma,
                          const std::string& chiave, int tipo);

}  // namespace compensato
