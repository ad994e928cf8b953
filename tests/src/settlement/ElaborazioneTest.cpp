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
  ASSERT_EQ(compensato::AggiornaBloccoScadenze(ctx, compensato::blocco::kRiserva, "Scadenze", ctx.run.filtroWhere), 0);
  ASSERT_EQ(compensato::CopiaScadenzeApp(ctx, "Scadenze", "ScadenzeApp"), 0);
  ASSERT_EQ(Conta("SELECT COUNT(*) FROM ScadenzeApp"), 1);

  EXPECT_EQ(compensato::ElaborazioneScadenze(ctx, ctx.utente, ctx.programId, true, false, 0), 1);
  EXPECT_TRUE(az.op.Mostrato(
      "Errore durante la lettura delle selezioni dal file temporaneo: l'operazione verrà annullata"));
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
  if (GetParam() == testsupport::Engine::Sqlite) {
    ctx.db.Execute(ctx.conn, "CREATE TRIGGER rifiuta BEFORE INSERT ON MovPnDettApp WHEN NEW.ContoPartita = '000003' "
                             "BEGIN SELECT RAISE(ABORT, 'riga rifiutata'); END",
                   db::kPassThrough);
  } else {
    ctx.db.Execute(ctx.conn, "CREATE FUNCTION rifiuta() RETURNS trigger AS $$ BEGIN IF NEW.\"ContoPartita\" = "
                             "'000003' THEN RAISE EXCEPTION 'riga rifiutata'; END IF; RETURN NEW; END $$ "
                             "LANGUAGE plpgsql",
                   db::kPassThrough);
    ctx.db.Execute(ctx.conn, "CREATE TRIGGER rifiuta BEFORE INSERT ON \"MovPnDettApp\" FOR EACH ROW "
                             "EXECUTE FUNCTION rifiuta()",
                   db::kPassThrough);
  }
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

INSTANTIATE_TEST_SUITE_P(Motori, Elaborazione, ::testing::ValuesIn(testsupport::Engines()),
                         testsupport::EngineName);
