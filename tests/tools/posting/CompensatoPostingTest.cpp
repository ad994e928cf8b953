#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/src/posting/AziendaContab.h"

namespace {

using testsupport::AziendaContab;

struct Esito {
  int stato = -1;
  std::string uscita;
};

// Runs the tool with the arguments; with strumento false the text is the
// whole command line.
Esito Lancia(const std::string& argomenti, bool strumento = true) {
  Esito e;
  const std::string comando = strumento ? std::string(COMPENSATO_POSTING) + " " + argomenti : argomenti;
  FILE* p = popen((comando + " 2>&1").c_str(), "r");
  if (!p) return e;
  char buf[512];
  while (fgets(buf, sizeof buf, p)) e.uscita += buf;
  const int s = pclose(p);
  e.stato = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
  return e;
}

std::string Nome(const AziendaContab& az) { return "'" + az.database.name() + "'"; }

TEST(CompensatoPosting, RepostsAStagedRegistration) {
  AziendaContab az(testsupport::Engine::Sqlite);
  az.Prepara(AziendaContab::FatturaCliente(5));
  const Esito e = Lancia("--db " + Nome(az) + " --year 2026 --from 5 --to 5 --installments");
  EXPECT_EQ(e.stato, 0) << e.uscita;
  EXPECT_NE(e.uscita.find("Errori: 0"), std::string::npos) << e.uscita;
  EXPECT_NE(e.uscita.find("Ultima registrazione: 5"), std::string::npos) << e.uscita;
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDettApp"), 0);
  EXPECT_EQ(az.Numero("Select count(*) from Scadenze"), 3);
  EXPECT_EQ(az.Invarianti(), "");
}

TEST(CompensatoPosting, ReportsAnEmptyRangeAndFailures) {
  AziendaContab az(testsupport::Engine::Sqlite);
  Esito e = Lancia("--db " + Nome(az) + " --year 2026");
  EXPECT_EQ(e.stato, 0) << e.uscita;
  EXPECT_NE(e.uscita.find("Messaggio: Non ci sono movimenti nell'intervallo"), std::string::npos) << e.uscita;

  AziendaContab::Registrazione ignoto = AziendaContab::FatturaCliente(1);
  ignoto.righe[0].conto = "1401000099";
  az.Prepara(ignoto);
  e = Lancia("--db " + Nome(az) + " --year 2026 --installments");
  EXPECT_EQ(e.stato, 1) << e.uscita;
  EXPECT_NE(e.uscita.find("Errori: 1"), std::string::npos) << e.uscita;
  EXPECT_NE(e.uscita.find("Manca il cliente con codice :14-01-000099"), std::string::npos) << e.uscita;

  e = Lancia("--year 2026");
  EXPECT_EQ(e.stato, 2) << "no database";
  e = Lancia("--db x --year 2026 --mode Z");
  EXPECT_EQ(e.stato, 2);
}

TEST(CompensatoPosting, NumericOptionsAreCheckedAndNamed) {
  AziendaContab az(testsupport::Engine::Sqlite);
  az.Prepara(AziendaContab::FatturaCliente(5));
  struct Caso {
    const char* opzioni;
    const char* messaggio;
  };
  // 67562 is 2026 cut to 16 bits: it must not post 2026.
  const Caso casi[] = {
      {"--year 67562", "--year: \"67562\" fuori dai limiti 1..9999"},
      {"--year abc", "--year: \"abc\" non è un numero intero"},
      {"--year 2026 --from x5", "--from: \"x5\" non è un numero intero"},
      {"--year 2026 --to 4294967301", "--to: \"4294967301\" fuori dai limiti"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.opzioni);
    const Esito e = Lancia("--db " + Nome(az) + " " + c.opzioni);
    EXPECT_EQ(e.stato, 2) << e.uscita;
    EXPECT_NE(e.uscita.find(c.messaggio), std::string::npos) << e.uscita;
  }
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDettApp"), 3) << "nothing was posted";
}

// Each registration is posted whole or not at all, wherever the process
// dies; a second run posts what is left, once.
TEST(CompensatoPosting, InterruptionLeavesWholeRegistrationsAndARerunFinishes) {
  const int kFatture = 6;
  int interrotteAMeta = 0;
  for (const long uccidiA : {12L, 45L, 80L, 115L}) {
    SCOPED_TRACE("killed at statement " + std::to_string(uccidiA));
    AziendaContab az(testsupport::Engine::Sqlite);
    for (int32_t n = 1; n <= kFatture; ++n) az.Prepara(AziendaContab::FatturaCliente(n));
    const std::string comando = "--db " + Nome(az) + " --year 2026 --installments";
    const Esito morto = Lancia(
        "COMPENSATO_DB_KILL_AT=" + std::to_string(uccidiA) + " " + std::string(COMPENSATO_POSTING) + " " + comando,
        false);
    EXPECT_NE(morto.stato, 0) << morto.uscita;
    EXPECT_EQ(az.Invarianti(), "");
    // Per registration: all its lines posted and none staged, or the reverse;
    // installments only for the posted ones.
    for (int32_t n = 1; n <= kFatture; ++n) {
      const std::string dove = " Where Anno = 2026 And NumReg = " + std::to_string(n);
      const double posted = az.Numero("Select count(*) from MovPnDett" + dove);
      const double staged = az.Numero("Select count(*) from MovPnDettApp" + dove);
      const double rate = az.Numero("Select count(*) from Scadenze" + dove);
      EXPECT_TRUE((posted == 3 && staged == 0 && rate == 3) || (posted == 0 && staged == 3 && rate == 0))
          << "registration " << n << ": " << posted << " posted, " << staged << " staged, " << rate << " installments";
    }
    const double giaPostate = az.Numero("Select count(*) from MovPnDett") / 3;
    if (giaPostate > 0 && giaPostate < kFatture) ++interrotteAMeta;
    const Esito e = Lancia(comando);
    EXPECT_EQ(e.stato, 0) << e.uscita;
    EXPECT_EQ(az.Numero("Select count(*) from MovPnDett"), 3 * kFatture);
    EXPECT_EQ(az.Numero("Select count(*) from MovPnDettApp"), 0);
    EXPECT_EQ(az.Numero("Select count(*) from Scadenze"), 3 * kFatture);
    EXPECT_EQ(az.Invarianti(), "");
  }
  EXPECT_GE(interrotteAMeta, 2) << "the kill points must fall between registrations of the range";
}

}  // namespace
