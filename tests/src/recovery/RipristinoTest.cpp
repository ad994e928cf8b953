// Recovery of interrupted runs: the automatic check at the selection screen's
// start and the recovery of one identity, on every engine.
#include <gtest/gtest.h>

#include "components/util/SqlLiteral.h"
#include "src/data/AppoTemp.h"
#include "src/extraction/Blocco.h"
#include "src/extraction/CopiaScadenze.h"
#include "src/extraction/FiltroScadenze.h"
#include "src/extraction/Selezioni.h"
#include "src/recovery/FinestraRipristino.h"
#include "src/recovery/Ripristino.h"
#include "tests/src/settlement/AziendaProva.h"

namespace {

using testsupport::AziendaProva;

class Ripristino : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  AziendaProva az{GetParam()};
  compensato::Contesto& ctx = az.ctx();

  void SetUp() override {
    // The host's id for the program, unlike the recovery window's fixed one:
    // which of the two a recovery uses shows in what it deletes.
    ctx.programId = "Compensato46";
    az.Inserisci({.numProg = 1, .importo = 100});
    az.Inserisci({.numProg = 2, .conto = "000002", .importo = 250});
  }

  // What a run of identity `utente` leaves when it is killed after storing
  // its run parameters; with riserva, also after reserving its installments;
  // with copia, after copying them into the working copy; with avviato, also
  // after the automatic run marked them settled in full.
  void RunInterrotto(const std::string& utente, bool copia, bool avviato, bool riserva = true) {
    const std::string proprio = ctx.utente;
    ctx.utente = utente;
    ctx.run.selezione = az.Selezione(true, 3, 1000);
    ctx.run.monetaRun = "Euro";
    ASSERT_EQ(compensato::ScriviSelezioni(ctx), 0);
    if (!riserva) {
      ctx.utente = proprio;
      return;
    }
    compensato::CostruisciFiltroScadenze(ctx, "Scadenze");
    ASSERT_EQ(compensato::RiservaScadenze(ctx, ctx.run.filtro), 0);
    if (copia) {
      ASSERT_EQ(compensato::CopiaScadenzeApp(ctx, "Scadenze", "ScadenzeApp"), 0);
    }
    if (avviato)
      ctx.db.Execute(ctx.conn, "UPDATE ScadenzeApp SET FaseElab = '1', StatoScad = 'C', ImpPagInc = ImportoScad");
    ctx.utente = proprio;
    ctx.run = compensato::StatoRun();
  }

  double Conta(const std::string& sql) { return az.Numero(sql); }
  double Parametri(const std::string& utente, const std::string& programma) {
    return Conta("SELECT COUNT(*) FROM AppoggioTemp WHERE Utente = '" + utente + "' AND IdProgramma = '" + programma +
                 "'");
  }
  void TuttoLibero() {
    EXPECT_EQ(Conta("SELECT COUNT(*) FROM Scadenze WHERE Utente <> ' ' OR FlStato IS NOT NULL"), 0);
    EXPECT_EQ(Conta("SELECT COUNT(*) FROM ScadenzeApp"), 0);
    EXPECT_EQ(Conta("SELECT COUNT(*) FROM LockGest"), 0);
    EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnDettApp"), 0);
    EXPECT_EQ(az.Invarianti(), "");
  }
};

// The run parameters go with the run: nothing else would ever delete them,
// since the next run has an identity of its own.
TEST_P(Ripristino, FaseZeroAnnullata) {
  RunInterrotto("MARIO~T0", true, false);
  ASSERT_GT(Parametri("MARIO~T0", ctx.programId), 0);
  ASSERT_EQ(compensato::Controllo_Elaborazione(ctx), 0);
  EXPECT_EQ(Parametri("MARIO~T0", ctx.programId), 0);
  EXPECT_TRUE(az.op.Mostrato("E' stata completamente annullata l'ultima elaborazione effettuata")) << az.op.Elenco();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnTes"), 0);
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag IS NOT NULL"), 0);
  TuttoLibero();
}

TEST_P(Ripristino, FaseUnoCompletata) {
  RunInterrotto("MARIO~T0", true, true);
  ASSERT_EQ(compensato::Controllo_Elaborazione(ctx), 0);
  EXPECT_TRUE(az.op.Mostrato("E' stata completata l'ultima elaborazione effettuata")) << az.op.Elenco();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnTes"), 1);
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag = 1"), 2);
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnDett"), 3);
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM AppoggioTemp"), 0);
  TuttoLibero();
}

// The entry was committed, the posting did not happen: the lock is all that
// is left, and the run parameters are gone.
TEST_P(Ripristino, SoloContabilizzazione) {
  compensato::Contesto& c = ctx;
  c.db.Execute(c.conn, "INSERT INTO MovPnTes (Anno, NumReg, DataReg, Causale, InValuta, Moneta, Cambio) VALUES "
                       "(2026, 7, #12/10/2026#, 'INC', 'N', 'Euro', 1)");
  c.db.Execute(c.conn, "INSERT INTO MovPnDettApp (Anno, NumReg, RigReg, RigLiv, TipoPartita, GruppoPartita, "
                       "MastroPartita, ContoPartita, DareAvere, ImportoMon, Importo, Cambio) VALUES "
                       "(2026, 7, 1, 1, '1', '18', '01', '000001', 'D', 100, 100, 1)");
  c.db.Execute(c.conn, "INSERT INTO MovPnDettApp (Anno, NumReg, RigReg, RigLiv, TipoPartita, GruppoPartita, "
                       "MastroPartita, ContoPartita, DareAvere, ImportoMon, Importo, Cambio) VALUES "
                       "(2026, 7, 2, 2, '3', '14', '01', '000001', 'A', 100, 100, 1)");
  c.db.Execute(c.conn, "INSERT INTO LockGest (Tipo, Anno, NumReg, Utente, Stato, Gestione) VALUES "
                       "('C', 2026, 7, 'MARIO~T0', 'C', '9')");
  c.db.Execute(c.conn, "UPDATE Scadenze SET AnnoPag = 2026, NumRegPag = 7, DataRegPag = #12/10/2026#, "
                       "RigLivPag = 2 WHERE NumProg = 1");

  ASSERT_EQ(compensato::Controllo_Elaborazione(c), 0);
  EXPECT_TRUE(az.op.Mostrato("ATTENZIONE: l'ultima elaborazione è stata interrotta (contab.)")) << az.op.Elenco();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM MovPnDett WHERE NumReg = 7"), 2);
  TuttoLibero();
}

// Killed between the reservation and the copy: only reservations are left.
TEST_P(Ripristino, SoloPrenotazioniRilasciate) {
  RunInterrotto("MARIO~T0", false, false);
  ASSERT_EQ(Conta("SELECT COUNT(*) FROM Scadenze WHERE FlStato = '0'"), 2);
  ASSERT_EQ(compensato::Controllo_Elaborazione(ctx), 0);
  TuttoLibero();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM AppoggioTemp"), 0);
}

// Killed after storing its run parameters and before reserving anything, a
// run leaves only those: the check deletes them, and only the operator's own.
TEST_P(Ripristino, SoloParametriCancellati) {
  RunInterrotto("MARIO~T0", false, false, false);
  RunInterrotto("MARIONE~T9", false, false, false);
  ASSERT_GT(Parametri("MARIO~T0", ctx.programId), 0);
  ASSERT_EQ(Conta("SELECT COUNT(*) FROM Scadenze WHERE FlStato = '0'"), 0);
  ASSERT_EQ(compensato::Controllo_Elaborazione(ctx), 0) << az.op.Elenco();
  EXPECT_EQ(Parametri("MARIO~T0", ctx.programId), 0);
  EXPECT_GT(Parametri("MARIONE~T9", ctx.programId), 0);
  TuttoLibero();
}

// A process's own identity may be starting a run of its own: its parameters
// are not an interrupted run's.
TEST_P(Ripristino, ParametriDellaPropriaIdentitaRestano) {
  RunInterrotto(ctx.utente, false, false, false);
  ASSERT_EQ(compensato::Controllo_Elaborazione(ctx), 0) << az.op.Elenco();
  EXPECT_GT(Parametri(ctx.utente, ctx.programId), 0);
}

TEST_P(Ripristino, SecondaIstanzaNonRipristina) {
  RunInterrotto("MARIO~T0", true, true);
  ctx.istanze = 2;
  ASSERT_EQ(compensato::Controllo_Elaborazione(ctx), 0);
  EXPECT_FALSE(az.op.Mostrato("ATTENZIONE")) << az.op.Elenco();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM ScadenzeApp"), 2);
}

// Another operator's interrupted run is not this operator's to recover, nor
// to announce, even when that operator's name begins like this one's or holds
// a wildcard.
TEST_P(Ripristino, AltriOperatoriNonToccati) {
  RunInterrotto("MARIONE~T9", true, false);
  ASSERT_EQ(compensato::Controllo_Elaborazione(ctx), 0);
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM ScadenzeApp"), 2);
  for (const char* operatore : {"MARI_", "MARI%", "MARI*", "MARI?", "M[A]RIONE"}) {
    SCOPED_TRACE(operatore);
    ctx.operatore = operatore;
    az.op.messaggi.clear();
    az.op.progresso.clear();
    ASSERT_EQ(compensato::Controllo_Elaborazione(ctx), 0) << az.op.Elenco();
    EXPECT_EQ(Conta("SELECT COUNT(*) FROM ScadenzeApp"), 2);
    EXPECT_GT(Parametri("MARIONE~T9", ctx.programId), 0);
    EXPECT_TRUE(az.op.messaggi.empty()) << az.op.Elenco();
    EXPECT_TRUE(az.op.progresso.empty());
  }
}

// The window works under its own program id, whatever id the host gives the
// program.
TEST_P(Ripristino, FinestraElencaEBloccoPerFlag) {
  RunInterrotto("LUCA~T1", false, false);
  az.Inserisci({.numProg = 3, .conto = "000003", .importo = 40});
  RunInterrotto("ANNA~T2", true, false);
  for (const char* utente : {"LUCA~T1", "ANNA~T2"})
    ASSERT_EQ(
        compensato::ScriviAppoggio(ctx, utente, compensato::kProgrammaRipristino, "Causale", util::Value("INC"), 1), 0);

  const std::vector<compensato::IdentitaBloccata> elenco = compensato::CercaLock(ctx);
  ASSERT_EQ(elenco.size(), 2u);
  std::map<std::string, std::string> flag;
  for (const auto& id : elenco) flag[id.utente] = id.flag;
  EXPECT_EQ(flag["LUCA~T1"], "10");
  EXPECT_EQ(flag["ANNA~T2"], "0");

  EXPECT_EQ(compensato::RipristinaIdentita(ctx, "ANNA~T2", "0"), 0);
  EXPECT_EQ(compensato::RipristinaIdentita(ctx, "LUCA~T1", "10"), 0);
  EXPECT_TRUE(compensato::CercaLock(ctx).empty());
  TuttoLibero();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM AppoggioTemp WHERE IdProgramma = 'Compensa'"), 0);
}

// The recovery window's rules: the grid's columns at the screen's factor,
// an identity whose program still runs shown as in use and left in the grid,
// a recovered row removed, the last one closing the window.
TEST_P(Ripristino, FinestraRigheEPassiDopoLElaborazione) {
  compensato::FinestraRipristino vuota;
  vuota.Carica(ctx, 0);
  EXPECT_TRUE(vuota.Vuota());

  RunInterrotto("LUCA~T1", false, false);
  az.Inserisci({.numProg = 3, .conto = "000003", .importo = 40});
  RunInterrotto("ANNA~T2", true, false);
  az.Inserisci({.numProg = 4, .conto = "000003", .importo = 60});
  ctx.db.Execute(ctx.conn, "UPDATE Scadenze SET Utente = 'PIPPO~T3', FlStato = '0' WHERE NumProg = 4");
  ASSERT_TRUE(ctx.db.HoldLiveMark(ctx.conn, "PIPPO~T3"));

  compensato::FinestraRipristino f;
  f.Carica(ctx, 1.25);
  ASSERT_EQ(f.Colonne().size(), 3u);
  EXPECT_EQ(f.Colonne()[0].larghezza, 2250);
  EXPECT_EQ(f.Colonne()[1].larghezza, 10000);
  EXPECT_EQ(f.Colonne()[2].larghezza, 1);
  auto riga = [&](const std::string& utente) {
    for (size_t i = 0; i < f.Righe().size(); ++i)
      if (f.Righe()[i].utente == utente) return static_cast<int>(i);
    return -1;
  };
  ASSERT_EQ(f.Righe().size(), 3u);
  ASSERT_GE(riga("PIPPO~T3"), 0);
  EXPECT_TRUE(f.Righe()[static_cast<size_t>(riga("PIPPO~T3"))].inUso);
  EXPECT_EQ(f.Righe()[static_cast<size_t>(riga("PIPPO~T3"))].testo, compensato::kTestoInUso);
  EXPECT_EQ(f.Righe()[static_cast<size_t>(riga("ANNA~T2"))].testo, compensato::TestoFase("0"));

  f.corrente = riga("PIPPO~T3");
  EXPECT_EQ(f.Elabora(ctx), compensato::FinestraRipristino::Dopo::Resta);
  EXPECT_TRUE(az.op.Mostrato("ancora in corso")) << az.op.Elenco();
  EXPECT_EQ(Conta("SELECT COUNT(*) FROM Scadenze WHERE Utente = 'PIPPO~T3' AND FlStato = '0'"), 1);

  // Any row but the last is removed; the last closes the window.
  ctx.db.ReleaseLiveMark(ctx.conn, "PIPPO~T3");
  while (f.Righe().size() > 1) {
    f.corrente = 0;
    ASSERT_EQ(f.Elabora(ctx), compensato::FinestraRipristino::Dopo::TogliRiga) << az.op.Elenco();
  }
  f.corrente = 0;
  EXPECT_EQ(f.Elabora(ctx), compensato::FinestraRipristino::Dopo::Chiudi);
  TuttoLibero();
}

INSTANTIATE_TEST_SUITE_P(Motori, Ripristino, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
