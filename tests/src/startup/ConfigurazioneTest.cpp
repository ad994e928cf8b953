#include "src/startup/ApriConfigurazione.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "components/db/DbCursor.h"
#include "src/startup/Connessione.h"
#include "tests/src/startup/Banco.h"

namespace {

using testsupport::Banco;
namespace fs = std::filesystem;

TEST(CercaFileIni, CandidatesInOrderTheFirstExistingWins) {
  // Each case creates the candidates from `da` on; the expected one is the first.
  const std::vector<std::string> candidati = {"switch", "installazione", "standard", "main", "corrente", "programma"};
  for (size_t da = 0; da <= candidati.size(); ++da) {
    Banco b;
    const fs::path sw = b.dir / "sw" / "torvel.ini";
    const fs::path inst = b.dir / "inst" / "torvel.ini";
    const fs::path std = b.dir / "config" / "torvel" / "torvel.ini";
    const fs::path main = b.dir / "bin" / "main" / "torvel.ini";
    const fs::path cur = b.dir / "cwd" / "torvel.ini";
    const fs::path prog = b.dir / "bin" / "torvel.ini";
    const std::vector<fs::path> percorsi = {sw, inst, std, main, cur, prog};
    for (size_t i = da; i < percorsi.size(); ++i) b.Scrivi(percorsi[i], "[Parametri Generali]\n");
    b.Scrivi(b.dir / "etc" / "TorvelInst.ini", "[Setup]\nIniPrincipale=" + inst.string() + "\n");
    fs::create_directories(b.dir / "cwd");
    const fs::path prima = fs::current_path();
    fs::current_path(b.dir / "cwd");
    b.p->rigaComando = "/M M1 /I " + sw.string();
    const std::string trovato = startup::CercaFileIni(*b.p, "torvel.ini", startup::FileInstallazione());
    fs::current_path(prima);
    const std::string atteso = da < percorsi.size() ? percorsi[da].string() : "";
    EXPECT_EQ(trovato, atteso) << "from " << (da < candidati.size() ? candidati[da] : "none");
  }
}

TEST(ApriConfigurazione, TheHostsPathSkipsTheSearchAndNoFileStops) {
  {
    Banco b;
    b.host.iniFile.clear();
    b.p->rigaComando = "/M M1 /I " + (b.dir / "manca.ini").string();
    EXPECT_EQ(startup::ApriConfigurazione(*b.p, "torvel.ini", b.dir / "etc" / "TorvelInst.ini"), -1);
    ASSERT_EQ(b.op.messaggi.size(), 1u);
    EXPECT_EQ(b.op.messaggi[0].testo, "File ini non trovato\nSistemare e rieseguire");
    EXPECT_TRUE(b.host.Chiamato("Detach")) << "the links are released";
  }
  {
    Banco b;
    b.p->config.principale = b.ini;  // as the host gave it
    b.p->nomeDb = b.azienda.name();
    b.p->rigaComando = "/I /non/esiste.ini";
    EXPECT_EQ(startup::ApriConfigurazione(*b.p, "torvel.ini", b.dir / "etc" / "TorvelInst.ini"), 0) << b.op.Elenco();
    EXPECT_EQ(b.p->config.principale, b.ini);
  }
}

TEST(ApriConfigurazione, TheChoiceAmongDatabaseConfigurations) {
  struct Caso {
    const char* nome;
    const char* ini;
    std::vector<std::optional<std::string>> risposte;
    std::vector<int> risposteBox;
    int esito;
    const char* file;
    // clang-format off
  } casi[] = {
      {"NumIni absent", "[Parametri Generali]\nOrdIniDBase=base.ini\n", {}, {}, 0, "base.ini"},
      {"NumIni 0", "[Parametri Generali]\nNumIni=0\nOrdIniDBase=base.ini\n", {}, {}, 0, "base.ini"},
      {"choice 2", "[Parametri Generali]\nNumIni=2\nOrdIniDBase=base.ini\n[Lista File Ini]\nOrdIniDBase1=a.ini\nOrdIniDBase2=b.ini\n",
       {"2"}, {}, 0, "b.ini"},
      {"choice without entry", "[Parametri Generali]\nNumIni=3\nOrdIniDBase=base.ini\n[Lista File Ini]\nOrdIniDBase1=a.ini\n",
       {"3"}, {}, 0, "base.ini"},
      {"choice cancelled", "[Parametri Generali]\nNumIni=1\nOrdIniDBase=base.ini\n[Lista File Ini]\nOrdIniDBase1=a.ini\n",
       {std::nullopt}, {}, 0, "base.ini"},
      {"VisParam No then Yes", "[Parametri Generali]\nNumIni=1\nVisParam=db1\nOrdIniDBase=base.ini\n[Lista File Ini]\nOrdIniDBase1=a.ini\n",
       {"0", "1"}, {ui::box::kNo, ui::box::kYes}, 0, "a.ini"},
      {"VisParam Cancel", "[Parametri Generali]\nVisParam=Tutto\nOrdIniDBase=base.ini\n", {}, {ui::box::kCancel}, -1, "base.ini"},
      {"no OrdIniDBase", "[Parametri Generali]\nNumIni=0\n", {}, {}, -1, ""},
      {"empty OrdIniDBase", "[Parametri Generali]\nOrdIniDBase=\n", {}, {}, -1, ""},
      {"blank OrdIniDBase", "[Parametri Generali]\nOrdIniDBase=   \n", {}, {}, -1, ""},
      {"choice with an empty entry", "[Parametri Generali]\nNumIni=1\nOrdIniDBase=base.ini\n[Lista File Ini]\nOrdIniDBase1=\n",
       {"1"}, {}, 0, "base.ini"},
  };
  // clang-format on
  for (const auto& c : casi) {
    Banco b;
    b.Scrivi(b.ini, c.ini);
    b.p->config.principale = b.ini;
    b.p->nomeDb = b.azienda.name();
    for (const auto& r : c.risposte) b.op.risposteInput.push_back(r);
    for (int r : c.risposteBox) b.op.risposteBox.push_back(r);
    EXPECT_EQ(startup::ApriConfigurazione(*b.p, "torvel.ini", b.dir / "x.ini"), c.esito) << c.nome << b.op.Elenco();
    EXPECT_EQ(b.p->config.database, c.file) << c.nome;
    EXPECT_EQ(b.op.risposteInput.size(), 0u) << c.nome << ": every choice was asked";
    if (c.esito == 0) {
      EXPECT_FALSE(b.ctx->conn.empty()) << c.nome;
    }
    if (std::string(c.nome) == "choice 2") {
      EXPECT_TRUE(b.op.Mostrato("Numero di ini scelto\n(da 0 a 2)\n1 -> a.ini\n2 -> b.ini")) << b.op.Elenco();
    }
    if (c.esito == -1 && std::string(c.file).empty()) {
      EXPECT_TRUE(b.op.Mostrato("File di inizializzazione non trovato\no con informazioni non corrette."))
          << b.op.Elenco();
    }
  }
}

TEST(ApriDatabase, AWrongFilePasswordStopsWithItsMessage) {
  Banco b;
  b.azienda.executor().SetDatabasePassword(b.azienda.conn(), "segreta");
  struct Caso {
    const char* pwd;
    bool apre;
  } casi[] = {{"segreta", true}, {"sbagliata", false}, {"", false}};
  for (const auto& c : casi) {
    db::DbExecutor ex;
    b.op.messaggi.clear();
    const std::string conn = startup::ApriDatabase(*b.p, ex, b.azienda.name(), c.pwd, "");
    if (c.apre) {
      EXPECT_TRUE(ex.IsOpen(conn)) << c.pwd;
      EXPECT_TRUE(b.op.messaggi.empty());
    } else {
      EXPECT_EQ(conn, "Err: 3031") << c.pwd;
      ASSERT_EQ(b.op.messaggi.size(), 1u);
      EXPECT_EQ(b.op.messaggi[0].testo, "Password non valida per questo database");
      EXPECT_EQ(b.op.messaggi[0].comandi, std::vector<std::string>{"&Ok"});
    }
  }
}

// The operator agrees to the repair of a file whose header was damaged: the
// file is rebuilt, opened, and the damaged one is named where it is kept.
TEST(ApriDatabase, AFileWithADamagedHeaderIsRepairedAndOpened) {
  Banco b;
  const fs::path file = b.dir / "azienda.db";
  {
    testsupport::TestDatabase origine(testsupport::Engine::Sqlite);
    origine.executor().Execute(origine.conn(), "INSERT INTO Monete (Moneta, Descrizione) VALUES ('EUR', 'Euro')");
    origine.executor().Execute(origine.conn(), "PRAGMA wal_checkpoint(TRUNCATE)", db::kPassThrough);
    fs::copy_file(origine.name(), file);
  }
  std::fstream(file, std::ios::binary | std::ios::in | std::ios::out) << std::string(16, 'X');
  b.p->config.principale = b.ini;
  b.p->nomeDb = file.string();
  b.op.risposteBox = {ui::box::kOk};
  ASSERT_EQ(startup::ApriConfigurazione(*b.p, "torvel.ini", b.dir / "x.ini"), 0) << b.op.Elenco();
  ASSERT_EQ(b.op.messaggi.size(), 2u) << b.op.Elenco();
  EXPECT_EQ(b.op.messaggi[1].testo, "Il database " + file.string() +
                                        " e' stato recuperato.\nIl file danneggiato "
                                        "e' stato conservato come " +
                                        file.string() + ".danneggiato");
  ASSERT_TRUE(b.ctx->db.IsOpen(b.ctx->conn));
  db::DbCursor c;
  const std::string k = c.Open(b.ctx->db, b.ctx->conn, "", "SELECT Descrizione FROM Monete", false, db::kSnapshot);
  EXPECT_EQ(c.GetField(k, "Descrizione").toText(), "Euro");
  c.Close(k);
  EXPECT_TRUE(fs::exists(file.string() + ".danneggiato"));
}

TEST(ApriDatabase, AFileTheEngineDoesNotRecogniseIsRefusedAfterTheRepairFails) {
  Banco b;
  const fs::path rotto = b.dir / "rotto.db";
  b.Scrivi(rotto, std::string(4096, 'x'));
  b.p->config.principale = b.ini;
  b.p->nomeDb = rotto.string();
  b.op.risposteBox = {ui::box::kOk};
  EXPECT_EQ(startup::ApriConfigurazione(*b.p, "torvel.ini", b.dir / "x.ini"), -1);
  ASSERT_EQ(b.op.messaggi.size(), 2u) << b.op.Elenco();
  EXPECT_EQ(b.op.messaggi[0].testo,
            "Errore nell'apertura del database " + rotto.string() + "\nVuoi tentare di recuperarlo");
  EXPECT_NE(b.op.messaggi[1].testo.find("non puo' essere recuperato"), std::string::npos);
  EXPECT_TRUE(b.host.Chiamato("Detach"));
}

TEST(ApriDatabase, ASqlLoginIsAskedOfTheHostAndRetriedAfterARefusal) {
  const char* pg = std::getenv("COMPENSATO_TEST_PG");
  if (!pg) GTEST_SKIP() << "needs the PostgreSQL test cluster";
  const char* role = std::getenv("COMPENSATO_PG_ROLE");
  const std::string dsn = std::string(pg).substr(std::string(pg).find('=') + 1);
  struct Caso {
    const char* nome;
    std::vector<std::pair<std::string, std::string>> login;  // typed at the host, in order
    std::vector<int> risposte;                               // to "Utente o password non validi per SQL"
    bool apre;
  } casi[] = {
      {"login asked, right", {{role ? role : "", ""}}, {}, true},
      {"wrong, retried, right", {{"nessuno_x", "x"}, {role ? role : "", ""}}, {1}, true},
      {"wrong, cancelled", {{"nessuno_x", "x"}}, {2}, false},
  };
  for (const auto& c : casi) {
    Banco b;
    b.host.loginOperatore.assign(c.login.begin(), c.login.end());
    b.op.risposte.assign(c.risposte.begin(), c.risposte.end());
    db::DbExecutor ex;
    const std::string conn = startup::ApriDatabase(*b.p, ex, dsn, "", "");
    EXPECT_EQ(ex.IsOpen(conn), c.apre) << c.nome << b.op.Elenco();
    if (!c.apre) {
      EXPECT_EQ(conn, "") << c.nome;
    }
    EXPECT_EQ(b.host.Conta("GetParameter") > 0, true);
    EXPECT_EQ(b.op.messaggi.size(), c.risposte.size()) << c.nome << b.op.Elenco();
  }
}

TEST(ApriDatabaseDiretto, HowEachKindOfNameIsOpened) {
  struct Caso {
    const char* nome;
    const char* utente;
    const char* pwd;
    const char* database;
    const char* connect;
  } casi[] = {
      {"ODBC;DSN=x;UID=a", "u", "p", "", "ODBC;DSN=x;UID=a"},
      {"odbc;DSN=x", "", "", "", "odbc;DSN=x"},
      {"azienda.DSN", "u", "p", "", "ODBC;FIleDSN=azienda.DSN;UID=u;PWD=p"},
      {"/dati/azienda.db", "u", "p", "/dati/azienda.db", ""},
      {"Contabilita", "u", "", "", "ODBC;DSN=Contabilita;UID=u"},
      {"Contabilita", "", "p", "", "ODBC;DSN=Contabilita;"},
  };
  for (const auto& c : casi) {
    const auto a = startup::ParametriDiretti(c.nome, c.utente, c.pwd);
    EXPECT_EQ(a.database, c.database) << c.nome;
    EXPECT_EQ(a.connect, c.connect) << c.nome;
  }
}

}  // namespace
