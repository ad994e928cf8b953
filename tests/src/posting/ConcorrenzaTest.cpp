#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "src/posting/ContabMovPn.h"
#include "tests/src/posting/AziendaContab.h"

namespace compensato::posting {
namespace {

using testsupport::AziendaContab;

class ConcorrenzaTest : public ::testing::TestWithParam<testsupport::Engine> {};

ArgomentiContab Argomenti(const std::string& insieme) {
  ArgomentiContab x;
  x.tabTestata = "MovPnTes" + insieme;
  x.tabRighe = "MovPnDett" + insieme;
  x.tabIva = "MovPnIva" + insieme;
  x.rinumera = true;
  x.creaScadenze = true;
  x.anno = 2026;
  return x;
}

// Two operators post their own staged sets into the same ledger at the same
// moment, on the same accounts: each registration lands once under a number
// of its own, and the totals hold both.
TEST_P(ConcorrenzaTest, TwoProcessesPostingToTheSameAccounts) {
  AziendaContab az(GetParam());
  const int kPerInsieme = 60;
  for (const char* insieme : {"Fitt", "Fatt"}) {
    for (int32_t n = 1; n <= kPerInsieme; ++n) {
      AziendaContab::Registrazione r = AziendaContab::FatturaCliente(n, 100 + n, 22);
      r.pagamento = n % 3 ? "FM3" : "30";
      if (n % 2) {
        r.causale = "INC";
        r.pagamento = "";
        r.righe = {AziendaContab::Linea("1", "1801000001", "D", n), AziendaContab::Linea("3", "1401000001", "A", n)};
      }
      r.righeIva = n % 2;
      const std::string s = insieme;
      az.Prepara(r, "MovPnTes" + s, "MovPnDett" + s, "MovPnIva" + s);
    }
  }

  int via[2];
  ASSERT_EQ(pipe(via), 0);
  const pid_t figlio = fork();
  ASSERT_GE(figlio, 0);
  if (figlio == 0) {
    // The other operator: a connection and a context of his own.
    close(via[1]);
    char c;
    if (read(via[0], &c, 1) != 1) _exit(3);
    int esito = 2;
    {
      db::DbExecutor executor;
      const std::string conn = az.database.OpenAnother(executor);
      testsupport::FakeHost host;
      host.identita = "LUIGI~T2";
      testsupport::FakeOperatore op;
      Contesto ctx(host, executor, conn, op);
      LeggiIdentita(ctx);
      ArgomentiContab x = Argomenti("Fitt");
      ContabMovPn(ctx, x);
      if (x.numErrori != 0) fprintf(stderr, "figlio: %s\n", x.testoErrori.c_str());
      esito = x.numErrori == 0 ? 0 : 1;
    }
    _exit(esito);
  }
  close(via[0]);
  ASSERT_EQ(write(via[1], "x", 1), 1);
  close(via[1]);
  ArgomentiContab x = Argomenti("Fatt");
  ContabMovPn(az.ctx(), x);
  int stato = 0;
  ASSERT_EQ(waitpid(figlio, &stato, 0), figlio);
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  ASSERT_TRUE(WIFEXITED(stato));
  EXPECT_EQ(WEXITSTATUS(stato), 0);

  const double totale = 2 * kPerInsieme;
  EXPECT_EQ(az.Numero("Select count(*) from MovPnTes"), totale);
  EXPECT_EQ(az.Numero("Select Max(NumReg) from MovPnTes"), totale) << "numbers unique and without gaps";
  EXPECT_EQ(az.Numero("Select count(*) from (Select Distinct NumReg from MovPnDett) x"), totale);
  for (const char* tabella :
       {"MovPnTesFitt", "MovPnDettFitt", "MovPnIvaFitt", "MovPnTesFatt", "MovPnDettFatt", "MovPnIvaFatt"})
    EXPECT_EQ(az.Numero(std::string("Select count(*) from ") + tabella), 0) << tabella;
  EXPECT_EQ(az.Numero("Select count(*) from MovPnIva"), kPerInsieme);
  EXPECT_EQ(az.Numero("Select Max(NumProg) from Scadenze"), az.Numero("Select count(*) from Scadenze"));
  EXPECT_EQ(az.Numero("Select count(*) from (Select Distinct NumReg from Scadenze) x"), kPerInsieme);
  EXPECT_EQ(az.Invarianti(), "");
}

INSTANTIATE_TEST_SUITE_P(Db, ConcorrenzaTest, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
}  // namespace compensato::posting
