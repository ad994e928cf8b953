// Runs in processes of their own: a run killed at many points of its work and
// recovered by the next start, and two operators settling at the same moment.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "tests/src/settlement/AziendaProva.h"

namespace {

using testsupport::AziendaProva;
using testsupport::Campi;

// How a child ended: its exit code, or minus the signal that killed it.
int Esegui(const std::vector<std::string>& argomenti, long uccidiAl = 0, std::string* uscita = nullptr) {
  int tubo[2];
  if (pipe(tubo) != 0) return 1000;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(tubo[1], STDOUT_FILENO);
    close(tubo[0]);
    close(tubo[1]);
    if (uccidiAl > 0)
      setenv("COMPENSATO_DB_KILL_AT", std::to_string(uccidiAl).c_str(), 1);
    else
      unsetenv("COMPENSATO_DB_KILL_AT");
    std::vector<char*> argv;
    for (const std::string& a : argomenti) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(tubo[1]);
  std::string testo;
  char buf[512];
  for (ssize_t n; (n = read(tubo[0], buf, sizeof buf)) > 0;) testo.append(buf, static_cast<size_t>(n));
  close(tubo[0]);
  int stato = 0;
  waitpid(pid, &stato, 0);
  if (uscita) *uscita = testo;
  if (WIFSIGNALED(stato)) return -WTERMSIG(stato);
  return WEXITSTATUS(stato);
}

constexpr int kScadenze = 50;

void Riempi(AziendaProva& a) {
  for (int32_t n = 1; n <= kScadenze; ++n) {
    const std::string conti[] = {"000001", "000002", "000003"};
    a.Inserisci({.numProg = n,
                 .conto = conti[n % 3],
                 .entrataUscita = n % 11 == 0 ? "U" : "E",
                 .importo = 100.0 + n,
                 .dataDoc = util::Date::Carry(2026, 1, 1).addDays(n)});
  }
}

// What must hold after any run and recovery: nothing reserved or staged, every
// document's installments adding up to its amount, every paid installment
// pointing at a posted registration, the ledger balanced and in the totals.
std::string Coerente(AziendaProva& a) {
  std::string e = a.Invarianti();
  auto zero = [&](const char* sql, const char* cosa) {
    if (a.Numero(sql) != 0) e += std::string(cosa) + "\n";
  };
  zero("SELECT COUNT(*) FROM Scadenze WHERE Utente <> ' ' OR FlStato IS NOT NULL", "installments still reserved");
  zero("SELECT COUNT(*) FROM ScadenzeApp", "working copy left");
  zero("SELECT COUNT(*) FROM LockGest", "entry lock left");
  zero("SELECT COUNT(*) FROM MovPnDettApp", "staged lines left");
  for (const std::string& r :
       a.Righe("SELECT NumDoc, SUM(ImportoScad) AS T, COUNT(*) AS N FROM Scadenze GROUP BY NumDoc")) {
    const auto v = Campi(r);
    const double atteso = 100.0 + std::stoi(v[0].substr(1));
    if (std::fabs(util::Value(v[1]).toDouble() - atteso) > 0.001)
      e += "document " + v[0] + " adds up to " + v[1] + "\n";
  }
  zero("SELECT COUNT(*) FROM Scadenze S WHERE S.NumRegPag IS NOT NULL AND NOT EXISTS (SELECT * FROM MovPnDett D "
       "WHERE D.Anno = S.AnnoPag AND D.NumReg = S.NumRegPag AND D.RigReg = S.RigLivPag)",
       "paid installment without its posted line");
  return e;
}

class Processi : public ::testing::TestWithParam<testsupport::Engine> {};

TEST_P(Processi, RunUccisoERipristinato) {
  long totale = 0;
  {
    AziendaProva a(GetParam());
    Riempi(a);
    std::string uscita;
    ASSERT_EQ(Esegui({SETTLEMENT_CHILD, "griglia", a.database.name(), "MARIO~C0"}, 1000000000L, &uscita), 0) << uscita;
    totale = std::stol(uscita.substr(uscita.rfind("statements ") + 11));
    ASSERT_EQ(Coerente(a), "");
    ASSERT_GT(a.Numero("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag IS NOT NULL"), 30);
  }
  ASSERT_GT(totale, 40);

  std::set<long> punti;
  const int quanti = 32;
  for (int i = 0; i < quanti; ++i) punti.insert(1 + (totale - 1) * i / (quanti - 1));
  punti.insert(totale - 1);
  for (long punto : punti) {
    SCOPED_TRACE("killed at statement " + std::to_string(punto) + " of " + std::to_string(totale));
    AziendaProva a(GetParam());
    Riempi(a);
    // Every point lies inside the run that was counted, so the run must die
    // there: a normal end would mean nothing was interrupted at all.
    ASSERT_EQ(Esegui({SETTLEMENT_CHILD, "griglia", a.database.name(), "MARIO~C1"}, punto), -SIGKILL);
    std::string uscita;
    ASSERT_EQ(Esegui({SETTLEMENT_CHILD, "verifica", a.database.name(), "MARIO~C2"}, 0, &uscita), 0) << uscita;
    EXPECT_EQ(Coerente(a), "");
    EXPECT_LE(a.Numero("SELECT COUNT(*) FROM MovPnTes"), 1);
  }
}

// Two operators start automatic runs at the same moment over selections that
// share the customer 000002: each installment is settled by one of them.
TEST_P(Processi, DueOperatoriInsieme) {
  AziendaProva a(GetParam());
  Riempi(a);
  const pid_t primo = fork();
  if (primo == 0) _exit(Esegui({SETTLEMENT_CHILD, "auto", a.database.name(), "ANNA~P1", "1401000001", "1401000002"}));
  const int secondo = Esegui({SETTLEMENT_CHILD, "auto", a.database.name(), "LUCA~P2", "1401000002", "1401000003"});
  int stato = 0;
  waitpid(primo, &stato, 0);
  EXPECT_EQ(WIFEXITED(stato) ? WEXITSTATUS(stato) : -1, 0);
  EXPECT_EQ(secondo, 0);

  EXPECT_EQ(Coerente(a), "");
  EXPECT_EQ(a.Numero("SELECT COUNT(*) FROM MovPnTes"), 2);
  EXPECT_EQ(a.Numero("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag IS NULL"), 0);
  // The cash of both entries is exactly what the installments were worth.
  const double incassato =
      a.Numero("SELECT SUM(IIF(DareAvere = 'D', Importo, -Importo)) FROM MovPnDett WHERE RigReg = 1");
  const double dovuto = a.Numero("SELECT SUM(IIF(EntrataUscita = 'E', ImportoScad, -ImportoScad)) FROM Scadenze");
  EXPECT_NEAR(incassato, dovuto, 0.001);
}

INSTANTIATE_TEST_SUITE_P(Motori, Processi, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
