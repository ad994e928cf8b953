#pragma once

#include <cstdint>
#include <string>

#include "components/util/Date.h"
#include "components/util/Money.h"
#include "src/data/Contesto.h"

namespace compensato {

// The installment whose lines are staged, in the order the driver passes it.
// Amounts are magnitudes in the installment's stored orientation.
struct RigaScadenza {
  std::string entrataUscita;  // "E" money in, "U" money out
  std::string statoScad;      // "A" partly paid, "C" closed
  std::string tipo, gruppoScad, mastroScad, contoScad;
  util::Money pagato;  // P
  util::Money dovuto;  // D
  std::string preProt;
  int32_t numProt = 0;
  util::Date dataProt;
  std::string prefisso, numDoc;
  util::Date dataDoc, dataScad;
};

// The lines are staged in memory and reach the staging table with
// ScriviRigheMovimento, in batches, inside the run's transaction.

// Stages the installment line and, for a closed installment paid for more or
// less than due, the allowance pair. rigLiv receives the number of the
// installment line. 0 done; 1 failed, after showing the error titled
// "Creazione dettagli movimento di prima nota".
int CreaRigheScadenza(Contesto& ctx, const RigaScadenza& s, int32_t& rigLiv);

// The installment the closing line refers to when the run settles just one.
struct ScadenzaRiferimento {
  std::string preProt;
  int32_t numProt = 0;
  util::Date dataProt;
  std::string prefisso, numDoc;
  util::Date dataDoc;
  std::string tipo, gruppoScad, mastroScad, contoScad;
};

// Stages the closing line on the run's cash or bank account (line 1). Its
// amount is the net cash movement of the run: the paid total less the
// overpayments already booked against the same account by the allowance pairs,
// so the entry balances also when overpaid installments of both directions
// meet in one run. 0 done; 1 failed, after showing the error.
int CreaRigheChiusura(Contesto& ctx, int32_t numScadenze, const ScadenzaRiferimento& rif);

// Writes the staged lines still in memory, many to a statement. 0 done; 1
// failed, after showing the error titled "Creazione dettagli movimento di
// prima nota", with statoRifiutato the state of the installment whose line
// was refused ("" for the closing line).
int ScriviRigheMovimento(Contesto& ctx, std::string& statoRifiutato);

}  // namespace compensato
