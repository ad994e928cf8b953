// The worklist over N installments on a SQLite company, as the screen works
// it without its widgets: opening the worklist query as the grid's updatable
// cursor, and one edit as the grid saves it when it leaves a row (the paid
// amount and the state checked, the row stored through the cursor) followed
// by the recount of the totals from the working copy.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/support/BenchAzienda.h"
#include "components/db/DbCursor.h"
#include "components/db/Recordset.h"
#include "components/util/NumberFormat.h"
#include "src/extraction/Blocco.h"
#include "src/extraction/CopiaScadenze.h"
#include "src/extraction/FiltroScadenze.h"
#include "src/worklist/QueryLista.h"
#include "src/worklist/RegoleLista.h"
#include "src/worklist/TotaliLista.h"
#include "tests/src/settlement/AziendaProva.h"

namespace {

using namespace bench;

// The working copy of every installment, as the run start leaves it.
void PreparaLista(compensato::Contesto& ctx) {
  ctx.run.selezione = testsupport::SelezioneProva(false, 3, 1e12);
  compensato::CostruisciFiltroScadenze(ctx, "Scadenze");
  if (compensato::RiservaScadenze(ctx, ctx.run.filtro) != 0 ||
      compensato::CopiaScadenzeApp(ctx, "Scadenze", "ScadenzeApp") != 0)
    std::abort();
}

std::string ApriLista(compensato::Contesto& ctx, db::DbCursor& c) {
  return c.Open(ctx.db, ctx.conn, "",
                compensato::QueryListaScadenze(ctx.run.tabScadenzeApp, ctx.utente, ctx.run.selezione.ordinamento),
                false, db::kUpdatable);
}

void BM_ApriLista(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string percorso = Percorso("lista");
  AziendaScadenze(percorso, n);
  Programma p(percorso);
  PreparaLista(p.ctx);
  for (auto _ : state) {
    db::DbCursor c;
    const std::string k = ApriLista(p.ctx, c);
    if (c.RecordCount(k) != n) state.SkipWithError("rows missing");
    c.Close(k);
  }
  state.SetItemsProcessed(state.iterations() * n);
  Rimuovi(percorso);
}

// A row in the middle paid in part: the paid column and the state as the
// grid checks them, the row stored, the totals counted again.
void BM_ModificaERicalcolo(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string percorso = Percorso("lista-modifica");
  AziendaScadenze(percorso, n);
  Programma p(percorso);
  PreparaLista(p.ctx);
  db::DbCursor c;
  const std::string k = ApriLista(p.ctx, c);
  const std::string maschera = util::BuildNumberMask(2);
  int riga = 0;
  for (auto _ : state) {
    c.MoveFirst(k);
    db::Recordset& rs = c.GetRecordset(k);
    rs.moveTo(n / 2 + riga++ % 100);
    const double dovuto = rs.field(rs.position(), compensato::lista::kImportoSegno).toDouble();
    if (compensato::lista::RifiutoPagato(dovuto, "40")) state.SkipWithError("refused");
    const compensato::lista::Pagato pagato = compensato::lista::DopoPagato("40", dovuto, 2);
    const auto stato = compensato::lista::StatoAccettato(pagato.stato, pagato.importo, dovuto);
    c.SetField(k, "ImpPagInc", util::Value(pagato.importo));
    c.SetField(k, "StatoScad", util::Value(stato.value_or(" ")));
    c.Update(k);
    const compensato::TotaliLista t = compensato::CalcolaResiduo(p.ctx, "1.000.000.000.000,00", maschera, 2, false);
    benchmark::DoNotOptimize(t.residuo);
  }
  c.Close(k);
  Rimuovi(percorso);
}

}  // namespace

BENCHMARK(BM_ApriLista)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ModificaERicalcolo)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(50);

BENCHMARK_MAIN();
