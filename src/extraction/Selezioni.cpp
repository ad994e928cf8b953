#include "src/extraction/Selezioni.h"

#include <vector>

#include "src/data/AppoTemp.h"
#include "src/data/ParametriRun.h"
#include "src/ui/Operatore.h"

namespace compensato {

int ScriviSelezioni(Contesto& ctx) {
  const SelezioneRun& s = ctx.run.selezione;
  struct Voce {
    const char* chiave;
    util::Value valore;
    int tipo;
  };
  std::vector<Voce> voci;
  OgniParametroRun([&](const char* chiave, int tipo, auto, auto origine) {
    voci.push_back({chiave, util::Value(s.*origine), tipo});
  });
  voci.push_back({kChiaveMonetaRun, util::Value(s.moneta), appoggio::kTesto});
  for (const Voce& v : voci) {
    if (ScriviAppoggio(ctx, ctx.utente, ctx.programId, v.chiave, v.valore, v.tipo) == 1) {
      ui::Avviso(ctx.op, "Errore durante la creazione del file temporaneo delle selezioni");
      return 1;
    }
  }
  return 0;
}

}  // namespace compensato
