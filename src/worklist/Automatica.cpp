#include "src/worklist/Automatica.h"

#include <memory>
#include <optional>
#include <vector>

#include "components/db/Recordset.h"
#include "components/util/Money.h"
#include "components/util/SqlLiteral.h"
#include "src/data/Transazioni.h"
#include "src/extraction/Blocco.h"
#include "src/extraction/CopiaScadenze.h"
#include "src/settlement/Elaborazione.h"
#include "src/ui/Avanzamento.h"
#include "src/worklist/QueryLista.h"

namespace compensato {

int Creazione_Automatica(Contesto& ctx) {
  StatoRun& r = ctx.run;
  if (!ui::ChiediSiNo(ctx.op, "Confermi l'elaborazione automatica delle scadenze ?", "Compensato")) return 0;

  const std::string& app = r.tabScadenzeApp;
  db::DbCursor cursore;
  std::string key;
  std::unique_ptr<ui::Avanzamento> avanzamento;
  bool fallito = false;
  std::optional<Transazione> transazione;
  try {
    if (RiservaECopia(ctx) != 0) {
      fallito = true;
    } else {
      transazione.emplace(ctx);
      key = cursore.Open(ctx.db, ctx.conn, "", QueryListaScadenze(app, ctx.utente, r.selezione.ordinamento), false,
                         db::kForwardOnly);
      avanzamento = std::make_unique<ui::Avanzamento>(ctx.op, cursore.RecordCount(key),
                                                      " Creazione automatica compensato", "Elaborazione Scadenze");
      // Currency, exact to the cent: in doubles 0.10 + 0.20 exceeds 0.30.
      const util::Money massimo = util::Money::FromDouble(r.selezione.importoMassimo);
      util::Money preso;
      int32_t conta = 0;
      auto& rs = cursore.GetRecordset(key);
      // The rows taken are settled in full by a few statements after the walk,
      // inside the same transaction, rather than one statement per row.
      std::vector<ChiaveScadenza> presi;
      for (cursore.MoveFirst(key); !cursore.Eof(key); cursore.MoveNext(key)) {
        avanzamento->Avanza(++conta);
        // The signed amount: the worklist's own column, not the stored one.
        const util::Value campo = rs.field(rs.position(), lista::kImportoSegno);
        const util::Money importo = campo.isNull() ? util::Money() : campo.toMoney();
        if (preso + importo <= massimo) {
          presi.push_back({rs.field(rs.position(), lista::kAnno), rs.field(rs.position(), lista::kNumProg)});
          preso += importo;
        }
        if (massimo == preso) break;
      }
      const std::string extra = "," + app + ".StatoScad = 'C'" + "," + app + ".ImpPagInc = " + app + ".ImportoScad";
      for (const std::string& cond : CondizioniChiavi(app, presi)) {
        if (AggiornaBloccoScadenze(ctx, blocco::kConferma, app, " AND " + cond, 0, util::Date(), 0, util::Money(),
                                   extra) != 0) {
          fallito = true;
          break;
        }
      }
      if (!fallito) {
        cursore.Close(key);
        key.clear();
        avanzamento.reset();
        transazione->Conferma();
        transazione.reset();
        return ElaborazioneScadenze(ctx, ctx.utente, ctx.programId, true, false, 0);
      }
    }
  } catch (const std::exception&) {
    fallito = true;
  }

  ui::Avviso(ctx.op, "Errore durante l'elaborazione automatica delle scadenze: l'operazione è stata annullata");
  if (!key.empty()) {
    try {
      cursore.Close(key);
    } catch (...) {
    }
  }
  avanzamento.reset();
  // Also when the cursor never opened: no transaction may outlive the run.
  transazione.reset();
  RilasciaScadenzeUtente(ctx);
  CancellaScadenzeApp(ctx, app, ctx.utente, true);
  return 1;
}

}  // namespace compensato
