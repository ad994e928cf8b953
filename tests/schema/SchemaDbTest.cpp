// The company schema as each engine holds it once created: the same tables,
// columns, types and keys as the description, and the comparisons the program
// relies on (Tipo against a number and a text, text ignoring case).
#include <gtest/gtest.h>

#include "components/db/Catalog.h"
#include "components/db/Connection.h"
#include "components/db/DbCursor.h"
#include "components/util/Error.h"
#include "schema/Schema.h"
#include "tests/support/TestDatabase.h"

namespace {

class SchemaSuMotore : public testsupport::DbTest {
 protected:
  double Numero(const std::string& sql) {
    db::DbCursor c;
    const std::string k = c.Open(ex(), conn(), "", sql, false, db::kSnapshot);
    const double n = c.IsEmpty(k) ? 0 : c.GetField(k, "N").toDouble();
    c.Close(k);
    return n;
  }
};

// Texts are compared as written; integer kinds of one width.
std::string Tipo(db::ColumnType t) {
  switch (t) {
    case db::ColumnType::Integer: return "integer";
    case db::ColumnType::Long: return "long";
    case db::ColumnType::Double: return "double";
    case db::ColumnType::Currency: return "currency";
    case db::ColumnType::Text: return "text";
    case db::ColumnType::Memo: return "memo";
    case db::ColumnType::Date: return "date";
    case db::ColumnType::DateTime: return "datetime";
    case db::ColumnType::Boolean: return "boolean";
  }
  return "?";
}

TEST_P(SchemaSuMotore, TabelleColonneETipiComeLaDescrizione) {
  db::Catalog& catalogo = ex().connection(conn()).catalog();
  for (const schema::Table& t : schema::CompanySchema().tables) {
    SCOPED_TRACE(t.name);
    const db::TableInfo* info = catalogo.table(t.name);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->name, t.name);
    ASSERT_EQ(info->columns.size(), t.columns.size());
    for (size_t i = 0; i < t.columns.size(); ++i) {
      const schema::Column& atteso = t.columns[i];
      const db::ColumnDescription* c = info->find(atteso.name);
      ASSERT_NE(c, nullptr) << atteso.name;
      EXPECT_EQ(c->name, atteso.name);
      EXPECT_EQ(Tipo(c->type), Tipo(atteso.type)) << atteso.name;
      if (atteso.type == db::ColumnType::Text) {
        EXPECT_EQ(c->size, atteso.size) << atteso.name;
      }
    }
    EXPECT_EQ(info->key, t.key);
  }
}

TEST_P(SchemaSuMotore, ChiaviUnicheRifiutanoIDoppioni) {
  ex().Execute(conn(), "INSERT INTO LockGest (Tipo, Anno, NumReg, Utente) VALUES ('C', 2026, 1, 'a~1')");
  try {
    ex().Execute(conn(), "INSERT INTO LockGest (Tipo, Anno, NumReg, Utente) VALUES ('c', 2026, 1, 'b~2')");
    FAIL() << "a lock with the same key in other letter case was accepted";
  } catch (const util::RuntimeError& e) {
    EXPECT_EQ(e.number(), util::err::kDuplicateKey);
  }
}

TEST_P(SchemaSuMotore, TipoUgualeANumeroEATesto) {
  ex().Execute(conn(), "INSERT INTO Scadenze (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, Utente) "
                       "VALUES (2026, 1, 3, '14', '01', '000001', 'u~1')");
  ex().Execute(conn(), "INSERT INTO ScadenzeApp (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, Utente) "
                       "VALUES (2026, 1, 3, '14', '01', '000001', 'u~1')");
  ex().Execute(conn(), "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) "
                       "VALUES ('14', '01', '000001', 3, 'Alfa S.r.l.')");
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE Scadenze.Tipo = 3"), 1);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE Scadenze.Tipo = '3'"), 1);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM Scadenze WHERE (Scadenze.Tipo = '3' AND Scadenze.EntrataUscita "
                   "IS NULL) OR Scadenze.Tipo = '2'"),
            1);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM ScadenzeApp INNER JOIN PianoConti ON ScadenzeApp.Tipo = "
                   "PianoConti.Tipo AND ScadenzeApp.ContoScad = PianoConti.Conto"),
            1);
}

TEST_P(SchemaSuMotore, TestoSenzaDistinzioneDiMaiuscole) {
  ex().Execute(conn(), "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) "
                       "VALUES ('14', '01', '000001', 3, 'Alfa S.r.l.')");
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM PianoConti WHERE Descrizione = 'ALFA s.R.L.'"), 1);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM PianoConti WHERE Descrizione LIKE 'alfa*'"), 1);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM PianoConti WHERE Descrizione > 'ALF'"), 1);
  EXPECT_EQ(Numero("SELECT COUNT(*) AS N FROM PianoConti WHERE Descrizione = 'Alfa'"), 0);
}

INSTANTIATE_TEST_SUITE_P(Motori, SchemaSuMotore, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
