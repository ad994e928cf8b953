#include "components/lookup/Ricerca.h"

#include <gtest/gtest.h>

#include "components/lookup/Lookdex.h"
#include "components/util/Error.h"
#include "tests/components/lookup/AziendaDemo.h"

namespace {

using lookup::Chiave;
using lookup::Criterio;
using testsupport::Engine;
using V = std::vector<std::string>;

class Ricerche : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    db_ = std::make_unique<testsupport::TestDatabase>(GetParam(), false);
    testlookup::CreaAziendaDemo(*db_);
  }
  lookup::Ricerca Nuova(const std::string& kind, int tipoConto = 0, const std::string& filtro = "",
                        const std::string& colonne = "") {
    lookup::DefinizioneRicerca d;
    d.tipo = *lookup::TrovaTipo(kind);
    d.tipoConto = tipoConto;
    d.filtro = filtro;
    d.colonne = lookup::LeggiColonne(d.tipo, colonne);
    return lookup::Ricerca(db_->executor(), db_->conn(), d);
  }
  std::unique_ptr<testsupport::TestDatabase> db_;
};

TEST_P(Ricerche, TheTextTypedNarrowsTheRowsLiterallyAndIgnoringCase) {
  struct Caso {
    const char* nome;
    const char* kind;
    int tipoConto;
    Criterio criterio;
    const char* testo;
    V attesi;
    // clang-format off
  } casi[] = {
      {"account code with dashes, part of the account", "Conto", 3, {Chiave::Codice}, "14-01-00009",
       {"14-01-000090", "14-01-000091"}},
      {"the same code without dashes", "Conto", 3, {Chiave::Codice}, "140100009", {"14-01-000090", "14-01-000091"}},
      {"customers only: a supplier's group finds nothing", "Conto", 3, {Chiave::Codice}, "40", {}},
      {"any type: the general ledger account of the group", "Conto", 0, {Chiave::Codice}, "1401000000",
       {"14-01-000000"}},
      {"a percent sign is a percent sign", "Conto", 3, {Chiave::Descrizione}, "10%", {"14-01-000090"}},
      {"an underscore is an underscore, letter case aside", "Conto", 3, {Chiave::Descrizione}, "rossi_b",
       {"14-01-000090"}},
      {"an asterisk is an asterisk", "Conto", 2, {Chiave::Descrizione}, "*uni", {"40-01-000090"}},
      {"a question mark matches only itself", "Conto", 2, {Chiave::Descrizione}, "unico?", {}},
      {"description anywhere, ordered by description", "Conto", 1, {Chiave::Descrizione}, "ABBUONI",
       {"70-05-000001", "62-05-000001"}},
      {"a currency code from its start", "Moneta", 0, {Chiave::Codice}, "us", {"USD"}},
      {"a currency by its description", "Moneta", 0, {Chiave::Descrizione}, "LIRE", {"L."}},
      {"no text: the whole table by code", "PagTipo", 0, {Chiave::Codice}, "", {"BB", "RB", "RD"}},
      {"another column of the table", "Conto", 3, {Chiave::Colonna, "PartitaIva"}, "888", {"14-01-000091"}},
  };
  // clang-format on
  for (const Caso& c : casi) {
    auto r = Nuova(c.kind, c.tipoConto);
    r.Cerca(c.criterio, c.testo);
    EXPECT_EQ(testlookup::Codici(r.Righe()), c.attesi) << c.nome;
  }
}

TEST_P(Ricerche, RowsCarryTheirDescriptionAndTheCellsOfTheColumnSet) {
  auto r = Nuova("Conto", 3, "PianoConti.Localita <> 'Lecce'", "Localita:Citt\xC3\xA0:2000,PartitaIva:P. IVA");
  r.Cerca({Chiave::Codice}, "14-01-00009");
  ASSERT_EQ(r.Righe().size(), 1u) << "the caller's filter keeps Lecce out";
  const lookup::Riga& riga = r.Righe()[0];
  EXPECT_EQ(riga.descrizione, "Sconto 10% Rossi_Bianchi S.r.l.");
  EXPECT_EQ(riga.celle, (V{"14-01-000090", "Sconto 10% Rossi_Bianchi S.r.l.", "Bari", "IT09999900011"}));
  EXPECT_EQ(r.Colonne()[2].titolo, "Citt\xC3\xA0");
}

TEST_P(Ricerche, AColumnTheTableDoesNotHaveIsTheDatabasesError) {
  auto r = Nuova("Moneta", 0, "", "Inesistente");
  EXPECT_THROW(r.Cerca({Chiave::Codice}, ""), util::RuntimeError);
}

INSTANTIATE_TEST_SUITE_P(Db, Ricerche, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

TEST(ColonneFinestra, TheColumnSetKeepsCodeAndDescriptionFirst) {
  const lookup::Tipo conto = *lookup::TrovaTipo("conto");
  struct Caso {
    const char* nome;
    const char* set;
    V campi;
    V titoli;
    std::vector<int> larghezze;
    // clang-format off
  } casi[] = {
      {"empty: the kind's own", "", {"Codice", "Descrizione", "Localita"}, {"Conto", "Descrizione", "Localit\xC3\xA0"},
       {1500, 4500, 2200}},
      {",No, gives the kind's own", ",No,PartitaIva", {"Codice", "Descrizione", "Localita"}, {}, {}},
      {"a field with caption and width", "PartitaIva:P. IVA:1800", {"Codice", "Descrizione", "PartitaIva"},
       {"Conto", "Descrizione", "P. IVA"}, {1500, 4500, 1800}},
      {"renaming the description, an appended option, blanks skipped", ",Descrizione:Ragione sociale:5000, ,,Banca",
       {"Codice", "Descrizione", "Banca"}, {"Conto", "Ragione sociale", "Banca"}, {1500, 5000, 1500}},
      {"a width that is no number keeps the default", "Banca:Banca:larga", {"Codice", "Descrizione", "Banca"}, {},
       {1500, 4500, 1500}},
  };
  // clang-format on
  for (const Caso& c : casi) {
    V campi, titoli;
    std::vector<int> larghezze;
    for (const lookup::Colonna& col : lookup::LeggiColonne(conto, c.set)) {
      campi.push_back(col.campo);
      titoli.push_back(col.titolo);
      larghezze.push_back(col.larghezza);
    }
    EXPECT_EQ(campi, c.campi) << c.nome;
    if (!c.titoli.empty()) {
      EXPECT_EQ(titoli, c.titoli) << c.nome;
    }
    if (!c.larghezze.empty()) {
      EXPECT_EQ(larghezze, c.larghezze) << c.nome;
    }
  }
}

TEST(ParametriLookdex, ASettingTheComponentDoesNotHaveIsRefused) {
  lookup::Lookdex l;
  l.ogDecodifica().ovLeggiPar("retzerorec", util::Value::Integer(1));
  EXPECT_EQ(l.ogDecodifica().ovLeggiPar("RetZeroRec").toInteger(), 1);
  try {
    l.ogImpFinestra().ovLeggiPar("MargiNe", util::Value::Integer(1));
    FAIL() << "an unknown setting was accepted";
  } catch (const util::RuntimeError& e) {
    EXPECT_EQ(e.number(), lookup::kErrParametroSconosciuto);
  }
}

}  // namespace
