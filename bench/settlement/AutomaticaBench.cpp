// An automatic settlement over N open installments on a SQLite company
// (reservation, working copy, marking, entry, posting, release) against the
// least work that leaves the same final rows: the paid installments, the
// entry's header and lines and the running totals, written with prepared
// statements through the engine's own interface in one transaction.
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

#include "components/db/DbExecutor.h"
#include "components/db/KillHook.h"
#include "components/util/SqlLiteral.h"
#include "schema/Schema.h"
#include "src/selection/Elabora.h"
#include "bench/support/BenchAzienda.h"
#include "tests/src/settlement/AziendaProva.h"

namespace {

using namespace bench;

// A company with 100 customers and n open installments of 100 each.
void Azienda(const std::string& percorso, int n) {
  NuovaAzienda(percorso);
  db::DbExecutor db;
  const std::string c = db.OpenDatabase(percorso);
  db.BeginTrans(c);
  db.Execute(c, "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('18','01','000001',1,'Cassa')");
  for (int k = 1; k <= 100; ++k)
    db.Execute(c, "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('14','01'," +
                      util::SqlLiteral(std::to_string(k), 8) + ",3,'Cliente')");
  db.Execute(c, "INSERT INTO PagTipi (PagTipo, EmissEffetti) VALUES ('RD', 'N')");
  db.Execute(c, "INSERT INTO Monete (Moneta, NumDec, NumDecGest, Operatore, Cee) VALUES ('Euro', 2, 2, '/', 'S')");
  db.Execute(c, "INSERT INTO Causali (Causale, TipoCausale) VALUES ('INC', '')");
  for (int i = 1; i <= n; ++i)
    db.Execute(c, "INSERT INTO Scadenze (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, DataScad, PagTipo, "
                  "Prefisso, NumDoc, DataDoc, Rata, Moneta, Cambio, EntrataUscita, ImportoScad, ImportoScadEuro, "
                  "ImpPagInc, StatoScad, Utente) VALUES (2026," +
                      std::to_string(i) + ",3,'14','01'," + util::SqlLiteral(std::to_string(i % 100 + 1), 8) +
                      ",#04/30/2026#,'RD','V'," + util::SqlLiteral("F" + std::to_string(i), 8) +
                      ",#03/01/2026#,1,'Euro',1,'E',100,100,0,'',' ')");
  db.CommitTrans(c);
}

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
    Azienda(percorso, n);
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

void BM_Minimo(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string percorso = Percorso("min");
  for (auto _ : state) {
    state.PauseTiming();
    Azienda(percorso, n);
    sqlite3* s = nullptr;
    sqlite3_open(percorso.c_str(), &s);
    state.ResumeTiming();
    Esegui(s, "BEGIN IMMEDIATE");
    Esegui(s, "INSERT INTO MovPnTes (Anno, NumReg, DataReg, Causale, InValuta, Moneta, Cambio) VALUES "
              "(2026, 1, '2026-12-10', 'INC', 'N', 'Euro', 1)");
    sqlite3_stmt *paga = nullptr, *riga = nullptr, *leggi = nullptr;
    sqlite3_prepare_v2(s, "SELECT NumProg, ContoScad, ImportoScad FROM Scadenze ORDER BY NumProg", -1, &leggi, nullptr);
    sqlite3_prepare_v2(s, "UPDATE Scadenze SET AnnoPag = 2026, NumRegPag = 1, DataRegPag = '2026-12-10', "
                          "RigLivPag = ?1 WHERE Anno = 2026 AND NumProg = ?2", -1, &paga, nullptr);
    sqlite3_prepare_v2(s, "INSERT INTO MovPnDett (Anno, NumReg, RigReg, RigLiv, TipoPartita, GruppoPartita, "
                          "MastroPartita, ContoPartita, DareAvere, ImportoMon, Importo) VALUES "
                          "(2026, 1, ?1, ?1, ?2, ?3, '01', ?4, ?5, ?6, ?6)", -1, &riga, nullptr);
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
    sqlite3_finalize(leggi);
    sqlite3_finalize(paga);
    sqlite3_finalize(riga);
    Esegui(s, "COMMIT");
    state.PauseTiming();
    sqlite3_close(s);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
  Rimuovi(percorso);
}

}  // namespace

BENCHMARK(BM_Automatica)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Minimo)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
  // Count the statements the program sends without ever stopping it.
  setenv("COMPENSATO_DB_KILL_AT", "9000000000000000000", 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
