#include <gtest/gtest.h>

#include "components/db/DbCursor.h"
#include "components/util/Error.h"
#include "components/util/SqlLiteral.h"
#include "tests/support/TestDatabase.h"

namespace {

using util::SqlLiteral;
using util::Value;

TEST(SqlLiteral, FormsPerTypeCode) {
  const struct {
    const char* name;
    Value value;
    int code;
    const char* literal;
  } cases[] = {
      {"text", Value("O'Brien"), 8, "'O''Brien'"},
      {"empty text", Value(""), 8, "''"},
      {"number as text", Value(int16_t{3}), 8, "'3'"},
      {"integer", Value(int16_t{-12}), 2, "-12"},
      {"long from text", Value("1.234"), 3, "1234"},
      {"double with point", Value(1234.5), 5, "1234.5"},
      {"double from italian text", Value("1.234,56"), 5, "1234.56"},
      {"money", Value(util::Money::FromUnits(-12345)), 5, "-1.2345"},
      {"date", Value(*util::Date::Make(2024, 1, 31)), 7, "#01/31/2024#"},
      {"date with time", Value(*util::Date::Make(2024, 2, 1, 9, 5, 7)), 7, "#02/01/2024 09:05:07#"},
      {"date from italian text", Value("31/01/2024"), 7, "#01/31/2024#"},
      {"empty text as date", Value(""), 7, "Null"},
      {"null", Value(), 8, "Null"},
      {"boolean", Value(true), 11, "True"},
  };
  for (const auto& c : cases) EXPECT_EQ(SqlLiteral(c.value, c.code), c.literal) << c.name;
}

TEST(SqlLiteral, RefusesWhatItCannotWrite) {
  const struct {
    const char* name;
    Value value;
    int code;
  } cases[] = {
      {"NUL in text", Value(std::string("a\0b", 3)), 8},
      {"not a number", Value("abc"), 5},
      {"integer overflow", Value(int32_t{40000}), 2},
      {"not a date", Value("31/02/2024"), 7},
      {"unknown code", Value(1.0), 99},
  };
  for (const auto& c : cases) {
    try {
      SqlLiteral(c.value, c.code);
      ADD_FAILURE() << c.name;
    } catch (const util::RuntimeError& e) {
      EXPECT_EQ(e.number(), util::err::kTypeMismatch) << c.name;
    }
  }
}

class LiteralRoundTrip : public testsupport::DbTest {};

// Text that would break a statement built by pasting stays data.
TEST_P(LiteralRoundTrip, HostileTextIsStoredAndFoundAsData) {
  // clang-format off
  const std::string hostile[] = {
      "O'Brien", "''", "'; DROP TABLE Monete; --", "a\\'b\\", "x' OR '1'='1", "#01/01/2024#",
      "Select * from", "\"quoted\"", "50% _off_ *all*", "àèìòù €", "?", "$1 :p @p",
  };
  // clang-format on
  int n = 0;
  for (const std::string& s : hostile) {
    const std::string code = "K" + std::to_string(++n);
    ex().Execute(conn(), "INSERT INTO Monete (Moneta, Descrizione) VALUES (" + SqlLiteral(code, 8) + ", " +
                             SqlLiteral(s, 8) + ")");
    db::DbCursor c;
    const std::string k =
        c.Open(ex(), conn(), "", "Select * from Monete where Descrizione = " + SqlLiteral(s, 8), false, db::kSnapshot);
    ASSERT_EQ(c.RecordCount(k), 1) << s;
    EXPECT_EQ(c.GetField(k, "Descrizione").toText(), s);
    EXPECT_EQ(c.GetField(k, "Moneta").toText(), code);
  }
  db::DbCursor c;
  const std::string k = c.Open(ex(), conn(), "", "Select count(*) as n from Monete", false, db::kSnapshot);
  EXPECT_EQ(c.GetField(k, "n").toLong(), n);
}

TEST_P(LiteralRoundTrip, LikeMatchesTheTextOfThePatternLiterally) {
  for (const char* u : {"ma_x~1", "maxx~2", "ma%x~3", "MA_X~4"})
    ex().Execute(conn(), std::string("INSERT INTO LockGest (Tipo, Anno, NumReg, Utente) VALUES ('C', 2024, ") +
                             std::to_string(u[5] - '0') + ", " + SqlLiteral(u, 8) + ")");
  db::DbCursor c;
  const std::string k = c.Open(
      ex(), conn(), "",
      "Select * from LockGest where Utente LIKE " + SqlLiteral(std::string("ma_x~") + "*", 8) + " order by NumReg",
      false, db::kSnapshot);
  ASSERT_EQ(c.RecordCount(k), 2);
  EXPECT_EQ(c.GetField(k, "Utente").toText(), "ma_x~1");
  c.MoveNext(k);
  EXPECT_EQ(c.GetField(k, "Utente").toText(), "MA_X~4");
}

TEST_P(LiteralRoundTrip, DatesAndAmountsKeepTheirValue) {
  ex().Execute(conn(), "INSERT INTO Scadenze (Anno, NumProg, DataScad, ImportoScad, Cambio) VALUES (2024, 1, " +
                           SqlLiteral(*util::Date::Make(2024, 2, 29), 7) + ", " + SqlLiteral(1234.5678, 5) + ", " +
                           SqlLiteral(1936.27, 5) + ")");
  db::DbCursor c;
  const std::string k =
      c.Open(ex(), conn(), "", "Select * from Scadenze where DataScad >= #02/29/2024# and DataScad < #3/1/2024#", false,
             db::kSnapshot);
  ASSERT_EQ(c.RecordCount(k), 1);
  EXPECT_EQ(c.GetField(k, "DataScad"), Value(*util::Date::Make(2024, 2, 29)));
  EXPECT_EQ(c.GetField(k, "ImportoScad"), Value(util::Money::FromUnits(12345678)));
  EXPECT_EQ(c.GetField(k, "Cambio"), Value(1936.27));
}

TEST_P(LiteralRoundTrip, AmountsWrittenByStatementsKeepFourDecimalsOnEveryEngine) {
  ex().Execute(conn(), "INSERT INTO Scadenze (Anno, NumProg, ImportoScad, Cambio) VALUES (2024, 1, 0.00005, 0.00005)");
  ex().Execute(conn(), "INSERT INTO Scadenze (Anno, NumProg, ImportoScad) VALUES (2024, 2, 1)");
  ex().Execute(conn(), "UPDATE Scadenze SET Scadenze.ImportoScad = -12.345649 WHERE NumProg = 2");
  db::DbCursor c;
  const std::string k = c.Open(
      ex(), conn(), "", "Select sum(ImportoScad) as Totale, sum(Cambio) as Cambi from Scadenze", false, db::kSnapshot);
  // Stored as 0.0001 and -12.3456: the sum sees the stored amounts, not the typed ones.
  EXPECT_DOUBLE_EQ(c.GetField(k, "Totale").toDouble(), -12.3455);
  EXPECT_DOUBLE_EQ(c.GetField(k, "Cambi").toDouble(), 0.00005);  // a double column keeps its value
}

// The program's & treats a missing part as empty text: an account code with
// no ledger still reads "01--000100", not null.
TEST_P(LiteralRoundTrip, ConcatenationTakesNullAsEmptyText) {
  ex().Execute(conn(),
               "INSERT INTO Scadenze (Anno, NumProg, GruppoScad, ContoScad, Tipo) VALUES (2024, 1, '01', '000100', 3)");
  db::DbCursor c;
  const std::string k = c.Open(ex(), conn(), "",
                               "Select GruppoScad & '-' & MastroScad & '-' & ContoScad & ' ' AS Conto, "
                               "Tipo & '/' & Anno AS Chiave from Scadenze where MastroScad & 'x' = 'x'",
                               false, db::kSnapshot);
  ASSERT_EQ(c.RecordCount(k), 1);
  EXPECT_EQ(c.GetField(k, "Conto").toText(), "01--000100 ");
  EXPECT_EQ(c.GetField(k, "Chiave").toText(), "3/2024");
}

INSTANTIATE_TEST_SUITE_P(Db, LiteralRoundTrip, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
