#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "components/util/Money.h"
#include "components/util/Value.h"
#include "src/data/Contesto.h"

namespace compensato::posting {

// The 29 arguments of ContabMovPn, in the order and with the meaning the
// suite's callers have always passed them. The out and in/out ones are
// written back.
struct ArgomentiContab {
  std::string tabTestata = "MovPnTes";      // 1: source header table
  std::string tabRighe = "MovPnDettApp";    // 2: source line table
  std::string tabIva = "MovPnIvaApp";       // 3: source VAT line table
  bool rinumera = false;                    // 4: copy each header under a new number
  bool creaScadenze = false;                // 5
  int16_t anno = 0;                         // 6
  int32_t numRegDa = 0;                     // 7: <= 0 no lower bound
  int32_t numRegA = 0;                      // 8: <= 0 no upper bound
  int16_t annoPrimaRiga = 0;                // 9 out: year of the first line copied while renumbering
  int32_t numRegContab = 0;                 // 10 out: number the last registration was posted under
  std::string messaggio;                    // 11 out: message for the caller
  int16_t numErrori = 0;                    // 12 out
  std::string testoErrori;                  // 13 in/out: descriptions are appended
  bool transazioneChiamante = false;        // 14: the caller begins, commits and rolls back
  bool forzaScadenze = false;               // 15
  bool inLinea = false;                     // 16: the source set is the target set
  std::optional<util::Value> bancaForzata;  // 17: bank of the installments
  std::optional<util::Value> ragRbForzato;  // 18: bank-receipt grouping of the installments
  bool mantieniNumero = false;              // 19: never renumber below the source number
  std::string modo = "N";                   // 20: "N", "F" or "A"
  // 21 to 29: handed unchanged to installment creation and its schedule.
  std::string tipoRifDoc;           // 21: "S" picks the second copy of the references
  bool rifDocAlternativo = false;   // 22
  int16_t modoMagg = 0;             // 23: surcharge mode 0, 1, 2
  util::Money percMagg;             // 24
  std::vector<double> importiMagg;  // 25: in for mode 2, out for mode 1
  util::Money passoArrotMagg;       // 26
  std::string modoArrotMagg;        // 27
  double minimoMagg = 0;            // 28
  double massimoMagg = 0;           // 29
};

// The table set a posting mode writes to.
struct TabelleDestinazione {
  std::string testata, righe, iva;
  bool progressivi = true;  // running totals are kept for this set
};
TabelleDestinazione Destinazione(const std::string& modo);

// Posts the registrations of one year in a number range from a source table
// set: copies lines and VAT lines into the target set (renumbering when
// asked), keeps the running totals, creates the documents' installments and
// deletes the staged rows, one transaction per registration unless the caller
// holds one. Failures are reported through numErrori and testoErrori; only the
// schedule's error message is shown to the operator.
void ContabMovPn(Contesto& ctx, ArgomentiContab& a);

}  // namespace compensato::posting
