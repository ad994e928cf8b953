#include "src/ui/LibroAiuto.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(LibroAiuto, TheProgramsHelpFile) {
  const std::unique_ptr<ui::LibroAiuto> l = ui::LibroAiuto::Apri(COMPENSATO_AIUTO_CHM);
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->Titolo(), "Guida di Compensato");
  EXPECT_EQ(l->ArgomentoIniziale(), "/index.htm");

  struct Caso {
    uint32_t contesto;
    std::optional<std::string> pagina;
  } casi[] = {{50000, "/selezione.htm"}, {50010, "/ripristino.htm"}, {50001, std::nullopt}, {0, std::nullopt}};
  for (const auto& c : casi) EXPECT_EQ(l->Contesto(c.contesto), c.pagina) << c.contesto;

  ASSERT_GE(l->Sommario().size(), 6u);
  EXPECT_EQ(l->Sommario()[0].nome, "Compensato");
  EXPECT_EQ(l->Sommario()[0].livello, 0);
  EXPECT_EQ(l->Sommario()[1].nome, "Selezione delle scadenze");
  EXPECT_EQ(l->Sommario()[1].percorso, "/selezione.htm");
  EXPECT_EQ(l->Sommario()[1].livello, 1);

  ASSERT_FALSE(l->Indice().empty());
  for (size_t i = 1; i < l->Indice().size(); ++i)
    EXPECT_LE(l->Indice()[i - 1].nome, l->Indice()[i].nome) << "the index reads in order";
  for (const auto& v : l->Indice()) EXPECT_TRUE(l->Esiste(v.percorso)) << v.nome << " -> " << v.percorso;

  const std::optional<std::string> pagina = l->Leggi("/selezione.htm");
  ASSERT_TRUE(pagina);
  EXPECT_NE(pagina->find("Importo Massimo"), std::string::npos);
  EXPECT_FALSE(l->Leggi("/manca.htm"));
}

TEST(LibroAiuto, WhatIsNoHelpFileIsRefused) {
  EXPECT_EQ(ui::LibroAiuto::Apri("/nessuna/cartella/guida.chm"), nullptr);
  const std::string falso = ::testing::TempDir() + "/falso.chm";
  std::ofstream(falso) << "non sono un file di guida";
  EXPECT_EQ(ui::LibroAiuto::Apri(falso), nullptr);
}

TEST(LibroAiuto, SitemapEntriesAndNesting) {
  const auto v =
      ui::LeggiMappaSito("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Uno &amp; due\">"
                         "<param name=\"Local\" value=\"uno.htm\"></OBJECT><ul><li><object type='text/sitemap'>"
                         "<param name=Name value=Dentro><param name=Local value=\"sub/d.htm\"></object></ul>"
                         "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Solo titolo\"></OBJECT></UL>");
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(v[0].nome, "Uno & due");
  EXPECT_EQ(v[0].percorso, "/uno.htm");
  EXPECT_EQ(v[1].nome, "Dentro");
  EXPECT_EQ(v[1].percorso, "/sub/d.htm");
  EXPECT_EQ(v[1].livello, 1);
  EXPECT_EQ(v[2].percorso, "");
  EXPECT_EQ(v[2].livello, 0);
}

}  // namespace
