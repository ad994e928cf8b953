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

Esito Lancia(const std::string& argomenti) {
  Esito e;
  FILE* p = popen((std::string(COMPENSATO_POSTING) + " " + argomenti + " 2>&1").c_str(), "r");
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
  EXPECT_NE(e.uscita.find("Messaggio: Non ci sono movimenti nell'intervallo"), std::string::npos)
      << e.uscita;

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

}  // namespace
