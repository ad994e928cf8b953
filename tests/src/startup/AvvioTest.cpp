#include "src/startup/Avvio.h"

#include <gtest/gtest.h>

#include "src/startup/Chiusura.h"
#include "src/startup/Schermi.h"
#include "tests/src/startup/Banco.h"

namespace {

using testsupport::Banco;
using testsupport::Engine;

class AvvioSuDb : public ::testing::TestWithParam<Engine> {};

TEST_P(AvvioSuDb, StartsOpensTheRequestedScreenAndRegistersWithTheHost) {
  Banco b(GetParam());
  b.host.ImpostaPersonale("Tutti", "DataMinima", "01/01/2000");
  b.host.parametri["DescAzie"] = "Rossi Srl";
  b.Avvia("/M M1 /P CONT01 anno=2024 /F FrmSaldaSelezioni");
  ASSERT_FALSE(b.pf.terminato) << b.op.Elenco() << " / " << b.UltimoMsgBox();
  auto* s = b.Schermo("FrmSaldaSelezioni");
  ASSERT_NE(s, nullptr);
  EXPECT_TRUE(s->visibile);
  EXPECT_EQ(s->oiLoadOk, 1);
  EXPECT_EQ(s->osKeySec, "anno=2024");
  const auto attach = b.host.Di("Attach");
  ASSERT_EQ(attach.size(), 1u);
  EXPECT_EQ(attach[0].args, (std::vector<std::string>{"M1", "CONT01", "anno=2024"}));
  EXPECT_FALSE(b.ctx->conn.empty());
  EXPECT_EQ(b.ctx->dataMinima, "01/01/2000");
  EXPECT_EQ(b.ctx->azienda.descrizione, "Rossi Srl");
  EXPECT_EQ(b.ctx->utente, "MARIO~T1");
  EXPECT_EQ(b.ctx->db.LiveMarkHeld(b.ctx->conn, "MARIO~T1"), std::optional<bool>(true))
      << "the program marks its identity as running, for other processes' recovery";
  EXPECT_FALSE(b.p->connDiretta.empty()) << "the direct database object is open";
  EXPECT_EQ(b.p->risoluzione.generale, 1) << "read from the database configuration";
  EXPECT_EQ(b.pf.splash, "Connessione primaria al database") << "the first screen's load takes the splash over";
}

INSTANTIATE_TEST_SUITE_P(Db, AvvioSuDb, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

TEST(Avvio, TheFSwitchPicksTheScreenIgnoringCase) {
  struct Caso {
    const char* riga;
    const char* aperta;  // nullptr: refused, program closes
  } casi[] = {
      {"/M M1 /F FrmSaldaSelezioni", "FrmSaldaSelezioni"},
      {"/M M1 /F frmsaldaselezioni", "FrmSaldaSelezioni"},
      {"/M M1 /F FRMRIPRISAL", "frmRipriSal"},
      {"/M M1 /F  frmRipriSal  ", "frmRipriSal"},
      {"/M M1", nullptr},
      {"/M M1 /F frmAltro", nullptr},
  };
  for (const auto& c : casi) {
    Banco b;
    b.Avvia(c.riga);
    if (c.aperta) {
      EXPECT_NE(b.Schermo(c.aperta), nullptr) << c.riga;
      EXPECT_FALSE(b.pf.terminato) << c.riga;
    } else {
      ASSERT_FALSE(b.op.messaggi.empty()) << c.riga;
      EXPECT_EQ(b.op.messaggi.back().testo, "La form richiesta e' inesistente") << c.riga;
      b.pf.Avanza(200);
      EXPECT_TRUE(b.pf.terminato) << c.riga;
      EXPECT_TRUE(b.host.Chiamato("Detach")) << c.riga;
    }
  }
}

TEST(Avvio, ThePSwitchSplitsKeyAndParametersAtTheFirstBlank) {
  struct Caso {
    const char* valore;
    const char* chiave;
    const char* parametri;
  } casi[] = {
      {"/P CONT01 anno=2024 tipo=3", "CONT01", "anno=2024 tipo=3"},
      {"/P CONT01", "CONT01", ""},
      {"", "", ""},
  };
  for (const auto& c : casi) {
    Banco b;
    b.Avvia(std::string("/M M1 ") + c.valore + " /F FrmSaldaSelezioni");
    EXPECT_EQ(b.p->chiaveProgramma, c.chiave) << c.valore;
    EXPECT_EQ(b.p->parametriProgramma, c.parametri) << c.valore;
  }
}

TEST(Avvio, OlderHostsGetOnlyTheProgramNumberOnRegistration) {
  struct Caso {
    const char* vers;
    bool array;
  } casi[] = {{"1.06", false}, {"1,06", false}, {"", false}, {"1.07", true}, {"1,07", true}, {"2", true}};
  for (const auto& c : casi) {
    Banco b;
    b.host.parametri["VersMenu"] = c.vers;
    b.host.valoriProgramma["AddSeg"] = "PREP2";
    b.Avvia("/M M1 /F FrmSaldaSelezioni");
    std::optional<host::HostValue> valore;
    for (const auto& call : b.host.Di("ProgramValue"))
      if (call.args[0] == "AddSeg") valore = call.valore;
    ASSERT_TRUE(valore) << c.vers;
    if (c.array) {
      const auto& arr = std::get<std::vector<util::Value>>(*valore);
      ASSERT_EQ(arr.size(), 2u) << c.vers;
      EXPECT_EQ(arr[0], util::Value::Long(46));
      EXPECT_EQ(arr[1], util::Value("PREP1"));
      EXPECT_EQ(b.p->prepProcCorr, "PREP2") << c.vers;
    } else {
      EXPECT_EQ(std::get<util::Value>(*valore), util::Value::Long(46)) << c.vers;
      EXPECT_EQ(b.p->prepProcCorr, "PREP1") << c.vers;
    }
  }
}

TEST(Avvio, EachFailingStepHasItsMessageAndThenTheProgramCloses) {
  struct Caso {
    const char* nome;
    const char* guasta;  // host operation that fails with 5
    bool finestraMsg;    // message window (true) or standard box
    const char* testo;
    // clang-format off
  } casi[] = {
      {"no host", "Attach", true, "Il menu principale non \xC3\xA8 in esecuzione\nQuesto programma non pu\xC3\xB2 essere eseguito autonomamente"},
      {"no launch info", "LaunchInfo", true, "Problemi col collegamento col men\xC3\xB9\nForse questo programma non \xC3\xA8 stato lanciato correttamente"},
      {"host gone later", "IniFile", false, "Il menu principale non \xC3\xA8 in esecuzione\nQuesto programma non pu\xC3\xB2 essere eseguito autonomamente"},
  };
  // clang-format on
  for (const auto& c : casi) {
    Banco b;
    b.host.guaste.insert(c.guasta);
    b.Avvia("/M M1 /F FrmSaldaSelezioni");
    ASSERT_EQ(b.op.messaggi.size(), 1u) << c.nome << b.op.Elenco();
    EXPECT_EQ(b.op.messaggi[0].testo, c.testo) << c.nome;
    EXPECT_EQ(b.op.messaggi[0].comandi.empty(), !c.finestraMsg) << c.nome;
    EXPECT_EQ(b.Schermo("FrmSaldaSelezioni"), nullptr) << c.nome;
    b.pf.FineEvento();
    EXPECT_TRUE(b.pf.terminato) << c.nome;
  }
}

TEST(Avvio, AnOtherErrorAfterTheLinkNamesItsNumberAndTheMenu) {
  Banco b;
  b.Scrivi(b.dir / "vuoto.db", "");
  b.host.parametri["NomeDBAzie"] = (b.dir / "vuoto.db").string();  // a database without the company tables
  b.Avvia("/M M1 /F FrmSaldaSelezioni");
  ASSERT_EQ(b.op.messaggi.size(), 1u) << b.op.Elenco();
  EXPECT_NE(b.op.messaggi[0].testo.find("Errore ("), std::string::npos) << b.op.Elenco();
  EXPECT_NE(b.op.messaggi[0].testo.find("Probabilmente il men\xC3\xB9 non \xC3\xA8 stato avviato correttamente"),
            std::string::npos);
  EXPECT_TRUE(b.pf.terminato);
}

TEST(Avvio, AScreenThatFailsToLoadIsUnloadedAndTheProgramCloses) {
  struct Caso {
    const char* nome;
    testsupport::FakePiattaforma::Comportamento c;
    const char* msgBox;  // what the host is asked to show, "" for nothing
  } casi[] = {
      {"oiLoadOk stays -1", {true, false, false, 0}, ""},
      {"load raises", {false, true, false, 0}, "Errore(3022): FrmSaldaSelezioni"},
      {"display fails", {false, false, false, -1}, "Errore(-99): Impossibile aprire il programma richiesto"},
  };
  for (const auto& c : casi) {
    Banco b;
    b.pf.comportamenti["FrmSaldaSelezioni"] = c.c;
    b.Avvia("/M M1 /F FrmSaldaSelezioni");
    b.pf.Avanza(500);
    EXPECT_EQ(b.Schermo("FrmSaldaSelezioni"), nullptr) << c.nome;
    EXPECT_TRUE(b.pf.terminato) << c.nome;
    EXPECT_EQ(b.UltimoMsgBox(), c.msgBox) << c.nome;
  }
}

}  // namespace
