#include "components/util/CommandLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "components/util/Files.h"
#include "components/util/Text.h"

namespace util {
namespace {

TEST(SwitchValue, Table) {
  struct Case {
    const char* name;
    const char* line;
    char letter;
    const char* expected;
    bool present;
  };
  const Case cases[] = {
      {"simple", "/M 123 /F FrmSaldaSelezioni", 'M', "123", true},
      {"last switch", "/M 123 /F FrmSaldaSelezioni", 'F', "FrmSaldaSelezioni", true},
      {"letter ignores case", "/m 123", 'M', "123", true},
      {"dash prefix", "-M 123 -F frmRipriSal", 'f', "frmRipriSal", true},
      {"blanks inside kept", "/P CONT01  anno=2024 x /F F", 'P', "CONT01  anno=2024 x", true},
      {"colon separator", "/M:77 /F:X", 'M', "77", true},
      {"equals separator", "/M=77", 'M', "77", true},
      {"path value is not a switch", "/I /home/ada/torvel.ini /F X", 'I', "/home/ada/torvel.ini",
       true},
      {"quoted value keeps switch-like text", "/P \"a /F b\" /F X", 'P', "a /F b", true},
      {"quoted value keeps inner blanks", "/P \" a \"  /F X", 'P', " a ", true},
      {"doubled quote inside quotes", "/P \"say \"\"hi\"\"\"", 'P', "say \"hi\"", true},
      {"first occurrence wins", "/M 1 /M 2", 'M', "1", true},
      {"empty value", "/M /F X", 'M', "", true},
      {"switch at end without value", "/F X /M", 'M', "", true},
      {"absent", "/F X", 'M', "", false},
      {"empty line", "", 'M', "", false},
      {"letter inside a word is not a switch", "a/M 1", 'M', "", false},
      {"negative number is not a switch", "/P -440;200", 'P', "-440;200", true},
      {"tabs as blanks", "/M\t5\t/F\tX", 'M', "5", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SwitchValue(c.line, c.letter), c.expected) << c.name;
    EXPECT_EQ(HasSwitch(c.line, c.letter), c.present) << c.name;
  }
}

TEST(SwitchValue, JoinedArgumentsReadBack) {
  const std::vector<std::string> args = {"-M", "menu 1", "-P", "CONT01 a=\"b\"", "-F",
                                         "FrmSaldaSelezioni", "-I", "/tmp/x y/torvel.ini"};
  const std::string line = JoinCommandLine(args);
  EXPECT_EQ(SwitchValue(line, 'M'), "menu 1");
  EXPECT_EQ(SwitchValue(line, 'P'), "CONT01 a=\"b\"");
  EXPECT_EQ(SwitchValue(line, 'F'), "FrmSaldaSelezioni");
  EXPECT_EQ(SwitchValue(line, 'I'), "/tmp/x y/torvel.ini");
}

TEST(Files, FileExists) {
  const auto dir = std::filesystem::temp_directory_path() / "files-test-util";
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "a.ini") << "x";
  EXPECT_TRUE(FileExists(dir / "a.ini"));
  EXPECT_FALSE(FileExists(dir));
  EXPECT_FALSE(FileExists(dir / "missing.ini"));
  EXPECT_FALSE(FileExists(""));
  std::filesystem::remove_all(dir);
}

TEST(Files, StandardDirectory) {
  const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string xdg = savedXdg ? savedXdg : "";
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  setenv("COMPENSATO_SYSCONFDIR", "/opt/etc", 1);
  EXPECT_EQ(StandardDirectory(), std::filesystem::path("/cfg/torvel"));
  EXPECT_EQ(StandardDirectory(DirectoryScope::System), std::filesystem::path("/opt/etc"));
  setenv("XDG_CONFIG_HOME", "relative", 1);
  setenv("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/home/ada", 1);
  EXPECT_EQ(StandardDirectory(), std::filesystem::path(std::getenv("HOME")) / ".config/torvel");
  unsetenv("COMPENSATO_SYSCONFDIR");
  EXPECT_EQ(StandardDirectory(DirectoryScope::System), std::filesystem::path("/etc"));
  if (savedXdg)
    setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
}

TEST(Text, Utf8) {
  EXPECT_TRUE(IsValidUtf8("Società €"));
  EXPECT_FALSE(IsValidUtf8("Societ\xE0"));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));  // overlong "/"
  EXPECT_EQ(Utf8Length("è€a"), 3u);
  EXPECT_EQ(Utf8Prefix("è€a", 2), "è€");
  EXPECT_EQ(Utf8Prefix("ab", 5), "ab");
  EXPECT_TRUE(EqualsIgnoreCase("Euro", "EURO"));
  EXPECT_FALSE(EqualsIgnoreCase("L.", "L"));
  EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
}

}  // namespace
}  // namespace util
