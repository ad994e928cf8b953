#include "components/util/Ini.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace util {
namespace {

class IniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("ini-test-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path Write(const std::string& name, const std::string& bytes) {
    const auto p = dir_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }

  std::filesystem::path dir_;
};

TEST_F(IniTest, ProfileQuirks) {
  const auto file = Write("torvel.ini", "\xEF\xBB\xBF; main configuration\r\n"
                                        "[Parametri Generali]\r\n"
                                        "NumIni = 2 \r\n"
                                        "OrdIniDBase=db1.ini\r\n"
                                        "OrdIniDBase=second-is-ignored.ini\r\n"
                                        "# another comment\r\n"
                                        "VisParam=\r\n"
                                        "Quoted = \"  blanks kept  \"\r\n"
                                        "Single='x'\r\n"
                                        "Connect=ODBC;DSN=ditta;UID=ada # not a comment\r\n"
                                        "no equals sign here\r\n"
                                        "[Configurazioni]\r\n"
                                        "FormatData=dd/mm/yyyy\r\n"
                                        "[parametri generali]\r\n"
                                        "BeepCome=S\r\n"
                                        "NumIni=9\r\n");
  struct Case {
    const char* name;
    const char* section;
    const char* key;
    const char* expected;
    int count;
  };
  const Case cases[] = {
      {"trimmed value", "Parametri Generali", "NumIni", "2", 1},
      {"section and key ignore case", "PARAMETRI generali", "numini", "2", 1},
      {"first occurrence of a key wins", "Parametri Generali", "OrdIniDBase", "db1.ini", 7},
      {"empty value is empty, count 0", "Parametri Generali", "VisParam", "", 0},
      {"double quotes removed, blanks inside kept", "Parametri Generali", "Quoted", "  blanks kept  ", 15},
      {"single quotes removed", "Parametri Generali", "Single", "x", 1},
      {"semicolons and hashes belong to the value", "Parametri Generali", "Connect",
       "ODBC;DSN=ditta;UID=ada # not a comment", 38},
      {"key of a later section of the same name", "Parametri Generali", "BeepCome", "S", 1},
      {"missing key gives default", "Parametri Generali", "Manca", "dflt", 0},
      {"missing section gives default", "Nessuna", "NumIni", "dflt", 0},
      {"key of another section is not seen", "Configurazioni", "NumIni", "dflt", 0},
      {"line without equals sign is ignored", "Parametri Generali", "no equals sign here", "dflt", 0},
  };
  for (const Case& c : cases) {
    std::string value = "garbage";
    const int n = ReadIniKey(c.section, c.key, "dflt", value, file);
    EXPECT_EQ(value, c.expected) << c.name;
    EXPECT_EQ(n, c.count) << c.name;
  }
}

TEST_F(IniTest, MissingFileGivesDefault) {
  std::string value;
  EXPECT_EQ(ReadIniKey("Setup", "IniPrincipale", "", value, dir_ / "none.ini"), 0);
  EXPECT_EQ(value, "");
  EXPECT_EQ(ReadIniKey("Setup", "IniPrincipale", "x", value, ""), 0);
  EXPECT_EQ(value, "x");
}

TEST_F(IniTest, LimitCutsWholeCharacters) {
  const std::string longValue(300, 'a');
  const auto file = Write("l.ini", "[S]\nK=" + longValue + "\nA=àèìòù\n");
  std::string value;
  EXPECT_EQ(ReadIniKey("S", "K", "", value, file, 255), 255);
  EXPECT_EQ(value, std::string(255, 'a'));
  EXPECT_EQ(ReadIniKey("S", "K", "", value, file), 300);
  EXPECT_EQ(ReadIniKey("S", "A", "", value, file, 3), 3);
  EXPECT_EQ(value, "àèì");
}

TEST_F(IniTest, EncodingsReadAsUtf8) {
  // Latin-1 / cp1252 bytes: "Società €" with LF line ends and no BOM.
  const auto latin = Write("latin.ini", "[Ditta]\nNome=Societ\xE0 \x80\n");
  const auto utf8 = Write("utf8.ini", "[Ditta]\nNome=Società €\n");
  std::string a, b;
  ReadIniKey("Ditta", "Nome", "", a, latin);
  ReadIniKey("Ditta", "Nome", "", b, utf8);
  EXPECT_EQ(a, "Società €");
  EXPECT_EQ(b, "Società €");
}

TEST_F(IniTest, ConfigurationPrecedence) {
  const auto main = Write("torvel.ini", "[Configurazioni]\nFormatData=dd/mm/yyyy\n"
                                        "[Parametri Generali]\nBeepCome=S\nVisParam=DB1\n");
  Write("ditta.ini", "[Configurazioni]\nFormatData=dd-mm-yyyy\n[Parametri Generali]\nBeepCome=\n");
  struct Case {
    const char* name;
    const char* section;
    const char* key;
    std::filesystem::path db;
    const char* expected;
    int count;
  };
  const Case cases[] = {
      {"database file wins", "Configurazioni", "FormatData", "ditta.ini", "dd-mm-yyyy", 10},
      {"empty entry in database file does not hide main", "Parametri Generali", "BeepCome", "ditta.ini", "S", 1},
      {"key only in main", "Parametri Generali", "VisParam", "ditta.ini", "DB1", 3},
      {"key in neither", "Risoluzione Video", "Generale", "ditta.ini", "dflt", 0},
      {"no database file", "Configurazioni", "FormatData", "", "dd/mm/yyyy", 10},
      {"absolute database path", "Configurazioni", "FormatData", dir_ / "ditta.ini", "dd-mm-yyyy", 10},
      {"missing database file", "Configurazioni", "FormatData", "none.ini", "dd/mm/yyyy", 10},
  };
  for (const Case& c : cases) {
    std::string value;
    EXPECT_EQ(ReadConfigKey(c.section, c.key, "dflt", value, main, c.db), c.count) << c.name;
    EXPECT_EQ(value, c.expected) << c.name;
  }
}

TEST_F(IniTest, KeyPresence) {
  const auto file = Write("k.ini", "[Lista File Ini]\nOrdIniDBase1=a.ini\nOrdIniDBase2=\n");
  EXPECT_TRUE(IniKeyExists("lista file ini", "ordinidbase1", file));
  EXPECT_TRUE(IniKeyExists("Lista File Ini", "OrdIniDBase2", file));
  EXPECT_FALSE(IniKeyExists("Lista File Ini", "OrdIniDBase3", file));
}

}  // namespace
}  // namespace util
