// A settlement done at the keyboard, end to end: the program under the real
// reference host on the demo company, an operator typing into the selection
// screen, the lookup window and the worklist grid, and the database checked
// afterwards; then the same run killed, and what the next starts make of it.
#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "components/db/DbCursor.h"
#include "components/db/DbExecutor.h"
#include "tests/e2e/Sessione.h"
#include "tests/support/Invarianti.h"

namespace {

using e2e::Leggi;
using testsupport::Engine;
namespace fs = std::filesystem;

// Four installments of a customer of its own, 14-01-000099, so that the
// worklist shows only them, in document order: an invoice of 500 paid in
// full, one of 300 paid 100 (a rest of 200 stays open), one of 200 paid 205
// (5 of allowance) and a credit note of 50.
constexpr const char* kCliente = "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES "
                                 "('14', '01', '000099', 3, 'Zeta Prove S.r.l.')";
struct Rata {
  int numProg;
  const char* numDoc;
  const char* entrataUscita;
  double importo;
};
constexpr Rata kRate[] = {
    {9001, "F1", "E", 500}, {9002, "F2", "E", 300}, {9003, "F3", "E", 200}, {9004, "NC1", "U", 50}};

// The operator's keys: the customer found by F2 on its code, the defaults
// kept, Conferma; in the grid a full payment, a partial one, an overpayment
// and the credit note, then Conferma and "Si".
constexpr const char* kSelezione = R"(attendi FrmSaldaSelezioni
pausa 300
vai Txt_10
tasto F2
attendi frmRicerca
scrivi 1401000099
pausa 300
vedi Zeta Prove S.r.l.
tasto Return
attendi FrmSaldaSelezioni
tasto Tab
tasto Alt+C
attendi frmSaldaLista
)";
constexpr const char* kGriglia = R"(# F1: the paid column opens with the due amount
tasto Return
pausa 100
tasto Return
tasto Down
tasto Left
# F2: 100 of 300
tasto Return
pausa 100
tasto Home
tasto Shift+End
scrivi 100
tasto Return
tasto Down
tasto Left
# F3: 205 of 200
tasto Return
pausa 100
tasto Home
tasto Shift+End
scrivi 205
tasto Return
tasto Down
tasto Left
# NC1: the credit note in full
tasto Return
pausa 100
tasto Return
tasto Alt+C
messaggio Confermi
tasto Return
)";
constexpr const char* kEsci = R"(attendi FrmSaldaSelezioni
pausa 300
tasto Alt+S
)";

class Interattiva : public ::testing::TestWithParam<Engine> {
 protected:
  Interattiva() : s_(GetParam()) {
    conn_ = db_.OpenDatabase(s_.nomeDb_);
    db_.Execute(conn_, kCliente);
    for (const Rata& r : kRate)
      db_.Execute(conn_, "INSERT INTO Scadenze (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, DataScad, "
                         "PagTipo, Prefisso, NumDoc, DataDoc, Rata, Moneta, Cambio, EntrataUscita, ImportoScad, "
                         "ImportoScadEuro, ImportoScadLire, ImpPagInc, StatoScad, Utente) VALUES (2026, " +
                             std::to_string(r.numProg) + ", 3, '14', '01', '000099', #2026-11-30#, 'RD', 'V', '" +
                             r.numDoc + "', #2026-10-0" + std::to_string(r.numProg - 9000) + "#, 1, 'Euro', 1, '" +
                             r.entrataUscita + "', " + std::to_string(r.importo) + ", " + std::to_string(r.importo) +
                             ", 0, 0, '', ' ')");
    registrazioni_ = Numero("SELECT COUNT(*) AS V FROM MovPnTes");
  }

  // The host's parameters for the next session: who is at the keyboard and
  // which screen the program opens on.
  void Operatore(const std::string& nome, const std::string& form = "FrmSaldaSelezioni") {
    const fs::path file = s_.dir_ / "params.ini";
    std::string testo = Leggi(file);
    testo = std::regex_replace(testo, std::regex("\nOperatorName=[^\n]*"), "\nOperatorName=" + nome);
    testo = std::regex_replace(testo, std::regex("\nForm=[^\n]*"), "");
    testo = std::regex_replace(testo, std::regex("\\[Host\\]\n"), "[Host]\nForm=" + form + "\n");
    std::ofstream(file) << testo;
  }
  // Starts a session playing the script.
  void Lancia(const std::string& script) {
    std::ofstream(s_.dir_ / "scenario.txt") << script;
    ::setenv("COMPENSATO_SCENARIO", (s_.dir_ / "scenario.txt").c_str(), 1);
    ::setenv("COMPENSATO_SCENARIO_ESITO", (s_.dir_ / "esito.txt").c_str(), 1);
    s_.Avvia("[Parametri Generali]\nOrdIniDBase=db.ini\n", SCENARIO_EXE);
  }
  // With COMPENSATO_SCREENSHOTS=<folder>, a step that keeps a picture of the
  // active window there; otherwise nothing.
  static std::string Foto(const std::string& nome) {
    const char* cartella = std::getenv("COMPENSATO_SCREENSHOTS");
    return cartella ? "pausa 300\nfoto " + std::string(cartella) + "/" + nome + ".png\n" : "";
  }
  // Runs one session with the script to its end; the result file's text.
  std::string Gioca(const std::string& script, int secondi = 60) {
    Lancia(script);
    const int rc = s_.Fine(secondi);
    EXPECT_EQ(rc, 0) << Leggi(s_.dir_ / "esito.txt") << Leggi(s_.dir_ / "host.log");
    return Leggi(s_.dir_ / "esito.txt");
  }
  // Waits until `vero` holds, for at most 30 s.
  template <class F>
  static bool Attendi(F vero) {
    for (int i = 0; i < 300; ++i) {
      if (vero()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
  // The program the session's host launched; 0 while there is none.
  pid_t Programma() const {
    const std::string p = e2e::Esegui("pgrep -P " + std::to_string(s_.host_) + " | head -1");
    return p.empty() ? 0 : static_cast<pid_t>(std::stol(p));
  }
  static char Stato(pid_t pid) {
    const std::string stat = Leggi("/proc/" + std::to_string(pid) + "/stat");
    const size_t p = stat.rfind(')');
    return p == std::string::npos || p + 2 >= stat.size() ? '?' : stat[p + 2];
  }
  // Kills the program as a power cut would, and lets its host go.
  void Uccidi(pid_t pid) {
    ::kill(pid, SIGKILL);
    if (s_.Fine(20) == -1) {
      ::kill(-s_.host_, SIGKILL);
      s_.Fine(5);
    }
  }
  // The value a query names V.
  double Numero(const std::string& sql) {
    db::DbCursor c;
    const std::string k = c.Open(db_, conn_, "", sql, false, db::kSnapshot);
    const double v = c.IsEmpty(k) ? 0 : c.GetField(k, "V").toDouble();
    c.Close(k);
    return v;
  }
  // Checks the run's effects: one new registration, balanced, the paid
  // installments referring to it, the rest installment, nothing left over.
  void Verifica() {
    EXPECT_EQ(Numero("SELECT COUNT(*) AS V FROM MovPnTes"), registrazioni_ + 1);
    const double numReg = Numero("SELECT MAX(NumReg) AS V FROM MovPnTes");
    for (int n : {9001, 9002, 9003, 9004})
      EXPECT_EQ(Numero("SELECT NumRegPag AS V FROM Scadenze WHERE NumProg = " + std::to_string(n)), numReg) << n;
    EXPECT_EQ(Numero("SELECT ImportoScad AS V FROM Scadenze WHERE NumProg = 9002"), 100)
        << "paid in part: the rest went to a new one";
    EXPECT_EQ(Numero("SELECT COUNT(*) AS V FROM Scadenze WHERE ContoScad = '000099' AND NumRegPag IS NULL AND "
                     "ImportoScad = 200 AND NumProg > 9004"),
              1)
        << "the rest installment";
    EXPECT_EQ(Numero("SELECT MAX(NumProg) AS V FROM Scadenze WHERE Anno = 2026"),
              Numero("SELECT NumProg AS V FROM Scadenze WHERE ContoScad = '000099' AND NumRegPag IS NULL"))
        << "the rest takes the next number";
    // 500 + 100 + 205 - 50 received in cash; 5 of allowance.
    EXPECT_EQ(Numero("SELECT SUM(Importo) AS V FROM MovPnDett WHERE NumReg = " + std::to_string(numReg) +
                     " AND GruppoPartita = '18' AND DareAvere = 'D'"),
              755);
    EXPECT_EQ(testsupport::VerificaInvarianti(db_, conn_), "");
    EXPECT_EQ(Numero("SELECT COUNT(*) AS V FROM Scadenze WHERE Utente <> ' ' OR FlStato IS NOT NULL"), 0);
    EXPECT_EQ(Numero("SELECT COUNT(*) AS V FROM ScadenzeApp"), 0);
    EXPECT_EQ(Numero("SELECT COUNT(*) AS V FROM AppoggioTemp"), 0);
  }

  e2e::Sessione s_;
  db::DbExecutor db_;
  std::string conn_;
  double registrazioni_ = 0;
};

TEST_P(Interattiva, ASettlementTypedEndToEnd) {
  Operatore("Rossi");
  std::string script = std::string(kSelezione) + kGriglia + kEsci;
  if (std::getenv("COMPENSATO_SCREENSHOTS")) {
    // The pictures of the walk-through, each where the operator would look.
    auto prima = [&script](const std::string& passi, const std::string& foto) {
      script.replace(script.find(passi), 0, foto);
    };
    prima("tasto Return\nattendi FrmSaldaSelezioni", Foto("ricerca"));
    prima("tasto Alt+C\nattendi frmSaldaLista", Foto("selezione"));
    prima("tasto Alt+C\nmessaggio Confermi", "tasto Up\n" + Foto("lista"));
    prima("tasto Return\nattendi FrmSaldaSelezioni\npausa 300\ntasto Alt+S", Foto("conferma"));
  }
  const std::string esito = Gioca(script);
  ASSERT_NE(esito.find("fatto"), std::string::npos) << esito << Leggi(s_.dir_ / "host.log");
  Verifica();
}

// A wrong field stops the confirmation with its message; mended, an
// automatic run from the screen settles the customer's four installments.
TEST_P(Interattiva, AWrongFieldStopsTheStartThenAnAutomaticRun) {
  Operatore("Rossi");
  std::string script = kSelezione;
  script = script.substr(0, script.find("tasto Alt+C"));
  script += R"(vai Txt_130
scrivi 0
tasto Tab
messaggio Indicare l'importo massimo per il compensato.
tasto Return
attendi FrmSaldaSelezioni
tasto Alt+C
messaggio Ci sono dei dati errati. Non è possibile continuare l'elaborazione
tasto Return
attendi FrmSaldaSelezioni
vai Txt_130
scrivi 5000
tasto Tab
vai OptTipoElab_1
tasto Left
tasto Alt+C
messaggio Confermi l'elaborazione automatica delle scadenze ?
tasto Return
)";
  const std::string esito = Gioca(script + kEsci);
  ASSERT_NE(esito.find("fatto"), std::string::npos) << esito << Leggi(s_.dir_ / "host.log");
  EXPECT_EQ(Numero("SELECT COUNT(*) AS V FROM MovPnTes"), registrazioni_ + 1);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS V FROM Scadenze WHERE NumProg > 9000 AND NumRegPag IS NOT NULL"), 4);
  // 500 + 300 + 200 - 50 received in cash.
  EXPECT_EQ(Numero("SELECT SUM(Importo) AS V FROM MovPnDett WHERE NumReg = " +
                   std::to_string(Numero("SELECT MAX(NumReg) AS V FROM MovPnTes")) +
                   " AND GruppoPartita = '18' AND DareAvere = 'D'"),
            950);
  EXPECT_EQ(testsupport::VerificaInvarianti(db_, conn_), "");
  EXPECT_EQ(Numero("SELECT COUNT(*) AS V FROM Scadenze WHERE Utente <> ' ' OR FlStato IS NOT NULL"), 0);
}

// Killed once the run has started writing, the run is completed by the
// recovery window of another operator, and the killed operator's next start
// finds nothing left to do.
TEST_P(Interattiva, ARunKilledAfterTheConfirmationIsRecoveredByTheWindow) {
  Operatore("Rossi");
  // Held once the run has marked its installments and opens the entry's tables.
  ::setenv("COMPENSATO_DB_STOP_ON", "from MovPnDettApp where false", 1);
  Lancia(std::string(kSelezione) + kGriglia);
  ::unsetenv("COMPENSATO_DB_STOP_ON");
  pid_t pid = 0;
  ASSERT_TRUE(Attendi([&] { return (pid = Programma()) != 0 && Stato(pid) == 'T'; }))
      << Leggi(s_.dir_ / "esito.txt") << Leggi(s_.dir_ / "host.log");
  Uccidi(pid);
  ASSERT_GT(Numero("SELECT COUNT(*) AS V FROM Scadenze WHERE FlStato IS NOT NULL"), 0) << "left reserved";

  // Support staff open the recovery window: the killed run's row, recovered.
  Operatore("Bianchi", "frmRipriSal");
  std::string esito =
      Gioca("attendi frmRipriSal\nvedi Rossi~\n"
            "vedi Trovato scadenze da elaborare: il ripristino procede all'elaborazione del compensato\n" +
            Foto("recupero") + "tasto Alt+E\n");
  EXPECT_NE(esito.find("fatto"), std::string::npos) << esito << Leggi(s_.dir_ / "host.log");
  Verifica();

  // The killed operator starts again: no message, the screen is ready.
  Operatore("Rossi");
  esito = Gioca("attendi FrmSaldaSelezioni\npausa 1500\nattendi FrmSaldaSelezioni\ntasto Alt+S\n");
  EXPECT_NE(esito.find("fatto"), std::string::npos) << esito << Leggi(s_.dir_ / "host.log");
  Verifica();
}

// Killed with the worklist open, the run is undone by the operator's next start.
TEST_P(Interattiva, ARunKilledWithTheWorklistOpenIsUndoneAtTheNextStart) {
  Operatore("Rossi");
  Lancia(std::string(kSelezione) + "segna lista\npausa 60000\n");
  ASSERT_TRUE(Attendi([&] { return Leggi(s_.dir_ / "esito.txt").find("lista") != std::string::npos; }))
      << Leggi(s_.dir_ / "esito.txt") << Leggi(s_.dir_ / "host.log");
  ASSERT_EQ(Numero("SELECT COUNT(*) AS V FROM ScadenzeApp"), 4);
  Uccidi(Programma());

  const std::string esito =
      Gioca("messaggio ATTENZIONE: l'ultima elaborazione è stata interrotta\ntasto Return\n"
            "messaggio E' stata completamente annullata l'ultima elaborazione effettuata\ntasto Return\n" +
            std::string(kEsci));
  EXPECT_NE(esito.find("fatto"), std::string::npos) << esito << Leggi(s_.dir_ / "host.log");
  EXPECT_EQ(Numero("SELECT COUNT(*) AS V FROM MovPnTes"), registrazioni_);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS V FROM Scadenze WHERE NumProg > 9000 AND NumRegPag IS NULL"), 4);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS V FROM Scadenze WHERE Utente <> ' ' OR FlStato IS NOT NULL"), 0);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS V FROM ScadenzeApp"), 0);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS V FROM AppoggioTemp"), 0);
}

INSTANTIATE_TEST_SUITE_P(Motori, Interattiva, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
