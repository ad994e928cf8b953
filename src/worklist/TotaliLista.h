#pragma once

#include <string>

#include "src/data/Contesto.h"

namespace compensato {

// The figures under the worklist grid, recomputed from the working copy
// after every row the grid saves, never accumulated: they always match what
// is stored.
struct TotaliLista {
  int32_t numero = 0;            // rows settled ("A" or "C")
  double selezionato = 0;        // their paid amounts, with the grid's sign
  double residuo = 0;            // the maximum minus that, rounded
  std::string testoNumero;       // labNumScadSel
  std::string testoSelezionato;  // LabImportoSelezionato ("" when nothing is paid)
  std::string testoResiduo;      // labImportoResiduo ("" when nothing is paid)
  bool rosso = false;            // the residue is below zero
};

// Whether the run's counter-account is one of the company's two cash
// accounts ("CauCon" cash and cheques): a negative residue then means cash
// going negative.
bool ContoDiCassa(Contesto& ctx);

// CalcolaResiduo: `massimo` as the label shows it, `maschera` the run
// currency's amount format, `decimali` its decimals. With `cassa` a
// negative residue also says "Cassa negativa".
TotaliLista CalcolaResiduo(Contesto& ctx, const std::string& massimo, const std::string& maschera, int decimali,
                           bool cassa);

// ComEsci's question: true to start the run.
bool ConfermaLista(Contesto& ctx, bool oltreIlMassimo);

// ComAnnulla: asks, then gives back every reserved installment and empties
// the working copy. True when the worklist is to close; a failure says so
// and leaves the worklist open (what was not released stays for recovery).
bool AnnullaLista(Contesto& ctx);

inline constexpr const char* kCassaNegativa = "Cassa negativa";

}  // namespace compensato
