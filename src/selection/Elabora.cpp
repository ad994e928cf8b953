#include "src/selection/Elabora.h"

#include "src/data/AppoTemp.h"
#include "src/data/ParametriRun.h"
#include "src/extraction/Blocco.h"
#include "src/extraction/CopiaScadenze.h"
#include "src/extraction/FiltroScadenze.h"
#include "src/extraction/Selezioni.h"
#include "src/worklist/Automatica.h"

namespace compensato {

int Elabora(Contesto& ctx, const SelezioneRun& selezione, ListaLavoro* lista) {
  StatoRun& r = ctx.run;
  r.selezione = selezione;
  r.esitoLista = 0;
  r.monetaRun = selezione.moneta.empty() ? ctx.azienda.monetaAzienda : selezione.moneta;
  r.par = ParametriDaSelezione(selezione);

  if (VerificaBloccoUtente(ctx, ctx.utente) == 1) {
    ui::Avviso(ctx.op, "Elaborazione precedente interrotta: prima di proseguire eseguire il ripristino");
    return 1;
  }
  if (CancellaAppoggio(ctx, ctx.utente, ctx.programId) != 0) return 1;
  if (ScriviSelezioni(ctx) != 0) return 1;
  CostruisciFiltroScadenze(ctx, r.tabScadenze);

  if (selezione.automatica) {
    const int esito = Creazione_Automatica(ctx);
    CancellaAppoggio(ctx, ctx.utente, ctx.programId);
    return esito;
  }

  if (RiservaECopia(ctx) != 0) return 1;
  if (lista) lista->Prepara(ctx);
  if (r.esitoLista == 1000) {
    r.esitoLista = 0;
  } else if (lista) {
    lista->Mostra(ctx);
  }
  if (r.esitoLista != 1000) {
    RilasciaScadenzeUtente(ctx);
    CancellaAppoggio(ctx, ctx.utente, ctx.programId);
    return 0;
  }
  return 1;
}

}  // namespace compensato
