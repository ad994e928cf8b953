// An automatic settlement over N open installments on a SQLite company
// (reservation, working copy, marking, entry, posting, release) against the
// least work that leaves the same final rows: the paid installments, the
// entry's header and lines and the running totals, written with prepared
// statements through the engine's own interface in one transaction.
//
// The interactive run over the same company: every row of the worklist
// closed in full and confirmed (InizioElab). It leaves the same rows as the
// automatic run, so it has the same least work. The operator's marking of the
// rows is not timed.
//
// Recovery of a run killed after its marking: the next start of the program
// completes it (Controllo_Elaborazione). Its least work starts from what the
// killed run left (reserved installments, the working copy, the run
// parameters) and also gives the installments back and deletes the rest.
//
// With the PostgreSQL test cluster (COMPENSATO_TEST_PG) the same run on the
// server, against the least statements through the same driver: the header,
// the lines, the installments and the totals each by one set-based statement,
// in one transaction.
//
// Counters: statements per installment (what the program sent to the engine)
// and the peak resident memory of the process.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/support/BenchAzienda.h"
#include "components/db/DbExecutor.h"
#include "components/db/KillHook.h"
#include "components/util/SqlLiteral.h"
#include "schema/Schema.h"
#include "src/extraction/CopiaScadenze.h"
#include "src/extraction/FiltroScadenze.h"
#include "src/extraction/Selezioni.h"
#include "src/recovery/Ripristino.h"
#include "src/selection/Elabora.h"
#include "src/settlement/Elaborazione.h"
#include "src/worklist/QueryLista.h"
#include "tests/src/settlement/AziendaProva.h"

namespace {

using namespace bench;

compensato::SelezioneRun Selezione() { return testsupport::SelezioneProva(true, 3, 1e12); }

double PiccoMemoriaMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

void BM_Automatica(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string percorso = Percorso("auto");
  long istruzioni = 0;
  for (auto _ : state) {
    state.PauseTiming();
    AziendaScadenze(percorso, n);
    Programma p(percorso);
    compensato::Contesto& ctx = p.ctx;
    const long prima = db::StatementCount();
    state.ResumeTiming();
    if (compensato::Elabora(ctx, Selezione(), nullptr) != 0) state.SkipWithError("run failed");
    state.PauseTiming();
    istruzioni = db::StatementCount() - prima;
    state.ResumeTiming();
  }
  state.counters["statements_per_installment"] = static_cast<double>(istruzioni) / n;
  state.counters["peak_MB"] = PiccoMemoriaMb();
  state.SetItemsProcessed(state.iterations() * n);
  Rimuovi(percorso);
}

// The least work on the raw engine, in one transaction: the header, one line
// per installment and the cash line, the payment references, the totals.
// With riservate the installments are those a killed run left reserved: the
// references also give them back, and the working copy and the run
// parameters go.
void MinimoSqlite(sqlite3* s, bool riservate) {
  Esegui(s, "BEGIN IMMEDIATE");
  Esegui(s, "INSERT INTO MovPnTes (Anno, NumReg, DataReg, Causale, InValuta, Moneta, Cambio) VALUES "
            "(2026, 1, '2026-12-10', 'INC', 'N', 'Euro', 1)");
  sqlite3_stmt *paga = nullptr, *riga = nullptr, *leggi = nullptr;
  sqlite3_prepare_v2(s, "SELECT NumProg, ContoScad, ImportoScad FROM Scadenze ORDER BY NumProg", -1, &leggi, nullptr);
  sqlite3_prepare_v2(s,
                     riservate ? "UPDATE Scadenze SET Utente = ' ', FlStato = NULL, AnnoPag = 2026, NumRegPag = 1, "
                                 "DataRegPag = '2026-12-10', RigLivPag = ?1 WHERE Anno = 2026 AND NumProg = ?2"
                               : "UPDATE Scadenze SET AnnoPag = 2026, NumRegPag = 1, DataRegPag = '2026-12-10', "
                                 "RigLivPag = ?1 WHERE Anno = 2026 AND NumProg = ?2",
                     -1, &paga, nullptr);
  sqlite3_prepare_v2(s,
                     "INSERT INTO MovPnDett (Anno, NumReg, RigReg, RigLiv, TipoPartita, GruppoPartita, "
                     "MastroPartita, ContoPartita, DareAvere, ImportoMon, Importo) VALUES "
                     "(2026, 1, ?1, ?1, ?2, ?3, '01', ?4, ?5, ?6, ?6)",
                     -1, &riga, nullptr);
  double totale = 0;
  int numero = 1;
  while (sqlite3_step(leggi) == SQLITE_ROW) {
    const int prog = sqlite3_column_int(leggi, 0);
    const double importo = sqlite3_column_double(leggi, 2);
    ++numero;
    sqlite3_bind_int(riga, 1, numero);
    sqlite3_bind_text(riga, 2, "3", -1, SQLITE_STATIC);
    sqlite3_bind_text(riga, 3, "14", -1, SQLITE_STATIC);
    sqlite3_bind_text(riga, 4, reinterpret_cast<const char*>(sqlite3_column_text(leggi, 1)), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(riga, 5, "A", -1, SQLITE_STATIC);
    sqlite3_bind_double(riga, 6, importo);
    sqlite3_step(riga);
    sqlite3_reset(riga);
    sqlite3_bind_int(paga, 1, numero);
    sqlite3_bind_int(paga, 2, prog);
    sqlite3_step(paga);
    sqlite3_reset(paga);
    totale += importo;
  }
  sqlite3_bind_int(riga, 1, 1);
  sqlite3_bind_text(riga, 2, "1", -1, SQLITE_STATIC);
  sqlite3_bind_text(riga, 3, "18", -1, SQLITE_STATIC);
  sqlite3_bind_text(riga, 4, "000001", -1, SQLITE_STATIC);
  sqlite3_bind_text(riga, 5, "D", -1, SQLITE_STATIC);
  sqlite3_bind_double(riga, 6, totale);
  sqlite3_step(riga);
  Esegui(s, "INSERT INTO PdcProg (Anno, PartTipo, CoPartGruppo, CoPartMastro, CoPartConto, ProgrDare, ProgrAvere) "
            "SELECT Anno, TipoPartita, GruppoPartita, MastroPartita, ContoPartita, "
            "SUM(CASE WHEN DareAvere = 'D' THEN Importo ELSE 0 END), "
            "SUM(CASE WHEN DareAvere = 'A' THEN Importo ELSE 0 END) FROM MovPnDett "
            "GROUP BY Anno, TipoPartita, GruppoPartita, MastroPartita, ContoPartita");
  if (riservate) {
    Esegui(s, "DELETE FROM ScadenzeApp");
    Esegui(s, "DELETE FROM AppoggioTemp");
  }
  sqlite3_finalize(leggi);
  sqlite3_finalize(paga);
  sqlite3_finalize(riga);
  Esegui(s, "COMMIT");
}

void BM_Minimo(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string percorso = Percorso("min");
  for (auto _ : state) {
    state.PauseTiming();
    AziendaScadenze(percorso, n);
    sqlite3* s = nullptr;
    sqlite3_open(percorso.c_str(), &s);
    state.ResumeTiming();
    MinimoSqlite(s, false);
    state.PauseTiming();
    sqlite3_close(s);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
  Rimuovi(percorso);
}

// Stands in for the worklist screen: the operator closes every row in full
// (one statement), the grid reloads and the run is confirmed. Only the run is
// timed; fuori counts the statements of the rest.
class ListaTuttaChiusa : public compensato::ListaLavoro {
 public:
  explicit ListaTuttaChiusa(benchmark::State& state) : state_(state) {}
  int esito = -1;
  long fuori = 0;

  void Prepara(compensato::Contesto&) override {}
  void Mostra(compensato::Contesto& ctx) override {
    state_.PauseTiming();
    const long prima = db::StatementCount();
    const std::string& app = ctx.run.tabScadenzeApp;
    ctx.db.Execute(ctx.conn, "UPDATE " + app + " SET StatoScad = 'C', ImpPagInc = ImportoScad WHERE Utente = " +
                                 util::SqlLiteral(ctx.utente, 8));
    db::DbCursor lista;
    const std::string k =
        lista.Open(ctx.db, ctx.conn, "", compensato::QueryListaScadenze(app, ctx.utente, ctx.run.selezione.ordinamento),
                   false, db::kUpdatable);
    fuori += db::StatementCount() - prima;
    state_.ResumeTiming();
    esito = compensato::InizioElab(ctx, lista, k);
    state_.PauseTiming();
    const long dopo = db::StatementCount();
    lista.Close(k);
    fuori += db::StatementCount() - dopo;
    state_.ResumeTiming();
  }

 private:
  benchmark::State& state_;
};

// The interactive run from its start (reservation and copy) to the end of
// InizioElab; its statements without the operator's part.
long InterattivaSu(benchmark::State& state, compensato::Contesto& ctx) {
  ListaTuttaChiusa lista(state);
  const long prima = db::StatementCount();
  state.ResumeTiming();
  const int e = compensato::Elabora(ctx, testsupport::SelezioneProva(false, 3, 1e12), &lista);
  state.PauseTiming();
  if (e != 0 || lista.esito != 0) state.SkipWithError("run failed");
  return db::StatementCount() - prima - lista.fuori;
}

// What a run of identity MARIO~T0 leaves when it is killed after marking
// every installment settled in full: the run parameters, the reservations
// and the working copy in phase "1".
void RunInterrotto(const std::string& azienda) {
  Programma p(azienda);
  compensato::Contesto& ctx = p.ctx;
  ctx.utente = "MARIO~T0";
  ctx.run.selezione = Selezione();
  ctx.run.monetaRun = "Euro";
  if (compensato::ScriviSelezioni(ctx) != 0) std::abort();
  compensato::CostruisciFiltroScadenze(ctx, ctx.run.tabScadenze);
  if (compensato::RiservaECopia(ctx) != 0) std::abort();
  ctx.db.Execute(ctx.conn, "UPDATE ScadenzeApp SET FaseElab = '1', StatoScad = 'C', ImpPagInc = ImportoScad");
}

// The next start of the operator's program completes the killed run.
long RipristinoSu(benchmark::State& state, const std::string& azienda) {
  Programma p(azienda);
  const long prima = db::StatementCount();
  state.ResumeTiming();
  if (compensato::Controllo_Elaborazione(p.ctx) != 0 ||
      !p.op.Mostrato("E' stata completata l'ultima elaborazione effettuata"))
    state.SkipWithError("recovery failed");
  state.PauseTiming();
  return db::StatementCount() - prima;
}

void Contatori(benchmark::State& state, long istruzioni, int n) {
  state.counters["statements_per_installment"] = static_cast<double>(istruzioni) / n;
  state.counters["peak_MB"] = PiccoMemoriaMb();
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_Interattiva(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string percorso = Percorso("inter");
  long istruzioni = 0;
  for (auto _ : state) {
    state.PauseTiming();
    AziendaScadenze(percorso, n);
    Programma p(percorso);
    istruzioni = InterattivaSu(state, p.ctx);
    state.ResumeTiming();
  }
  Contatori(state, istruzioni, n);
  Rimuovi(percorso);
}

void BM_Ripristino(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string percorso = Percorso("ripr");
  long istruzioni = 0;
  for (auto _ : state) {
    state.PauseTiming();
    AziendaScadenze(percorso, n);
    RunInterrotto(percorso);
    istruzioni = RipristinoSu(state, percorso);
    state.ResumeTiming();
  }
  Contatori(state, istruzioni, n);
  Rimuovi(percorso);
}

void BM_MinimoRipristino(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string percorso = Percorso("minripr");
  for (auto _ : state) {
    state.PauseTiming();
    AziendaScadenze(percorso, n);
    RunInterrotto(percorso);
    sqlite3* s = nullptr;
    sqlite3_open(percorso.c_str(), &s);
    state.ResumeTiming();
    MinimoSqlite(s, true);
    state.PauseTiming();
    sqlite3_close(s);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
  Rimuovi(percorso);
}

// The same company on the server, its rows made there.
void AziendaScadenzePg(testsupport::TestDatabase& d, int n) {
  db::DbExecutor& db = d.executor();
  const std::string& c = d.conn();
  auto server = [&](const std::string& sql) { db.Execute(c, sql, db::kPassThrough); };
  const std::string conto = "INSERT INTO \"PianoConti\" (\"Gruppo\", \"Mastro\", \"Conto\", "
                            "\"Tipo\", \"Descrizione\") ";
  server(conto + "VALUES ('18', '01', '000001', 1, 'Cassa')");
  server(conto + "SELECT '14', '01', k::text, 3, 'Cliente' FROM generate_series(1, 100) k");
  server("INSERT INTO \"PagTipi\" (\"PagTipo\", \"EmissEffetti\") VALUES ('RD', 'N')");
  server("INSERT INTO \"Monete\" (\"Moneta\", \"NumDec\", \"NumDecGest\", \"Operatore\", \"Cee\") VALUES "
         "('Euro', 2, 2, '/', 'S')");
  server("INSERT INTO \"Causali\" (\"Causale\", \"TipoCausale\") VALUES ('INC', '')");
  server("INSERT INTO \"Scadenze\" (\"Anno\", \"NumProg\", \"Tipo\", \"GruppoScad\", \"MastroScad\", \"ContoScad\", "
         "\"DataScad\", \"PagTipo\", \"Prefisso\", \"NumDoc\", \"DataDoc\", \"Rata\", \"Moneta\", \"Cambio\", "
         "\"EntrataUscita\", \"ImportoScad\", \"ImportoScadEuro\", \"ImpPagInc\", \"StatoScad\", \"Utente\") "
         "SELECT 2026, i, 3, '14', '01', (i % 100 + 1)::text, DATE '2026-04-30', 'RD', 'V', 'F' || i, "
         "DATE '2026-03-01', 1, 'Euro', 1, 'E', 100, 100, 0, '', ' ' FROM generate_series(1, " +
         std::to_string(n) + ") i");
}

void BM_AutomaticaPg(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  long istruzioni = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto d = NuovaAziendaPg();
    AziendaScadenzePg(*d, n);
    {
      Programma p(d->name());
      const long prima = db::StatementCount();
      state.ResumeTiming();
      if (compensato::Elabora(p.ctx, Selezione(), nullptr) != 0) state.SkipWithError("run failed");
      state.PauseTiming();
      istruzioni = db::StatementCount() - prima;
    }
    d.reset();
    state.ResumeTiming();
  }
  Contatori(state, istruzioni, n);
}

void BM_InterattivaPg(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  long istruzioni = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto d = NuovaAziendaPg();
    AziendaScadenzePg(*d, n);
    {
      Programma p(d->name());
      istruzioni = InterattivaSu(state, p.ctx);
    }
    d.reset();
    state.ResumeTiming();
  }
  Contatori(state, istruzioni, n);
}

void BM_RipristinoPg(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  long istruzioni = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto d = NuovaAziendaPg();
    AziendaScadenzePg(*d, n);
    RunInterrotto(d->name());
    istruzioni = RipristinoSu(state, d->name());
    d.reset();
    state.ResumeTiming();
  }
  Contatori(state, istruzioni, n);
}

// The least statements through the same driver, in one transaction: the
// header, the lines, the installments and the totals each by one set-based
// statement. With riservate, from what a killed run left: the installments
// are also given back, and the working copy and the run parameters go.
void MinimoPg(Programma& p, bool riservate) {
  db::DbExecutor& db = p.db;
  const std::string& c = p.conn;
  auto server = [&](const std::string& sql) { db.Execute(c, sql, db::kPassThrough); };
  db.BeginTrans(c);
  server("INSERT INTO \"MovPnTes\" (\"Anno\", \"NumReg\", \"DataReg\", \"Causale\", \"InValuta\", \"Moneta\", "
         "\"Cambio\") VALUES (2026, 1, DATE '2026-12-10', 'INC', 'N', 'Euro', 1)");
  const std::string righe = "INSERT INTO \"MovPnDett\" (\"Anno\", \"NumReg\", \"RigReg\", \"RigLiv\", \"TipoPartita\", "
                            "\"GruppoPartita\", \"MastroPartita\", \"ContoPartita\", \"DareAvere\", \"ImportoMon\", "
                            "\"Importo\") ";
  server(righe + "SELECT 2026, 1, 1 + row_number() OVER w, 1 + row_number() OVER w, '3', '14', '01', \"ContoScad\", "
                 "'A', \"ImportoScad\", \"ImportoScad\" FROM \"Scadenze\" WINDOW w AS (ORDER BY \"NumProg\")");
  server(righe + "SELECT 2026, 1, 1, 1, '1', '18', '01', '000001', 'D', SUM(\"ImportoScad\"), SUM(\"ImportoScad\") "
                 "FROM \"Scadenze\"");
  server(std::string("UPDATE \"Scadenze\" S SET ") + (riservate ? "\"Utente\" = ' ', \"FlStato\" = NULL, " : "") +
         "\"AnnoPag\" = 2026, \"NumRegPag\" = 1, \"DataRegPag\" = DATE '2026-12-10', "
         "\"RigLivPag\" = r.n FROM (SELECT \"Anno\", \"NumProg\", 1 + row_number() OVER (ORDER BY \"NumProg\") AS n "
         "FROM \"Scadenze\") r WHERE S.\"Anno\" = r.\"Anno\" AND S.\"NumProg\" = r.\"NumProg\"");
  server("INSERT INTO \"PdcProg\" (\"Anno\", \"PartTipo\", \"CoPartGruppo\", \"CoPartMastro\", \"CoPartConto\", "
         "\"ProgrDare\", \"ProgrAvere\") SELECT \"Anno\", \"TipoPartita\", \"GruppoPartita\", \"MastroPartita\", "
         "\"ContoPartita\", SUM(CASE WHEN \"DareAvere\" = 'D' THEN \"Importo\" ELSE 0 END), "
         "SUM(CASE WHEN \"DareAvere\" = 'A' THEN \"Importo\" ELSE 0 END) FROM \"MovPnDett\" "
         "GROUP BY \"Anno\", \"TipoPartita\", \"GruppoPartita\", \"MastroPartita\", \"ContoPartita\"");
  if (riservate) {
    server("DELETE FROM \"ScadenzeApp\"");
    server("DELETE FROM \"AppoggioTemp\"");
  }
  db.CommitTrans(c);
}

void BM_MinimoPg(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto d = NuovaAziendaPg();
    AziendaScadenzePg(*d, n);
    {
      Programma p(d->name());
      state.ResumeTiming();
      MinimoPg(p, false);
      state.PauseTiming();
    }
    d.reset();
    state.ResumeTiming();
  }
  state.counters["statements_per_installment"] = 7.0 / n;
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_MinimoRipristinoPg(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto d = NuovaAziendaPg();
    AziendaScadenzePg(*d, n);
    RunInterrotto(d->name());
    {
      Programma p(d->name());
      state.ResumeTiming();
      MinimoPg(p, true);
      state.PauseTiming();
    }
    d.reset();
    state.ResumeTiming();
  }
  state.counters["statements_per_installment"] = 9.0 / n;
  state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

// The interactive run leaves the rows of the automatic one: BM_Minimo is the
// baseline of both.
BENCHMARK(BM_Automatica)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Interattiva)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Minimo)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Ripristino)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_MinimoRipristino)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
  // Count the statements the program sends without ever stopping it.
  setenv("COMPENSATO_DB_KILL_AT", "9000000000000000000", 0);
  if (bench::ConPostgres()) {
    for (auto* b : {benchmark::RegisterBenchmark("BM_AutomaticaPg", BM_AutomaticaPg),
                    benchmark::RegisterBenchmark("BM_InterattivaPg", BM_InterattivaPg),
                    benchmark::RegisterBenchmark("BM_MinimoPg", BM_MinimoPg),
                    benchmark::RegisterBenchmark("BM_RipristinoPg", BM_RipristinoPg),
                    benchmark::RegisterBenchmark("BM_MinimoRipristinoPg", BM_MinimoRipristinoPg)})
      b->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
