#pragma once

#include <string>

namespace compensato {

// Columns of the worklist query by position; the run driver reads several by
// position, the grid shows them by position.
namespace lista {
inline constexpr int kPrefisso = 0;
inline constexpr int kNumDoc = 1;
inline constexpr int kDataDoc = 2;
inline constexpr int kDescrizione = 3;
inline constexpr int kConto = 4;
inline constexpr int kDataScad = 5;
inline constexpr int kPagTipo = 6;
inline constexpr int kImportoSegno = 7;  // signed due amount
inline constexpr int kImpPagInc = 8;     // amount paid, as typed
inline constexpr int kPagato = 9;        // signed due minus paid, null while nothing is paid
inline constexpr int kStatoScad = 10;
inline constexpr int kAnno = 11;
inline constexpr int kNumProg = 12;
inline constexpr int kEntrataUscita = 13;
inline constexpr int kTipo = 14;
inline constexpr int kGruppoScad = 15;
inline constexpr int kMastroScad = 16;
inline constexpr int kContoScad = 17;
inline constexpr int kImportoScad = 18;  // unsigned, as stored
inline constexpr int kPreProt = 19;
inline constexpr int kNumProt = 20;
inline constexpr int kDataProt = 21;
inline constexpr int kColonne = 22;
}  // namespace lista

// The worklist query over the user's working copy, in the order chosen on the
// selection screen (1 by name, 2 by account code, any other by document).
std::string QueryListaScadenze(const std::string& tabApp, const std::string& utente, int ordinamento);

}  // namespace compensato
