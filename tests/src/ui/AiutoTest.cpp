#include "src/ui/Aiuto.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

struct Registro : ui::VisualizzatoreAiuto {
  std::vector<ui::ComandoAiuto> comandi;
  void HtmlHelp(const ui::ComandoAiuto& c) override { comandi.push_back(c); }
};

class AiutoFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("aiuto-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "compensato.chm") << "x";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string P(const std::string& nome) const { return (dir_ / nome).string(); }
  std::filesystem::path dir_;
};

TEST_F(AiutoFile, FileAiuto) {
  struct Caso {
    const char* nome;
    std::string configurato;
    std::string atteso;
  } casi[] = {
      {"the file as configured", P("compensato.chm"), P("compensato.chm")},
      {"a .CHM ending is kept as it is (and that file is not there)", P("compensato.CHM"), ""},
      {"another four-character ending becomes .chm", P("compensato.hlp"), P("compensato.chm")},
      {"no such file: no help", P("altro.hlp"), ""},
      {"nothing configured", "", ""},
  };
  for (const auto& c : casi) EXPECT_EQ(ui::FileAiuto(c.configurato), c.atteso) << c.nome;
}

TEST_F(AiutoFile, AiutoTasto) {
  struct Caso {
    const char* nome;
    int tasto, shift;
    int32_t contesto;
    bool gestito;
    std::vector<int> comandi;
    uint32_t contestoMostrato;
  } casi[] = {
      {"F1: contents first, then the active context", 112, 0, -1, true, {1, 15}, 50011},
      {"F1 with a context of its own", 112, 0, 50010, true, {1, 15}, 50010},
      {"Ctrl+F1: contents", 112, 2, -1, true, {1}, 0},
      {"Alt+F1: index", 112, 4, -1, true, {2}, 0},
      {"F2 is not help", 113, 0, -1, false, {}, 0},
  };
  for (const auto& c : casi) {
    Registro r;
    int k = c.tasto;
    EXPECT_EQ(ui::AiutoTasto(k, c.shift, P("compensato.hlp"), c.contesto, 50011, r), c.gestito) << c.nome;
    EXPECT_EQ(k, c.gestito ? 0 : c.tasto) << c.nome;
    ASSERT_EQ(r.comandi.size(), c.comandi.size()) << c.nome;
    for (size_t i = 0; i < r.comandi.size(); ++i) {
      EXPECT_EQ(r.comandi[i].comando, c.comandi[i]) << c.nome;
      EXPECT_EQ(ui::ScomponiTarget(r.comandi[i].target).file, P("compensato.chm")) << c.nome;
    }
    if (!r.comandi.empty() && r.comandi.back().comando == 15) {
      EXPECT_EQ(r.comandi.back().contesto, c.contestoMostrato) << c.nome;
    }
  }
}

TEST_F(AiutoFile, AMissingFileDisablesTheKeys) {
  for (int shift : {0, 2, 4}) {
    Registro r;
    int k = 112;
    EXPECT_FALSE(ui::AiutoTasto(k, shift, P("manca.chm"), -1, 50000, r));
    EXPECT_EQ(k, 112) << "the key goes on to the screen";
    EXPECT_TRUE(r.comandi.empty());
  }
}

TEST(Aiuto, ContestoAttivo) {
  using C = std::vector<std::optional<int32_t>>;
  struct Caso {
    const char* nome;
    C catena;
    bool fallita;
    int32_t atteso;
  } casi[] = {
      {"the field's own", C{50001, 50002}, false, 50001},
      {"a field without one, inside a frame with one", C{0, 50002}, false, 50002},
      {"nested frames: the innermost with one", C{0, 0, 50003, 50004}, false, 50003},
      {"nothing up the chain: the screen's", C{0, 0}, false, 50000},
      {"a container without the property ends the climb", C{0, std::nullopt, 50004}, false, 50000},
      {"no active control", C{}, false, 50000},
      {"a failure: the screen's", C{50001}, true, 50000},
  };
  for (const auto& c : casi) EXPECT_EQ(ui::ContestoAttivo(c.catena, 50000, c.fallita), c.atteso) << c.nome;
}

TEST(Aiuto, Targets) {
  Registro r;
  ui::MostraArgomento(r, "a.chm", "  ", "main");
  ui::MostraArgomento(r, "a.chm", "selezione.htm", "");
  ui::MostraContesto(r, "a.chm", 50000, "");
  ASSERT_EQ(r.comandi.size(), 4u);
  EXPECT_EQ(r.comandi[0].target, "a.chm>main");
  EXPECT_EQ(r.comandi[1].target, "a.chm::/selezione.htm");
  EXPECT_EQ(r.comandi[3].target, "a.chm") << "no window name: no \">\"";
  const ui::TargetAiuto t = ui::ScomponiTarget("c:/x/a.chm>main::/dir/p.htm");
  EXPECT_EQ(t.file, "c:/x/a.chm");
  EXPECT_EQ(t.finestra, "main");
  EXPECT_EQ(t.argomento, "dir/p.htm");
}

}  // namespace
