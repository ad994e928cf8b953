// The installment routines a run relies on, one at a time: the residual
// installment of a partial payment and the check for a run left behind, on
// every engine.
#include <gtest/gtest.h>

#include "src/extraction/Blocco.h"
#include "src/extraction/CopiaScadenze.h"
#include "src/extraction/FiltroScadenze.h"
#include "tests/src/settlement/AziendaProva.h"

namespace {

using testsupport::AziendaProva;

// Makes the engine refuse an insertion into Scadenze while a condition on the
// new row holds.
void RifiutaInserimento(AziendaProva& az, testsupport::Engine e, const std::string& quandoSqlite,
                        const std::string& quandoPg) {
  compensato::Contesto& ctx = az.ctx();
  if (e == testsupport::Engine::Sqlite) {
    ctx.db.Execute(ctx.conn,
                   "CREATE TRIGGER rifiuta BEFORE INSERT ON Scadenze WHEN " + quandoSqlite +
                       " BEGIN SELECT RAISE(ABORT, 'rifiutata'); END",
                   db::kPassThrough);
  } else {
    ctx.db.Execute(ctx.conn,
                   "CREATE FUNCTION rifiuta() RETURNS trigger AS $$ BEGIN IF " + quandoPg +
                       " THEN RAISE EXCEPTION 'rifiutata'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql",
                   db::kPassThrough);
    ctx.db.Execute(ctx.conn,
                   "CREATE TRIGGER rifiuta BEFORE INSERT ON \"Scadenze\" FOR EACH ROW EXECUTE FUNCTION rifiuta()",
                   db::kPassThrough);
  }
}

class Scadenze : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  AziendaProva az{GetParam()};
  compensato::Contesto& ctx = az.ctx();

  void SetUp() override {
    ctx.run.monetaRun = "Euro";
    ctx.run.par.cambio = 1;
  }
};

// The rest of a partial payment is a copy of the installment with the next
// number of its own year: every other field, the reservation included, is the
// installment's.
TEST_P(Scadenze, ResiduoCopiaLaScadenzaColNumeroSuccessivoDellAnno) {
  az.Inserisci({.numProg = 1, .importo = 100});
  az.Inserisci({.numProg = 7, .conto = "000002", .importo = 30});
  az.Inserisci({.numProg = 40, .importo = 10, .anno = 2025});
  ctx.db.Execute(ctx.conn, "UPDATE Scadenze SET Utente = 'MARIO~T1', FlStato = '0' WHERE NumProg = 1");
  const std::string colonne =
      "Tipo, GruppoScad, MastroScad, ContoScad, DataScad, PagTipo, Prefisso, NumDoc, DataDoc, Rata, Moneta, "
      "EntrataUscita, Utente, FlStato";

  ASSERT_EQ(compensato::CreaScadenzaResiduo(ctx, "Scadenze.Anno = 2026 AND Scadenze.NumProg = 1",
                                            util::Money::FromDouble(60), 2026),
            0)
      << az.op.Elenco();
  EXPECT_EQ(az.Righe("SELECT Anno, NumProg FROM Scadenze WHERE NumProg > 7 ORDER BY NumProg"),
            (std::vector<std::string>{"2026|8", "2025|40"}));
  EXPECT_EQ(az.Righe("SELECT " + colonne + " FROM Scadenze WHERE NumProg = 8"),
            az.Righe("SELECT " + colonne + " FROM Scadenze WHERE NumProg = 1"));
  EXPECT_EQ(az.Numero("SELECT ImportoScad FROM Scadenze WHERE NumProg = 8"), 60);
  EXPECT_EQ(az.Numero("SELECT ImportoScadEuro FROM Scadenze WHERE NumProg = 8"), 60);
  EXPECT_DOUBLE_EQ(az.Numero("SELECT ImportoScadLire FROM Scadenze WHERE NumProg = 8"), 116176.2);
  EXPECT_EQ(az.Numero("SELECT ImportoScad FROM Scadenze WHERE NumProg = 1"), 100) << "the paid one is untouched";

  // Nothing selected, nothing created.
  ASSERT_EQ(compensato::CreaScadenzaResiduo(ctx, "Scadenze.NumProg = 99", util::Money::FromDouble(5), 2026), 0);
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM Scadenze"), 4);
}

// The second of two residuals is refused: the first is taken away again and
// the installments are as they were. A refusal is no duplicate number, so it
// is not retried under the next one.
TEST_P(Scadenze, ResiduoRifiutatoNonLasciaNulla) {
  az.Inserisci({.numProg = 1, .importo = 100});
  az.Inserisci({.numProg = 2, .conto = "000002", .importo = 100});
  RifiutaInserimento(az, GetParam(), "NEW.NumProg = 4", "NEW.\"NumProg\" = 4");
  EXPECT_EQ(compensato::CreaScadenzaResiduo(ctx, "Scadenze.NumProg IN (1, 2)", util::Money::FromDouble(30), 2026), 1);
  EXPECT_EQ(az.Righe("SELECT NumProg, ImportoScad FROM Scadenze ORDER BY NumProg"),
            (std::vector<std::string>{"1|100", "2|100"}));
}

// The working copy takes exactly the installments the user holds reserved,
// whole, with the run's own three fields reset; nobody else's rows move.
TEST_P(Scadenze, CopiaPrendeSoloLeRiservateDellUtente) {
  for (int32_t n = 1; n <= 4; ++n) az.Inserisci({.numProg = n, .importo = 10.0 * n});
  const std::string io = ctx.utente;
  ctx.db.Execute(ctx.conn, "UPDATE Scadenze SET Utente = '" + io +
                               "', FlStato = '0', StatoScad = 'C', ImpPagInc = 5 WHERE NumProg IN (1, 2)");
  ctx.db.Execute(ctx.conn, "UPDATE Scadenze SET Utente = '" + io + "' WHERE NumProg = 3");
  ctx.db.Execute(ctx.conn, "UPDATE Scadenze SET Utente = 'ANNA~T9', FlStato = '0' WHERE NumProg = 4");
  ctx.db.Execute(ctx.conn, "INSERT INTO ScadenzeApp (Anno, NumProg, Utente, FaseElab, ImportoScad) "
                           "VALUES (2026, 4, 'ANNA~T9', '1', 40)");

  ASSERT_EQ(compensato::CopiaScadenzeApp(ctx, "Scadenze", "ScadenzeApp"), 0) << az.op.Elenco();
  EXPECT_EQ(az.Righe("SELECT NumProg, Utente, FlStato, FaseElab, StatoScad, ImpPagInc FROM ScadenzeApp "
                     "ORDER BY NumProg"),
            (std::vector<std::string>{"1|" + io + "|0|0||0", "2|" + io + "|0|0||0", "4|ANNA~T9||1||"}));
  const std::string colonne =
      "Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, DataScad, PagTipo, Prefisso, NumDoc, DataDoc, "
      "Rata, Moneta, Cambio, EntrataUscita, ImportoScad, ImportoScadEuro, ImportoScadLire";
  EXPECT_EQ(az.Righe("SELECT " + colonne + " FROM ScadenzeApp WHERE NumProg <= 2 ORDER BY NumProg"),
            az.Righe("SELECT " + colonne + " FROM Scadenze WHERE NumProg <= 2 ORDER BY NumProg"));

  // Nothing reserved: nothing to copy, and that is no failure.
  ctx.db.Execute(ctx.conn, "DELETE FROM ScadenzeApp WHERE Utente = '" + io + "'");
  ctx.db.Execute(ctx.conn, "UPDATE Scadenze SET FlStato = NULL WHERE Utente = '" + io + "'");
  EXPECT_EQ(compensato::CopiaScadenzeApp(ctx, "Scadenze", "ScadenzeApp"), 0);
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM ScadenzeApp"), 1);
}

// A copy that fails on one of its rows (an installment already in a working
// copy) leaves the working copies as they were: no row of the user's, the
// other operator's row untouched.
TEST_P(Scadenze, CopiaFallitaNonLasciaRighe) {
  for (int32_t n = 1; n <= 3; ++n) az.Inserisci({.numProg = n});
  ctx.db.Execute(ctx.conn, "UPDATE Scadenze SET Utente = '" + ctx.utente + "', FlStato = '0'");
  ctx.db.Execute(ctx.conn,
                 "INSERT INTO ScadenzeApp (Anno, NumProg, Utente, FaseElab) VALUES (2026, 3, 'ANNA~T9', '0')");
  EXPECT_EQ(compensato::CopiaScadenzeApp(ctx, "Scadenze", "ScadenzeApp"), 1);
  EXPECT_EQ(az.Righe("SELECT NumProg, Utente FROM ScadenzeApp"), (std::vector<std::string>{"3|ANNA~T9"}));
  EXPECT_FALSE(az.op.Elenco().empty()) << "the failure is reported";
}

// A run left behind by the user: reserved installments or working-copy rows of
// that identity, and nothing of anyone else's.
TEST_P(Scadenze, VerificaBloccoUtente) {
  struct Caso {
    const char* nome;
    const char* utenteScadenza;  // Utente of installment 1, nullptr for none
    const char* flStato;         // its FlStato, nullptr for NULL
    const char* utenteCopia;     // identity of a working-copy row, nullptr for none
    int esito;
  } casi[] = {
      {"nothing of anyone's", nullptr, nullptr, nullptr, 0},
      {"an installment reserved", "MARIO~T1", "0", nullptr, 1},
      {"the identity without the reservation mark", "MARIO~T1", nullptr, nullptr, 0},
      {"another identity's reservation", "MARIO~T2", "0", nullptr, 0},
      {"a working-copy row only", nullptr, nullptr, "MARIO~T1", 1},
      {"another identity's working copy", nullptr, nullptr, "ANNA~T1", 0},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    AziendaProva a(GetParam());
    a.Inserisci({.numProg = 1});
    compensato::Contesto& x = a.ctx();
    auto testo = [](const char* v) { return v ? "'" + std::string(v) + "'" : std::string("NULL"); };
    if (c.utenteScadenza)
      x.db.Execute(x.conn,
                   "UPDATE Scadenze SET Utente = " + testo(c.utenteScadenza) + ", FlStato = " + testo(c.flStato));
    if (c.utenteCopia)
      x.db.Execute(x.conn, "INSERT INTO ScadenzeApp (Anno, NumProg, Utente, FaseElab) VALUES (2026, 1, " +
                               testo(c.utenteCopia) + ", '0')");
    EXPECT_EQ(compensato::VerificaBloccoUtente(x, "MARIO~T1"), c.esito);
  }
}

// Each bound of the selection, alone, narrows the installments a run
// reserves: due dates, document dates, numbers and prefix, payment type, and
// bills only when asked for. Paid installments are never taken.
TEST_P(Scadenze, OgniLimiteDellaSelezioneRestringeLEstrazione) {
  using util::Date;
  struct Caso {
    const char* nome;
    void (*limita)(compensato::SelezioneRun&);
    std::vector<std::string> riservate;
  };
  const Caso casi[] = {
      {"nessun limite, senza effetti", [](compensato::SelezioneRun&) {}, {"1", "2", "3"}},
      {"anche effetti", [](compensato::SelezioneRun& s) { s.effetti = "s"; }, {"1", "2", "3", "4"}},
      {"scadenza dal 20/04", [](compensato::SelezioneRun& s) { s.dataScadDa = Date::Carry(2026, 4, 20); }, {"2", "3"}},
      {"scadenza al 20/04", [](compensato::SelezioneRun& s) { s.dataScadA = Date::Carry(2026, 4, 20); }, {"1", "2"}},
      {"documento dal 05/03", [](compensato::SelezioneRun& s) { s.dataDocDa = Date::Carry(2026, 3, 5); }, {"2", "3"}},
      {"documento al 05/03", [](compensato::SelezioneRun& s) { s.dataDocA = Date::Carry(2026, 3, 5); }, {"1", "2"}},
      {"numero da F2", [](compensato::SelezioneRun& s) { s.numDocDa = "F2"; }, {"2", "3"}},
      {"numero a F2", [](compensato::SelezioneRun& s) { s.numDocA = "F2"; }, {"1", "2"}},
      {"prefisso A", [](compensato::SelezioneRun& s) { s.prefissoDoc = "A"; }, {"3"}},
      {"tipo pagamento RB con effetti",
       [](compensato::SelezioneRun& s) {
         s.pagTipo = "RB";
         s.effetti = "s";
       },
       {"4"}},
      {"tipo pagamento RB senza effetti", [](compensato::SelezioneRun& s) { s.pagTipo = "RB"; }, {}},
  };
  for (const Caso& caso : casi) {
    SCOPED_TRACE(caso.nome);
    AziendaProva a(GetParam());
    compensato::Contesto& x = a.ctx();
    x.db.Execute(x.conn, "INSERT INTO PagTipi (PagTipo, Descrizione, EmissEffetti, RegIncAut) VALUES ('RB', "
                         "'Ricevuta bancaria', 'S', 'N')");
    a.Inserisci({.numProg = 1, .dataDoc = Date::Carry(2026, 3, 1), .dataScad = Date::Carry(2026, 4, 10)});
    a.Inserisci({.numProg = 2, .dataDoc = Date::Carry(2026, 3, 5), .dataScad = Date::Carry(2026, 4, 20)});
    a.Inserisci({.numProg = 3, .dataDoc = Date::Carry(2026, 3, 10), .dataScad = Date::Carry(2026, 4, 30)});
    a.Inserisci({.numProg = 4, .dataDoc = Date::Carry(2026, 3, 15), .dataScad = Date::Carry(2026, 5, 10)});
    a.Inserisci({.numProg = 5, .dataDoc = Date::Carry(2026, 3, 5), .dataScad = Date::Carry(2026, 4, 20)});
    x.db.Execute(x.conn, "UPDATE Scadenze SET Prefisso = 'A' WHERE NumProg = 3");
    x.db.Execute(x.conn, "UPDATE Scadenze SET PagTipo = 'RB', NumDoc = 'F4' WHERE NumProg = 4");
    x.db.Execute(x.conn, "UPDATE Scadenze SET NumRegPag = 7, NumDoc = 'F2' WHERE NumProg = 5");
    x.run.selezione = a.Selezione(true);
    caso.limita(x.run.selezione);
    compensato::CostruisciFiltroScadenze(x, "Scadenze");
    ASSERT_EQ(compensato::RiservaScadenze(x, x.run.filtro), 0) << a.op.Elenco();
    EXPECT_EQ(
        a.Righe("SELECT NumProg FROM Scadenze WHERE FlStato = '0' AND Utente = '" + x.utente + "' ORDER BY NumProg"),
        caso.riservate);
  }
}

INSTANTIATE_TEST_SUITE_P(Motori, Scadenze, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
