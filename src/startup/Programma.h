#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "components/db/DbExecutor.h"
#include "src/company/Configurazione.h"
#include "src/data/Contesto.h"
#include "src/startup/Piattaforma.h"
#include "src/startup/Schermo.h"

namespace company {
class scAziUtilPrg;
}

namespace lookup {
class FinestraAiuto;
}

namespace startup {

class scMenuComandiClie;

inline constexpr int32_t kNumeroProgramma = 46;
inline constexpr const char* kDidascaliaPrincipale = "Form Principale del programma";

// The hidden main form: the closing machinery and its public members.
struct FrmPrincipale {
  Schermo* finestra = nullptr;  // owned by the forms collection, index 0
  int16_t oiChiudi = 0;         // 0 close unconditionally; otherwise only with no screen open
  int16_t oiTmpAttesa = 3000;   // ms before a refused close is tried again
  int16_t oiFlagVarie = 0;      // 1: TimVarie brings osNomeForm to the front
  std::string osNomeForm;
  std::unique_ptr<Timer> timChiudi;
  std::unique_ptr<Timer> TimVarie;
};

// The screen scaling factors of "Risoluzione Video", read once at startup.
struct RisoluzioneVideo {
  double generale = 0;
  double persBase = 0;
  double staVid = -2;
  double help = -2;
  double msgCom = -2;
};

// The program-wide values of one run, around the shared context.
struct Programma {
  Programma(compensato::Contesto& contesto, Piattaforma& piattaforma);
  Programma(const Programma&) = delete;
  Programma& operator=(const Programma&) = delete;
  ~Programma();

  compensato::Contesto& ctx;
  Piattaforma& pf;

  // The command line as the host passed it, switches and all.
  std::string rigaComando;
  // The program's own folder (candidates 4 and 6 of the configuration search).
  std::string cartellaProgramma;

  std::string istanzaMenu;
  std::string chiaveProgramma;
  std::string parametriProgramma;
  std::string formRichiesta;
  std::string prepProcCorr;
  std::string lookupInit;  // "p", for the lookup component's initialisation
  std::string nomeDb, connectDb;
  company::FileConfigurazione config;
  RisoluzioneVideo risoluzione;
  std::string beepCome;
  std::string hlpSpost;  // personal "HlpSpost" of "Help", for the lookup window
  // The lookup component's holder and the lookup window it handed out.
  std::unique_ptr<company::scAziUtilPrg> aiuti;
  lookup::FinestraAiuto* finestraAiuto = nullptr;
  // The second, directly opened database object of the company data.
  db::DbExecutor diretto;
  std::string connDiretta;

  // Given by the lookup component's launch events, returned by "keyprgprim"/"keyprgsec".
  std::string chiaveLancioPrim, chiaveLancioSec;
  std::string ultimoMsgFattura;

  // The loaded forms in the order they were loaded; index 0 is the main form.
  std::vector<std::unique_ptr<Schermo>> forms;
  FrmPrincipale principale;
  std::unique_ptr<scMenuComandiClie> client;
  bool terminato = false;
  // The process's exit status once it closes: not 0 when it closed without
  // doing what it was started for.
  int codiceUscita = 0;
  // The operator was told that the host link was lost; the close is under way.
  bool menuPersoAvvisato = false;

  // CercaForm: the index of the first loaded form with that name (ignoring
  // case) whose caption, when a part is given, contains it (ignoring case); -1.
  int16_t CercaForm(const std::string& nome, const std::string& parteDidascalia = "") const;
  Schermo* Form(int16_t indice) const;
  // Loads a screen: it joins the collection, then its load event runs. A load
  // that raises leaves it out of the collection.
  Schermo* Carica(std::unique_ptr<Schermo> schermo);
  // Unloads a form: false when it cancelled its unload (it stays loaded).
  bool Scarica(Schermo* schermo);
  // OtherFormsOpen: a screen other than the main form and help windows is loaded.
  bool AltreFormAperte() const;
};

}  // namespace startup
