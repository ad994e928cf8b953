// The repair of a company file the engine refuses: a damaged header is mended
// and the file rebuilt, the damaged one kept beside it; anything that would
// lose rows leaves the file as it was found.
#include "components/db/Repair.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "components/db/DbCursor.h"
#include "components/util/Error.h"
#include "tests/support/TestDatabase.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRighe = 2000;

std::string Leggi(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Sovrascrivi(const fs::path& file, std::streamoff dove, const std::string& byte) {
  std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
  f.seekp(dove);
  f.write(byte.data(), static_cast<std::streamsize>(byte.size()));
}

class Riparazione : public ::testing::Test {
 protected:
  // A file with one table of kRighe rows and its index; its pages are 4096
  // bytes, the table's in the first half.
  fs::path Azienda() {
    testsupport::TestDatabase origine(testsupport::Engine::Sqlite, false);
    db::DbExecutor& ex = origine.executor();
    const std::string& c = origine.conn();
    ex.Execute(c, "CREATE TABLE Prova (n INTEGER PRIMARY KEY, t TEXT NOT NULL)", db::kPassThrough);
    ex.Execute(c,
               "WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < " + std::to_string(kRighe) +
                   ") INSERT INTO Prova SELECT n, printf('%0200d', n) FROM s",
               db::kPassThrough);
    // Made after the rows, the index fills the second half of the file.
    ex.Execute(c, "CREATE INDEX Prova_t ON Prova (t)", db::kPassThrough);
    ex.Execute(c, "PRAGMA wal_checkpoint(TRUNCATE)", db::kPassThrough);
    const fs::path file = dir_ / "azienda.db";
    fs::copy_file(origine.name(), file);
    return file;
  }

  // The rows the repaired file gives the program, or -1 when it does not open.
  int Righe(const fs::path& file) {
    try {
      db::DbExecutor ex;
      const std::string conn = ex.OpenDatabase(file.string());
      db::DbCursor c;
      const std::string k = c.Open(ex, conn, "", "SELECT COUNT(*) AS N FROM Prova WHERE t = t", false, db::kSnapshot);
      const int n = c.GetField(k, "N").toLong();
      c.Close(k);
      return n;
    } catch (const util::RuntimeError&) {
      return -1;
    }
  }

  std::vector<std::string> Accanto() {
    std::vector<std::string> nomi;
    for (const auto& e : fs::directory_iterator(dir_)) nomi.push_back(e.path().filename().string());
    std::sort(nomi.begin(), nomi.end());
    return nomi;
  }

  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("compensato-repair-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
};

TEST_F(Riparazione, AHeaderDamagedIsMendedAndEveryRowKept) {
  struct Caso {
    const char* nome;
    std::function<void(const fs::path&)> danno;
  } casi[] = {
      {"magic string overwritten", [](const fs::path& f) { Sovrascrivi(f, 0, std::string(16, 'X')); }},
      {"payload fractions zeroed", [](const fs::path& f) { Sovrascrivi(f, 21, std::string(3, '\0')); }},
      {"page size zeroed", [](const fs::path& f) { Sovrascrivi(f, 16, std::string(2, '\0')); }},
      {"first 24 bytes zeroed", [](const fs::path& f) { Sovrascrivi(f, 0, std::string(24, '\0')); }},
      // The rows are all there; the index is built anew from them.
      {"an index page overwritten too",
       [](const fs::path& f) {
         Sovrascrivi(f, static_cast<std::streamoff>(fs::file_size(f)) - 4096, std::string(4096, '\xff'));
         Sovrascrivi(f, 0, std::string(16, 'X'));
       }},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    const fs::path file = Azienda();
    fs::permissions(file,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write);
    c.danno(file);
    const std::string danneggiato = Leggi(file);
    ASSERT_EQ(Righe(file), -1) << "the damage makes the file unreadable";

    const db::RepairResult r = db::RepairDatabase(file.string());
    ASSERT_TRUE(r.repaired) << r.reason;
    EXPECT_EQ(Righe(file), kRighe);
    EXPECT_EQ(fs::status(file).permissions(), fs::status(r.kept).permissions()) << "the operators' access is kept";
    EXPECT_EQ(r.kept, (dir_ / "azienda.db.danneggiato").string());
    EXPECT_TRUE(Leggi(r.kept) == danneggiato) << "the damaged file is kept as it was";
    for (const std::string& nome : Accanto())
      EXPECT_TRUE(nome.rfind("azienda.db", 0) == 0 && nome.find("riparazione") == std::string::npos &&
                  nome.find("nuovo") == std::string::npos)
          << nome << " left behind";
  }
}

TEST_F(Riparazione, WhatCannotBeRebuiltWholeIsLeftAsFound) {
  struct Caso {
    const char* nome;
    std::function<fs::path()> file;
  } casi[] = {
      {"not a database",
       [&] {
         const fs::path f = dir_ / "rotto.db";
         std::ofstream(f, std::ios::binary) << std::string(8192, 'x');
         return f;
       }},
      {"a page of the table overwritten",
       [&] {
         const fs::path f = Azienda();
         const auto tabella = static_cast<std::streamoff>(fs::file_size(f) / 4 / 4096 * 4096);
         Sovrascrivi(f, tabella, std::string(4096, '\xff'));
         Sovrascrivi(f, 0, std::string(16, 'X'));
         return f;
       }},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    const fs::path file = c.file();
    const std::string prima = Leggi(file);
    const std::vector<std::string> accanto = Accanto();
    const db::RepairResult r = db::RepairDatabase(file.string());
    EXPECT_FALSE(r.repaired);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_TRUE(Leggi(file) == prima) << "the file is changed";
    EXPECT_EQ(Accanto(), accanto);
  }
}

TEST_F(Riparazione, TheKeptNameIsNumberedWhenTaken) {
  const fs::path file = Azienda();
  std::ofstream(dir_ / "azienda.db.danneggiato") << "an earlier repair";
  Sovrascrivi(file, 0, std::string(16, 'X'));
  const db::RepairResult r = db::RepairDatabase(file.string());
  ASSERT_TRUE(r.repaired) << r.reason;
  EXPECT_EQ(r.kept, (dir_ / "azienda.db.danneggiato.1").string());
  EXPECT_EQ(Leggi(dir_ / "azienda.db.danneggiato"), "an earlier repair");
}

TEST(RepairDatabase, AServerNameOrAMissingFileIsNotRepaired) {
  for (const char* nome : {"ODBC;DSN=ditta", "ditta", "/non/esiste/azienda.db"}) {
    const db::RepairResult r = db::RepairDatabase(nome);
    EXPECT_FALSE(r.repaired) << nome;
    EXPECT_FALSE(r.reason.empty()) << nome;
  }
}

}  // namespace
