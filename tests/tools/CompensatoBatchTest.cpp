// The demo company builder and the batch front, as an operator runs them:
// build the demo company, settle a range of customers automatically, list and
// recover interrupted runs.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <thread>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "components/db/DbCursor.h"
#include "components/host/SocketMenuHost.h"
#include "src/data/Contesto.h"
#include "src/recovery/FinestraRipristino.h"
#include "src/recovery/Ripristino.h"
#include "tests/src/selection/CasiSelezione.h"
#include "tests/src/startup/Banco.h"
#include "tests/support/Invarianti.h"
#include "tests/support/TestDatabase.h"
#include "tools/democompany/DemoCompany.h"

namespace {

namespace txt = compensato::txt;

struct Uscita {
  int codice;
  std::string testo;
};

Uscita Esegui(const std::string& comando) {
  Uscita u{-1, ""};
  FILE* p = popen((comando + " 2>&1").c_str(), "r");
  if (!p) return u;
  char buf[512];
  while (size_t n = fread(buf, 1, sizeof buf, p)) u.testo.append(buf, n);
  const int stato = pclose(p);
  u.codice = WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
  return u;
}

std::string Virgolette(const std::string& s) { return "'" + s + "'"; }

// A batch run started in the background, its output in a file: with `ferma`
// the test hook stops it before its first statement containing that text.
struct Sfondo {
  pid_t pid = -1;
  std::filesystem::path uscita;
  mutable bool finito = false;

  Sfondo() = default;
  Sfondo(const Sfondo&) = delete;
  Sfondo& operator=(const Sfondo&) = delete;
  // A failed check must not leave a stopped process behind.
  ~Sfondo() {
    if (pid > 0 && !finito) Uccidi();
    std::filesystem::remove(uscita);
  }

  // Waits until the process stops at the hook (true) or ends first (false).
  bool Fermo() const {
    int stato = 0;
    return waitpid(pid, &stato, WUNTRACED) == pid && WIFSTOPPED(stato);
  }
  // Lets it go on and waits for its exit code.
  int Prosegui() const {
    finito = true;
    kill(pid, SIGCONT);
    int stato = 0;
    waitpid(pid, &stato, 0);
    return WIFEXITED(stato) ? WEXITSTATUS(stato) : -1;
  }
  void Uccidi() const {
    finito = true;
    kill(pid, SIGKILL);
    int stato = 0;
    waitpid(pid, &stato, 0);
  }
  std::string Testo() const {
    std::ifstream f(uscita);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }
};

void Avvia(Sfondo& s, const std::string& comando, const std::string& ferma, const std::string& nome) {
  s.uscita = std::filesystem::temp_directory_path() / ("compensato-sfondo-" + std::to_string(::getpid()) + "-" + nome);
  s.pid = fork();
  if (s.pid == 0) {
    setenv("COMPENSATO_DB_STOP_ON", ferma.c_str(), 1);
    const std::string c = "exec " + comando + " > '" + s.uscita.string() + "' 2>&1";
    execl("/bin/sh", "sh", "-c", c.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
}

class Batch : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  void SetUp() override {
    database_ = std::make_unique<testsupport::TestDatabase>(GetParam(), false);
    demo::Opzioni o;
    o.odbc = GetParam() == testsupport::Engine::Postgres;
    demo::CreaAzienda(database_->executor(), database_->conn(), o);
    // The test's name holds the engine after a "/": not a folder.
    std::string nome = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(nome.begin(), nome.end(), '/', '-');
    params_ = std::filesystem::temp_directory_path() /
              ("compensato-batch-" + std::to_string(::getpid()) + "-" + nome + ".ini");
    std::ofstream f(params_);
    f << demo::FileParametri(database_->name(), o);
    ASSERT_TRUE(f.good()) << params_;
  }
  void TearDown() override { std::filesystem::remove(params_); }

  std::string Batch_(const std::string& argomenti) {
    return std::string(COMPENSATO_BATCH) + " " + argomenti + " --params " + Virgolette(params_.string()) + " --db " +
           Virgolette(database_->name());
  }
  double Numero(const std::string& sql) {
    db::DbCursor c;
    const std::string k = c.Open(database_->executor(), database_->conn(), "", sql, false, db::kSnapshot);
    const double n = c.IsEmpty(k) ? 0 : c.GetField(k, "N").toDouble();
    c.Close(k);
    return n;
  }

  std::unique_ptr<testsupport::TestDatabase> database_;
  std::filesystem::path params_;
};

constexpr const char* kRun =
    "auto --clienti --massimo 5000 --causale INC --conto-partita 1801000001 --abb-att 7005000001 "
    "--abb-pas 6205000001 --data-reg 10/12/2026 --anno 2026 --conto-da 1401000001 --conto-a 1401000005";

TEST_P(Batch, DemoHaLeScadenzeAperte) {
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE NumRegPag IS NULL"), 500);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM PianoConti WHERE Tipo = 3"), 20);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM PianoConti WHERE Tipo = 2"), 10);
  EXPECT_EQ(testsupport::VerificaInvarianti(database_->executor(), database_->conn()), "");
}

TEST_P(Batch, AutomaticaConfermataScriveUnMovimento) {
  // The demo ledger already holds the company's posted documents.
  const double prima = Numero("SELECT COUNT(*) AS N FROM MovPnTes");
  const std::string numero =
      std::to_string(static_cast<long>(Numero("SELECT MAX(NumReg) AS N FROM MovPnTes WHERE Anno = 2026")) + 1);
  const Uscita u = Esegui(Batch_(std::string(kRun) + " --yes"));
  ASSERT_EQ(u.codice, 0) << u.testo;
  EXPECT_NE(u.testo.find("Movimento 2026/" + numero + ":"), std::string::npos) << u.testo;
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM MovPnTes"), prima + 1);
  EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE NumRegPag = " + numero), 0);
  EXPECT_LE(Numero("SELECT SUM(Importo) AS N FROM MovPnDett WHERE Anno = 2026 AND RigReg = 1 AND NumReg = " + numero),
            5000);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE Utente <> ' '"), 0);
  EXPECT_EQ(testsupport::VerificaInvarianti(database_->executor(), database_->conn()), "");
}

// Another operator's run numbers an entry of the same year while this run
// writes its own (a trigger stands in for it): the summary names only this
// run's entry.
TEST_P(Batch, RiepilogoDelSoloMovimentoDelRun) {
  db::DbExecutor& ex = database_->executor();
  const std::string& conn = database_->conn();
  if (GetParam() == testsupport::Engine::Sqlite) {
    ex.Execute(conn,
               "CREATE TRIGGER altro AFTER INSERT ON MovPnTes WHEN NEW.Causale <> 'ALT' BEGIN "
               "INSERT INTO MovPnTes (Anno, NumReg, DataReg, Causale, InValuta, Moneta, Cambio) VALUES "
               "(NEW.Anno, NEW.NumReg + 1, NEW.DataReg, 'ALT', 'N', NEW.Moneta, 1); END",
               db::kPassThrough);
  } else {
    ex.Execute(conn,
               "CREATE FUNCTION altro() RETURNS trigger AS $$ BEGIN IF NEW.\"Causale\" <> 'ALT' THEN "
               "INSERT INTO \"MovPnTes\" (\"Anno\", \"NumReg\", \"DataReg\", \"Causale\", \"InValuta\", "
               "\"Moneta\", \"Cambio\") VALUES (NEW.\"Anno\", NEW.\"NumReg\" + 1, NEW.\"DataReg\", 'ALT', 'N', "
               "NEW.\"Moneta\", 1); END IF; RETURN NEW; END $$ LANGUAGE plpgsql",
               db::kPassThrough);
    ex.Execute(conn, "CREATE TRIGGER altro AFTER INSERT ON \"MovPnTes\" FOR EACH ROW EXECUTE FUNCTION altro()",
               db::kPassThrough);
  }
  const long numero = static_cast<long>(Numero("SELECT MAX(NumReg) AS N FROM MovPnTes WHERE Anno = 2026")) + 1;
  const Uscita u = Esegui(Batch_(std::string(kRun) + " --yes"));
  ASSERT_EQ(u.codice, 0) << u.testo;
  ASSERT_EQ(
      Numero("SELECT COUNT(*) AS N FROM MovPnTes WHERE Causale = 'ALT' AND NumReg = " + std::to_string(numero + 1)), 1);
  EXPECT_NE(u.testo.find("Movimento 2026/" + std::to_string(numero) + ":"), std::string::npos) << u.testo;
  EXPECT_EQ(u.testo.find("Movimento 2026/" + std::to_string(numero + 1) + ":"), std::string::npos) << u.testo;
}

TEST_P(Batch, SenzaConfermaNonScriveNulla) {
  const double prima = Numero("SELECT COUNT(*) AS N FROM MovPnTes");
  const Uscita u = Esegui(Batch_(kRun));
  ASSERT_EQ(u.codice, 0) << u.testo;
  EXPECT_NE(u.testo.find("--yes"), std::string::npos) << u.testo;
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM MovPnTes"), prima);
}

// What only a command line can get wrong: each stops before anything is
// written. What the screen refuses as well is in the shared cases below.
TEST_P(Batch, ControlliDellaConferma) {
  struct Caso {
    const char* nome;
    std::string argomenti;
    int codice;
    std::string messaggio;
  };
  const std::string base = "auto --clienti --data-reg 10/12/2026 --conto-da 1401000001 --conto-a 1401000005 --yes";
  const double prima = Numero("SELECT COUNT(*) AS N FROM MovPnTes");
  const Caso casi[] = {
      {"opzione scritta male", base + " --scad-fino 31/12/2026", 2, "opzione sconosciuta: --scad-fino"},
      {"clienti e fornitori", base + " --fornitori", 1, "Indicare se cliente o fornitore, non entrambi"},
      {"cambio di una moneta a cambio fisso", base + " --cambio 2", 1, "--cambio: la moneta Euro ha un cambio fisso"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const Uscita u = Esegui(Batch_(c.argomenti));
    EXPECT_EQ(u.codice, c.codice) << u.testo;
    EXPECT_NE(u.testo.find(c.messaggio), std::string::npos) << u.testo;
    EXPECT_EQ(u.testo.find("Movimento"), std::string::npos) << u.testo;
  }
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM MovPnTes"), prima);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM AppoggioTemp"), 0);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE FlStato IS NOT NULL"), 0);
}

// The option each field of the selection is typed from.
// clang-format off
const std::map<int, const char*> kOpzioneDelCampo = {
    {txt::kDataReg, "--data-reg"},     {txt::kAnno, "--anno"},         {txt::kContoDa, "--conto-da"},
    {txt::kContoA, "--conto-a"},       {txt::kScadDa, "--scad-da"},    {txt::kScadA, "--scad-a"},
    {txt::kDocDa, "--doc-da"},         {txt::kDocA, "--doc-a"},        {txt::kPrefissoDoc, "--prefisso"},
    {txt::kNumDocDa, "--numdoc-da"},   {txt::kNumDocA, "--numdoc-a"},  {txt::kPagTipo, "--pagtipo"},
    {txt::kMoneta, "--moneta"},        {txt::kMassimo, "--massimo"},   {txt::kCausale, "--causale"},
    {txt::kPartita, "--conto-partita"}, {txt::kDescAgg, "--desc"},     {txt::kAbbAtt, "--abb-att"},
    {txt::kAbbPas, "--abb-pas"},       {txt::kDataProt, "--data-prot"}, {txt::kPrefProt, "--pref-prot"},
    {txt::kNumProt, "--num-prot"},     {txt::kUtiCambio, "--uti-cambio"}, {txt::kPerdCambio, "--perd-cambio"},
    {txt::kCdc, "--cdc"},              {txt::kCambio, "--cambio"},
};
// clang-format on

std::vector<std::string> Linee(const std::string& testo) {
  std::vector<std::string> v;
  size_t a = 0;
  for (size_t b; (b = testo.find('\n', a)) != std::string::npos; a = b + 1) v.push_back(testo.substr(a, b - a));
  if (a < testo.size()) v.push_back(testo.substr(a));
  return v;
}

// The selections the screen refuses, given as options: the batch says what
// the screen says, first and alone (what follows only names the red fields),
// exits non-zero and writes nothing. A selection the screen accepts gets as
// far as the question of the automatic run, which the batch answers "No"
// without --yes.
TEST_P(Batch, SelezioniComeDalloSchermo) {
  db::DbExecutor& ex = database_->executor();
  const std::string& conn = database_->conn();
  ex.Execute(conn, "INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg, InValuta, ObbProtocollo) VALUES "
                   "('VAL', 'Incasso in valuta', 'G', '', 'S', 'N')");
  ex.Execute(conn, "INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg, InValuta, ObbProtocollo) VALUES "
                   "('PROT', 'Incasso protocollato', 'G', '', 'N', 'S')");
  const char* kDomanda = "[Compensato] Confermi l'elaborazione automatica delle scadenze ?";
  const double testate = Numero("SELECT COUNT(*) AS N FROM MovPnTes");
  const double righe = Numero("SELECT COUNT(*) AS N FROM MovPnDett");
  for (const testsupport::CasoSelezione& c : testsupport::CasiSelezione(2026)) {
    SCOPED_TRACE(c.nome);
    std::string argomenti = "auto";
    if (c.conti == testsupport::ContiSelezione::Clienti) argomenti += " --clienti";
    if (c.conti == testsupport::ContiSelezione::Fornitori) argomenti += " --fornitori";
    for (const auto& [i, testo] : c.campi)
      argomenti += std::string(" ") + kOpzioneDelCampo.at(i) + " " + Virgolette(testo);
    if (c.ancheEffetti) argomenti += " --effetti";
    const Uscita u = Esegui(Batch_(argomenti));
    const std::vector<std::string> linee = Linee(u.testo);
    ASSERT_FALSE(linee.empty());
    if (c.messaggio.empty()) {
      EXPECT_EQ(u.codice, 0) << u.testo;
      EXPECT_EQ(linee.front(), kDomanda) << u.testo;
      continue;
    }
    EXPECT_NE(u.codice, 0) << u.testo;
    EXPECT_EQ(linee.front(), c.messaggio) << u.testo;
    for (size_t k = 1; k < linee.size(); ++k)
      EXPECT_TRUE(linee[k] == testsupport::kDatiErrati || linee[k].rfind("  --", 0) == 0) << u.testo;
    if (c.rosso) {
      const std::string campo = std::string("\n  ") + kOpzioneDelCampo.at(c.rosso) + " ";
      EXPECT_NE(u.testo.find(campo), std::string::npos) << u.testo;
    }
  }
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM MovPnTes"), testate);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM MovPnDett"), righe);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM MovPnDettApp"), 0);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM ScadenzeApp"), 0);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM AppoggioTemp"), 0);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM LockGest"), 0);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE Utente <> ' ' OR FlStato IS NOT NULL"), 0);
}

// What is not given comes from the screen's defaults and fills: the
// transaction code of receipts with its cash account, the discount accounts
// of the company, the year of the registration date.
TEST_P(Batch, IValoriNonDatiVengonoDalloSchermo) {
  const double prima = Numero("SELECT COUNT(*) AS N FROM MovPnTes");
  const Uscita u =
      Esegui(Batch_("auto --clienti --conto-da 1401000001 --conto-a 1401000002 --data-reg 10/12/2026 --yes"));
  ASSERT_EQ(u.codice, 0) << u.testo;
  ASSERT_EQ(Numero("SELECT COUNT(*) AS N FROM MovPnTes"), prima + 1);
  const double numero = Numero("SELECT MAX(NumReg) AS N FROM MovPnTes WHERE Anno = 2026 AND Causale = 'INC'");
  EXPECT_GT(Numero("SELECT COUNT(*) AS N FROM MovPnDett WHERE Anno = 2026 AND NumReg = " +
                   std::to_string(static_cast<long>(numero)) +
                   " AND GruppoPartita = '18' AND MastroPartita = '01' AND ContoPartita = '000001'"),
            0);
  EXPECT_EQ(testsupport::VerificaInvarianti(database_->executor(), database_->conn()), "");
}

// A payment type that issues bills takes its installments in, as the screen's
// locked and checked "Anche effetti" does.
TEST_P(Batch, UnTipoPagamentoConEffettiPrendeLeSueScadenze) {
  const std::string filtro = " FROM Scadenze WHERE PagTipo = 'RB' AND Tipo = 3 AND NumRegPag IS NULL";
  const double aperte = Numero("SELECT COUNT(*) AS N" + filtro);
  ASSERT_GT(aperte, 0);
  const Uscita u = Esegui(Batch_("auto --clienti --pagtipo RB --data-reg 10/12/2026 --yes"));
  ASSERT_EQ(u.codice, 0) << u.testo;
  EXPECT_NE(u.testo.find("Movimento 2026/"), std::string::npos) << u.testo;
  EXPECT_LT(Numero("SELECT COUNT(*) AS N" + filtro), aperte);
}

// A run the operator left interrupted is recovered before the options are
// looked at: a wrong option does not keep it waiting.
TEST_P(Batch, IlRipristinoPrimaDeiControlli) {
  database_->executor().Execute(database_->conn(),
                                "UPDATE Scadenze SET Utente = 'Rossi~X1', FlStato = '0' WHERE NumProg <= 3");
  const Uscita u = Esegui(Batch_("auto --clienti --massimo 0 --yes"));
  EXPECT_EQ(u.codice, 1) << u.testo;
  EXPECT_NE(u.testo.find("Indicare l'importo massimo per il compensato."), std::string::npos) << u.testo;
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE FlStato IS NOT NULL"), 0);
}

TEST_P(Batch, ElencoERipristino) {
  database_->executor().Execute(database_->conn(),
                                "UPDATE Scadenze SET Utente = 'Rossi~X1', FlStato = '0' WHERE NumProg <= 3");
  Uscita u = Esegui(Batch_("list"));
  ASSERT_EQ(u.codice, 0) << u.testo;
  EXPECT_NE(u.testo.find("Rossi~X1\t-\t10\t"), std::string::npos) << u.testo;
  u = Esegui(Batch_("recover --utente Rossi~X1 --flag 10"));
  ASSERT_EQ(u.codice, 0) << u.testo;
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE FlStato IS NOT NULL"), 0);
  u = Esegui(Batch_("list"));
  EXPECT_EQ(u.testo, "");
}

// Two processes of one operator: the first is held mid-run, in each of the
// states a crash could leave, while the second runs its start-up check, an
// explicit recovery and the list. The live run is left alone and completes;
// killed, it is recovered by the next check.
TEST_P(Batch, IlRunDiUnProcessoVivoNonSiRipristina) {
  struct Caso {
    const char* nome;
    const char* ferma;  // where the first run is held
    const char* ripristinato;
  };
  const Caso casi[] = {
      {"riservate, copia non ancora fatta", "WHERE false", nullptr},
      {"fase 1, prima di registrare", "AS Restituisci FROM AppoggioTemp", "E' stata completata"},
  };
  bool primaVolta = true;
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    for (const bool uccidi : {false, true}) {
      SCOPED_TRACE(uccidi ? "poi ucciso" : "poi prosegue");
      if (!primaVolta) {
        TearDown();
        SetUp();
      }
      primaVolta = false;
      const double aperte = Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE NumRegPag IS NULL");
      Sfondo primo;
      Avvia(primo, Batch_(std::string(kRun) + " --yes"), caso.ferma, "primo");
      ASSERT_TRUE(primo.Fermo()) << primo.Testo();
      const double riservate = Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE FlStato = '0'");
      ASSERT_GT(riservate, 0);
      const double parametri = Numero("SELECT COUNT(*) AS N FROM AppoggioTemp");
      ASSERT_GT(parametri, 0);
      const double copia = Numero("SELECT COUNT(*) AS N FROM ScadenzeApp");

      Uscita u = Esegui(Batch_("recover"));
      EXPECT_EQ(u.codice, 0) << u.testo;
      EXPECT_EQ(u.testo.find("ATTENZIONE"), std::string::npos) << u.testo;
      u = Esegui(Batch_("list"));
      EXPECT_NE(u.testo.find("In uso"), std::string::npos) << u.testo;
      db::DbCursor c;
      const std::string k =
          c.Open(database_->executor(), database_->conn(), "",
                 "SELECT Utente FROM Scadenze WHERE FlStato = '0' GROUP BY Utente", false, db::kSnapshot);
      const std::string utente = c.GetField(k, "Utente").toText();
      c.Close(k);
      u = Esegui(Batch_("recover --utente " + Virgolette(utente) + " --flag 10"));
      EXPECT_NE(u.codice, 0) << u.testo;
      EXPECT_NE(u.testo.find("ancora in corso"), std::string::npos) << u.testo;
      EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE FlStato = '0'"), riservate);
      EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM AppoggioTemp"), parametri);
      EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM ScadenzeApp"), copia);

      if (!uccidi) {
        EXPECT_EQ(primo.Prosegui(), 0) << primo.Testo();
        EXPECT_NE(primo.Testo().find("Movimento 2026/"), std::string::npos) << primo.Testo();
      } else {
        primo.Uccidi();
        u = Esegui(Batch_("recover"));
        EXPECT_EQ(u.codice, 0) << u.testo;
        if (caso.ripristinato) {
          EXPECT_NE(u.testo.find(caso.ripristinato), std::string::npos) << u.testo;
        }
      }
      const double ancoraAperte = Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE NumRegPag IS NULL");
      if (!uccidi || caso.ripristinato) {
        EXPECT_LT(ancoraAperte, aperte);
      } else {
        EXPECT_EQ(ancoraAperte, aperte);
      }
      EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE Utente <> ' ' OR FlStato IS NOT NULL"), 0);
      EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM ScadenzeApp"), 0);
      EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM AppoggioTemp"), 0);
      EXPECT_EQ(testsupport::VerificaInvarianti(database_->executor(), database_->conn()), "");
    }
  }
}

// The program and a batch of one host session share the session's identity.
// Whichever starts second finds the identity's live mark held: it tells the
// operator, ends with a failure and writes nothing. Another identity of the
// operator, in the program, leaves the live run alone, which then completes.
TEST_P(Batch, IlProgrammaEIlBatchDiUnaIdentitaSiEscludono) {
  const auto conta = [this] {
    return std::vector<double>{Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE FlStato IS NOT NULL"),
                               Numero("SELECT COUNT(*) AS N FROM AppoggioTemp"),
                               Numero("SELECT COUNT(*) AS N FROM ScadenzeApp"),
                               Numero("SELECT COUNT(*) AS N FROM MovPnTes")};
  };
  // The program started by its host, in this process, on the batch's company.
  const auto programma = [this](const std::string& identita) {
    auto b = std::make_unique<testsupport::Banco>(GetParam());
    b->host.parametri["NomeDBAzie"] = database_->name();
    b->host.operatore = identita.substr(0, identita.find('~'));
    b->host.identita = identita;
    b->Avvia("/M M1 /F FrmSaldaSelezioni");
    return b;
  };

  // The batch first, held once it has reserved its installments.
  {
    Sfondo primo;
    Avvia(primo, Batch_(std::string(kRun) + " --yes"), "WHERE false", "primo");
    ASSERT_TRUE(primo.Fermo()) << primo.Testo();
    db::DbCursor c;
    const std::string k =
        c.Open(database_->executor(), database_->conn(), "",
               "SELECT Utente FROM Scadenze WHERE FlStato = '0' GROUP BY Utente", false, db::kSnapshot);
    const std::string utente = c.GetField(k, "Utente").toText();
    c.Close(k);
    ASSERT_NE(utente.find('~'), std::string::npos) << utente;
    const auto prima = conta();

    {
      SCOPED_TRACE("il programma della stessa identita'");
      const auto b = programma(utente);
      ASSERT_EQ(b->op.messaggi.size(), 1u) << b->op.Elenco();
      EXPECT_EQ(b->op.messaggi[0].testo, compensato::TestoIdentitaInUso(utente));
      EXPECT_EQ(b->Schermo("FrmSaldaSelezioni"), nullptr);
      EXPECT_TRUE(b->pf.terminato);
      EXPECT_EQ(b->pf.codiceUscita, 1);
    }
    EXPECT_EQ(conta(), prima);
    {
      SCOPED_TRACE("il programma di un'altra identita' dell'operatore");
      const auto b = programma(utente.substr(0, utente.find('~')) + "~T9");
      ASSERT_FALSE(b->pf.terminato) << b->op.Elenco();
      EXPECT_EQ(compensato::Controllo_Elaborazione(*b->ctx), 0) << b->op.Elenco();
      compensato::FinestraRipristino finestra;
      finestra.Carica(*b->ctx, 1);
      const auto& righe = finestra.Righe();
      const auto riga = std::find_if(righe.begin(), righe.end(),
                                     [&](const compensato::IdentitaBloccata& r) { return r.utente == utente; });
      ASSERT_NE(riga, righe.end());
      finestra.corrente = static_cast<int>(riga - righe.begin());
      EXPECT_EQ(finestra.Elabora(*b->ctx), compensato::FinestraRipristino::Dopo::Resta);
    }
    EXPECT_EQ(conta(), prima);
    EXPECT_EQ(primo.Prosegui(), 0) << primo.Testo();
    EXPECT_NE(primo.Testo().find("Movimento 2026/"), std::string::npos) << primo.Testo();
  }
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE Utente <> ' ' OR FlStato IS NOT NULL"), 0);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM AppoggioTemp"), 0);

  // The program first: a host session whose identity the program holds, and
  // a batch asking that host.
  const std::filesystem::path runtime =
      std::filesystem::temp_directory_path() / ("compensato-sessione-" + std::to_string(::getpid()));
  std::filesystem::create_directories(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
  ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  const std::string istanza = "B" + std::to_string(::getpid());
  const pid_t menu = fork();
  if (menu == 0) {
    setpgid(0, 0);
    std::freopen("/dev/null", "w", stderr);
    // The launched program only has to stay; it is given the host's switches.
    execl(MENUHOST_EXE, MENUHOST_EXE, "run", "--params", params_.c_str(), "--instance", istanza.c_str(), "--",
          "/bin/sh", "-c", "sleep 600", "sh", static_cast<char*>(nullptr));
    _exit(127);
  }
  std::string identita;
  for (int i = 0; i < 100 && identita.empty(); ++i) {
    try {
      host::SocketMenuHost h;
      h.Collega(istanza);
      identita = h.UserIdentity();
    } catch (const std::exception&) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  ASSERT_FALSE(identita.empty()) << "the host did not come up";
  const std::string batch = std::string(COMPENSATO_BATCH) + " " + kRun + " --yes --menu " + istanza;
  {
    const auto b = programma(identita);
    ASSERT_FALSE(b->pf.terminato) << b->op.Elenco();
    const auto prima = conta();
    const Uscita u = Esegui(batch);
    EXPECT_EQ(u.codice, 1) << u.testo;
    EXPECT_NE(u.testo.find(compensato::TestoIdentitaInUso(identita)), std::string::npos) << u.testo;
    EXPECT_EQ(u.testo.find("Movimento"), std::string::npos) << u.testo;
    EXPECT_EQ(conta(), prima);
  }
  // The program gone, the same batch runs.
  const Uscita u = Esegui(batch);
  EXPECT_EQ(u.codice, 0) << u.testo;
  EXPECT_NE(u.testo.find("Movimento 2026/"), std::string::npos) << u.testo;
  ::kill(-menu, SIGKILL);
  ::waitpid(menu, nullptr, 0);
  std::filesystem::remove_all(runtime);
  EXPECT_EQ(testsupport::VerificaInvarianti(database_->executor(), database_->conn()), "");
}

TEST_P(Batch, ArgomentiSbagliati) {
  EXPECT_EQ(Esegui(std::string(COMPENSATO_BATCH) + " sconosciuto").codice, 2);
  EXPECT_EQ(Esegui(std::string(COMPENSATO_BATCH) + " auto --massimo").codice, 2);
  EXPECT_EQ(Esegui(std::string(COMPENSATO_BATCH) + " list --utente X").codice, 2);
  // Without its parameters the company would run on made-up values.
  const double prima = Numero("SELECT COUNT(*) AS N FROM MovPnTes");
  const Uscita u = Esegui(std::string(COMPENSATO_BATCH) + " " + kRun + " --yes --params /nonesiste/menuhost.ini --db " +
                          Virgolette(database_->name()));
  EXPECT_EQ(u.codice, 2) << u.testo;
  EXPECT_NE(u.testo.find("file dei parametri non leggibile"), std::string::npos) << u.testo;
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM MovPnTes"), prima);
}

TEST_P(Batch, ValoriNumericiFuoriLimiteONonNumerici) {
  struct Caso {
    const char* opzione;
    const char* messaggio;
  };
  // A year that a 16-bit field would wrap into 2026 must not run as 2026.
  const Caso casi[] = {
      {"--anno 67562", "--anno: \"67562\" fuori dai limiti"},
      {"--anno abc", "--anno: \"abc\" non è un numero intero"},
      {"--massimo abc", "--massimo: \"abc\" non è un numero"},
      {"--cambio 1e300", "--cambio: \"1e300\" fuori dai limiti"},
      {"--ordine 4", "--ordine: \"4\" fuori dai limiti 1..3"},
      {"--num-prot 3000000000", "--num-prot: \"3000000000\" fuori dai limiti"},
      {"--scad-da 32/13/2026", "--scad-da: \"32/13/2026\" non è una data"},
  };
  const double prima = Numero("SELECT COUNT(*) AS N FROM MovPnTes");
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.opzione);
    const Uscita u = Esegui(Batch_(std::string(kRun) + " " + c.opzione + " --yes"));
    EXPECT_EQ(u.codice, 2) << u.testo;
    EXPECT_NE(u.testo.find(c.messaggio), std::string::npos) << u.testo;
  }
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM MovPnTes"), prima);
}

INSTANTIATE_TEST_SUITE_P(Motori, Batch, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
