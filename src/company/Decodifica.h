#pragma once

#include <optional>
#include <string>
#include <vector>

#include "components/lookup/Campo.h"
#include "components/util/Value.h"
#include "src/company/AziUtilPrg.h"

namespace company {

// The options of a decode, in the order the screens pass them.
struct OpzioniDecodifica {
  std::vector<util::Value>* campi = nullptr;  // field names in, their values out, by position
  bool noAiuto = false;                       // never open the lookup window
  int opzioneIntero = 0;                      // the component's integer option: the account type (0 any)
  std::string opzioneTesto;                   // the component's text option: the column shown as description
  std::optional<std::string> valore;          // decoded instead of the field's text
  std::string filtro;                         // an SQL condition on the kind's table
  bool noAiuto2 = false;                      // the second no-lookup flag
  std::string opzione;                        // appended to the window's column set
};

// What DecodificaConAiuto adds to a decode.
struct AiutoAutomatico {
  std::string codiceNormalizzato;  // put in the field while the window is open ("" keeps the field)
  int tasto = -1;                  // -1: from the settings ("DecodHelpAbil", "DecodHelpPersKey")
  bool aiutoAbilitato = true;
  bool* aiutoAperto = nullptr;  // out: the window was opened
  std::string extra;            // accounts: the type "1", "2" or "3"
  Griglia* griglia = nullptr;   // with a grid, its position is kept while the window is open
};

// DecodificaCampo: a field left by the operator. Empty, or with a no-lookup
// flag, it is only decoded; otherwise a code that does not exist opens the
// lookup window as the operator's settings say (DecodificaConAiuto).
bool DecodificaCampo(scAziUtilPrg& a, const std::string& kind, lookup::Campo& campo, lookup::Etichetta& etichetta,
                     const OpzioniDecodifica& o = {});

// DecodificaConto: an account field of one type ("1", "2", "3"): written in
// the account form, then decoded with the automatic lookup on that type.
bool DecodificaConto(scAziUtilPrg& a, lookup::Campo& campo, lookup::Etichetta& etichetta, const std::string& tipoConto,
                     const OpzioniDecodifica& o = {});

// DecodificaConAiuto: decodes and, when the code does not exist and the
// settings allow, opens the lookup window (F2 or F3 as "DecodHelpAbil"
// says, the other one once more when the first found nothing), then decodes
// the chosen code. "RetZeroRec" is restored whatever happens, and the
// lookup state is back to none on every way out. A component failure is
// raised to the caller.
bool DecodificaConAiuto(scAziUtilPrg& a, const std::string& kind, lookup::Campo& campo, lookup::Etichetta& etichetta,
                        const OpzioniDecodifica& o, const AiutoAutomatico& aiuto);

// ApriAiuto: the lookup window for key codes 113 to 123 (F2 to F12) or a
// negative key, with the operator's column set for the kind (accounts: for
// the type in `extra`); other keys do nothing and return 0. Returns the
// window's result (1 = nothing found).
int ApriAiuto(scAziUtilPrg& a, const std::string& kind, lookup::Campo& campo, lookup::Etichetta& etichetta, int tasto,
              const std::string& extra, bool& scelto, const std::string& opzione = "", const std::string& filtro = "");

// DecodificaCodice: a code decoded without a field (the posting engine, the
// journal header). `valori` gets the fields named in `campi`, by position.
bool DecodificaCodice(scAziUtilPrg& a, const std::string& kind, const std::string& codice,
                      std::vector<util::Value>& valori, const std::vector<std::string>& campi = {},
                      const std::string& filtro = "");

// SpezzaConto: the parts of an account code written with or without its two dashes.
void SpezzaConto(const std::string& conto, std::string& gruppo, std::string& mastro, std::string& contoParte);

}  // namespace company
