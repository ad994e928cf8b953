#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "components/util/Date.h"
#include "components/util/Money.h"
#include "src/data/Contesto.h"

namespace compensato {

// Modes of AggiornaBloccoScadenze.
namespace blocco {
inline constexpr int kRilascia = 1;           // release (all of the user, with the user condition)
inline constexpr int kConferma = 2;           // mark the working copy as started
inline constexpr int kRilasciaSelezione = 3;  // release one installment
inline constexpr int kSalda = 4;              // release with the payment references
}  // namespace blocco

// 1 when the user still holds a suspended run: reserved installments or
// working-copy rows. A failure of the count reaches the caller.
int VerificaBloccoUtente(Contesto& ctx, const std::string& utente);

// Reserves for the current user the installments the filter selects (FlStato
// "0" too on the installment table itself) with one UPDATE. 0 done; 1 failed,
// after showing the error titled "Aggiornamento blocco scadenze".
int RiservaScadenze(Contesto& ctx, const FiltroScadenze& filtro);

// Builds one UPDATE of the reservation state and runs it. 0 done; 1 failed,
// after showing the error titled "Aggiornamento blocco scadenze". The FlStato
// clause is written only for the installment table itself ("SCADENZE").
// The run year of mode 4 is the run parameter Anno, and a non-zero amount is written with its
// lira and euro equivalents at the run's currency and exchange rate.
int AggiornaBloccoScadenze(Contesto& ctx, int modo, const std::string& tabella, const std::string& condizione,
                           int32_t numReg = 0, const util::Date& dataReg = util::Date(), int32_t rigLiv = 0,
                           util::Money importo = util::Money(), const std::string& extra = "");

// The condition that frees every installment still reserved by the user.
std::string CondizioneUtente(const std::string& tabScadenze, const std::string& utente);

// Gives back every installment of the run's table the current user still
// holds (mode 1 with CondizioneUtente). 0 done; 1 failed, reported.
int RilasciaScadenzeUtente(Contesto& ctx);

// An installment's key, as a cursor reads it.
struct ChiaveScadenza {
  util::Value anno, numProg;
};

// Conditions that select the given installments of a table, each for at most
// a couple of thousand keys of one year ("T.Anno = 2026 AND T.NumProg IN (...)"): a
// run changes thousands of rows with a handful of statements, and each
// statement stays well inside what the engines accept. None for no keys.
std::vector<std::string> CondizioniChiavi(const std::string& tabella, const std::vector<ChiaveScadenza>& chiavi);

// The payment references of one settled installment: the number of its line
// in the entry and, for a partial payment, the paid amount that becomes its
// new amount (0 leaves the amounts as they are).
struct PagamentoScadenza {
  ChiaveScadenza chiave;
  int32_t rigLiv = 0;
  util::Money importo;
};

// What mode 4 does for one installment, for many at once: each is released
// with the run's year, the registration number and date and its own line
// number (and amount), a few hundred installments to a statement. 0 done; 1
// failed, after showing the error titled "Aggiornamento blocco scadenze".
int SaldaScadenze(Contesto& ctx, const std::string& tabella, const std::vector<PagamentoScadenza>& pagamenti,
                  int32_t numReg, const util::Date& dataReg);

}  // namespace compensato
