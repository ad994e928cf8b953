#include <gtest/gtest.h>

#include "components/lookup/Lookdex.h"
#include "src/company/AziUtilPrg.h"
#include "src/startup/ComandiMenu.h"
#include "src/startup/Schermi.h"
#include "tests/src/startup/Banco.h"

namespace {

using testsupport::Banco;

struct Avviato : Banco {
  explicit Avviato(const std::string& hlpSpost = "", const std::string& risoluzione = "Generale=1\nHelp=1,25\n") {
    Scrivi(dir / "db.ini", "[Risoluzione Video]\n" + risoluzione);
    if (!hlpSpost.empty()) host.ImpostaPersonale("Help", "HlpSpost", hlpSpost);
    Avvia("/M M1 /P CONT01 k1 /F FrmSaldaSelezioni");
    EXPECT_NE(Schermo("FrmSaldaSelezioni"), nullptr) << op.Elenco();
  }
  lookup::Lookdex& Lookdex() { return p->aiuti->ogAziAiuto(); }
};

TEST(AvvioAiuti, TheComponentIsReadyWithTheCompanyAndItsWindowWithTheOperatorsSettings) {
  struct Caso {
    const char* nome;
    const char* hlpSpost;
    bool lock;
    int sposta;
  } casi[] = {
      {"no HlpSpost: Page keys move a page", "", false, 0},
      {"HlpSpost 5: Page keys move five rows", "5", true, 5},
  };
  for (const Caso& c : casi) {
    Avviato b(c.hlpSpost);
    ASSERT_NE(b.p->aiuti, nullptr) << c.nome;
    EXPECT_EQ(b.ctx->lookup, &b.Lookdex()) << c.nome;
    ASSERT_EQ(b.p->finestraAiuto, b.pf.finestraAiuto) << c.nome << ": the platform's window";
    EXPECT_DOUBLE_EQ(b.p->finestraAiuto->odRisVid, 1.25) << c.nome;
    EXPECT_EQ(b.p->finestraAiuto->obLockSpostaCurs, c.lock) << c.nome;
    EXPECT_EQ(b.p->finestraAiuto->oiSpostaCurs, c.sposta) << c.nome;
    const lookup::Avvio& a = b.Lookdex().Contesto();
    EXPECT_EQ(a.chiamante, "p") << c.nome;
    EXPECT_EQ(a.conn, b.ctx->conn) << c.nome;
    EXPECT_EQ(a.coloreErrore, b.ctx->azienda.coloreErrore) << c.nome;
    b.ctx->db.Execute(b.ctx->conn, "INSERT INTO Monete (Moneta, Descrizione) VALUES ('CHF', 'Franco svizzero')");
    EXPECT_EQ(b.Lookdex().DecodificaCodice("Moneta", "chf").descrizione, "Franco svizzero") << c.nome;
  }
}

TEST(AvvioAiuti, TheLookupWindowsFactorFollowsTheScreensRules) {
  struct Caso {
    const char* risoluzione;
    double atteso;
  } casi[] = {
      {"Generale=1\nHelp=1,25\n", 1.25},
      {"Generale=1,5\n", 1.5},                        // "Help" absent (-2): as "Generale"
      {"Generale=-2\nPersBase=1,1\nHelp=-2\n", 1.1},  // "Generale" per screen: "PersBase"
      {"Generale=1\nHelp=0\n", 0},                    // automatic, measured by the window
      {"Generale=1\nHelp=-1\n", -1},                  // never scaled
  };
  for (const Caso& c : casi) {
    Avviato b("", c.risoluzione);
    EXPECT_DOUBLE_EQ(b.p->finestraAiuto->odRisVid, c.atteso) << c.risoluzione;
  }
}

TEST(AvvioAiuti, TheComponentsEventsReachTheProgramAndTheHost) {
  Avviato b;
  lookup::SorgenteEventi& e = b.Lookdex().ogEventi();
  e.LanciaKeyPrim("Conto");
  e.LanciaKeySec("14-01-000001");
  EXPECT_EQ(b.host.Invia("keyprgprim"), host::HostReply("Conto"));
  EXPECT_EQ(b.host.Invia("keyprgsec"), host::HostReply("14-01-000001"));
  const int menu = b.host.Conta("ShowMenu");
  e.ClsMainMenuFrm();
  EXPECT_EQ(b.host.Conta("ShowMenu"), menu + 1);
  int tasto = 0;
  EXPECT_TRUE(e.ClsPrepDecod("Conto", "", "", tasto, 3, ""));
  EXPECT_EQ(tasto, lookup::kTastoF2) << "a missing key becomes F2";
  tasto = lookup::kTastoF3;
  e.ClsPrepDecod("Conto", "", "", tasto, 3, "");
  EXPECT_EQ(tasto, lookup::kTastoF3);
}

TEST(AvvioAiuti, RitornoaRefreshesAVisibleLookupWindowAndRefocuses) {
  struct Caso {
    const char* nome;
    bool visibile;
    const char* form;
    bool aggiorna;
  } casi[] = {
      {"window up, no form named", true, "", true},
      {"window up, a form not loaded", true, "frmRipriSal", true},
      {"window hidden", false, "", false},
      {"a loaded form is activated instead", true, "FrmSaldaSelezioni", false},
  };
  for (const Caso& c : casi) {
    Avviato b;
    b.pf.finestraAiuto->visibile = c.visibile;
    b.pf.eventi.clear();
    b.host.Invia("ritornoa", util::Value(c.form));
    EXPECT_EQ(b.pf.Accaduto("aiuto Aggiorna"), c.aggiorna) << c.nome;
    EXPECT_TRUE(b.pf.Accaduto("focus FrmSaldaSelezioni") || !c.aggiorna) << c.nome;
  }
}

TEST(AvvioAiuti, OpeningAScreenMovesTheLookupWindowOutOfTheWayAndTimVariesGivesTheFocusBack) {
  Avviato b;
  b.pf.finestraAiuto->visibile = true;
  b.pf.eventi.clear();
  EXPECT_TRUE(startup::AttivaForm(*b.p, startup::kFormRipristino, false, "", "", "", "", -1));
  EXPECT_TRUE(b.pf.Accaduto("aiuto nascosto"));
  EXPECT_EQ(b.p->principale.oiFlagVarie, 1);
  EXPECT_EQ(b.p->principale.osNomeForm, startup::kFormRipristino);
  EXPECT_TRUE(b.p->principale.TimVarie->Abilitato());
  b.pf.attivo = b.Schermo(startup::kFormSelezione);
  b.pf.FineEvento();
  EXPECT_EQ(b.pf.attivo, b.Schermo(startup::kFormRipristino));
  EXPECT_EQ(b.p->principale.oiFlagVarie, 0);
  EXPECT_FALSE(b.p->principale.TimVarie->Abilitato());
}

TEST(AvvioAiuti, ActivatingTheActiveScreenBringsTheLookupWindowToTheFront) {
  struct Caso {
    const char* nome;
    bool visibile;
    bool davanti;
  } casi[] = {
      {"window up", true, true},
      {"window hidden", false, false},
  };
  for (const Caso& c : casi) {
    Avviato b;
    b.pf.attivo = b.Schermo(startup::kFormSelezione);
    b.pf.finestraAiuto->visibile = c.visibile;
    b.pf.eventi.clear();
    EXPECT_TRUE(startup::AttivaForm(*b.p, startup::kFormSelezione, false, "", "", "", "", -1)) << c.nome;
    EXPECT_EQ(b.pf.Accaduto("aiuto davanti"), c.davanti) << c.nome;
    EXPECT_FALSE(b.pf.Accaduto("aiuto nascosto")) << c.nome;
  }
}

}  // namespace
