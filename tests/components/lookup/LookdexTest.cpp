#include "components/lookup/Lookdex.h"

#include <gtest/gtest.h>

#include "tests/components/lookup/AziendaDemo.h"

namespace {

using testsupport::Engine;
using V = std::vector<std::string>;

constexpr int64_t kNormale = 0x80000005;
constexpr int64_t kErrore = 255;
constexpr int64_t kFuoco = 0xFFFF80;

// A window that records what it was asked to show and chooses the row the
// test names (or none).
class FinestraFinta final : public lookup::FinestraAiuto {
 public:
  int scegli = -1;
  int aperture = 0;
  lookup::RichiestaFinestra ultima;
  V righe;
  std::optional<lookup::Riga> Mostra(lookup::Ricerca& r, const lookup::RichiestaFinestra& richiesta) override {
    ++aperture;
    ultima = richiesta;
    righe = testlookup::Codici(r.Righe());
    if (scegli < 0 || static_cast<size_t>(scegli) >= r.Righe().size()) return std::nullopt;
    return r.Righe()[static_cast<size_t>(scegli)];
  }
};

class Eventi final : public lookup::Eventi {
 public:
  bool esito = true;
  V chiamate;
  void ClsMainMenuFrm() override { chiamate.push_back("menu"); }
  void ClsPrepDecod(const std::string& kind, const std::string&, const std::string&, int& tasto, int,
                    const std::string&, bool& e) override {
    chiamate.push_back("prep " + kind + " " + std::to_string(tasto));
    if (tasto == 0) tasto = lookup::kTastoF2;
    e = esito;
  }
  void LanciaKeyPrim(const std::string& k) override { chiamate.push_back("prim " + k); }
  void LanciaKeySec(const std::string& k) override { chiamate.push_back("sec " + k); }
};

class Decodifiche : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    db_ = std::make_unique<testsupport::TestDatabase>(GetParam(), false);
    testlookup::CreaAziendaDemo(*db_);
    lookup::Avvio a;
    a.db = &db_->executor();
    a.conn = db_->conn();
    a.coloreNormale = kNormale;
    a.coloreErrore = kErrore;
    l_.Inizializza(a);
    auto f = std::make_unique<FinestraFinta>();
    finestra_ = f.get();
    l_.ImpostaFinestra(std::move(f));
    l_.ogEventi().Collega(&eventi_);
  }
  std::unique_ptr<testsupport::TestDatabase> db_;
  lookup::Lookdex l_;
  FinestraFinta* finestra_ = nullptr;
  Eventi eventi_;
};

TEST_P(Decodifiche, DecodingIntoAFieldWritesTheLabelPaintsTheFieldAndReturnsTheFields) {
  struct Caso {
    const char* nome;
    const char* kind;
    const char* testo;
    int64_t sfondo;
    V campi;
    int tipoConto = 0;
    bool noColore = false;
    const char* opzioneTesto = "";
    bool attesoTrovato = false;
    const char* attesaEtichetta = "";
    int64_t attesoSfondo = kNormale;
    V attesiValori = {};
    // clang-format off
  } casi[] = {
      {"a currency found: description and fields by position; red goes back to normal", "Moneta", " usd ", kErrore,
       {"NumDec", "NumDecGest", "Operatore", "Cee"}, 0, false, "", true, "Dollaro statunitense", kNormale,
       {"2", "4", "/", "N"}},
      {"found while the field has the focus colour: the colour stays", "PagTipo", "RB", kFuoco, {}, 0, false, "", true,
       "Ricevuta bancaria", kFuoco},
      {"a missing account: the marker, the error colour, empty fields", "Conto", "14-01-999999", kNormale, {"Localita"},
       3, false, "", false, lookup::kInesistente, kErrore, {""}},
      {"a customer's code asked as a supplier is missing", "Conto", "1401000001", kNormale, {}, 2, false, "", false,
       lookup::kInesistente, kErrore},
      {"the same as a customer", "Conto", "1401000001", kNormale, {}, 3, false, "", true, "Bianchi Arredamenti S.r.l."},
      {"a text option shows that column", "Conto", "14-01-000001", kNormale, {}, 3, false, "Localita", true, "Milano"},
      {"no colour: a missing code leaves the field as it is", "Moneta", "XYZ", kFuoco, {}, 0, true, "", false,
       lookup::kInesistente, kFuoco},
      {"an empty field clears the label and finds nothing", "Moneta", "  ", kErrore, {"NumDec"}, 0, false, "", false,
       "", kNormale, {""}},
  };
  // clang-format on
  for (const Caso& c : casi) {
    lookup::CampoTesto campo(c.testo);
    campo.ImpostaSfondo(c.sfondo);
    lookup::EtichettaTesto etichetta;
    etichetta.ImpostaTesto("vecchia");
    std::vector<util::Value> campi(c.campi.begin(), c.campi.end());
    const bool trovato = l_.DecodificaInCampo(c.kind, campo, etichetta, c.campi.empty() ? nullptr : &campi, c.noColore,
                                              c.opzioneTesto, c.tipoConto);
    EXPECT_EQ(trovato, c.attesoTrovato) << c.nome;
    EXPECT_EQ(etichetta.Testo(), c.attesaEtichetta) << c.nome;
    EXPECT_EQ(campo.Sfondo(), c.attesoSfondo) << c.nome;
    V valori;
    for (const util::Value& v : campi) valori.push_back(v.toText());
    if (!c.campi.empty()) {
      EXPECT_EQ(valori, c.attesiValori) << c.nome;
    }
    EXPECT_EQ(campo.Testo(), c.testo) << c.nome << ": the field's text is the caller's";
  }
}

TEST_P(Decodifiche, AGivenValueIsDecodedInsteadOfTheFieldsText) {
  lookup::CampoTesto campo("XYZ");
  lookup::EtichettaTesto etichetta;
  EXPECT_TRUE(l_.DecodificaInCampo("Moneta", campo, etichetta, nullptr, false, "", 0, std::string("Euro")));
  EXPECT_EQ(etichetta.Testo(), "Euro");
}

TEST_P(Decodifiche, TheWindowOpensOnTheKeysCriterionAndWritesTheChosenRow) {
  finestra_->scegli = 1;
  lookup::CampoTesto campo("14-01-00009");
  campo.ImpostaSfondo(kErrore);
  lookup::EtichettaTesto etichetta;
  etichetta.ImpostaTesto(lookup::kInesistente);
  bool scelto = false;
  EXPECT_EQ(l_.ApriFinestra("Conto", campo, etichetta, lookup::kTastoF2, nullptr, 3, scelto, "", "", ""), 0);
  EXPECT_TRUE(scelto);
  EXPECT_EQ(finestra_->righe, (V{"14-01-000090", "14-01-000091"}));
  EXPECT_EQ(finestra_->ultima.criterio.chiave, lookup::Chiave::Codice);
  EXPECT_EQ(finestra_->ultima.testo, "14-01-00009");
  EXPECT_EQ(campo.Testo(), "14-01-000091");
  EXPECT_EQ(etichetta.Testo(), "Sconto 100 Rossi Bianchi S.n.c.");
  EXPECT_EQ(campo.Sfondo(), kNormale);
  EXPECT_EQ(eventi_.chiamate, (V{"prep Conto 113"}));
}

TEST_P(Decodifiche, WhatTheWindowDoesWhenTheFieldsTextFindsNothing) {
  struct Caso {
    const char* nome;
    int retZeroRec;
    int attesoEsito;
    int attesaApertura;
  } casi[] = {
      {"RetZeroRec 1: nothing found, no window", 1, 1, 0},
      {"RetZeroRec 2: the whole list, search box emptied", 2, 0, 1},
  };
  for (const Caso& c : casi) {
    finestra_->aperture = 0;
    l_.ogDecodifica().ovLeggiPar("RetZeroRec", util::Value::Integer(c.retZeroRec));
    lookup::CampoTesto campo("zz");
    lookup::EtichettaTesto etichetta;
    etichetta.ImpostaTesto(lookup::kInesistente);
    bool scelto = true;
    EXPECT_EQ(l_.ApriFinestra("Moneta", campo, etichetta, lookup::kTastoF2, nullptr, 0, scelto, "", "", ""),
              c.attesoEsito)
        << c.nome;
    EXPECT_FALSE(scelto) << c.nome;
    EXPECT_EQ(finestra_->aperture, c.attesaApertura) << c.nome;
    EXPECT_EQ(etichetta.Testo(), lookup::kInesistente) << c.nome;
    if (c.attesaApertura) {
      EXPECT_EQ(finestra_->righe, (V{"Euro", "L.", "USD"})) << c.nome;
      EXPECT_EQ(finestra_->ultima.testo, "") << c.nome;
    }
  }
}

TEST_P(Decodifiche, KeysAndSettingsChooseWhatTheWindowSearchesBy) {
  struct Caso {
    const char* nome;
    int tasto;
    const char* cfHelpRic12;
    lookup::Chiave chiave;
    const char* colonna;
    const char* campo;
    const char* testo = nullptr;  // the search box's, when not the field's
  } casi[] = {
      {"F3: the description", lookup::kTastoF3, "", lookup::Chiave::Descrizione, "", "bianchi"},
      {"F3 with CFHelpRic12 P: the VAT number", lookup::kTastoF3, "p", lookup::Chiave::Colonna, "PartitaIva", "IT0999"},
      {"F5: the whole list by code", 116, "", lookup::Chiave::Codice, "", "bianchi", ""},
      {"-4, n = 3: the third column of the set (Localita)", -4, "", lookup::Chiave::Colonna, "Localita", "Bari"},
      {"-3, n = 2: the second column is the description", -3, "", lookup::Chiave::Descrizione, "", "rossi"},
  };
  for (const Caso& c : casi) {
    l_.ogImpFinestra().ovLeggiPar("CFHelpRic12", c.cfHelpRic12);
    lookup::CampoTesto campo(c.campo);
    lookup::EtichettaTesto etichetta;
    bool scelto = false;
    finestra_->righe.clear();
    l_.ApriFinestra("Conto", campo, etichetta, c.tasto, nullptr, 3, scelto, "", "", "");
    EXPECT_EQ(finestra_->ultima.criterio.chiave, c.chiave) << c.nome;
    EXPECT_EQ(finestra_->ultima.criterio.colonna, c.colonna) << c.nome;
    EXPECT_EQ(finestra_->ultima.testo, c.testo ? c.testo : c.campo) << c.nome;
    EXPECT_FALSE(finestra_->righe.empty()) << c.nome;
  }
}

TEST_P(Decodifiche, NoWindowForOtherKeysForACallerThatRefusesOrForTheBatchFront) {
  lookup::CampoTesto campo("");
  lookup::EtichettaTesto etichetta;
  bool scelto = true;
  EXPECT_EQ(l_.ApriFinestra("Moneta", campo, etichetta, 13, nullptr, 0, scelto, "", "", ""), 2);
  eventi_.esito = false;
  EXPECT_EQ(l_.ApriFinestra("Moneta", campo, etichetta, lookup::kTastoF2, nullptr, 0, scelto, "", "", ""), 2);
  eventi_.esito = true;
  lookup::Avvio a = l_.Contesto();
  a.chiamante = "b";
  l_.Inizializza(a);
  EXPECT_EQ(l_.ApriFinestra("Moneta", campo, etichetta, lookup::kTastoF2, nullptr, 0, scelto, "", "", ""), 2);
  EXPECT_FALSE(scelto);
  EXPECT_EQ(finestra_->aperture, 0);
}

TEST_P(Decodifiche, AMissingKeyIsTheProgramsToChoose) {
  lookup::CampoTesto campo("");
  lookup::EtichettaTesto etichetta;
  bool scelto = false;
  EXPECT_EQ(l_.ApriFinestra("PagTipo", campo, etichetta, 0, nullptr, 0, scelto, "", "", ""), 0);
  EXPECT_EQ(eventi_.chiamate, (V{"prep PagTipo 0"}));
  EXPECT_EQ(finestra_->ultima.tasto, lookup::kTastoF2);
}

INSTANTIATE_TEST_SUITE_P(Db, Decodifiche, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
