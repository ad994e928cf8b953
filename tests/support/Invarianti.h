#pragma once

#include <string>

#include "components/db/DbExecutor.h"

namespace testsupport {

// The three promises of the posting engine, checked on the whole database:
// every registration in MovPnDett balances in Importo (debits equal credits);
// for every account and year PdcProg holds exactly the posted lines (running
// debit and credit totals, and the opening balance for opening entries, whose
// transaction code has TipoCausale "AP"); no staged row (MovPnDettApp,
// MovPnIvaApp) remains for a registration that has posted lines.
// PdcProg is expected to have started empty. Returns "" when all hold,
// otherwise one line per broken promise.
std::string VerificaInvarianti(db::DbExecutor& db, const std::string& conn);

}  // namespace testsupport
