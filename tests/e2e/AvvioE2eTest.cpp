// The program started by the real reference host on the demo company, as
// the operator would see it, on the offscreen platform.
#include "tests/e2e/Sessione.h"

namespace {

using e2e::Leggi;
namespace fs = std::filesystem;

class Sessione : public ::testing::Test, public e2e::Sessione {};

TEST_F(Sessione, StartsOpensTheScreenAnswersAndClosesOnFine) {
  Avvia("[Parametri Generali]\nOrdIniDBase=db.ini\n");
  EXPECT_EQ(Invia("ESISTE"), "true");
  EXPECT_EQ(Invia("paramprgclie"), "$Default$");
  Invia("preppassaa");
  EXPECT_NE(Leggi(dir_ / "host.log").find("finestra attiva \"Gestione Compensato\""), std::string::npos)
      << Leggi(dir_ / "host.log");
  int rc = -1;
  EXPECT_EQ(Invia("fine", &rc), "");
  EXPECT_EQ(rc, 0);
  EXPECT_EQ(Fine(20), 0) << Leggi(dir_ / "host.log");
}

TEST_F(Sessione, AModalMessageOpenMakesFineAnswerMascheraModal) {
  // The parameter display asks for confirmation in a modal box that nobody answers.
  Avvia("[Parametri Generali]\nOrdIniDBase=db.ini\nVisParam=DB1\n");
  EXPECT_EQ(Invia("fine"), "Maschera Modal");
  EXPECT_EQ(Fine(1), -1) << "the program is still running";
}

TEST_F(Sessione, ASigtermToTheHostEndsTheProgramThroughFineAndRemovesTheSocket) {
  Avvia("[Parametri Generali]\nOrdIniDBase=db.ini\n");
  ::kill(host_, SIGTERM);
  EXPECT_EQ(Fine(20), 0) << "the program closed on \"fine\": " << Leggi(dir_ / "host.log");
  EXPECT_FALSE(fs::exists(dir_ / "compensato" / "menu-E2E.sock"));
  // By this session's process group: another test's session may be running
  // the same program at the same time.
  EXPECT_EQ(e2e::Esegui("pgrep -g " + std::to_string(gruppo_)), "") << "no program left behind";
}

}  // namespace
