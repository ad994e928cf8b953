#include <gtest/gtest.h>

#include <ostream>

#include "components/db/Translator.h"
#include "components/util/Error.h"

namespace {

using db::ColumnType;
using db::SqlParam;

db::TableCatalog Catalog() {
  auto cols = [](std::initializer_list<const char*> names) {
    std::vector<db::ColumnDescription> out;
    for (const char* n : names) out.push_back({n, ColumnType::Text, 10});
    return out;
  };
  db::TableCatalog c;
  c.set({
      {"Scadenze",
       cols({"Anno", "NumProg", "Tipo", "PagTipo", "Moneta", "Utente", "FlStato", "ImpPagInc", "DataScad", "RagRB"}),
       {"Anno", "NumProg"}},
      {"PagTipi", cols({"PagTipo", "EmissEffetti"}), {"PagTipo"}},
      {"Monete", cols({"Moneta", "Descrizione"}), {"Moneta"}},
      {"MovPnTes", cols({"Anno", "NumReg", "IvaPerCassa"}), {"Anno", "NumReg"}},
      {"PianoConti", cols({"Gruppo", "RagRb"}), {"Gruppo"}},
  });
  return c;
}

struct Case {
  const char* name;
  const char* in;
  const char* sqlite;  // with ? for the bound values
  const char* postgres;
};

// clang-format off
const Case kCases[] = {
    {"count_with_alias", "SELECT COUNT(*) AS Numero FROM Scadenze WHERE  Utente = 'a~1' AND FlStato = '0'",
     "SELECT COUNT(*) AS Numero FROM Scadenze WHERE Utente = ? AND FlStato = ?",
     "SELECT COUNT(*) AS \"Numero\" FROM \"Scadenze\" WHERE \"Utente\" = 'a~1' AND \"FlStato\" = '0'"},
    {"iif_isnull_sum",
     "SELECT SUM(IIF(IsNull(ImpPagInc), 0, ImpPagInc)) AS Pagato FROM scadenze",
     "SELECT SUM(CASE WHEN (ImpPagInc IS NULL) THEN ? ELSE ImpPagInc END) AS Pagato FROM scadenze",
     "SELECT SUM(CASE WHEN (\"ImpPagInc\" IS NULL) THEN 0 ELSE \"ImpPagInc\" END) AS \"Pagato\" FROM \"Scadenze\""},
    {"top_desc", "Select top 1 * from Scadenze where anno = 2024 order by NumProg DESC",
     "SELECT * FROM Scadenze WHERE anno = ? ORDER BY NumProg DESC LIMIT 1",
     "SELECT * FROM \"Scadenze\" WHERE \"Anno\" = 2024 ORDER BY \"NumProg\" DESC LIMIT 1"},
    {"where_false", "Select * from MovPnTes where False", "SELECT * FROM MovPnTes WHERE 0",
     "SELECT * FROM \"MovPnTes\" WHERE FALSE"},
    {"like_star_and_escapes", "SELECT Utente FROM Scadenze WHERE Scadenze.Utente LIKE 'ma_r%io~*' GROUP BY Utente",
     "SELECT Utente FROM Scadenze WHERE Scadenze.Utente LIKE ? ESCAPE '\\' GROUP BY Utente",
     "SELECT \"Utente\" FROM \"Scadenze\" WHERE \"Scadenze\".\"Utente\" ILIKE 'ma\\_r\\%io~%' ESCAPE '\\' GROUP BY \"Utente\""},
    {"date_literal", "Select * from Scadenze where DataScad >= #01/31/2024# and DataScad < #2/1/2024 10:30:00#",
     "SELECT * FROM Scadenze WHERE DataScad >= ? AND DataScad < ?",
     "SELECT * FROM \"Scadenze\" WHERE \"DataScad\" >= DATE '2024-01-31' AND \"DataScad\" < TIMESTAMP '2024-02-01 10:30:00'"},
    {"concat_ucase_true", "Select ucase(Utente) & '-' & Moneta AS K from Scadenze where True",
     "SELECT (COALESCE(CAST(UPPER(Utente) AS TEXT), '') || ? || COALESCE(CAST(Moneta AS TEXT), '')) AS K FROM Scadenze WHERE 1",
     "SELECT (COALESCE(CAST(UPPER(\"Utente\") AS TEXT), '') || '-' || COALESCE(CAST(\"Moneta\" AS TEXT), '')) AS \"K\" "
     "FROM \"Scadenze\" WHERE TRUE"},
    {"concat_operands_end_at_comparisons_and_groups", "Select * from Scadenze where (Utente & 'x') = 'ax' and Moneta & Tipo <> 'E3'",
     "SELECT * FROM Scadenze WHERE ((COALESCE(CAST(Utente AS TEXT), '') || ?)) = ? AND (COALESCE(CAST(Moneta AS TEXT), '') || "
     "COALESCE(CAST(Tipo AS TEXT), '')) <> ?",
     "SELECT * FROM \"Scadenze\" WHERE ((COALESCE(CAST(\"Utente\" AS TEXT), '') || 'x')) = 'ax' AND (COALESCE(CAST(\"Moneta\" "
     "AS TEXT), '') || COALESCE(CAST(\"Tipo\" AS TEXT), '')) <> 'E3'"},
    {"delete_star", "Delete * from MovPnTes where Anno = 2024", "DELETE FROM MovPnTes WHERE Anno = ?",
     "DELETE FROM \"MovPnTes\" WHERE \"Anno\" = 2024"},
    {"delete_table_star", "Delete MovPnTes.* From MovPnTes where MovPnTes.Anno=2024",
     "DELETE FROM MovPnTes WHERE MovPnTes.Anno = ?",
     "DELETE FROM \"MovPnTes\" WHERE \"MovPnTes\".\"Anno\" = 2024"},
    {"update_qualified_set", "UPDATE Scadenze SET Scadenze.Utente = ' ',Scadenze.FlStato = NULL WHERE Scadenze.Utente = 'a'",
     "UPDATE Scadenze SET Utente = ?, FlStato = NULL WHERE Scadenze.Utente = ?",
     "UPDATE \"Scadenze\" SET \"Utente\" = ' ', \"FlStato\" = NULL WHERE \"Scadenze\".\"Utente\" = 'a'"},
    {"update_over_join",
     "UPDATE ((Scadenze INNER JOIN PagTipi ON Scadenze.PagTipo = PagTipi.PagTipo) INNER JOIN Monete ON "
     "Scadenze.Moneta = Monete.Moneta) SET Scadenze.Utente = 'u',Scadenze.FlStato = '0' WHERE  Scadenze.Tipo = 3 "
     "AND PagTipi.EmissEffetti = 'N'",
     "UPDATE Scadenze SET Utente = ?, FlStato = ? FROM PagTipi, Monete WHERE (Scadenze.PagTipo = PagTipi.PagTipo) "
     "AND (Scadenze.Moneta = Monete.Moneta) AND (Scadenze.Tipo = ? AND PagTipi.EmissEffetti = ?)",
     "UPDATE \"Scadenze\" SET \"Utente\" = 'u', \"FlStato\" = '0' FROM \"PagTipi\", \"Monete\" WHERE "
     "(\"Scadenze\".\"PagTipo\" = \"PagTipi\".\"PagTipo\") AND (\"Scadenze\".\"Moneta\" = \"Monete\".\"Moneta\") AND "
     "(\"Scadenze\".\"Tipo\" = 3 AND \"PagTipi\".\"EmissEffetti\" = 'N')"},
    {"left_join_nested",
     "Select MovPnTes.IvaPerCassa from (MovPnTes LEFT JOIN Monete ON (MovPnTes.Anno = Monete.Moneta)) where MovPnTes.NumReg <> 1",
     "SELECT MovPnTes.IvaPerCassa FROM (MovPnTes LEFT JOIN Monete ON (MovPnTes.Anno = Monete.Moneta)) WHERE MovPnTes.NumReg <> ?",
     "SELECT \"MovPnTes\".\"IvaPerCassa\" FROM (\"MovPnTes\" LEFT JOIN \"Monete\" ON (\"MovPnTes\".\"Anno\" = \"Monete\".\"Moneta\")) WHERE \"MovPnTes\".\"NumReg\" <> 1"},
    {"insert_values", "INSERT INTO Scadenze(Anno,NumProg,Utente) VALUES (2024,1,'O''Brien')",
     "INSERT INTO Scadenze (Anno, NumProg, Utente) VALUES (?, ?, ?)",
     "INSERT INTO \"Scadenze\" (\"Anno\", \"NumProg\", \"Utente\") VALUES (2024, 1, 'O''Brien')"},
    {"column_spelling_per_table", "Select RagRb from PianoConti", "SELECT RagRb FROM PianoConti",
     "SELECT \"RagRb\" FROM \"PianoConti\""},
    {"table_alias_without_as", "Select S.Utente from Scadenze S where S.Anno = 1", "SELECT S.Utente FROM Scadenze S WHERE S.Anno = ?",
     "SELECT S.\"Utente\" FROM \"Scadenze\" S WHERE S.\"Anno\" = 1"},
    {"trailing_semicolon_and_bracket_names", "Select [Utente] from [Scadenze];", "SELECT \"Utente\" FROM \"Scadenze\"",
     "SELECT \"Utente\" FROM \"Scadenze\""},
};
// clang-format on

// The listing names a case by the statement it translates.
void PrintTo(const Case& c, std::ostream* os) { *os << c.in; }

class TranslatorCase : public ::testing::TestWithParam<Case> {};

TEST_P(TranslatorCase, SqliteAndPostgres) {
  db::TableCatalog catalog = Catalog();
  db::SqliteDialect lite;
  db::PostgresDialect pg;
  EXPECT_EQ(db::Translator(lite, catalog).translate(GetParam().in).sql, GetParam().sqlite);
  EXPECT_EQ(db::Translator(pg, catalog).translate(GetParam().in).sql, GetParam().postgres);
}

INSTANTIATE_TEST_SUITE_P(Dialect, TranslatorCase, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Translator, BindsValuesAndSharesOneTranslationAcrossThem) {
  db::TableCatalog catalog = Catalog();
  db::SqliteDialect lite;
  db::Translator t(lite, catalog);
  const auto a =
      t.translate("Select * from Scadenze where Utente LIKE 'a_b*' and Anno = 2024 and DataScad = #12/31/2023#");
  const auto b = t.translate("Select * from Scadenze where Utente LIKE 'x' and Anno = 7 and DataScad = #1/2/2023#");
  EXPECT_EQ(a.sql, b.sql);
  EXPECT_EQ(t.cacheSize(), 1u);
  EXPECT_EQ(a.params, (std::vector<SqlParam>{std::string("a\\_b%"), int64_t{2024}, std::string("2023-12-31")}));
  EXPECT_EQ(b.params, (std::vector<SqlParam>{std::string("x"), int64_t{7}, std::string("2023-01-02")}));
  // TOP's count stays in the text: another count is another statement.
  EXPECT_EQ(t.translate("Select top 2 * from Scadenze").sql, "SELECT * FROM Scadenze LIMIT 2");
  EXPECT_EQ(t.translate("Select top 3 * from Scadenze").sql, "SELECT * FROM Scadenze LIMIT 3");
}

TEST(Translator, LocksOnlyPlainSelectsOfTheFirstTable) {
  db::TableCatalog catalog = Catalog();
  db::PostgresDialect pg;
  db::Translator t(pg, catalog);
  const db::TranslateOptions lock{true};
  EXPECT_EQ(t.translate("Select * from Scadenze where Anno = 1", lock).sql,
            "SELECT * FROM \"Scadenze\" WHERE \"Anno\" = 1 FOR UPDATE OF \"Scadenze\"");
  EXPECT_EQ(t.translate("Select top 1 * from Scadenze order by NumProg DESC", lock).sql,
            "SELECT * FROM \"Scadenze\" ORDER BY \"NumProg\" DESC LIMIT 1 FOR UPDATE OF \"Scadenze\"");
  EXPECT_EQ(t.translate("Select count(*) AS n from Scadenze", lock).sql, "SELECT COUNT(*) AS \"n\" FROM \"Scadenze\"");
  EXPECT_EQ(t.translate("Select distinct Utente from Scadenze", lock).sql,
            "SELECT DISTINCT \"Utente\" FROM \"Scadenze\"");
}

TEST(Translator, UntranslatableConstructsAreRefusedByName) {
  db::TableCatalog catalog = Catalog();
  db::SqliteDialect lite;
  db::Translator t(lite, catalog);
  const struct {
    const char* sql;
    const char* named;
  } cases[] = {
      {"Select Format(DataScad, 'yyyy') from Scadenze", "Format"},
      {"Select * from Scadenze where Utente like '[a-c]*'", "[..]"},
      {"Select * from Scadenze where Utente like Moneta", "LIKE"},
      {"Select * from Scadenze where DataScad = #31/31/2024#", "#31/31/2024#"},
      {"Select top 10 percent * from Scadenze", "PERCENT"},
      {"Select * from Scadenze; Delete * from Scadenze", "Più istruzioni"},
      {"UPDATE (Scadenze LEFT JOIN PagTipi ON Scadenze.PagTipo = PagTipi.PagTipo) SET Scadenze.Utente = 'x'", "LEFT"},
      {"Delete Scadenze.* from Scadenze inner join PagTipi on Scadenze.PagTipo = PagTipi.PagTipo", "più tabelle"},
      {"Select * from Scadenze where Utente = 'abc", "apici"},
      {"Select IIF(Anno = 1, 2) from Scadenze", "IIF"},
      {"Select a Xor b from Scadenze", "XOR"},
      {"Truncate Scadenze", "Truncate"},
      {"Select * from Scadenze where Utente = 'a' ? 1", "?"},
  };
  for (const auto& c : cases) {
    try {
      t.translate(c.sql);
      ADD_FAILURE() << "accepted: " << c.sql;
    } catch (const util::RuntimeError& e) {
      EXPECT_EQ(e.number(), util::err::kSyntax) << c.sql;
      EXPECT_NE(e.description().find(c.named), std::string::npos) << e.description();
    }
  }
}

TEST(Translator, LikePatternConversion) {
  const struct {
    const char* pattern;
    const char* sql;
  } cases[] = {
      {"mario~*", "mario~%"}, {"a?c", "a_c"}, {"50%_off", "50\\%\\_off"}, {"c:\\x", "c:\\\\x"}, {"[*]x[?]", "*x?"},
  };
  for (const auto& c : cases) EXPECT_EQ(db::LikePattern(c.pattern), c.sql) << c.pattern;
}

}  // namespace
