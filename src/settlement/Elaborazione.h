#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "components/db/DbCursor.h"
#include "src/data/Contesto.h"

namespace compensato {

// The worklist's run: settles the rows of the worklist's own result set (the
// worklist query, in the grid's order) as the operator marked them, writes the
// run's journal entry, posts it and gives every installment back. On failure
// everything is rolled back and released and the worklist outcome becomes
// 1000. Returns 0 when the run ended normally, 1 when it failed.
int InizioElab(Contesto& ctx, db::DbCursor& lista, const std::string& key);

// The run over the user's working copy, with the run parameters read back from
// the temporary value store: the automatic run and the completion of an
// interrupted run (both create-header true: an interrupted run's header went
// with its transaction) and the posting of an entry whose posting was
// interrupted (post-only with its number; annoLock is the year of that entry's
// lock, taken when the run parameters are gone). Without create-header, a
// working copy with something to settle fails at step 1: its lines would have
// no header.
// Returns 0 when the run ended normally, 1 when it failed.
int ElaborazioneScadenze(Contesto& ctx, const std::string& utente, const std::string& programId, bool creaTestata,
                         bool soloContab, int32_t numReg, std::optional<int16_t> annoLock = std::nullopt);

// Reads the fourteen run parameters (and the run currency) of the user into
// the run state. False when any of them is missing.
bool LeggiParametriRun(Contesto& ctx, const std::string& utente, const std::string& programId);

}  // namespace compensato
