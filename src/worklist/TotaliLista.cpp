#include "src/worklist/TotaliLista.h"

#include "components/util/NumberFormat.h"
#include "components/util/Round.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Value.h"
#include "src/extraction/Blocco.h"
#include "src/extraction/CopiaScadenze.h"
#include "src/ui/Operatore.h"
#include "src/worklist/RegoleLista.h"

namespace compensato {
namespace {

std::string Parametro(Contesto& ctx, const char* nome) { return ctx.host.GetParameter(nome).toText(); }

// A figure as a label shows it; 0 when it shows none.
double Numero(const std::string& testo) {
  double v = 0;
  return lista::LeggiImporto(testo, v) ? v : 0;
}

}  // namespace

bool ContoDiCassa(Contesto& ctx) {
  const std::string& conto =
      ctx.run.par.contoPartita.empty() ? ctx.run.selezione.contoPartita : ctx.run.par.contoPartita;
  if (conto.empty()) return false;
  const std::string cassa = Parametro(ctx, "CauCon.GruppoCassaCont") + Parametro(ctx, "CauCon.MastroCassaCont") +
                            Parametro(ctx, "CauCon.ContoCassaCont");
  const std::string assegni = Parametro(ctx, "CauCon.GruppoCassaAss") + Parametro(ctx, "CauCon.MastroCassaAss") +
                              Parametro(ctx, "CauCon.ContoCassaAss");
  return conto == cassa || conto == assegni;
}

TotaliLista CalcolaResiduo(Contesto& ctx, const std::string& massimo, const std::string& maschera, int decimali,
                           bool cassa) {
  const std::string& t = ctx.run.tabScadenzeApp;
  db::DbCursor c;
  const std::string k = c.Open(ctx.db, ctx.conn, "",
                               "SELECT COUNT(NumProg) AS NumScad, SUM(IIF(IsNull(ImpPagInc), 0, ImpPagInc)) AS Pagato "
                               "FROM " +
                                   t + " WHERE (" + t + ".StatoScad = 'A'  OR " + t +
                                   ".StatoScad = 'C') and utente = " + util::SqlLiteral(ctx.utente, 8),
                               false, db::kSnapshot);
  TotaliLista r;
  for (; !c.Eof(k); c.MoveNext(k)) {
    const util::Value n = c.GetField(k, "NumScad"), p = c.GetField(k, "Pagato");
    r.numero = n.isNull() ? 0 : n.toLong();
    r.selezionato = p.isNull() ? 0 : p.toDouble();
  }
  c.Close(k);
  r.testoNumero = util::FormatNumber(r.numero, "0");
  if (r.selezionato != 0) {
    r.residuo = util::Round(Numero(massimo) - r.selezionato, "A", 1, -decimali);
    r.testoResiduo = util::FormatNumber(r.residuo, maschera);
    r.testoSelezionato = util::FormatNumber(r.selezionato, maschera);
  }
  r.rosso = r.selezionato != 0 && r.residuo < 0;
  if (r.rosso && cassa) ui::Avviso(ctx.op, kCassaNegativa);
  return r;
}

bool ConfermaLista(Contesto& ctx, bool oltreIlMassimo) {
  return ui::ChiediSiNo(ctx.op,
                        oltreIlMassimo ? "La somma degli importi delle scadenze selezionate è superiore all'importo "
                                         "massimo. Confermi ugualmente l'elaborazione ?"
                                       : "Confermi l'elaborazione delle scadenze ?",
                        "Compensato");
}

bool AnnullaLista(Contesto& ctx) {
  if (!ui::ChiediSiNo(ctx.op, "Confermi l'annullamento dell'elaborazione ?", "Compensato")) return false;
  try {
    if (RilasciaScadenzeUtente(ctx) == 0 && CancellaScadenzeApp(ctx, ctx.run.tabScadenzeApp, ctx.utente, true) == 0)
      return true;
  } catch (const std::exception&) {
  }
  ui::Avviso(ctx.op, "Errore durante il ripristino delle scadenze (annulla)");
  return false;
}

}  // namespace compensato
