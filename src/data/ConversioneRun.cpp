#include "src/data/ConversioneRun.h"

#include "components/util/Text.h"
#include "src/company/Valute.h"

namespace compensato {

company::ImportiConvertiti ConvertiPerScadenza(Contesto& ctx, double importo) {
  const SelezioneRun& s = ctx.run.selezione;
  std::string moneta = util::Trim(ctx.run.monetaRun);
  if (moneta.empty()) moneta = util::Trim(s.moneta);
  if (moneta.empty()) moneta = ctx.azienda.monetaAzienda;

  company::ArgomentiConversione a;
  a.importo = importo;
  // The run parameter: what the run was started with, also when recovery
  // completes it in another process that never saw the selection.
  a.cambio = util::Value(ctx.run.par.cambio != 0 ? ctx.run.par.cambio : s.cambio);
  a.operatore = s.operatoreMoneta;
  a.moneta = moneta;
  a.arrotLire = a.arrotEuro = a.arrotTerza = true;
  a.modo = "E";
  a.tipo = "E";
  a.catena = 0;
  const company::ContestoValuta cv = ctx.azienda.Valuta();
  return company::ConvertiImporto(cv, ctx.azienda.arrotondamenti.get(), a);
}

}  // namespace compensato
