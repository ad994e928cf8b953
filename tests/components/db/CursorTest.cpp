#include <gtest/gtest.h>

#include <functional>

#include "components/db/DbCursor.h"
#include "components/db/Recordset.h"
#include "components/util/Error.h"
#include "components/util/SqlLiteral.h"
#include "tests/support/TestDatabase.h"

namespace {

using testsupport::DbTest;
using util::Value;

class CursorTest : public DbTest {
 protected:
  void AddScadenza(int anno, int numProg, const std::string& utente = "", double importo = 100) {
    ex().Execute(conn(), "INSERT INTO Scadenze (Anno, NumProg, Tipo, ImportoScad, Utente, DataScad) VALUES (" +
                             util::SqlLiteral(anno, 2) + ", " + util::SqlLiteral(numProg, 3) + ", 3, " +
                             util::SqlLiteral(importo, 5) + ", " +
                             (utente.empty() ? std::string("Null") : util::SqlLiteral(utente, 8)) + ", " +
                             util::SqlLiteral(*util::Date::Make(anno, 1, numProg % 28 + 1), 7) + ")");
  }
  db::DbCursor c;
};

TEST_P(CursorTest, OpensOnFirstRowAndWalksToEof) {
  AddScadenza(2024, 1);
  AddScadenza(2024, 2);
  AddScadenza(2024, 3);
  const std::string k = c.Open(ex(), conn(), "", "Select * from Scadenze order by NumProg", false, db::kSnapshot);
  EXPECT_FALSE(c.IsEmpty(k));
  EXPECT_EQ(c.RecordCount(k), 3);
  std::vector<int> seen;
  for (; !c.Eof(k); c.MoveNext(k)) seen.push_back(c.GetField(k, "numprog").toLong());
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
  EXPECT_THROW(c.GetField(k, "NumProg"), util::RuntimeError);
  c.MoveFirst(k);
  EXPECT_EQ(c.GetField(k, "NUMPROG").toLong(), 1);
  EXPECT_THROW(c.GetField(k, "Nessuno"), util::RuntimeError);
}

TEST_P(CursorTest, NullReadsAsTheEmptyValueOfItsType) {
  ex().Execute(conn(), "INSERT INTO Scadenze (Anno, NumProg) VALUES (2024, 1)");
  const std::string k = c.Open(ex(), conn(), "", "Select * from Scadenze", false, db::kSnapshot);
  EXPECT_EQ(c.GetField(k, "Tipo"), Value(int16_t{0}));
  EXPECT_EQ(c.GetField(k, "NumReg"), Value(int32_t{0}));
  EXPECT_EQ(c.GetField(k, "Cambio"), Value(0.0));
  EXPECT_EQ(c.GetField(k, "ImportoScad"), Value(util::Money()));
  EXPECT_EQ(c.GetField(k, "Utente"), Value(""));
  EXPECT_EQ(c.GetField(k, "DataScad"), Value(util::Date()));
  EXPECT_TRUE(c.FieldValue(k, "DataScad").isNull());
  EXPECT_TRUE(c.FieldValue(k, "Utente").isNull());
}

TEST_P(CursorTest, TemplateCursorCarriesColumnsAndAddsRows) {
  const std::string k = c.Open(ex(), conn(), "", "Select * from Scadenze where false", false, db::kUpdatable);
  EXPECT_TRUE(c.IsEmpty(k));
  EXPECT_TRUE(c.Eof(k));
  c.AddNew(k);
  c.SetField(k, "Anno", Value(int16_t{2024}));
  c.SetField(k, "NumProg", Value(int32_t{7}));
  c.SetField(k, "ImportoScad", Value(12.345678));
  c.SetField(k, "DataScad", Value(""));
  c.SetField(k, "NumReg", Value(""));
  c.SetField(k, "Utente", Value("mario~1"));
  c.Update(k);
  c.GoToLastModified(k);
  EXPECT_EQ(c.GetField(k, "NumProg").toLong(), 7);

  db::DbCursor r;
  const std::string q = r.Open(ex(), conn(), "", "Select * from Scadenze", false, db::kSnapshot);
  ASSERT_EQ(r.RecordCount(q), 1);
  EXPECT_EQ(r.GetField(q, "ImportoScad"), Value(util::Money::FromUnits(123457)));
  EXPECT_TRUE(r.FieldValue(q, "DataScad").isNull());
  EXPECT_TRUE(r.FieldValue(q, "NumReg").isNull());
  EXPECT_EQ(r.GetField(q, "Utente"), Value("mario~1"));
}

// A template cursor that writes many rows holds only the last one it stored,
// and still reaches it; every row is in the table.
TEST_P(CursorTest, TemplateCursorKeepsOnlyTheLastRowItStored) {
  const std::string k = c.Open(ex(), conn(), "", "Select * from Scadenze where false", false, db::kUpdatable);
  for (int32_t n = 1; n <= 3; ++n) {
    c.AddNew(k);
    c.SetField(k, "Anno", Value(int16_t{2024}));
    c.SetField(k, "NumProg", Value(n));
    c.Update(k);
  }
  EXPECT_EQ(c.RecordCount(k), 1);
  EXPECT_TRUE(c.Eof(k));
  c.GoToLastModified(k);
  EXPECT_EQ(c.GetField(k, "NumProg").toLong(), 3);
  // Standing on that row, the next one stored joins it.
  c.AddNew(k);
  c.SetField(k, "Anno", Value(int16_t{2024}));
  c.SetField(k, "NumProg", Value(int32_t{4}));
  c.Update(k);
  EXPECT_EQ(c.RecordCount(k), 2);
  EXPECT_EQ(c.GetField(k, "NumProg").toLong(), 3);

  db::DbCursor r;
  const std::string q = r.Open(ex(), conn(), "", "Select * from Scadenze", false, db::kSnapshot);
  EXPECT_EQ(r.RecordCount(q), 4);
}

TEST_P(CursorTest, FailedAddNewKeepsTheRowForARetryWithAnotherKey) {
  AddScadenza(2024, 1);
  const std::string k = c.Open(ex(), conn(), "", "Select * from Scadenze where false", false, db::kUpdatable);
  c.AddNew(k);
  c.SetField(k, "Anno", Value(int16_t{2024}));
  c.SetField(k, "NumProg", Value(int32_t{1}));
  c.SetField(k, "Utente", Value("anna~2"));
  try {
    c.Update(k);
    FAIL() << "duplicate key accepted";
  } catch (const util::RuntimeError& e) {
    EXPECT_EQ(e.number(), util::err::kDuplicateKey);
  }
  c.SetField(k, "NumProg", Value(int32_t{2}));
  c.Update(k);
  db::DbCursor r;
  const std::string q = r.Open(ex(), conn(), "", "Select * from Scadenze where NumProg = 2", false, db::kSnapshot);
  ASSERT_EQ(r.RecordCount(q), 1);
  EXPECT_EQ(r.GetField(q, "Utente").toText(), "anna~2");
}

TEST_P(CursorTest, EditAndDeleteFindTheRowByItsKey) {
  AddScadenza(2024, 1);
  AddScadenza(2024, 2);
  AddScadenza(2025, 1);
  const std::string k =
      c.Open(ex(), conn(), "", "Select * from Scadenze order by Anno, NumProg", false, db::kUpdatable);
  c.MoveNext(k);  // 2024/2
  c.Edit(k);
  c.SetField(k, "Utente", Value("luca~3"));
  c.Update(k);
  EXPECT_EQ(c.GetField(k, "Utente").toText(), "luca~3");
  c.MoveFirst(k);
  c.Delete(k);
  EXPECT_THROW(c.GetField(k, "Anno"), util::RuntimeError);
  c.MoveNext(k);  // the row after the deleted one
  EXPECT_EQ(c.GetField(k, "NumProg").toLong(), 2);
  EXPECT_EQ(c.RecordCount(k), 2);

  db::DbCursor r;
  const std::string q = r.Open(ex(), conn(), "", "Select * from Scadenze order by Anno, NumProg", false, db::kSnapshot);
  ASSERT_EQ(r.RecordCount(q), 2);
  EXPECT_EQ(r.GetField(q, "Utente").toText(), "luca~3");
  r.MoveNext(q);
  EXPECT_EQ(r.GetField(q, "Anno").toLong(), 2025);
  EXPECT_EQ(r.GetField(q, "Utente").toText(), "");
}

TEST_P(CursorTest, RowsStayPutWhileTheTableChangesUnderneath) {
  AddScadenza(2024, 1);
  AddScadenza(2024, 2);
  const std::string k = c.Open(ex(), conn(), "", "Select * from Scadenze order by NumProg", false, db::kUpdatable);
  ex().Execute(conn(), "Delete * from Scadenze where NumProg = 2");
  AddScadenza(2024, 3);
  EXPECT_EQ(c.RecordCount(k), 2);
  c.MoveNext(k);
  EXPECT_EQ(c.GetField(k, "NumProg").toLong(), 2);
  // The row went away under the cursor: the edit says so instead of doing nothing.
  c.Edit(k);
  c.SetField(k, "Utente", Value("x"));
  try {
    c.Update(k);
    FAIL() << "update of a vanished row reported as done";
  } catch (const util::RuntimeError& e) {
    EXPECT_EQ(e.number(), util::err::kWriteConflict);
  }
}

TEST_P(CursorTest, JoinCursorWritesOnlyTheFirstTable) {
  ex().Execute(
      conn(),
      "INSERT INTO PianoConti (Tipo, Gruppo, Mastro, Conto, Descrizione) VALUES (3, '01', '02', '000001', 'Rossi')");
  ex().Execute(conn(), "INSERT INTO ScadenzeApp (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, Utente) "
                       "VALUES (2024, 1, 3, '01', '02', '000001', 'u~1')");
  const std::string k =
      c.Open(ex(), conn(), "",
             "SELECT ScadenzeApp.*, PianoConti.Descrizione AS RagSoc FROM (ScadenzeApp INNER JOIN PianoConti"
             " ON ScadenzeApp.ContoScad = PianoConti.Conto AND ScadenzeApp.MastroScad = PianoConti.Mastro"
             " AND ScadenzeApp.GruppoScad = PianoConti.Gruppo) WHERE ScadenzeApp.Utente = 'u~1'",
             false, db::kUpdatable);
  ASSERT_EQ(c.RecordCount(k), 1);
  EXPECT_EQ(c.GetField(k, "RagSoc").toText(), "Rossi");
  EXPECT_THROW(c.SetField(k, "RagSoc", Value("Bianchi")), util::RuntimeError);
  c.Edit(k);
  c.SetField(k, "StatoScad", Value("C"));
  c.SetField(k, "ImpPagInc", Value(50.5));
  c.Update(k);
  db::Recordset& rs = c.GetRecordset(k);
  EXPECT_EQ(rs.value(0, rs.columnIndex("StatoScad")), Value("C"));
  EXPECT_FALSE(rs.columnWritable(rs.columnIndex("RagSoc")));

  db::DbCursor r;
  const std::string q = r.Open(ex(), conn(), "", "Select * from ScadenzeApp", false, db::kSnapshot);
  EXPECT_EQ(r.GetField(q, "StatoScad").toText(), "C");
  EXPECT_EQ(r.GetField(q, "ImpPagInc").toDouble(), 50.5);
}

TEST_P(CursorTest, ExpressionNamedLikeAColumnIsReadOnly) {
  ex().Execute(conn(), "INSERT INTO ScadenzeApp (Anno, NumProg, Tipo, ImportoScad) VALUES (2024, 1, 2, 10)");
  const std::string k =
      c.Open(ex(), conn(), "",
             "SELECT IIF(ScadenzeApp.Tipo = '3', ScadenzeApp.ImportoScad, -ScadenzeApp.ImportoScad) AS ImportoScad,"
             " ScadenzeApp.Anno, ScadenzeApp.NumProg, ScadenzeApp.ImportoScad AS Importo FROM ScadenzeApp",
             false, db::kUpdatable);
  db::Recordset& rs = c.GetRecordset(k);
  EXPECT_EQ(rs.field(0, 0).toDouble(), -10);
  EXPECT_FALSE(rs.columnWritable(0));
  // An aliased column of the table stays writable under its alias.
  c.SetField(k, "Importo", Value(12.5));
  c.Update(k);
  db::DbCursor r;
  const std::string q = r.Open(ex(), conn(), "", "Select ImportoScad from ScadenzeApp", false, db::kSnapshot);
  EXPECT_EQ(r.GetField(q, "ImportoScad").toDouble(), 12.5);
}

TEST_P(CursorTest, CopyRecordTakesEverySameNamedField) {
  AddScadenza(2024, 5, "u~1", 75.25);
  const std::string src = c.Open(ex(), conn(), "", "Select * from Scadenze", false, db::kSnapshot);
  const std::string dst = c.Open(ex(), conn(), "", "Select * from ScadenzeApp where false", false, db::kUpdatable);
  EXPECT_EQ(c.CopyRecord(src, dst, true, false, true), 0);
  c.SetField(dst, "FaseElab", Value("0"));
  c.Update(dst);
  db::DbCursor r;
  const std::string q = r.Open(ex(), conn(), "", "Select * from ScadenzeApp", false, db::kSnapshot);
  ASSERT_EQ(r.RecordCount(q), 1);
  EXPECT_EQ(r.GetField(q, "NumProg").toLong(), 5);
  EXPECT_EQ(r.GetField(q, "ImportoScad").toDouble(), 75.25);
  EXPECT_EQ(r.GetField(q, "DataScad"), Value(*util::Date::Make(2024, 1, 6)));
  EXPECT_EQ(r.GetField(q, "FaseElab").toText(), "0");
}

TEST_P(CursorTest, WritesAreCheckedAgainstTheColumn) {
  const std::string k = c.Open(ex(), conn(), "", "Select * from Scadenze where false", false, db::kUpdatable);
  c.AddNew(k);
  const struct {
    const char* field;
    Value value;
    int number;
  } cases[] = {
      {"GruppoScad", Value("123"), util::err::kFieldTooSmall},
      {"Tipo", Value(int32_t{70000}), 3349},
      {"DataScad", Value("non una data"), util::err::kTypeMismatch},
      {"Nessuno", Value(1.0), util::err::kFieldNotFound},
  };
  for (const auto& tc : cases) {
    try {
      c.SetField(k, tc.field, tc.value);
      ADD_FAILURE() << tc.field << " accepted";
    } catch (const util::RuntimeError& e) {
      EXPECT_EQ(e.number(), tc.number) << tc.field;
    }
  }
  const std::string snap = c.Open(ex(), conn(), "", "Select * from Scadenze", false, db::kSnapshot);
  EXPECT_THROW(c.AddNew(snap), util::RuntimeError);
}

TEST_P(CursorTest, ReopeningAKeyReplacesItsRows) {
  AddScadenza(2024, 1);
  const std::string k = c.Open(ex(), conn(), "Lista", "Select * from Scadenze", false, db::kSnapshot);
  EXPECT_EQ(k, "Lista");
  AddScadenza(2024, 2);
  c.Open(ex(), conn(), "Lista", "Select * from Scadenze", false, db::kSnapshot);
  EXPECT_EQ(c.RecordCount("Lista"), 2);
  c.Close("Lista");
  EXPECT_FALSE(c.IsOpen("Lista"));
}

// More rows than a page of either engine, so a walk crosses pages.
constexpr int kRigheMolte = 1201;

class ForwardOnlyTest : public CursorTest {
 protected:
  void SetUp() override {
    CursorTest::SetUp();
    ex().BeginTrans(conn());
    for (int i = 1; i <= kRigheMolte; ++i) AddScadenza(2024, i);
    ex().CommitTrans(conn());
  }
  int Errore(const std::function<void()>& f) {
    try {
      f();
    } catch (const util::RuntimeError& e) {
      return e.number();
    }
    return 0;
  }
};

TEST_P(ForwardOnlyTest, WalksEveryRowInOrderAcrossPages) {
  const std::string k = c.Open(ex(), conn(), "", "Select NumProg, ImportoScad, DataScad from Scadenze order by NumProg",
                               false, db::kForwardOnly);
  EXPECT_FALSE(c.IsEmpty(k));
  EXPECT_EQ(c.RecordCount(k), kRigheMolte);  // asked before the walk: its own query
  int atteso = 1;
  for (c.MoveFirst(k); !c.Eof(k); c.MoveNext(k), ++atteso) {
    ASSERT_EQ(c.GetField(k, "NumProg").toLong(), atteso);
    ASSERT_EQ(c.GetField(k, "ImportoScad"), Value(util::Money::FromDouble(100)));
  }
  EXPECT_EQ(atteso, kRigheMolte + 1);
  EXPECT_EQ(c.RecordCount(k), kRigheMolte);
  EXPECT_FALSE(c.IsEmpty(k));
  EXPECT_EQ(Errore([&] { c.GetField(k, "NumProg"); }), util::err::kNoCurrentRecord);
  EXPECT_EQ(Errore([&] { c.MoveNext(k); }), util::err::kNoCurrentRecord);
  // The first rows are gone from memory: going back to them is refused, not
  // answered with another row's values.
  EXPECT_EQ(Errore([&] { c.MoveFirst(k); }), 3219);
  EXPECT_EQ(Errore([&] { c.GetRecordset(k).value(0, 0); }), 3219);
}

TEST_P(ForwardOnlyTest, EmptyResultAndReadOnly) {
  const std::string vuoto =
      c.Open(ex(), conn(), "", "Select * from Scadenze where NumProg < 0", false, db::kForwardOnly);
  EXPECT_TRUE(c.IsEmpty(vuoto));
  EXPECT_TRUE(c.Eof(vuoto));
  EXPECT_EQ(c.RecordCount(vuoto), 0);
  const std::string k = c.Open(ex(), conn(), "", "Select * from Scadenze", false, db::kForwardOnly);
  EXPECT_EQ(Errore([&] { c.Edit(k); }), util::err::kNotUpdatable);
  EXPECT_EQ(Errore([&] { c.AddNew(k); }), util::err::kNotUpdatable);
  EXPECT_EQ(Errore([&] { c.SetField(k, "Utente", Value("x")); }), util::err::kNotUpdatable);
  EXPECT_EQ(Errore([&] { c.Delete(k); }), util::err::kNotUpdatable);
  EXPECT_EQ(Errore([&] { c.Open(ex(), conn(), "", "Delete * from Scadenze", false, db::kForwardOnly); }),
            util::err::kSyntax);
}

// A run walks its rows and writes each in a transaction of its own, some of
// them failing and retried: the walk goes on across the commits, the
// rollbacks and the failed statements.
TEST_P(ForwardOnlyTest, WalkSurvivesTheCallersTransactions) {
  const std::string k =
      c.Open(ex(), conn(), "", "Select NumProg from Scadenze order by NumProg", false, db::kForwardOnly);
  int letti = 0;
  for (; !c.Eof(k); c.MoveNext(k)) {
    const int n = c.GetField(k, "NumProg").toLong();
    ASSERT_EQ(n, ++letti);
    if (n % 300 != 1) continue;
    ex().BeginTrans(conn());
    const std::string riga =
        "INSERT INTO ScadenzeApp (Anno, NumProg, Tipo, Utente) VALUES (2024, " + std::to_string(n) + ", 3, 'u~1')";
    ex().Execute(conn(), riga);
    EXPECT_EQ(Errore([&] { ex().Execute(conn(), riga); }), util::err::kDuplicateKey);
    if (n == 601)
      ex().Rollback(conn());
    else
      ex().CommitTrans(conn());
  }
  EXPECT_EQ(letti, kRigheMolte);
  db::DbCursor r;
  EXPECT_EQ(r.RecordCount(r.Open(ex(), conn(), "", "Select * from ScadenzeApp", false, db::kSnapshot)), 4);
}

// Opened inside a transaction that commits before the walk ends.
TEST_P(ForwardOnlyTest, OpenedInsideATransactionThatCommits) {
  ex().BeginTrans(conn());
  const std::string k =
      c.Open(ex(), conn(), "", "Select NumProg from Scadenze order by NumProg", false, db::kForwardOnly);
  ex().CommitTrans(conn());
  int letti = 0;
  for (; !c.Eof(k); c.MoveNext(k)) ASSERT_EQ(c.GetField(k, "NumProg").toLong(), ++letti);
  EXPECT_EQ(letti, kRigheMolte);
}

INSTANTIATE_TEST_SUITE_P(Db, ForwardOnlyTest, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

INSTANTIATE_TEST_SUITE_P(Db, CursorTest, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
