// The lookup window over a chart of 10,000 customer accounts: opening it
// (the whole list, as F2 on an empty field reads it) and narrowing it at
// each key typed, by description (anywhere in it) and by code (from its
// start). What an operator feels is one search per key: it must stay well
// under 100 ms.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/support/BenchAzienda.h"
#include "components/db/DbExecutor.h"
#include "components/lookup/Ricerca.h"
#include "components/util/SqlLiteral.h"

namespace {

constexpr int kConti = 10000;

const char* const kNomi[] = {"Rossi", "Bianchi", "Ferrari", "Esposito", "Romano", "Colombo", "Ricci", "Marino"};
const char* const kAttivita[] = {"Arredamenti", "Alimentari", "Costruzioni", "Tessuti", "Ferramenta", "Trasporti"};

struct Azienda {
  Azienda() : percorso(bench::Percorso("ricerca")) {
    bench::NuovaAzienda(percorso);
    conn = db.OpenDatabase(percorso);
    db.BeginTrans(conn);
    for (int i = 1; i <= kConti; ++i) {
      const std::string conto = std::to_string(1000000 + i).substr(1);
      const std::string nome = std::string(kNomi[i % 8]) + " " + kAttivita[i % 6] + " " + std::to_string(i) + " S.r.l.";
      db.Execute(conn,
                 "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, Localita) VALUES ('14', '01', " +
                     util::SqlLiteral(conto, 8) + ", 3, " + util::SqlLiteral(nome, 8) + ", 'Milano')");
    }
    db.CommitTrans(conn);
  }
  ~Azienda() { bench::Rimuovi(percorso); }

  lookup::Ricerca Nuova() {
    lookup::DefinizioneRicerca d;
    d.tipo = *lookup::TrovaTipo("Conto");
    d.tipoConto = 3;
    return lookup::Ricerca(db, conn, d);
  }

  std::string percorso;
  db::DbExecutor db;
  std::string conn;
};

Azienda& Una() {
  static Azienda a;
  return a;
}

void BM_ApreLaFinestra(benchmark::State& state) {
  Azienda& a = Una();
  size_t righe = 0;
  for (auto _ : state) {
    lookup::Ricerca r = a.Nuova();
    r.Cerca({lookup::Chiave::Codice, ""}, "");
    righe = r.Righe().size();
  }
  state.counters["righe"] = static_cast<double>(righe);
}
BENCHMARK(BM_ApreLaFinestra)->Unit(benchmark::kMillisecond);

// One iteration is one key: the text grows a character at a time and
// starts over, as an operator types a name.
void Restringe(benchmark::State& state, lookup::Chiave chiave, const std::string& parola) {
  Azienda& a = Una();
  lookup::Ricerca r = a.Nuova();
  size_t tasto = 0;
  size_t righe = 0;
  for (auto _ : state) {
    tasto = tasto % parola.size() + 1;
    r.Cerca({chiave, ""}, parola.substr(0, tasto));
    righe += r.Righe().size();
  }
  state.counters["righe_per_tasto"] =
      benchmark::Counter(static_cast<double>(righe), benchmark::Counter::kAvgIterations);
}

void BM_RestringePerDescrizione(benchmark::State& state) { Restringe(state, lookup::Chiave::Descrizione, "rossi arr"); }
BENCHMARK(BM_RestringePerDescrizione)->Unit(benchmark::kMillisecond);

void BM_RestringePerCodice(benchmark::State& state) { Restringe(state, lookup::Chiave::Codice, "1401000123"); }
BENCHMARK(BM_RestringePerCodice)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
