#include "src/data/ComLock.h"

#include <gtest/gtest.h>

#include <memory>

#include "components/db/DbCursor.h"
#include "components/util/Error.h"
#include "components/util/SqlLiteral.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakeOperatore.h"
#include "tests/support/TestDatabase.h"

namespace compensato {
namespace {

// One operator at a workstation of the shared company database.
struct Postazione {
  Postazione(testsupport::TestDatabase& db, const std::string& identita) {
    host.identita = identita;
    conn = db.OpenAnother(executor);
    ctx = std::make_unique<Contesto>(host, executor, conn, op);
    LeggiIdentita(*ctx);
  }
  testsupport::FakeHost host;
  testsupport::FakeOperatore op;
  db::DbExecutor executor;
  std::string conn;
  std::unique_ptr<Contesto> ctx;
};

class ComLockTest : public testsupport::DbTest {
 protected:
  Postazione& Mario() {
    if (!mario_) mario_ = std::make_unique<Postazione>(db(), "MARIO~T1");
    return *mario_;
  }
  Postazione& Luigi() {
    if (!luigi_) luigi_ = std::make_unique<Postazione>(db(), "LUIGI~T2");
    return *luigi_;
  }
  void TearDown() override {
    mario_.reset();
    luigi_.reset();
    DbTest::TearDown();
  }

  static ArgomentiLock Lock(const std::string& gestione = "9") {
    ArgomentiLock a;
    a.stato = "0";
    a.tipo = "C";
    a.anno = 2026;
    a.numReg = 12;
    a.mostraMessaggi = true;
    a.descrizione = "Movimenti di prima nota";
    a.gestione = gestione;
    return a;
  }

  double Conta(const std::string& sql) {
    db::DbCursor c;
    const std::string k = c.Open(ex(), conn(), "", sql, false, db::kSnapshot);
    const double n = c.GetField(k, "n").toDouble();
    c.Close(k);
    return n;
  }

 private:
  std::unique_ptr<Postazione> mario_, luigi_;
};

TEST_P(ComLockTest, NewLockIsInsertedAndHeldInTheDefaultCursor) {
  ArgomentiLock a = Lock();
  a.padreTipo = "M";
  a.padreAnno = 2025;
  a.padreNumReg = 3;
  ASSERT_EQ(PrendiLock(*Mario().ctx, a), lock::kPreso) << Mario().op.Elenco();
  EXPECT_FALSE(Mario().ctx->lock.key.empty());
  db::DbCursor c;
  const std::string k = c.Open(ex(), conn(), "", "Select * from LockGest", false, db::kSnapshot);
  ASSERT_FALSE(c.IsEmpty(k));
  EXPECT_EQ(c.GetField(k, "Utente").toText(), "MARIO~T1");
  EXPECT_EQ(c.GetField(k, "Stato").toText(), "0");
  EXPECT_EQ(c.GetField(k, "Gestione").toText(), "9");
  EXPECT_EQ(c.GetField(k, "Varie").toText(), "");
  EXPECT_EQ(c.GetField(k, "PadreTipo").toText(), "M");
  EXPECT_EQ(c.GetField(k, "PadreNumReg").toLong(), 3);
  EXPECT_FALSE(c.GetField(k, "Ora").toDate().isEmpty());
  c.Close(k);
  EXPECT_TRUE(Mario().op.messaggi.empty());

  // State change acts on the held row.
  ArgomentiLock cambio = Lock();
  cambio.stato = "C";
  cambio.acquisisci = false;
  EXPECT_EQ(PrendiLock(*Mario().ctx, cambio), lock::kPreso);
  EXPECT_EQ(Conta("Select count(*) as n from LockGest Where Stato = 'C'"), 1);
}

TEST_P(ComLockTest, ExistingLockOutcomes) {
  struct Caso {
    const char* nome;
    bool stessoUtente;
    bool soloVerifica;
    int16_t accettaPropri;
    int risultato;
    bool messaggio;
  };
  const Caso casi[] = {
      {"another user's lock is refused", false, false, 0, lock::kOccupato, true},
      {"own lock refused without acceptance", true, false, 0, lock::kOccupato, true},
      {"own lock accepted", true, false, 1, lock::kProprio, false},
      {"check only, another user's", false, true, 0, lock::kPreso, false},
      {"check only, own and accepted", true, true, 1, lock::kPreso, false},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    testsupport::TestDatabase base(GetParam());
    Postazione mario(base, "MARIO~T1");
    Postazione luigi(base, "LUIGI~T2");
    ArgomentiLock primo = Lock();
    primo.stato = "S1";
    ASSERT_EQ(PrendiLock(*mario.ctx, primo), lock::kPreso);
    Postazione& secondo = c.stessoUtente ? mario : luigi;
    ArgomentiLock a = Lock("");
    a.cursore = "";
    a.soloVerifica = c.soloVerifica;
    a.acquisisci = !c.soloVerifica;
    a.accettaPropri = c.accettaPropri;
    EXPECT_EQ(PrendiLock(*secondo.ctx, a), c.risultato);
    EXPECT_EQ(a.utente, "MARIO~T1");
    EXPECT_EQ(a.gestione, "9");
    EXPECT_EQ(a.statoEsistente, "S1");
    EXPECT_FALSE(a.cursore.empty()) << "the caller's key comes back";
    EXPECT_NE(a.cursore, secondo.ctx->lock.key) << "the default cursor is not touched";
    ASSERT_EQ(secondo.op.messaggi.size(), c.messaggio ? 1u : 0u) << secondo.op.Elenco();
    if (c.messaggio) {
      EXPECT_EQ(secondo.op.messaggi[0].testo, "Movimenti di prima nota (anno: 2026 - Num.: 12) è in uso da:\nMARIO~T1\n"
                                              "Impossibile effettuare variazioni\n"
                                              "Se nessuno lo sta usando sbloccare con l'utility: \nGestione ");
    }
  }
}

TEST_P(ComLockTest, RefusalNamesTheUtilityOfTheHoldersProgram) {
  ArgomentiLock primo = Lock("M");
  ASSERT_EQ(PrendiLock(*Mario().ctx, primo), lock::kPreso);
  ArgomentiLock a = Lock();
  EXPECT_EQ(PrendiLock(*Luigi().ctx, a), lock::kOccupato);
  ASSERT_EQ(Luigi().op.messaggi.size(), 1u);
  const std::string& testo = Luigi().op.messaggi[0].testo;
  EXPECT_EQ(testo.substr(testo.rfind('\n') + 1), "Gestione Movimenti Interrotti");

  ArgomentiLock muto = Lock();
  muto.mostraMessaggi = false;
  EXPECT_EQ(PrendiLock(*Luigi().ctx, muto), lock::kOccupato);
  EXPECT_EQ(Luigi().op.messaggi.size(), 1u);
}

TEST_P(ComLockTest, UtilityNames) {
  // clang-format off
  const std::pair<const char*, const char*> casi[] = {
      {"M", "Movimenti Interrotti"}, {"D", "DDT Interrotti"}, {"F", "Fatture Interrotte"},
      {"O", "Ordini Vendita Interrotti"}, {"A", "Ordini Acquisto Interrotti"},
      {"P", "Preventivi Interrotti"}, {"E", "Evasione Ddt in fattura: Interrotta"},
      {"0", "Evasione Ddt in fattura: Interrotta"}, {"1", "Ripristino Ddt da stampa: Interrotto"},
      {"C", "Prima Nota Interrotti"}, {"9", ""}, {"", ""},
  };
  // clang-format on
  for (const auto& [gestione, nome] : casi) EXPECT_EQ(NomeUtility(gestione), nome) << gestione;
}

TEST_P(ComLockTest, CheckOnlyWithoutARowIsResultFour) {
  ArgomentiLock a = Lock();
  a.soloVerifica = true;
  a.acquisisci = false;
  EXPECT_EQ(PrendiLock(*Mario().ctx, a), lock::kInesistente);
  EXPECT_TRUE(a.acquisisci) << "check only always looks the lock up";
  EXPECT_EQ(Conta("Select count(*) as n from LockGest"), 0);
}

TEST_P(ComLockTest, DatabaseErrorIsReportedNotTaken) {
  ex().Execute(conn(), GetParam() == testsupport::Engine::Postgres ? "DROP TABLE \"LockGest\"" : "DROP TABLE LockGest",
               db::kPassThrough);
  ArgomentiLock a = Lock();
  ASSERT_EQ(Mario().op.messaggi.size(), 0u);
  // A missing table is a failure on every engine, not another user's lock.
  EXPECT_EQ(PrendiLock(*Mario().ctx, a), lock::kErrore);
  ASSERT_EQ(Mario().op.messaggi.size(), 1u);
  EXPECT_EQ(Mario().op.messaggi[0].testo.find("Errore("), 0u) << Mario().op.messaggi[0].testo;
}

TEST_P(ComLockTest, ReleaseDeletesTheRowAndClosesTheCursor) {
  ArgomentiLock a = Lock();
  ASSERT_EQ(PrendiLock(*Mario().ctx, a), lock::kPreso);
  RilasciaLock(*Mario().ctx, nullptr, false);
  EXPECT_EQ(Conta("Select count(*) as n from LockGest"), 0);
  EXPECT_FALSE(Mario().ctx->lock.key.empty()) << "kept open without close";
  RilasciaLock(*Mario().ctx);
  EXPECT_TRUE(Mario().ctx->lock.key.empty());
  RilasciaLock(*Mario().ctx);  // nothing held: ignored

  // The same lock can now be taken by someone else.
  ArgomentiLock b = Lock();
  b.cursore = "luigi";
  EXPECT_EQ(PrendiLock(*Luigi().ctx, b), lock::kPreso);
  RilasciaLock(*Luigi().ctx, &b.cursore);
  EXPECT_TRUE(b.cursore.empty());
  EXPECT_EQ(Conta("Select count(*) as n from LockGest"), 0);
}

TEST_P(ComLockTest, NextNumber) {
  EXPECT_EQ(ProssimoNumero(*Mario().ctx, 2026, "MovPnTes", "NumReg", false), 1) << "first registration of a year";
  ex().Execute(conn(), "INSERT INTO MovPnTes (Anno, NumReg) VALUES (2024, 70)");
  ex().Execute(conn(), "INSERT INTO MovPnTes (Anno, NumReg) VALUES (2025, 40)");
  ex().Execute(conn(), "INSERT INTO MovPnTes (Anno, NumReg) VALUES (2026, 3)");
  struct Caso {
    const char* nome;
    bool era;
    util::Value annoAzzera;
    int16_t anno;
    int32_t atteso;
  };
  const Caso casi[] = {
      {"per year", false, 0.0, 2026, 4},
      {"per year, another", false, 0.0, 2025, 41},
      {"one era across all years", true, 0.0, 2026, 71},
      {"an empty parameter is one era", true, "", 2026, 71},
      {"era from 2026: 2026 alone", true, 2026.0, 2026, 4},
      {"era from 2026: the years before share theirs", true, 2026.0, 2025, 71},
      {"era year served as text", true, "2026", 2026, 4},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    Mario().host.parametri["Coge.AnnoAzzera"] = c.annoAzzera;
    EXPECT_EQ(ProssimoNumero(*Mario().ctx, c.anno, "MovPnTes", "NumReg", c.era), c.atteso);
  }
}

TEST_P(ComLockTest, UpdateNoKeyDoppiaMovesUpOnDuplicates) {
  struct Caso {
    const char* nome;
    int occupati;  // NumProg 1..occupati already taken
    bool riesce;
    int32_t atteso;
  };
  const Caso casi[] = {
      {"free number stored as it is", 0, true, 1},
      {"three taken: the fourth", 3, true, 4},
      {"ten retries are enough for ten taken", 10, true, 11},
      {"the eleventh collision is raised", 11, false, 0},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    testsupport::TestDatabase base(GetParam());
    for (int n = 1; n <= c.occupati; ++n)
      base.executor().Execute(base.conn(),
                              "INSERT INTO Scadenze (Anno, NumProg) VALUES (2026, " + std::to_string(n) + ")");
    db::DbCursor cur;
    const std::string k =
        cur.Open(base.executor(), base.conn(), "", "Select * from Scadenze where false", false, db::kUpdatable);
    cur.AddNew(k);
    cur.SetField(k, "Anno", util::Value(static_cast<int16_t>(2026)));
    cur.SetField(k, "NumProg", util::Value(static_cast<int32_t>(1)));
    int32_t numero = 0;
    if (c.riesce) {
      UpdateNoKeyDoppia(cur, k, "NumProg", numero);
      EXPECT_EQ(numero, c.atteso);
    } else {
      try {
        UpdateNoKeyDoppia(cur, k, "NumProg", numero);
        ADD_FAILURE() << "no error raised";
      } catch (const util::RuntimeError& e) {
        EXPECT_EQ(e.source(), "UpdateNoKeyDoppia");
        EXPECT_EQ(e.number(), util::err::kDuplicateKey);
      }
    }
    cur.Close(k);
  }
}

INSTANTIATE_TEST_SUITE_P(Db, ComLockTest, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
}  // namespace compensato
