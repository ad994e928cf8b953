#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "components/util/Money.h"
#include "src/data/Contesto.h"

namespace compensato {

// Copies every installment reserved by the user into the working copy, with
// FaseElab "0", StatoScad "" and ImpPagInc 0, in one statement. 0 done; 1
// failed, and then the working copy is as it was.
int CopiaScadenzeApp(Contesto& ctx, const std::string& tabScadenze, const std::string& tabApp);

// What every run starts from: the installments of the run's filter reserved
// for the user (mode 0 with the filter's WHERE clause) and copied into the
// run's working copy. 0 done; 1 failed, reported by the step that failed.
int RiservaECopia(Contesto& ctx);

// Deletes the user's rows of a working-copy table (the current user when
// utente is empty). With the guard a table whose name does not end in "app"
// is refused with "Nome File non valido". No table: nothing to do.
int CancellaScadenzeApp(Contesto& ctx, const std::optional<std::string>& tabApp, const std::string& utente,
                        bool guardia);

// Creates the residual installment of a partial payment: a copy of the
// installment(s) selected by the condition with the next NumProg of the year
// and the unpaid rest as amount. 0 done; 1 failed, with the rows it appended
// deleted again.
int CreaScadenzaResiduo(Contesto& ctx, const std::string& condizione, util::Money residuo, int16_t anno);

}  // namespace compensato
