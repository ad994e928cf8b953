// Posting 10,000 staged registrations of 4 lines each on a SQLite company
// (lines into the ledger, running totals, staged rows deleted, one
// transaction per registration) against the least work that leaves the same
// rows: per registration one copy of its lines, one aggregated upsert of its
// totals and one delete, inside its own transaction, with statements
// prepared once on the raw C API.
//
// Counters: statements the engine sent per journal line, and the time ratio
// to the baseline (printed by the two benchmarks side by side).
//
// With the PostgreSQL test cluster (COMPENSATO_TEST_PG) the same posting on
// the server, against the same least statements sent through the program's
// own driver (one transaction per registration).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/support/BenchAzienda.h"
#include "components/db/DbExecutor.h"
#include "components/db/KillHook.h"
#include "schema/Schema.h"
#include "src/posting/ContabMovPn.h"

namespace {

using namespace bench;

constexpr int kRighe = 4;

// A company with n staged receipts: cash and a bank on the debit side, two
// customers (of 50) on the credit side.
void Azienda(const std::string& percorso, int n) {
  NuovaAzienda(percorso);
  sqlite3* s = nullptr;
  sqlite3_open(percorso.c_str(), &s);
  Esegui(s, "BEGIN");
  Esegui(s, "INSERT INTO Causali (Causale, TipoCausale) VALUES ('INC', '')");
  sqlite3_stmt *tes = nullptr, *riga = nullptr;
  sqlite3_prepare_v2(s,
                     "INSERT INTO MovPnTes (Anno, NumReg, DataReg, Causale, InValuta, Moneta, Cambio) "
                     "VALUES (2026, ?1, '2026-03-15', 'INC', 'N', 'Euro', 1)",
                     -1, &tes, nullptr);
  sqlite3_prepare_v2(s,
                     "INSERT INTO MovPnDettApp (Anno, NumReg, RigReg, RigLiv, TipoPartita, GruppoPartita, "
                     "MastroPartita, ContoPartita, DareAvere, ImportoMon, Importo, ImpostaMon, Imposta, "
                     "ImpostaIndetrMon, ImpostaIndetr, Cambio) VALUES "
                     "(2026, ?1, ?2, ?2, ?3, ?4, '01', ?5, ?6, ?7, ?7, 0, 0, 0, 0, 1)",
                     -1, &riga, nullptr);
  for (int i = 1; i <= n; ++i) {
    sqlite3_bind_int(tes, 1, i);
    sqlite3_step(tes);
    sqlite3_reset(tes);
    const double a = 10 + i % 97, b = 20 + i % 89;
    struct R {
      const char *tipo, *gruppo;
      std::string conto;
      const char* da;
      double importo;
    } righe[kRighe] = {{"1", "18", "000001", "D", a},
                       {"1", "18", "000002", "D", b},
                       {"3", "14", std::to_string(100000 + i % 50), "A", a},
                       {"3", "14", std::to_string(100000 + (i + 7) % 50), "A", b}};
    for (int k = 0; k < kRighe; ++k) {
      sqlite3_bind_int(riga, 1, i);
      sqlite3_bind_int(riga, 2, k + 1);
      sqlite3_bind_text(riga, 3, righe[k].tipo, -1, SQLITE_STATIC);
      sqlite3_bind_text(riga, 4, righe[k].gruppo, -1, SQLITE_STATIC);
      sqlite3_bind_text(riga, 5, righe[k].conto.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(riga, 6, righe[k].da, -1, SQLITE_STATIC);
      sqlite3_bind_double(riga, 7, righe[k].importo);
      sqlite3_step(riga);
      sqlite3_reset(riga);
    }
  }
  sqlite3_finalize(tes);
  sqlite3_finalize(riga);
  Esegui(s, "COMMIT");
  sqlite3_close(s);
}

void BM_ContabMovPn(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string percorso = Percorso("contab");
  long istruzioni = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Azienda(percorso, n);
    Programma p(percorso);
    compensato::Contesto& ctx = p.ctx;
    compensato::posting::ArgomentiContab a;
    a.anno = 2026;
    const long prima = db::StatementCount();
    state.ResumeTiming();
    compensato::posting::ContabMovPn(ctx, a);
    state.PauseTiming();
    if (a.numErrori != 0) state.SkipWithError(a.testoErrori.c_str());
    istruzioni = db::StatementCount() - prima;
    state.ResumeTiming();
  }
  state.counters["statements_per_line"] = static_cast<double>(istruzioni) / (n * kRighe);
  state.SetItemsProcessed(state.iterations() * n);
  Rimuovi(percorso);
}

void BM_Minimo(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string percorso = Percorso("contab-min");
  for (auto _ : state) {
    state.PauseTiming();
    Azienda(percorso, n);
    sqlite3* s = nullptr;
    sqlite3_open(percorso.c_str(), &s);
    Esegui(s, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    state.ResumeTiming();
    sqlite3_stmt *inizio = nullptr, *fine = nullptr, *copia = nullptr, *totali = nullptr, *elimina = nullptr;
    sqlite3_prepare_v2(s, "BEGIN IMMEDIATE", -1, &inizio, nullptr);
    sqlite3_prepare_v2(s, "COMMIT", -1, &fine, nullptr);
    sqlite3_prepare_v2(s, "INSERT INTO MovPnDett SELECT * FROM MovPnDettApp WHERE Anno = 2026 AND NumReg = ?1", -1,
                       &copia, nullptr);
    sqlite3_prepare_v2(
        s,
        "INSERT INTO PdcProg (Anno, PartTipo, CoPartGruppo, CoPartMastro, CoPartConto, SaldoIniziale, "
        "ProgrDare, ProgrAvere, UltAgg) SELECT Anno, TipoPartita, GruppoPartita, MastroPartita, ContoPartita, 0, "
        "SUM(CASE WHEN DareAvere = 'D' THEN Importo ELSE 0 END), "
        "SUM(CASE WHEN DareAvere = 'D' THEN 0 ELSE Importo END), '2026-03-15' FROM MovPnDettApp "
        "WHERE Anno = 2026 AND NumReg = ?1 GROUP BY Anno, TipoPartita, GruppoPartita, MastroPartita, ContoPartita "
        "ON CONFLICT DO UPDATE SET ProgrDare = round(ProgrDare + excluded.ProgrDare, 2), "
        "ProgrAvere = round(ProgrAvere + excluded.ProgrAvere, 2), UltAgg = max(UltAgg, excluded.UltAgg)",
        -1, &totali, nullptr);
    sqlite3_prepare_v2(s, "DELETE FROM MovPnDettApp WHERE Anno = 2026 AND NumReg = ?1", -1, &elimina, nullptr);
    for (int i = 1; i <= n; ++i) {
      sqlite3_step(inizio);
      sqlite3_reset(inizio);
      for (sqlite3_stmt* st : {copia, totali, elimina}) {
        sqlite3_bind_int(st, 1, i);
        if (sqlite3_step(st) != SQLITE_DONE) std::abort();
        sqlite3_reset(st);
      }
      sqlite3_step(fine);
      sqlite3_reset(fine);
    }
    for (sqlite3_stmt* st : {inizio, fine, copia, totali, elimina}) sqlite3_finalize(st);
    state.PauseTiming();
    sqlite3_close(s);
    state.ResumeTiming();
  }
  state.counters["statements_per_line"] = 5.0 / kRighe;
  state.SetItemsProcessed(state.iterations() * n);
  Rimuovi(percorso);
}

// The same staged registrations on the server, made there.
void AziendaPg(testsupport::TestDatabase& d, int n) {
  db::DbExecutor& db = d.executor();
  const std::string& c = d.conn();
  auto server = [&](const std::string& sql) { db.Execute(c, sql, db::kPassThrough); };
  const std::string quante = std::to_string(n);
  server("INSERT INTO \"Causali\" (\"Causale\", \"TipoCausale\") VALUES ('INC', '')");
  server("INSERT INTO \"MovPnTes\" (\"Anno\", \"NumReg\", \"DataReg\", \"Causale\", \"InValuta\", \"Moneta\", "
         "\"Cambio\") SELECT 2026, i, DATE '2026-03-15', 'INC', 'N', 'Euro', 1 FROM generate_series(1, " +
         quante + ") i");
  server("INSERT INTO \"MovPnDettApp\" (\"Anno\", \"NumReg\", \"RigReg\", \"RigLiv\", \"TipoPartita\", "
         "\"GruppoPartita\", \"MastroPartita\", \"ContoPartita\", \"DareAvere\", \"ImportoMon\", \"Importo\", "
         "\"ImpostaMon\", \"Imposta\", \"ImpostaIndetrMon\", \"ImpostaIndetr\", \"Cambio\") "
         "SELECT 2026, i, k, k, r.tipo, r.gruppo, '01', r.conto, r.da, r.importo, r.importo, 0, 0, 0, 0, 1 "
         "FROM generate_series(1, " +
         quante +
         ") i CROSS JOIN LATERAL (VALUES "
         "(1, '1', '18', '000001', 'D', 10 + i % 97), (2, '1', '18', '000002', 'D', 20 + i % 89), "
         "(3, '3', '14', (100000 + i % 50)::text, 'A', 10 + i % 97), "
         "(4, '3', '14', (100000 + (i + 7) % 50)::text, 'A', 20 + i % 89)) AS r(k, tipo, gruppo, conto, da, importo)");
}

void BM_ContabMovPnPg(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  long istruzioni = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto d = NuovaAziendaPg();
    AziendaPg(*d, n);
    {
      Programma p(d->name());
      compensato::posting::ArgomentiContab a;
      a.anno = 2026;
      const long prima = db::StatementCount();
      state.ResumeTiming();
      compensato::posting::ContabMovPn(p.ctx, a);
      state.PauseTiming();
      if (a.numErrori != 0) state.SkipWithError(a.testoErrori.c_str());
      istruzioni = db::StatementCount() - prima;
    }
    d.reset();
    state.ResumeTiming();
  }
  state.counters["statements_per_line"] = static_cast<double>(istruzioni) / (n * kRighe);
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_MinimoPg(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    auto d = NuovaAziendaPg();
    AziendaPg(*d, n);
    {
      Programma p(d->name());
      db::DbExecutor& db = p.db;
      const std::string& c = p.conn;
      state.ResumeTiming();
      for (int i = 1; i <= n; ++i) {
        const std::string reg = " WHERE \"Anno\" = 2026 AND \"NumReg\" = " + std::to_string(i);
        db.BeginTrans(c);
        db.Execute(c, "INSERT INTO \"MovPnDett\" SELECT * FROM \"MovPnDettApp\"" + reg, db::kPassThrough);
        db.Execute(c,
                   "INSERT INTO \"PdcProg\" (\"Anno\", \"PartTipo\", \"CoPartGruppo\", \"CoPartMastro\", "
                   "\"CoPartConto\", \"SaldoIniziale\", \"ProgrDare\", \"ProgrAvere\", \"UltAgg\") SELECT \"Anno\", "
                   "\"TipoPartita\", \"GruppoPartita\", \"MastroPartita\", \"ContoPartita\", 0, "
                   "SUM(CASE WHEN \"DareAvere\" = 'D' THEN \"Importo\" ELSE 0 END), "
                   "SUM(CASE WHEN \"DareAvere\" = 'D' THEN 0 ELSE \"Importo\" END), DATE '2026-03-15' "
                   "FROM \"MovPnDettApp\"" +
                       reg +
                       " GROUP BY \"Anno\", \"TipoPartita\", \"GruppoPartita\", \"MastroPartita\", \"ContoPartita\" "
                       "ON CONFLICT (\"Anno\", \"PartTipo\", \"CoPartGruppo\", \"CoPartMastro\", \"CoPartConto\") DO "
                       "UPDATE SET \"ProgrDare\" = round(\"PdcProg\".\"ProgrDare\" + excluded.\"ProgrDare\", 2), "
                       "\"ProgrAvere\" = round(\"PdcProg\".\"ProgrAvere\" + excluded.\"ProgrAvere\", 2), "
                       "\"UltAgg\" = greatest(\"PdcProg\".\"UltAgg\", excluded.\"UltAgg\")",
                   db::kPassThrough);
        db.Execute(c, "DELETE FROM \"MovPnDettApp\"" + reg, db::kPassThrough);
        db.CommitTrans(c);
      }
      state.PauseTiming();
    }
    d.reset();
    state.ResumeTiming();
  }
  state.counters["statements_per_line"] = 5.0 / kRighe;
  state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_ContabMovPn)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Minimo)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
  // Count the statements the engine sends without ever stopping it.
  setenv("COMPENSATO_DB_KILL_AT", "9000000000000000000", 0);
  if (bench::ConPostgres()) {
    for (auto* b : {benchmark::RegisterBenchmark("BM_ContabMovPnPg", BM_ContabMovPnPg),
                    benchmark::RegisterBenchmark("BM_MinimoPg", BM_MinimoPg)})
      b->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
