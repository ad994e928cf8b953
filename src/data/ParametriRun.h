#pragma once

#include <string>

#include "src/data/AppoTemp.h"
#include "src/data/StatoRun.h"

namespace compensato {

// The fourteen run parameters, each once: its key in the temporary value
// store, the type it is stored as, the run's field and the selection's field
// it comes from. Writing, reading back and the copy at run start all walk this
// list, so a parameter cannot be stored and then forgotten, or read as
// another type. The keys and types are what stored runs hold: a run
// interrupted by an older build is completed by reading them.
//
// f(const char* chiave, int tipo, member of ParametriRun, member of SelezioneRun)
template <class F>
void OgniParametroRun(F&& f) {
  f("Cambio", appoggio::kNumero, &ParametriRun::cambio, &SelezioneRun::cambio);
  f("Causale", appoggio::kTesto, &ParametriRun::causale, &SelezioneRun::causale);
  f("ContoPartita", appoggio::kTesto, &ParametriRun::contoPartita, &SelezioneRun::contoPartita);
  f("DescAggiuntiva", appoggio::kTesto, &ParametriRun::descAggiuntiva, &SelezioneRun::descAggiuntiva);
  f("ContoAbbAtt", appoggio::kTesto, &ParametriRun::contoAbbAtt, &SelezioneRun::contoAbbAtt);
  f("ContoAbbPas", appoggio::kTesto, &ParametriRun::contoAbbPas, &SelezioneRun::contoAbbPas);
  f("DataReg", appoggio::kData, &ParametriRun::dataReg, &SelezioneRun::dataReg);
  f("Anno", appoggio::kNumero, &ParametriRun::anno, &SelezioneRun::anno);
  f("ContoUtiCambio", appoggio::kTesto, &ParametriRun::contoUtiCambio, &SelezioneRun::contoUtiCambio);
  f("ContoPerdCambio", appoggio::kTesto, &ParametriRun::contoPerdCambio, &SelezioneRun::contoPerdCambio);
  f("Cdc", appoggio::kTesto, &ParametriRun::cdc, &SelezioneRun::cdc);
  f("NumProt", appoggio::kNumero, &ParametriRun::numProt, &SelezioneRun::numProt);
  f("DataProt", appoggio::kData, &ParametriRun::dataProt, &SelezioneRun::dataProt);
  f("PrefProt", appoggio::kTesto, &ParametriRun::prefProt, &SelezioneRun::prefProt);
}

// The run's parameters as the selection gives them.
ParametriRun ParametriDaSelezione(const SelezioneRun& selezione);

// Reads the fourteen back from the value store into `p`. False when any of
// them is missing; the others are read all the same. A database failure
// propagates.
bool LeggiParametriAppoggio(Contesto& ctx, const std::string& utente, const std::string& programId, ParametriRun& p);

}  // namespace compensato
