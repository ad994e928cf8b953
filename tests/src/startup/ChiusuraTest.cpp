#include "src/startup/Chiusura.h"

#include <gtest/gtest.h>

#include "src/startup/ComandiMenu.h"
#include "src/startup/Schermi.h"
#include "tests/src/startup/Banco.h"

namespace {

using testsupport::Banco;

// A started program with the selection screen open.
struct Avviato : Banco {
  Avviato() {
    Avvia("/M M1 /P CONT01 k1 /F FrmSaldaSelezioni");
    EXPECT_NE(Schermo("FrmSaldaSelezioni"), nullptr) << op.Elenco();
  }
};

TEST(Chiusura, AStartupCloseRefusedByAModalScreenIsRetriedOnceAfter3000ms) {
  Avviato b;
  b.pf.modaleAperta = true;
  startup::RichiediChiusura(*b.p);
  b.pf.FineEvento();
  EXPECT_FALSE(b.pf.terminato);
  EXPECT_EQ(b.ctx->motivoRifiuto, "Maschera Modal");
  EXPECT_TRUE(b.p->principale.timChiudi->Abilitato());
  EXPECT_EQ(b.p->principale.timChiudi->Intervallo(), 3000);
  b.pf.Avanza(2999);
  EXPECT_TRUE(b.p->principale.timChiudi->Abilitato()) << "not yet";
  b.pf.Avanza(1);
  EXPECT_FALSE(b.pf.terminato);
  EXPECT_FALSE(b.p->principale.timChiudi->Abilitato()) << "abandoned after the one retry";
  b.pf.modaleAperta = false;
  b.pf.Avanza(60000);
  EXPECT_FALSE(b.pf.terminato);
}

TEST(Chiusura, AStartupCloseSucceedsAfterTheModalScreenWentWithinTheRetry) {
  Avviato b;
  b.pf.modaleAperta = true;
  startup::RichiediChiusura(*b.p);
  b.pf.FineEvento();
  b.pf.modaleAperta = false;
  b.pf.Avanza(3000);
  EXPECT_TRUE(b.pf.terminato);
  EXPECT_TRUE(b.p->forms.empty());
}

TEST(Chiusura, AHostCloseIsRetriedEvery100msUntilTheScreensAreGone) {
  Avviato b;
  startup::ChiudiDaMenu(*b.p, 0);
  b.pf.Avanza(1000);
  EXPECT_FALSE(b.pf.terminato) << "a screen is still open";
  EXPECT_EQ(b.p->principale.timChiudi->Intervallo(), 100);
  EXPECT_TRUE(b.p->principale.timChiudi->Abilitato());
  b.p->Scarica(b.Schermo("FrmSaldaSelezioni"));
  b.pf.Avanza(100);
  EXPECT_TRUE(b.pf.terminato);
  EXPECT_TRUE(b.host.Chiamato("Detach"));
  EXPECT_FALSE(b.executor.IsOpen(b.ctx->conn)) << "the database is released";
}

TEST(Chiusura, FineRepliesEmptyOnlyWhenTheProgramClosed) {
  struct Caso {
    const char* nome;
    bool modale;
    bool rifiuta;
    const char* attesa;
  } casi[] = {
      {"plain close", false, false, ""},
      {"modal screen open", true, false, "Maschera Modal"},
      {"screen refuses to unload", false, true, "No Chiudi"},
  };
  for (const auto& c : casi) {
    Avviato b;
    b.pf.modaleAperta = c.modale;
    b.pf.comportamenti["FrmSaldaSelezioni"].rifiutaScarico = c.rifiuta;
    EXPECT_EQ(b.host.Invia("fine"), host::HostReply(c.attesa)) << c.nome;
    EXPECT_EQ(b.pf.terminato, std::string(c.attesa).empty()) << c.nome;
    EXPECT_FALSE(b.ctx->chiusuraDaHost) << c.nome;
    EXPECT_FALSE(b.host.Chiamato("ReturnTo") || b.host.Chiamato("ShowMenu"))
        << c.nome << ": a screen closed by the host does not give control back";
    if (c.rifiuta) {
      EXPECT_TRUE(b.Schermo("FrmSaldaSelezioni")->visibile) << "the refusing screen is shown";
      EXPECT_FALSE(b.p->principale.finestra->Visibile()) << "the closing notice goes away again";
    }
  }
}

TEST(Chiusura, AfterAModalRefusalTheReasonStaysForLaterRefusals) {
  Avviato b;
  b.pf.modaleAperta = true;
  EXPECT_EQ(b.host.Invia("FINE"), host::HostReply("Maschera Modal"));
  b.pf.modaleAperta = false;
  b.pf.comportamenti["FrmSaldaSelezioni"].rifiutaScarico = true;
  EXPECT_EQ(b.host.Invia("fine"), host::HostReply("Maschera Modal"));
  b.pf.comportamenti["FrmSaldaSelezioni"].rifiutaScarico = false;
  EXPECT_EQ(b.host.Invia("Fine"), host::HostReply(""));
}

TEST(Chiusura, TheMainFormShowsTheClosingNoticeWhileClosing) {
  Avviato b;
  auto* principale = static_cast<testsupport::FakeSchermo*>(b.p->principale.finestra);
  b.pf.comportamenti["FrmSaldaSelezioni"].rifiutaScarico = true;
  startup::ChiudiProgramma(*b.p);
  EXPECT_EQ(principale->testoEtichetta, "Chiusura in corso");
}

TEST(Chiusura, HelpWindowsDoNotHoldTheCloseBack) {
  Avviato b;
  class Aiuto : public testsupport::FakeSchermo {
   public:
    using FakeSchermo::FakeSchermo;
  };
  b.p->Carica(std::make_unique<Aiuto>(b.pf, "frmAiuto", "Aiuto"));
  b.p->Scarica(b.Schermo("FrmSaldaSelezioni"));
  EXPECT_FALSE(b.p->AltreFormAperte());
  startup::ChiudiDaMenu(*b.p, -1);
  EXPECT_TRUE(b.pf.terminato);
  EXPECT_TRUE(b.pf.Accaduto("unload frmAiuto"));
}

TEST(LasciaForm, GivesControlBackToTheLauncherUnlessTheHostIsClosing) {
  struct Caso {
    const char* nome;
    const char* lanciatore;
    bool daHost;
    const char* atteso;  // host operation expected, "" for none
  } casi[] = {
      {"launched by the menu", "", false, "ShowMenu"},
      {"launched by a program", "PRG7", false, "ReturnTo"},
      {"closed by the host", "PRG7", true, ""},
  };
  for (const auto& c : casi) {
    Avviato b;
    auto* s = b.Schermo("FrmSaldaSelezioni");
    s->osKeyLancia = c.lanciatore;
    b.ctx->chiusuraDaHost = c.daHost;
    startup::LasciaForm(*b.p, *s, true);
    EXPECT_EQ(b.host.Chiamato("ShowMenu"), std::string(c.atteso) == "ShowMenu") << c.nome;
    EXPECT_EQ(b.host.Chiamato("ReturnTo"), std::string(c.atteso) == "ReturnTo") << c.nome;
    ASSERT_TRUE(b.host.Chiamato("ReleaseKey")) << c.nome;
    EXPECT_EQ(b.host.Di("ReleaseKey")[0].args[0], "k1") << c.nome;
    EXPECT_FALSE(b.ctx->chiusuraDaHost) << c.nome;
    EXPECT_TRUE(b.p->principale.timChiudi->Abilitato()) << c.nome;
  }
}

TEST(MostraMenu, AMenuThatIsGoneIsToldToTheOperator) {
  Avviato b;
  b.host.guaste.insert("ShowMenu");
  startup::MostraMenu(*b.p);
  ASSERT_FALSE(b.op.messaggi.empty());
  EXPECT_EQ(b.op.messaggi.back().testo, "Il menu non \xC3\xA8 pi\xC3\xB9 disponibile");
}

TEST(Comandi, CommandWordsAreRecognisedInAnyCase) {
  Avviato b;
  b.p->chiaveLancioPrim = "PRIM";
  b.p->chiaveLancioSec = "SEC";
  const std::vector<std::pair<const char*, host::HostReply>> casi = {
      {"esiste", host::HostReply(true)},
      {"ESISTE", host::HostReply(true)},
      {"KeyPrgPrim", host::HostReply("PRIM")},
      {"keyprgsec", host::HostReply("SEC")},
      {"PARAMPRGCLIE", host::HostReply("$Default$")},
      {"comandoprgclie", host::HostReply("")},
      {"sconosciuto", host::HostReply("")},
  };
  for (const auto& [cmd, attesa] : casi) EXPECT_EQ(b.host.Invia(cmd), attesa) << cmd;
  EXPECT_EQ(b.p->client->UltCom, "sconosciuto");
}

TEST(Comandi, InvoiceNoticesInAnyCase) {
  using V = std::vector<util::Value>;
  struct Caso {
    const char* cmd;
    V param;
    const char* testo;  // "" when nothing is shown
  } casi[] = {
      {"FEInvio", V{"", util::Value::Long(0), "", "", "", util::Value::Long(1234)}, "Inviate 1.234 fatture"},
      {"feinvio", V{"", util::Value::Long(0), "F12 F13", "", "", util::Value::Long(3)},
       "Inviate 3 fatture\nFatture non inviate per erroriF12 F13"},
      {"FEINVIO", V{"", util::Value::Long(17), "rete assente"},
       "Errore nell'invio delle fatture\nErr: 17 - rete assente"},
      {"feattesa", V{"", util::Value::Long(0), util::Value::Long(4)}, "Ci sono 4 fatture in attesa"},
      {"FEAttesa", V{"", util::Value::Long(0), util::Value::Long(0)}, ""},
      {"FEAttesa", V{"", util::Value::Long(2), "x"}, "Errore nella richiesta di fatture in attesa\nErr: 2 - x"},
      {"feinfo", V{"", util::Value::Long(0), "dati"}, ""},
      {"FEInfo", V{"", util::Value::Long(9), "no"}, "Errore nella richiesta informazioni\nErr: 9 - no"},
      {"FEInvio", V{}, "Errore nell'invio delle fatture\nErr:  - "},
  };
  for (const auto& c : casi) {
    Avviato b;
    const size_t prima = b.op.messaggi.size();
    EXPECT_EQ(b.host.Invia(c.cmd, host::HostValue(c.param)), host::HostReply("")) << c.cmd;
    if (std::string(c.testo).empty()) {
      EXPECT_EQ(b.op.messaggi.size(), prima) << c.cmd;
    } else {
      ASSERT_EQ(b.op.messaggi.size(), prima + 1) << c.cmd;
      EXPECT_EQ(b.op.messaggi.back().testo, c.testo);
      EXPECT_EQ(b.op.messaggi.back().comandi, std::vector<std::string>{"&Ok"});
    }
  }
}

TEST(Comandi, ScreenActivationByTheHost) {
  Avviato b;
  auto* s = b.Schermo("FrmSaldaSelezioni");
  auto* principale = static_cast<testsupport::FakeSchermo*>(b.p->principale.finestra);
  b.pf.attivo = principale;

  // "ritornoa" with a form that is not loaded only refocuses the active screen.
  b.host.Invia("ritornoa", util::Value("frmRipriSal"));
  EXPECT_EQ(b.Schermo("frmRipriSal"), nullptr);
  EXPECT_EQ(b.pf.attivo, principale);

  // "passaa" of an open screen brings it to the front and tells it who asked.
  b.host.launch.osChiLancia = "PRG9";
  b.host.Invia("passaa", util::Value("FRMSALDASELEZIONI"), "K9");
  EXPECT_EQ(b.pf.attivo, s);
  EXPECT_EQ(s->attivazioni, 1);
  EXPECT_EQ(s->osKeyLancia, "PRG9");
  EXPECT_EQ(s->osKeySec, "K9");

  // "attiva" makes the key active and opens the launch information's screen.
  b.host.launch.osParam = "/F frmRipriSal";
  b.host.Invia("attiva", util::Value(""), "K10");
  EXPECT_EQ(b.host.Di("SetActiveKey").back().args[0], "K10");
  ASSERT_NE(b.Schermo("frmRipriSal"), nullptr);
  EXPECT_EQ(b.Schermo("frmRipriSal")->osKeySec, "K10");

  b.host.Invia("preppassaa");
  EXPECT_EQ(s->passaA, 1);
}

TEST(CercaForm, NamesIgnoreCaseAndTheCaptionPartNarrows) {
  Avviato b;
  EXPECT_EQ(b.p->CercaForm("frmprincipale"), 0);
  EXPECT_EQ(b.p->CercaForm("FRMSALDASELEZIONI"), 1);
  EXPECT_EQ(b.p->CercaForm("FrmSaldaSelezioni", "COMPENSAZIONE"), 1);
  EXPECT_EQ(b.p->CercaForm("FrmSaldaSelezioni", "ripristino"), -1);
  EXPECT_EQ(b.p->CercaForm("frmRipriSal"), -1);
}

}  // namespace

namespace {

TEST(SorvegliaMenu, AHostLostWhileIdleIsToldOnceAndTheProgramCloses) {
  struct Caso {
    const char* nome;
    bool modale;  // a modal screen is open when the link goes
  } casi[] = {{"idle", false}, {"modal screen open", true}};
  for (const auto& c : casi) {
    Avviato b;
    startup::SorvegliaMenu(*b.p);
    EXPECT_FALSE(b.op.Mostrato("non \xC3\xA8 in esecuzione")) << c.nome << ": the link is still there";
    b.host.perso = true;
    b.pf.modaleAperta = c.modale;
    startup::SorvegliaMenu(*b.p);
    startup::SorvegliaMenu(*b.p);
    size_t avvisi = 0;
    for (const auto& m : b.op.messaggi) avvisi += m.testo.find("Il menu principale non \xC3\xA8 in esecuzione") == 0;
    EXPECT_EQ(avvisi, 1u) << c.nome << ": " << b.op.Elenco();
    b.pf.Avanza(1000);
    EXPECT_EQ(b.pf.terminato, !c.modale) << c.nome;
    // Without a host nothing else would end the program: the close keeps trying.
    b.pf.modaleAperta = false;
    b.pf.Avanza(200);
    EXPECT_TRUE(b.pf.terminato) << c.nome;
    EXPECT_FALSE(b.host.Chiamato("ShowMenu")) << c.nome << ": there is no menu to go back to";
    EXPECT_FALSE(b.op.Mostrato("non \xC3\xA8 pi\xC3\xB9 disponibile")) << c.nome;
  }
}

TEST(SorvegliaMenu, StartupReportsAMissingHostItself) {
  Banco b;
  b.host.perso = true;
  b.host.spento = true;
  b.Avvia("/M M1 /F FrmSaldaSelezioni");
  startup::SorvegliaMenu(*b.p);
  size_t avvisi = 0;
  for (const auto& m : b.op.messaggi) avvisi += m.testo.find("Il menu principale non \xC3\xA8 in esecuzione") == 0;
  EXPECT_EQ(avvisi, 1u) << b.op.Elenco();
}

}  // namespace
