// The settlement run end to end on a small company: the worklist run, the
// automatic run and the run engine's checks, on every engine.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <thread>

#include "src/data/AppoTemp.h"
#include "src/extraction/Blocco.h"
#include "src/extraction/CopiaScadenze.h"
#include "src/extraction/FiltroScadenze.h"
#include "src/extraction/Selezioni.h"
#include "src/selection/Elabora.h"
#include "src/settlement/Elaborazione.h"
#include "tests/src/settlement/AziendaProva.h"

namespace {

using compensato::Elabora;
using testsupport::AziendaProva;
using testsupport::Campi;
using testsupport::GrigliaProva;
using testsupport::NuovaScadenza;

std::string Importo(const std::string& testo) {
  char s[32];
  std::snprintf(s, sizeof s, "%.2f", util::Value(testo).toDouble());
  return s;
}

// The lines of the posted entries: "RigReg conto D/A importo", by line number.
std::vector<std::string> RighePostate(AziendaProva& a) {
  std::vector<std::string> out;
  for (const std::string& r : a.Righe("SELECT RigReg, GruppoPartita & '-' & MastroPartita & '-' & "
                                      "ContoPartita, DareAvere, Importo FROM MovPnDett "
                                      "ORDER BY Anno, NumReg, RigReg")) {
    const std::vector<std::string> v = Campi(r);
    out.push_back(v[0] + " " + v[1] + " " + v[2] + " " + Importo(v[3]));
  }
  return out;
}

// After a run: nothing reserved, no working copy, no lock, no staged line,
// every posted entry balanced and the running totals equal to the lines.
void NessunaTracciaIn(AziendaProva& a) {
  EXPECT_EQ(a.Numero("SELECT COUNT(*) FROM Scadenze WHERE Utente <> ' ' OR FlStato IS NOT NULL"), 0);
  EXPECT_EQ(a.Numero("SELECT COUNT(*) FROM ScadenzeApp"), 0);
  EXPECT_EQ(a.Numero("SELECT COUNT(*) FROM LockGest"), 0);
  EXPECT_EQ(a.Numero("SELECT COUNT(*) FROM MovPnDettApp"), 0);
  EXPECT_EQ(a.Invarianti(), "");
}

// Makes the engine refuse an event on a table while a condition on the row
// holds (NEW for inserts and updates, OLD for deletes): the error an
// unexpected database failure gives the run.
void Rifiuta(compensato::Contesto& ctx, testsupport::Engine e, const std::string& nome, const std::string& evento,
             const std::string& tabella, const std::string& quandoSqlite, const std::string& quandoPg) {
  if (e == testsupport::Engine::Sqlite) {
    ctx.db.Execute(ctx.conn,
                   "CREATE TRIGGER " + nome + " BEFORE " + evento + " ON " + tabella + " WHEN " + quandoSqlite +
                       " BEGIN SELECT RAISE(ABORT, '" + nome + "'); END",
                   db::kPassThrough);
  } else {
    ctx.db.Execute(ctx.conn,
                   "CREATE FUNCTION " + nome + "() RETURNS trigger AS $$ BEGIN IF " + quandoPg +
                       " THEN RAISE EXCEPTION '" + nome +
                       "'; END IF; IF TG_OP = 'DELETE' THEN RETURN OLD; END IF; RETURN NEW; END $$ "
                       "LANGUAGE plpgsql",
                   db::kPassThrough);
    ctx.db.Execute(ctx.conn,
                   "CREATE TRIGGER " + nome + " BEFORE " + evento + " ON \"" + tabella +
                       "\" FOR EACH ROW EXECUTE FUNCTION " + nome + "()",
                   db::kPassThrough);
  }
}

// Every line of the posted entries in full: "RigReg account D/A ImportoMon
// Importo counter-account", accounts as Tipo-Gruppo-Mastro-Conto.
std::vector<std::string> RigheComplete(AziendaProva& a) {
  std::vector<std::string> out;
  for (const std::string& r : a.Righe(
           "SELECT RigReg, TipoPartita & '-' & GruppoPartita & '-' & MastroPartita & '-' & ContoPartita, DareAvere, "
           "ImportoMon, Importo, TipoCPartita & '-' & GruppoCPartita & '-' & MastroCPartita & '-' & ContoCPartita "
           "FROM MovPnDett ORDER BY Anno, NumReg, RigReg")) {
    const std::vector<std::string> v = Campi(r);
    out.push_back(v[0] + " " + v[1] + " " + v[2] + " " + Importo(v[3]) + " " + Importo(v[4]) + " " + v[5]);
  }
  return out;
}

// A second currency: dollars, 1.25 to the euro ("/": euro = dollars / 1.25).
void Dollari(AziendaProva& a) {
  a.ctx().db.Execute(a.ctx().conn, "INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Operatore, Cee) "
                                   "VALUES ('USD', 'Dollaro', 2, 2, '/', 'N')");
  a.ctx().db.Execute(a.ctx().conn, "UPDATE Scadenze SET Moneta = 'USD', Cambio = 1.25");
}

compensato::SelezioneRun InDollari(compensato::SelezioneRun s) {
  s.moneta = "USD";
  s.cambio = 1.25;
  s.operatoreMoneta = "/";
  return s;
}

class Elaborazione : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  AziendaProva az{GetParam()};

  std::vector<std::string> Righe() { return RighePostate(az); }
  double Conta(const std::string& sql) { return az.Numero(sql); }
  void NessunaTraccia() { NessunaTracciaIn(az); }
};

struct CasoSaldo {
  const char* nome;
  const char* stato;
  double pagato;
  std::vector<std::string> righe;
  std::vector<std::string> scadenze;  // "NumProg ImportoScad pagata(S/N)"
};

}  // namespace

// The worked balances of a customer receipt on an installment of 100.
TEST_P(Elaborazione, SaldiDiUnaScadenzaDiCento) {
  // clang-format off
  const CasoSaldo casi[] = {
      {"pagata 110 e chiusa",
       "C",
       110,
       {"1 18-01-000001 D 100.00", "2 14-01-000001 A 100.00", "3 70-05-000001 A 10.00",
        "4 18-01-000001 D 10.00"},
       {"1 100.00 S"}},
      {"pagata 90 e chiusa",
       "C",
       90,
       {"1 18-01-000001 D 90.00", "2 14-01-000001 A 90.00", "3 62-05-000001 D 10.00",
        "4 14-01-000001 A 10.00"},
       {"1 100.00 S"}},
      {"acconto di 40",
       "A",
       40,
       {"1 18-01-000001 D 40.00", "2 14-01-000001 A 40.00"},
       {"1 40.00 S", "2 60.00 N"}},
      {"pagata esatta", "C", 100, {"1 18-01-000001 D 100.00", "2 14-01-000001 A 100.00"}, {"1 100.00 S"}},
  };
  // clang-format on
  for (const CasoSaldo& caso : casi) {
    SCOPED_TRACE(caso.nome);
    AziendaProva a(GetParam());
    a.Inserisci({.numProg = 1, .importo = 100});
    GrigliaProva griglia;
    griglia.scelte = {{1, caso.stato, caso.pagato}};
    ASSERT_EQ(Elabora(a.ctx(), a.Selezione(false), &griglia), 0) << a.op.Elenco();
    EXPECT_EQ(griglia.esitoElab, 0) << a.op.Elenco();

    EXPECT_EQ(RighePostate(a), caso.righe);

    std::vector<std::string> scadenze;
    const int32_t numReg = static_cast<int32_t>(a.Numero("SELECT MAX(NumReg) FROM MovPnTes"));
    for (const std::string& r :
         a.Righe("SELECT NumProg, ImportoScad, NumRegPag, RigLivPag FROM Scadenze ORDER BY NumProg")) {
      const std::vector<std::string> v = Campi(r);
      const bool pagata = !v[2].empty() && util::Value(v[2]).toLong() == numReg;
      if (pagata) {
        EXPECT_EQ(util::Value(v[3]).toLong(), 2) << "the installment's own line";
      }
      scadenze.push_back(v[0] + " " + Importo(v[1]) + (pagata ? " S" : " N"));
    }
    EXPECT_EQ(scadenze, caso.scadenze);
    NessunaTracciaIn(a);
  }
}

// Overpaid installments of both directions in one customer run: an invoice
// paid 110 of 100 and a credit note refunded 60 of 50 (typed negative, as the
// grid shows it). The cash moved is 50 in.
TEST_P(Elaborazione, EccedenzeDiEntrambiIVersiBilanciano) {
  az.Inserisci({.numProg = 1, .entrataUscita = "E", .importo = 100});
  az.Inserisci({.numProg = 2, .conto = "000002", .entrataUscita = "U", .importo = 50});
  GrigliaProva griglia;
  griglia.scelte = {{1, "C", 110}, {2, "C", -60}};
  ASSERT_EQ(Elabora(az.ctx(), az.Selezione(false), &griglia), 0) << az.op.Elenco();
  ASSERT_EQ(griglia.esitoElab, 0) << az.op.Elenco();
  const std::vector<std::string> righe = Righe();
  ASSERT_FALSE(righe.empty());
  EXPECT_EQ(righe.front(), "1 18-01-000001 D 50.00");
  EXPECT_EQ(righe.size(), 7u);
  NessunaTraccia();
}

TEST_P(Elaborazione, PagamentoFornitoreChiusuraInAvere) {
  az.Inserisci({.numProg = 1, .tipo = 2, .entrataUscita = "U", .importo = 250});
  GrigliaProva griglia;
  griglia.scelte = {{1, "C", 250}};
  ASSERT_EQ(Elabora(az.ctx(), az.Selezione(false, 2), &griglia), 0) << az.op.Elenco();
  EXPECT_EQ(Righe(), (std::vector<std::string>{"1 18-01-000001 A 250.00", "2 40-01-000001 D 250.00"}));
  NessunaTraccia();
}

TEST_P(Elaborazione, ListaSenzaNullaDiSaldatoNonScriveMovimento) {
  az.Inserisci({.numProg = 1});
  az.Inserisci({.numProg = 2, .conto = "000002"});
  GrigliaProva griglia;
  ASSERT_EQ(Elabora(az.ctx(), az.Selezione(false), &griglia), 0);
  EXPECT_TRUE(az.op.Mostrato("Attenzione: Nessuna scadenza è stata selezionata e quindi messa in compensato"))
      << az.op.Elenco();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnTes"), 0);
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag IS NOT NULL"), 0);
  NessunaTraccia();
}

TEST_P(Elaborazione, SelezioneVuotaNonLasciaParametri) {
  GrigliaProva griglia;
  ASSERT_EQ(Elabora(az.ctx(), az.Selezione(false), &griglia), 0);
  EXPECT_TRUE(az.op.Mostrato("Non ci sono scadenze che rientrano nelle selezioni"));
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM AppoggioTemp"), 0);
  NessunaTraccia();
}

TEST_P(Elaborazione, PiuScadenzeNessunRiferimentoDocumentoInTestata) {
  az.Inserisci({.numProg = 1, .importo = 100});
  az.Inserisci({.numProg = 2, .conto = "000002", .importo = 200});
  GrigliaProva griglia;
  griglia.scelte = {{1, "C", 100}, {2, "C", 200}};
  ASSERT_EQ(Elabora(az.ctx(), az.Selezione(false), &griglia), 0) << az.op.Elenco();
  EXPECT_EQ(az.Righe("SELECT NumDoc FROM MovPnTes"), std::vector<std::string>{""});
  EXPECT_EQ(Conta("SELECT COUNT(DISTINCT NumRegPag) FROM Scadenze"), 1);
  EXPECT_EQ(Righe().front(), "1 18-01-000001 D 300.00");
  NessunaTraccia();
}

// The automatic run takes installments in worklist order while their signed
// total stays within the maximum: 400 yes, 700 no (1100), 500 yes, 100 yes,
// then the total equals the maximum and the run stops.
TEST_P(Elaborazione, AutomaticaEntroIlMassimo) {
  const double importi[] = {400, 700, 500, 100, 50};
  int32_t n = 0;
  for (double i : importi)
    az.Inserisci({.numProg = ++n, .importo = i, .dataDoc = util::Date::Carry(2026, 3, static_cast<int>(n))});
  az.op.risposte = {1};  // "Si"
  ASSERT_EQ(Elabora(az.ctx(), az.Selezione(true, 3, 1000), nullptr), 0) << az.op.Elenco();
  EXPECT_EQ(az.Righe("SELECT NumProg FROM Scadenze WHERE NumRegPag IS NOT NULL ORDER BY NumProg"),
            (std::vector<std::string>{"1", "3", "4"}));
  EXPECT_EQ(Righe().front(), "1 18-01-000001 D 1000.00");
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM AppoggioTemp"), 0);
  NessunaTraccia();
}

// A credit note counts negative and makes room for later installments.
TEST_P(Elaborazione, AutomaticaNotaDiCreditoAbbassaIlTotale) {
  az.Inserisci({.numProg = 1, .importo = 600, .dataDoc = util::Date::Carry(2026, 3, 1)});
  az.Inserisci({.numProg = 2, .entrataUscita = "U", .importo = 300, .dataDoc = util::Date::Carry(2026, 3, 2)});
  az.Inserisci({.numProg = 3, .importo = 500, .dataDoc = util::Date::Carry(2026, 3, 3)});
  az.op.risposte = {1};
  ASSERT_EQ(Elabora(az.ctx(), az.Selezione(true, 3, 800), nullptr), 0) << az.op.Elenco();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag IS NOT NULL"), 3);
  EXPECT_EQ(Righe().front(), "1 18-01-000001 D 800.00");
  NessunaTraccia();
}

TEST_P(Elaborazione, AutomaticaRifiutataNonLasciaNulla) {
  az.Inserisci({.numProg = 1});
  az.op.risposte = {2};  // "No"
  ASSERT_EQ(Elabora(az.ctx(), az.Selezione(true, 3, 1000), nullptr), 0);
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnTes"), 0);
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM AppoggioTemp"), 0);
  NessunaTraccia();
}

TEST_P(Elaborazione, AutomaticaSenzaScadenzeNonHaNullaDaRegistrare) {
  az.op.risposte = {1};
  ASSERT_EQ(Elabora(az.ctx(), az.Selezione(true, 3, 1000), nullptr), 0);
  EXPECT_TRUE(az.op.Mostrato("Non ci sono registrazioni con i dati richiesti")) << az.op.Elenco();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnTes"), 0);
  NessunaTraccia();
}

TEST_P(Elaborazione, RunSospesoBloccaLaPartenza) {
  az.Inserisci({.numProg = 1});
  az.ctx().db.Execute(az.ctx().conn, "UPDATE Scadenze SET Utente = 'MARIO~T1', FlStato = '0'");
  GrigliaProva griglia;
  EXPECT_EQ(Elabora(az.ctx(), az.Selezione(false), &griglia), 1);
  EXPECT_TRUE(az.op.Mostrato("Elaborazione precedente interrotta: prima di proseguire eseguire il ripristino"));
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM ScadenzeApp"), 0);
}

// A run parameter gone from the temporary store stops the run before it
// writes anything, and still gives everything back.
TEST_P(Elaborazione, ParametroMancanteFermaIlRun) {
  az.Inserisci({.numProg = 1});
  compensato::Contesto& ctx = az.ctx();
  ctx.run.selezione = az.Selezione(true, 3, 1000);
  ASSERT_EQ(compensato::ScriviSelezioni(ctx), 0);
  ctx.db.Execute(ctx.conn, "DELETE FROM AppoggioTemp WHERE IdCampo = 'Cdc'");
  compensato::CostruisciFiltroScadenze(ctx, "Scadenze");
  ASSERT_EQ(compensato::RiservaScadenze(ctx, ctx.run.filtro), 0);
  ASSERT_EQ(compensato::CopiaScadenzeApp(ctx, "Scadenze", "ScadenzeApp"), 0);
  ASSERT_EQ(Conta("SELECT COUNT(*) FROM ScadenzeApp"), 1);

  EXPECT_EQ(compensato::ElaborazioneScadenze(ctx, ctx.utente, ctx.programId, true, false, 0), 1);
  EXPECT_TRUE(
      az.op.Mostrato("Errore durante la lettura delle selezioni dal file temporaneo: l'operazione verrà annullata"));
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnTes"), 0);
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM AppoggioTemp"), 0);
  NessunaTraccia();
}

// Another operator's entry takes the number between its allocation and the
// header's insertion: the header moves to the next number and every settled
// installment carries that one. Only a server lets two writers overlap; a
// file database serializes them, so the number read is always free.
TEST_P(Elaborazione, NumeroDoppioAllInserimentoPassaAlSuccessivo) {
  if (GetParam() != testsupport::Engine::Postgres) GTEST_SKIP() << "a file database has one writer at a time";
  az.Inserisci({.numProg = 1, .importo = 100});
  az.Inserisci({.numProg = 2, .conto = "000002", .importo = 200});
  std::promise<void> pronto;
  std::thread altro([&] {
    db::DbExecutor ex;
    const std::string c = az.database.OpenAnother(ex);
    ex.BeginTrans(c);
    ex.Execute(c, "INSERT INTO MovPnTes (Anno, NumReg, Causale) VALUES (2026, 1, 'ALT')");
    pronto.set_value();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ex.CommitTrans(c);
  });
  pronto.get_future().wait();
  GrigliaProva griglia;
  griglia.scelte = {{1, "C", 100}, {2, "C", 200}};
  const int esito = Elabora(az.ctx(), az.Selezione(false), &griglia);
  altro.join();
  ASSERT_EQ(esito, 0) << az.op.Elenco();
  EXPECT_EQ(az.Righe("SELECT NumReg FROM MovPnTes WHERE Causale = 'INC'"), std::vector<std::string>{"2"});
  EXPECT_EQ(az.Righe("SELECT DISTINCT NumRegPag FROM Scadenze"), std::vector<std::string>{"2"});
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnDett WHERE NumReg = 2"), 3);
}

// The third installment's line cannot be stored: the whole run is undone
// (header, lock, the earlier lines and payment references) and named by its
// step; everything is given back.
TEST_P(Elaborazione, RigaRifiutataAnnullaTuttoIlRun) {
  az.Inserisci({.numProg = 1, .conto = "000001", .dataDoc = util::Date::Carry(2026, 3, 1)});
  az.Inserisci({.numProg = 2, .conto = "000002", .dataDoc = util::Date::Carry(2026, 3, 2)});
  az.Inserisci({.numProg = 3, .conto = "000003", .dataDoc = util::Date::Carry(2026, 3, 3)});
  compensato::Contesto& ctx = az.ctx();
  Rifiuta(ctx, GetParam(), "rifiuta", "INSERT", "MovPnDettApp", "NEW.ContoPartita = '000003'",
          "NEW.\"ContoPartita\" = '000003'");
  GrigliaProva griglia;
  griglia.scelte = {{1, "C", 100}, {2, "C", 100}, {3, "C", 100}};
  EXPECT_EQ(Elabora(ctx, az.Selezione(false), &griglia), 1);
  EXPECT_EQ(griglia.esitoElab, 1);
  EXPECT_TRUE(az.op.Mostrato("Errore durante l'elaborazione delle scadenze: l'operazione verrà annullata in 7"))
      << az.op.Elenco();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnTes"), 0);
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag IS NOT NULL"), 0);
  NessunaTraccia();
}

// Installments by the hundred, as a run writes them in batches: n of them,
// customers 000001..3, receipts except every eleventh (a payment, shown
// negative in the grid), document F<n> of 100 + n.
void MoltiInstallamenti(AziendaProva& a, int n) {
  const std::string conti[] = {"000001", "000002", "000003"};
  for (int32_t i = 1; i <= n; ++i)
    a.Inserisci({.numProg = i,
                 .conto = conti[i % 3],
                 .entrataUscita = i % 11 == 0 ? "U" : "E",
                 .importo = 100.0 + i,
                 .dataDoc = util::Date::Carry(2026, 1, 1).addDays(i)});
}

double Segno(int32_t i) { return i % 11 == 0 ? -1 : 1; }

// More installments than one statement writes, lines and payment references
// alike: each settled installment still points at its own line, with its own
// document, account and amount; a partly paid one keeps the paid part and its
// document's rest stays open.
TEST_P(Elaborazione, MoltePagateOgnunaLaSuaRiga) {
  const int n = 450;
  MoltiInstallamenti(az, n);
  GrigliaProva griglia;
  for (int32_t i = 1; i <= n; ++i) {
    const double dovuto = 100.0 + i;
    if (i % 3 == 0)
      griglia.scelte.push_back({i, "A", Segno(i) * dovuto / 2});
    else if (i % 7 == 0)
      griglia.scelte.push_back({i, "C", Segno(i) * (dovuto + 10)});
    else
      griglia.scelte.push_back({i, "C", Segno(i) * dovuto});
  }
  ASSERT_EQ(Elabora(az.ctx(), az.Selezione(false), &griglia), 0) << az.op.Elenco();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag IS NOT NULL"), n);
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag IS NULL"), n / 3);
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM Scadenze S WHERE S.NumRegPag IS NOT NULL AND NOT EXISTS (SELECT * FROM "
                  "MovPnDett D WHERE D.Anno = S.AnnoPag AND D.NumReg = S.NumRegPag AND D.RigReg = S.RigLivPag AND "
                  "D.NumDoc = S.NumDoc AND D.ContoPartita = S.ContoScad AND ABS(D.Importo - S.ImportoScad) < 0.0001)"),
            0);
  for (const std::string& r : az.Righe("SELECT NumDoc, SUM(ImportoScad), SUM(IIF(NumRegPag IS NULL, 1, 0)) FROM "
                                       "Scadenze GROUP BY NumDoc")) {
    const auto v = Campi(r);
    const int32_t i = std::stoi(v[0].substr(1));
    SCOPED_TRACE(v[0]);
    EXPECT_EQ(Importo(v[1]), Importo(std::to_string(100.0 + i)));
    EXPECT_EQ(v[2], i % 3 == 0 ? "1" : "0") << "the rest of a partial payment, open";
  }
  NessunaTraccia();
}

// A line refused when the run writes its batch of lines names the step of
// the installment it belongs to, or of the closing line, wherever it falls
// among the batches; the whole run is undone.
TEST_P(Elaborazione, RigaRifiutataNelLottoNominaIlSuoPasso) {
  const int n = 300;
  const struct {
    const char* nome;
    const char* sqlite;
    const char* pg;
    const char* passo;
  } casi[] = {
      {"a closed installment's line, in the second batch", "NEW.NumDoc = 'F280'", "NEW.\"NumDoc\" = 'F280'", "7"},
      {"a partly paid installment's line, in the second batch", "NEW.NumDoc = 'F279'", "NEW.\"NumDoc\" = 'F279'", "5"},
      {"the closing line", "NEW.RigReg = 1", "NEW.\"RigReg\" = 1", "9"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    AziendaProva a(GetParam());
    MoltiInstallamenti(a, n);
    Rifiuta(a.ctx(), GetParam(), "rifiuta", "INSERT", "MovPnDettApp", c.sqlite, c.pg);
    GrigliaProva griglia;
    for (int32_t i = 1; i <= n; ++i)
      griglia.scelte.push_back({i, i % 3 == 0 ? "A" : "C", Segno(i) * (i % 3 == 0 ? 50 : 100.0 + i)});
    EXPECT_EQ(Elabora(a.ctx(), a.Selezione(false), &griglia), 1);
    EXPECT_TRUE(a.op.Mostrato(std::string("Errore durante l'elaborazione delle scadenze: l'operazione verrà "
                                          "annullata in ") +
                              c.passo + ","))
        << a.op.Elenco();
    EXPECT_EQ(a.Numero("SELECT COUNT(*) FROM MovPnTes"), 0);
    EXPECT_EQ(a.Numero("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag IS NOT NULL"), 0);
    EXPECT_EQ(a.Numero("SELECT COUNT(*) FROM Scadenze"), n) << "no residual installment left";
    NessunaTracciaIn(a);
  }
}

// The automatic run adds and compares currency exactly: in doubles
// 0.10 + 0.20 exceeds 0.30. A total that reaches the maximum stops the run,
// even before a credit note that would make room again.
TEST_P(Elaborazione, AutomaticaMassimoAlCentesimo) {
  struct Caso {
    const char* nome;
    std::vector<double> importi;  // negative: a credit note
    double massimo;
    std::vector<std::string> saldate;
  };
  const Caso casi[] = {
      {"dieci e venti centesimi", {0.10, 0.20, 0.05}, 0.30, {"1", "2"}},
      {"tre decimi sommati", {0.1, 0.2, 0.4}, 0.7, {"1", "2", "3"}},
      {"raggiunto il massimo, la nota di credito resta", {400, 700, 500, 100, -50}, 1000, {"1", "3", "4"}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    AziendaProva a(GetParam());
    int32_t n = 0;
    for (double i : caso.importi) {
      ++n;
      a.Inserisci({.numProg = n,
                   .entrataUscita = i < 0 ? "U" : "E",
                   .importo = i < 0 ? -i : i,
                   .dataDoc = util::Date::Carry(2026, 3, static_cast<int>(n))});
    }
    a.op.risposte = {1};
    ASSERT_EQ(Elabora(a.ctx(), a.Selezione(true, 3, caso.massimo), nullptr), 0) << a.op.Elenco();
    EXPECT_EQ(a.Righe("SELECT NumProg FROM Scadenze WHERE NumRegPag IS NOT NULL ORDER BY NumProg"), caso.saldate);
    NessunaTracciaIn(a);
  }
}

// An automatic run that skips the first installment and settles the second
// names the one that was paid, on the header and on the cash line.
TEST_P(Elaborazione, AutomaticaRiferimentiDallaScadenzaSaldata) {
  az.Inserisci({.numProg = 1, .conto = "000001", .importo = 700, .dataDoc = util::Date::Carry(2026, 3, 1)});
  az.Inserisci({.numProg = 2, .conto = "000002", .importo = 500, .dataDoc = util::Date::Carry(2026, 3, 2)});
  az.op.risposte = {1};
  ASSERT_EQ(Elabora(az.ctx(), az.Selezione(true, 3, 600), nullptr), 0) << az.op.Elenco();
  EXPECT_EQ(az.Righe("SELECT NumProg FROM Scadenze WHERE NumRegPag IS NOT NULL"), std::vector<std::string>{"2"});
  EXPECT_EQ(az.Righe("SELECT NumDoc FROM MovPnTes"), std::vector<std::string>{"F2"});
  EXPECT_EQ(az.Righe("SELECT NumDoc, TipoCPartita & '-' & GruppoCPartita & '-' & MastroCPartita & '-' & "
                     "ContoCPartita FROM MovPnDett WHERE RigReg = 1"),
            std::vector<std::string>{"F2|3-14-01-000002"});
  NessunaTraccia();
}

// An unexpected database error inside a step names that step: here the
// removal of an untouched row from the working copy.
TEST_P(Elaborazione, ErroreImprevistoNominaIlSuoPasso) {
  for (const bool automatica : {false, true}) {
    SCOPED_TRACE(automatica ? "automatica" : "griglia");
    AziendaProva a(GetParam());
    a.Inserisci({.numProg = 1, .importo = 100, .dataDoc = util::Date::Carry(2026, 3, 1)});
    a.Inserisci({.numProg = 2, .conto = "000002", .importo = 900, .dataDoc = util::Date::Carry(2026, 3, 2)});
    Rifiuta(a.ctx(), GetParam(), "rifiuta_copia", "DELETE", "ScadenzeApp", "OLD.NumProg = 2", "OLD.\"NumProg\" = 2");
    int esito;
    if (automatica) {
      a.op.risposte = {1};
      esito = Elabora(a.ctx(), a.Selezione(true, 3, 500), nullptr);
    } else {
      GrigliaProva griglia;
      griglia.scelte = {{1, "C", 100}};
      esito = Elabora(a.ctx(), a.Selezione(false), &griglia);
    }
    EXPECT_EQ(esito, 1);
    // Untouched in the grid: step 3; never taken by the automatic run: step 2.
    EXPECT_TRUE(a.op.Mostrato(automatica
                                  ? "Errore durante l'elaborazione delle scadenze: l'operazione verrà annullata - 2"
                                  : "Errore durante l'elaborazione delle scadenze: l'operazione verrà annullata in 3"))
        << a.op.Elenco();
    EXPECT_EQ(a.Numero("SELECT COUNT(*) FROM MovPnTes"), 0);
    EXPECT_EQ(a.Numero("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag IS NOT NULL"), 0);
  }
}

// The entry lock's state change reports its own failure, and the run, whose
// crash markers would be wrong, is undone.
TEST_P(Elaborazione, StatoDelBloccoMovimentoConMessaggi) {
  az.Inserisci({.numProg = 1, .importo = 100});
  Rifiuta(az.ctx(), GetParam(), "rifiuta_lock", "UPDATE", "LockGest", "NEW.Stato = 'C'", "NEW.\"Stato\" = 'C'");
  GrigliaProva griglia;
  griglia.scelte = {{1, "C", 100}};
  EXPECT_EQ(Elabora(az.ctx(), az.Selezione(false), &griglia), 1);
  // The refusal is a failure on every engine, not another user's lock.
  EXPECT_TRUE(az.op.Mostrato("rifiuta_lock")) << az.op.Elenco();
  EXPECT_FALSE(az.op.Mostrato("Il movimento è in uso")) << az.op.Elenco();
  EXPECT_TRUE(az.op.Mostrato("Errore durante l'elaborazione delle scadenze: l'operazione verrà annullata in 9"))
      << az.op.Elenco();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnTes"), 0);
  NessunaTraccia();
}

// Without its header a completion would post lines under whatever entry
// number the process last held: it stops at the header's step instead.
TEST_P(Elaborazione, CompletamentoSenzaTestataSiFerma) {
  az.Inserisci({.numProg = 1, .importo = 100});
  compensato::Contesto& ctx = az.ctx();
  ctx.run.selezione = az.Selezione(true, 3, 1000);
  ASSERT_EQ(compensato::ScriviSelezioni(ctx), 0);
  compensato::CostruisciFiltroScadenze(ctx, "Scadenze");
  ASSERT_EQ(compensato::RiservaScadenze(ctx, ctx.run.filtro), 0);
  ASSERT_EQ(compensato::CopiaScadenzeApp(ctx, "Scadenze", "ScadenzeApp"), 0);
  ctx.db.Execute(ctx.conn, "UPDATE ScadenzeApp SET FaseElab = '1', StatoScad = 'C', ImpPagInc = ImportoScad");

  EXPECT_EQ(compensato::ElaborazioneScadenze(ctx, ctx.utente, ctx.programId, false, false, 0), 1);
  EXPECT_TRUE(az.op.Mostrato("Errore durante l'elaborazione delle scadenze: l'operazione verrà annullata - 1"))
      << az.op.Elenco();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnDett"), 0);
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnTes"), 0);
  NessunaTraccia();
}

// Every field that says where a line posts, for over- and underpayments of
// both directions: the allowance line against the installment's account, its
// counter line against the allowance account, the cash line against the one
// installment settled.
TEST_P(Elaborazione, AbbuoniRigaPerRiga) {
  struct Caso {
    const char* nome;
    int tipo;
    const char* entrataUscita;
    double dovuto, pagato;
    std::vector<std::string> righe;
  };
  const Caso casi[] = {
      {"cliente, pagato 110 su 100",
       3,
       "E",
       100,
       110,
       {"1 1-18-01-000001 D 100.00 100.00 3-14-01-000001", "2 3-14-01-000001 A 100.00 100.00 1-18-01-000001",
        "3 1-70-05-000001 A 10.00 10.00 3-14-01-000001", "4 1-18-01-000001 D 10.00 10.00 1-70-05-000001"}},
      {"cliente, pagato 90 su 100",
       3,
       "E",
       100,
       90,
       {"1 1-18-01-000001 D 90.00 90.00 3-14-01-000001", "2 3-14-01-000001 A 90.00 90.00 1-18-01-000001",
        "3 1-62-05-000001 D 10.00 10.00 3-14-01-000001", "4 3-14-01-000001 A 10.00 10.00 1-62-05-000001"}},
      {"fornitore, pagato 260 su 250",
       2,
       "U",
       250,
       260,
       {"1 1-18-01-000001 A 250.00 250.00 2-40-01-000001", "2 2-40-01-000001 D 250.00 250.00 1-18-01-000001",
        "3 1-62-05-000001 D 10.00 10.00 2-40-01-000001", "4 1-18-01-000001 A 10.00 10.00 1-62-05-000001"}},
      {"fornitore, pagato 240 su 250",
       2,
       "U",
       250,
       240,
       {"1 1-18-01-000001 A 240.00 240.00 2-40-01-000001", "2 2-40-01-000001 D 240.00 240.00 1-18-01-000001",
        "3 1-70-05-000001 A 10.00 10.00 2-40-01-000001", "4 2-40-01-000001 D 10.00 10.00 1-70-05-000001"}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    AziendaProva a(GetParam());
    a.Inserisci({.numProg = 1, .tipo = caso.tipo, .entrataUscita = caso.entrataUscita, .importo = caso.dovuto});
    GrigliaProva griglia;
    griglia.scelte = {{1, "C", caso.pagato}};
    ASSERT_EQ(Elabora(a.ctx(), a.Selezione(false, caso.tipo), &griglia), 0) << a.op.Elenco();
    EXPECT_EQ(RigheComplete(a), caso.righe);
    NessunaTracciaIn(a);
  }
}

// A receipt of 137.50 dollars on an installment of 125 at 1.25 to the euro:
// every amount in dollars and in euro, the cash line's euro amount taken from
// the euro overpayment (110 - 10), not from the dollar one.
TEST_P(Elaborazione, EccedenzaInValutaEstera) {
  az.Inserisci({.numProg = 1, .importo = 125});
  Dollari(az);
  GrigliaProva griglia;
  griglia.scelte = {{1, "C", 137.5}};
  ASSERT_EQ(Elabora(az.ctx(), InDollari(az.Selezione(false)), &griglia), 0) << az.op.Elenco();
  EXPECT_EQ(RigheComplete(az),
            (std::vector<std::string>{
                "1 1-18-01-000001 D 125.00 100.00 3-14-01-000001", "2 3-14-01-000001 A 125.00 100.00 1-18-01-000001",
                "3 1-70-05-000001 A 12.50 10.00 3-14-01-000001", "4 1-18-01-000001 D 12.50 10.00 1-70-05-000001"}));
  NessunaTraccia();
}

// Ten cents of a currency worth 1.25 euro are 0.125 euro, 0.13 once rounded:
// the allowance and the residual installment of an installment of 0.30 paid
// 0.20 take the half cent up, and each line's euro matches its installment's.
TEST_P(Elaborazione, RestoInValutaConvertitoDalValoreEsatto) {
  const struct {
    const char* nome;
    const char* stato;
    std::vector<std::string> righe;
    std::vector<std::string> scadenze;  // "NumProg ImportoScad ImportoScadEuro"
  } casi[] = {
      {"chiusa pagando 0,20 di 0,30",
       "C",
       {"1 1-18-01-000001 D 0.20 0.25 3-14-01-000001", "2 3-14-01-000001 A 0.20 0.25 1-18-01-000001",
        "3 1-62-05-000001 D 0.10 0.13 3-14-01-000001", "4 3-14-01-000001 A 0.10 0.13 1-62-05-000001"},
       {"1 0.30 0.38"}},
      {"acconto di 0,20 su 0,30",
       "A",
       {"1 1-18-01-000001 D 0.20 0.25 3-14-01-000001", "2 3-14-01-000001 A 0.20 0.25 1-18-01-000001"},
       {"1 0.20 0.25", "2 0.10 0.13"}},
  };
  for (const auto& caso : casi) {
    SCOPED_TRACE(caso.nome);
    AziendaProva a(GetParam());
    a.Inserisci({.numProg = 1, .importo = 0.3});
    a.ctx().db.Execute(a.ctx().conn, "INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Operatore, Cee) "
                                     "VALUES ('CHF', 'Franco', 2, 2, '/', 'N')");
    a.ctx().db.Execute(a.ctx().conn, "UPDATE Scadenze SET Moneta = 'CHF', Cambio = 0.8, ImportoScadEuro = 0.38");
    compensato::SelezioneRun selezione = a.Selezione(false);
    selezione.moneta = "CHF";
    selezione.cambio = 0.8;
    selezione.operatoreMoneta = "/";
    GrigliaProva griglia;
    griglia.scelte = {{1, caso.stato, 0.2}};
    ASSERT_EQ(Elabora(a.ctx(), selezione, &griglia), 0) << a.op.Elenco();
    EXPECT_EQ(RigheComplete(a), caso.righe);
    std::vector<std::string> scadenze;
    for (const std::string& r :
         a.Righe("SELECT NumProg, ImportoScad, ImportoScadEuro FROM Scadenze ORDER BY NumProg")) {
      const std::vector<std::string> v = Campi(r);
      scadenze.push_back(v[0] + " " + Importo(v[1]) + " " + Importo(v[2]));
    }
    EXPECT_EQ(scadenze, caso.scadenze);
    NessunaTracciaIn(a);
  }
}

// The completion of an interrupted run in another process, which never saw
// the selection, converts at the rate the run stored, with the currency's
// own operator.
TEST_P(Elaborazione, CompletamentoAlCambioDelRun) {
  az.Inserisci({.numProg = 1, .importo = 125});
  Dollari(az);
  compensato::Contesto& ctx = az.ctx();
  ctx.run.selezione = InDollari(az.Selezione(true, 3, 1000));
  ctx.run.monetaRun = "USD";
  ASSERT_EQ(compensato::ScriviSelezioni(ctx), 0);
  compensato::CostruisciFiltroScadenze(ctx, "Scadenze");
  ASSERT_EQ(compensato::RiservaScadenze(ctx, ctx.run.filtro), 0);
  ASSERT_EQ(compensato::CopiaScadenzeApp(ctx, "Scadenze", "ScadenzeApp"), 0);
  ASSERT_EQ(Conta("SELECT COUNT(*) FROM ScadenzeApp"), 1);
  ctx.db.Execute(ctx.conn, "UPDATE ScadenzeApp SET FaseElab = '1', StatoScad = 'C', ImpPagInc = ImportoScad");
  // What a fresh process knows: nothing of the selection, nor of the run.
  ctx.run.selezione = compensato::SelezioneRun{};
  ctx.run.selezione.operatoreMoneta = "*";
  ctx.run.par = compensato::ParametriRun{};
  ctx.run.monetaRun.clear();

  ASSERT_EQ(compensato::ElaborazioneScadenze(ctx, ctx.utente, ctx.programId, true, false, 0), 0) << az.op.Elenco();
  EXPECT_EQ(RigheComplete(az), (std::vector<std::string>{"1 1-18-01-000001 D 125.00 100.00 3-14-01-000001",
                                                         "2 3-14-01-000001 A 125.00 100.00 1-18-01-000001"}));
  NessunaTraccia();
}

INSTANTIATE_TEST_SUITE_P(Motori, Elaborazione, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);
