#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "components/db/DbCursor.h"
#include "components/util/Date.h"
#include "components/util/Money.h"
#include "src/data/RigheDifferite.h"

namespace compensato {

// The values a run start takes from the selection screen, held for the whole
// run. Blank fields give "", the empty date, or "." for the protocol prefix.
struct SelezioneRun {
  bool automatica = false;      // OptTipoElab(0) "Automatica"
  int16_t tipoConto = 3;        // 3 customers, 2 suppliers
  std::string contoDa, contoA;  // normalised account codes
  util::Date dataScadDa, dataScadA;
  util::Date dataDocDa, dataDocA;
  std::string prefissoDoc;
  std::string numDocDa, numDocA;
  std::string pagTipo;
  std::string effetti = "n";  // "s" when "Anche effetti" is checked
  std::string moneta;
  double cambio = 0;
  std::string operatoreMoneta = "/";
  double importoMassimo = 0;
  std::string causale;
  std::string contoPartita;
  std::string descAggiuntiva;
  std::string contoAbbAtt, contoAbbPas;
  util::Date dataReg;
  int16_t anno = 0;
  std::string contoUtiCambio, contoPerdCambio;
  std::string cdc;
  int32_t numProt = 0;
  util::Date dataProt;
  std::string prefProt = ".";
  int ordinamento = 3;  // 1 by name, 2 by account code, 3 by document
};

// The fourteen run parameters stored in the temporary value store at run start
// and read back by the run engine.
struct ParametriRun {
  double cambio = 0;
  std::string causale;
  std::string contoPartita;
  std::string descAggiuntiva;
  std::string contoAbbAtt;
  std::string contoAbbPas;
  util::Date dataReg;
  int16_t anno = 0;
  std::string contoUtiCambio;
  std::string contoPerdCambio;
  std::string cdc;
  int32_t numProt = 0;
  util::Date dataProt;
  std::string prefProt;

  bool operator==(const ParametriRun&) const = default;
};

// The installments a run start selects: the table they are taken from, the
// FROM expression that joins what the selection reads and the WHERE clause.
// The three go together: the clause names the table and the joined ones.
struct FiltroScadenze {
  std::string tabella, from, where;
};

// The state of the current settlement run, shared by the run driver, the
// journal header and lines and the posting hand-off.
struct StatoRun {
  SelezioneRun selezione;
  ParametriRun par;
  std::string tabScadenze = "Scadenze";
  std::string tabScadenzeApp = "ScadenzeApp";
  // The installment filter of the last run start.
  FiltroScadenze filtro;
  // Worklist outcome: 1000 when the list was empty or a run started from it
  // failed and already gave everything back.
  int esitoLista = 0;

  std::string monetaRun;            // currency chosen for the run
  std::string descAggRighe;         // additional line description ("Compen"/"DescAgg")
  int32_t numReg = 0;               // the entry of the run
  int32_t numRegPag = 999999;       // written into NumRegPag of every settled installment
  int32_t contaRighe = 0;           // next RigReg
  util::Money totPagato;            // paid total, run currency
  util::Money totPagatoAzienda;     // paid total, company currency
  util::Money totEccedenza;         // overpayment total, run currency
  util::Money totEccedenzaAzienda;  // overpayment total, company currency
  // The overpayments with the direction of the money: what the allowance
  // counter lines have already moved on the cash account. Money in counts
  // positive, money out negative, as in the paid totals.
  util::Money totEccedenzaNetta;
  util::Money totEccedenzaNettaAzienda;

  // The documents whose own entry is kept on a cash basis for VAT (prefix,
  // number, date and account of the entry's first line, as one key), read at
  // the run's first line that asks; the lines' tables open again for each run.
  std::optional<std::set<std::string>> documentiIvaCassa;

  // The header and line sets of the run: one cursor object, two result sets.
  std::unique_ptr<db::DbCursor> tabelle;
  std::string keyTestata, keyRighe;
  // The run's staged lines not yet written: the line builder adds them, the
  // driver writes them in batches.
  RigheDifferite righe{"MovPnDettApp"};
};

}  // namespace compensato
