#include "schema/Schema.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace schema {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The committed DDL files are what tools/schemagen makes of the description;
// regenerate them with scripts/schema when the description changes.
TEST(Schema, CommittedDdlIsCurrent) {
  EXPECT_EQ(ReadFile(COMPENSATO_SOURCE_DIR "/schema/sqlite.sql"), DdlScript(CompanySchema(), Engine::Sqlite));
  EXPECT_EQ(ReadFile(COMPENSATO_SOURCE_DIR "/schema/postgresql.sql"), DdlScript(CompanySchema(), Engine::Postgres));
}

TEST(Schema, WorkingCopyHasEveryInstallmentColumnPlusThePhase) {
  const Schema& s = CompanySchema();
  const Table* scad = s.find("scadenze");
  const Table* app = s.find("ScadenzeApp");
  ASSERT_TRUE(scad && app);
  ASSERT_EQ(app->columns.size(), scad->columns.size() + 1);
  for (size_t i = 0; i < scad->columns.size(); ++i) EXPECT_EQ(app->columns[i].name, scad->columns[i].name);
  EXPECT_EQ(app->columns.back().name, "FaseElab");
  EXPECT_EQ(app->key, (std::vector<std::string>{"Anno", "NumProg"}));
}

TEST(Schema, KeysOfTheJournalAndTotals) {
  const Schema& s = CompanySchema();
  EXPECT_EQ(s.find("MovPnTes")->key, (std::vector<std::string>{"Anno", "NumReg"}));
  EXPECT_EQ(s.find("MovPnDettApp")->key, (std::vector<std::string>{"Anno", "NumReg", "RigReg"}));
  EXPECT_EQ(s.find("PdcProg")->key,
            (std::vector<std::string>{"Anno", "PartTipo", "CoPartGruppo", "CoPartMastro", "CoPartConto"}));
  EXPECT_EQ(s.find("LockGest")->key, (std::vector<std::string>{"Tipo", "Anno", "NumReg"}));
  for (const char* variant : {"MovPnTesFitt", "MovPnDettFitt", "MovPnIvaFitt", "MovPnTesFatt", "MovPnDettFatt",
                              "MovPnIvaFatt", "MovPnIvaApp"})
    EXPECT_TRUE(s.find(variant)) << variant;
  const Table* pag = s.find("Pagamenti");
  for (int n = 1; n <= 12; ++n) {
    EXPECT_TRUE(pag->find("Periodo" + std::to_string(n)));
    EXPECT_TRUE(pag->find("Percentuale" + std::to_string(n)));
  }
}

TEST(Schema, MalformedDescriptionsNameTheirLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"table A\n  X text\n", "schema line 2: text needs a size"},
      {"table A\n  X number\n", "schema line 2: unknown type number"},
      {"  X long\n", "schema line 1: column outside a table"},
      {"table A like B\n", "schema line 1: unknown table B"},
      {"table A\n  X long\nindex A (Y)\n", "schema line 3: unknown column Y"},
  };
  for (const Case& c : cases) {
    try {
      Parse(c.text);
      ADD_FAILURE() << c.text;
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace schema
