#include "components/host/Protocollo.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "components/util/Error.h"

namespace {

using host::wire::json;

TEST(HostWire, ValuesKeepTheirKindAcrossTheWire) {
  const std::vector<std::pair<const char*, util::Value>> cases = {
      {"null", util::Value()},
      {"text with accents", util::Value("Societa' \xC3\xA0 responsabilit\xC3\xA0")},
      {"integer", util::Value::Integer(-7)},
      {"long", util::Value::Long(1234567)},
      {"double", util::Value(1.5)},
      {"currency", util::Value(util::Money::Parse("-12.3456"))},
      {"date", util::Value(*util::Date::Make(2024, 2, 29))},
      {"date with time", util::Value(*util::Date::Make(2024, 2, 29, 13, 5, 9))},
      {"boolean", util::Value(true)},
  };
  for (const auto& [name, v] : cases) {
    const json wire = json::parse(host::wire::DaValore(v).dump());
    EXPECT_EQ(host::wire::ValoreDa(wire), v) << name;
  }
}

TEST(HostWire, ArraysAndPlainNumbersFromAHandWrittenPeer) {
  const auto arr = host::wire::HostValueDa(json::parse(R"([46, "x", 2.5])"));
  const auto& items = std::get<std::vector<util::Value>>(arr);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0], util::Value::Long(46));
  EXPECT_EQ(items[1], util::Value("x"));
  EXPECT_EQ(items[2], util::Value(2.5));
  EXPECT_THROW(host::wire::ValoreDa(json::parse(R"({"int": 99999})")), std::invalid_argument);
  EXPECT_THROW(host::wire::ValoreDa(json::parse(R"({"what": 1})")), std::invalid_argument);
}

TEST(HostWire, CommandAndLaunchInfoRoundTrip) {
  host::HostCommand c{"M1", "K2", "FEInvio", std::vector<util::Value>{util::Value(""), util::Value::Long(0)}};
  const auto back = host::wire::ComandoDa(host::wire::DaComando(c));
  EXPECT_EQ(back.menuInstance, "M1");
  EXPECT_EQ(back.secondaryKey, "K2");
  EXPECT_EQ(back.command, "FEInvio");
  EXPECT_EQ(std::get<std::vector<util::Value>>(back.parameter).size(), 2u);
  host::LaunchInfo li{"/FfrmRipriSal /Hx.chm", "Menu", "S", "P", "1"};
  const auto li2 = host::wire::LaunchInfoDa(host::wire::DaLaunchInfo(li));
  EXPECT_EQ(li2.osParam, li.osParam);
  EXPECT_EQ(li2.osTipoForm, "1");
}

TEST(HostWire, InstanceNamesThatCouldEscapeTheSocketFolderAreRefused) {
  for (const char* ok : {"M1", "menu_2024-03.a", "x"}) EXPECT_TRUE(host::wire::IstanzaValida(ok)) << ok;
  for (const char* bad : {"", "../etc/passwd", "a/b", ".hidden", "con spazio", "a\nb"})
    EXPECT_FALSE(host::wire::IstanzaValida(bad)) << bad;
  try {
    host::wire::PercorsoSocket("../x");
    FAIL();
  } catch (const util::RuntimeError& e) {
    EXPECT_EQ(e.number(), 5);
  }
}

class Cartella : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/hostwire.XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string dir_;
};

TEST_F(Cartella, SocketIsOwnerOnlyInAnOwnerOnlyFolder) {
  ::chmod((dir_).c_str(), 0755);
  const std::string folder = host::wire::PreparaCartellaSocket();
  EXPECT_EQ(folder, dir_ + "/compensato");
  const std::string path = host::wire::PercorsoSocket("M1");
  const int fd = host::wire::ApriSocketInAscolto(path);
  struct stat st {};
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_THROW(host::wire::ApriSocketInAscolto(path), util::RuntimeError) << "the instance is in use";
  ::close(fd);
  const int again = host::wire::ApriSocketInAscolto(path);
  EXPECT_GE(again, 0) << "a socket left by a dead host is replaced";
  ::close(again);
}

TEST_F(Cartella, APathTooLongForASocketAddressIsRefused) {
  const std::string deep = dir_ + "/" + std::string(60, 'd');
  std::filesystem::create_directories(deep);
  ::setenv("XDG_RUNTIME_DIR", deep.c_str(), 1);
  EXPECT_THROW(host::wire::PercorsoSocket(std::string(64, 'a')), util::RuntimeError);
  EXPECT_NO_THROW(host::wire::PercorsoSocket("M1"));
}

TEST_F(Cartella, AFolderOthersCanEnterIsTightened) {
  const std::string folder = dir_ + "/compensato";
  ::mkdir(folder.c_str(), 0777);
  ::chmod(folder.c_str(), 0777);
  host::wire::PreparaCartellaSocket();
  struct stat st {};
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

}  // namespace
