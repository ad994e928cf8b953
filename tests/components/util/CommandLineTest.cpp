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
      {"path value is not a switch", "/I /home/ada/torvel.ini /F X", 'I', "/home/ada/torvel.ini", true},
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
  const std::vector<std::string> args = {
      "-M", "menu 1", "-P", "CONT01 a=\"b\"", "-F", "FrmSaldaSelezioni", "-I", "/tmp/x y/torvel.ini"};
  const std::string line = JoinCommandLine(args);
  EXPECT_EQ(SwitchValue(line, 'M'), "menu 1");
  EXPECT_EQ(SwitchValue(line, 'P'), "CONT01 a=\"b\"");
  EXPECT_EQ(SwitchValue(line, 'F'), "FrmSaldaSelezioni");
  EXPECT_EQ(SwitchValue(line, 'I'), "/tmp/x y/torvel.ini");
}

TEST(NumericOption, WholeNumbers) {
  struct Case {
    const char* name;
    const char* text;
    int64_t min, max;
    int64_t expected;  // when error is empty
    const char* error;
  };
  const Case cases[] = {
      {"plain", "2026", 1, 9999, 2026, ""},
      {"blanks and plus sign", " +7 ", 0, 10, 7, ""},
      {"lowest", "1", 1, 9999, 1, ""},
      {"highest", "9999", 1, 9999, 9999, ""},
      {"negative within limits", "-5", -10, 10, -5, ""},
      {"beyond a 16-bit field", "67562", 1, 9999, 0, "--year: \"67562\" fuori dai limiti 1..9999"},
      {"below", "0", 1, 9999, 0, "--year: \"0\" fuori dai limiti 1..9999"},
      {"beyond 64 bits", "99999999999999999999", 1, 9999, 0, "fuori dai limiti"},
      {"letters", "abc", 1, 9999, 0, "--year: \"abc\" non è un numero intero"},
      {"trailing letters", "2026x", 1, 9999, 0, "non è un numero intero"},
      {"decimals", "20,5", 1, 9999, 0, "non è un numero intero"},
      {"empty", "", 1, 9999, 0, "non è un numero intero"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (*c.error == 0) {
      EXPECT_EQ(IntegerOption("--year", c.text, c.min, c.max), c.expected);
      continue;
    }
    try {
      IntegerOption("--year", c.text, c.min, c.max);
      ADD_FAILURE() << "accepted";
    } catch (const OptionError& e) {
      EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
    }
  }
}

TEST(NumericOption, Numbers) {
  struct Case {
    const char* name;
    const char* text;
    double expected;  // when error is empty
    const char* error;
  };
  const Case cases[] = {
      {"decimal comma", "1.234,5", 1234.5, ""},
      {"decimal point", "0.25", 0.25, ""},
      {"whole", "1000", 1000, ""},
      {"letters", "abc", 0, "--cambio: \"abc\" non è un numero"},
      {"infinite", "inf", 0, "fuori dai limiti"},
      {"not a number", "nan", 0, "non è un numero"},
      {"above", "1e9", 0, "--cambio: \"1e9\" fuori dai limiti 0..1000000"},
      {"below", "-1", 0, "fuori dai limiti"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (*c.error == 0) {
      EXPECT_DOUBLE_EQ(NumberOption("--cambio", c.text, 0, 1e6), c.expected);
      continue;
    }
    try {
      NumberOption("--cambio", c.text, 0, 1e6);
      ADD_FAILURE() << "accepted";
    } catch (const OptionError& e) {
      EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
    }
  }
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
