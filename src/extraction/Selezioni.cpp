#include "src/extraction/Selezioni.h"

#include <vector>

#include "src/data/AppoTemp.h"
#include "src/ui/Operatore.h"

namespace compensato {

int ScriviSelezioni(Contesto& ctx) {
  const SelezioneRun& s = ctx.run.selezione;
  struct Voce {
    const char* chiave;
    util::Value valore;
    int tipo;
  };
  const std::vector<Voce> voci = {
      {"Cambio", util::Value(s.cambio), 2},
      {"Causale", util::Value(s.causale), 1},
      {"ContoPartita", util::Value(s.contoPartita), 1},
      {"DescAggiuntiva", util::Value(s.descAggiuntiva), 1},
      {"ContoAbbAtt", util::Value(s.contoAbbAtt), 1},
      {"ContoAbbPas", util::Value(s.contoAbbPas), 1},
      {"DataReg", util::Value(s.dataReg), 3},
      {"Anno", util::Value(s.anno), 2},
      {"ContoUtiCambio", util::Value(s.contoUtiCambio), 1},
      {"ContoPerdCambio", util::Value(s.contoPerdCambio), 1},
      {"Cdc", util::Value(s.cdc), 1},
      {"NumProt", util::Value(s.numProt), 2},
      {"DataProt", util::Value(s.dataProt), 3},
      {"PrefProt", util::Value(s.prefProt), 1},
      {kChiaveMonetaRun, util::Value(s.moneta), 1},
  };
  for (const Voce& v : voci) {
    if (ScriviAppoggio(ctx, ctx.utente, ctx.programId, v.chiave, v.valore, v.tipo) == 1) {
      ui::Avviso(ctx.op, "Errore durante la creazione del file temporaneo delle selezioni");
      return 1;
    }
  }
  return 0;
}

}  // namespace compensato
