#include "src/company/Decodifica.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

#include "components/lookup/qt/CampiQt.h"
#include "components/lookup/qt/FrmRicerca.h"
#include "components/util/Error.h"
#include "src/data/Contesto.h"
#include "tests/components/lookup/AziendaDemo.h"
#include "tests/support/AppQt.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakeOperatore.h"

namespace {

using testsupport::Engine;
using Tasti = std::function<void(lookup::FrmRicerca&)>;

// The real lookup window, recording each time it shows (key and search)
// and playing the keys the case gives once it is up.
class FinestraProva final : public lookup::FinestraAiuto {
 public:
  Tasti tasti;
  std::vector<int> tastiAperture;
  std::vector<std::string> testi;
  std::vector<QString> conteggi;

  std::optional<lookup::Riga> Mostra(lookup::Ricerca& r, const lookup::RichiestaFinestra& richiesta) override {
    tastiAperture.push_back(richiesta.tasto);
    testi.push_back(richiesta.testo);
    QTimer::singleShot(0, [this] {
      lookup::FrmRicerca* f = qt_.Aperta();
      if (!f) return;
      conteggi.push_back(f->findChild<QLabel*>("lblConta")->text());
      if (tasti) tasti(*f);
      if (f->isVisible()) f->reject();
    });
    return qt_.Mostra(r, richiesta);
  }

 private:
  lookup::FinestraQt qt_;
};

class GrigliaProva final : public company::Griglia {
 public:
  int riga = 3, colonna = 2;
  std::vector<std::pair<int, int>> posizionata;
  int Riga() const override { return riga; }
  int Colonna() const override { return colonna; }
  void Posiziona(int r, int c) override { posizionata.emplace_back(r, c); }
};

void Scrivi(QLineEdit* e, const char* t) { e->setText(t); }

Tasti Premi(std::vector<Qt::Key> keys) {
  return [keys](lookup::FrmRicerca& f) {
    for (Qt::Key k : keys) QTest::keyClick(f.findChild<QLineEdit*>("txtCerca"), k);
  };
}

class DecodificheProgramma : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    testsupport::AppQt();
    db_ = std::make_unique<testsupport::TestDatabase>(GetParam(), false);
    testlookup::CreaAziendaDemo(*db_);
    ctx_ = std::make_unique<compensato::Contesto>(host_, db_->executor(), db_->conn(), op_);
    a_ = std::make_unique<company::scAziUtilPrg>(*ctx_);
    lookup::Avvio av;
    av.db = &db_->executor();
    av.conn = db_->conn();
    av.coloreNormale = ctx_->azienda.coloreNormale;
    av.coloreErrore = ctx_->azienda.coloreErrore;
    a_->ogAziAiuto().Inizializza(av);
    auto f = std::make_unique<FinestraProva>();
    finestra_ = f.get();
    a_->ogAziAiuto().ImpostaFinestra(std::move(f));
    schermo_ = std::make_unique<QWidget>();
    txt_ = new QLineEdit(schermo_.get());
    lab_ = new QLabel(schermo_.get());
    schermo_->show();
  }

  std::unique_ptr<testsupport::TestDatabase> db_;
  testsupport::FakeHost host_;
  testsupport::FakeOperatore op_;
  std::unique_ptr<compensato::Contesto> ctx_;
  std::unique_ptr<company::scAziUtilPrg> a_;
  FinestraProva* finestra_ = nullptr;
  std::unique_ptr<QWidget> schermo_;
  QLineEdit* txt_ = nullptr;
  QLabel* lab_ = nullptr;
};

TEST_P(DecodificheProgramma, TheAutomaticLookupOpensAsTheSettingsSay) {
  struct Caso {
    const char* nome;
    const char* decodHelpAbil;
    const char* kind;  // "Conto3": DecodificaConto on customers
    const char* testo;
    Tasti tasti;
    bool attesoTrovato;
    const char* attesoTesto;
    const char* attesaEtichetta;
    std::vector<int> attesiTasti;         // the keys of the windows that showed
    std::vector<QString> attesiConteggi;  // the rows each one showed
    bool messaggioAperto = false;
    bool persKey = false;  // "DecodHelpPersKey" with "ContoHlp" 3 (F3)
    // clang-format off
  } casi[] = {
      {"a missing account with C: F2 on customers, a row chosen, formatted and decoded again", "C", "Conto3",
       "14-01-00009", Premi({Qt::Key_Down, Qt::Key_Up, Qt::Key_Return}), true, "14-01-000090",
       "Sconto 10% Rossi_Bianchi S.r.l.", {113}, {"2 righe"}},
      {"the same code of a supplier's group finds no customer, nor by description", "C", "Conto3", "40-01-00009",
       Premi({}), false, "40-01-00009", lookup::kInesistente, {}, {}},
      {"N: the marker and no window", "N", "Conto3", "14-01-00009", Premi({}), false, "14-01-00009",
       lookup::kInesistente, {}, {}},
      {"F2 finds nothing: reopened once with F3, which finds it", "C", "Conto", "rossi_b",
       Premi({Qt::Key_Return}), true, "14-01-000090", "Sconto 10% Rossi_Bianchi S.r.l.", {114}, {"1 riga"}},
      {"D: F3 first", "D", "PagTipo", "bonif", Premi({Qt::Key_Return}), true, "BB", "Bonifico bancario", {114},
       {"1 riga"}},
      {"a number n: the key -(n+1), searching the n-th column", "2", "Moneta", "statun", Premi({Qt::Key_Return}), true,
       "USD", "Dollaro statunitense", {-3}, {"1 riga"}},
      {"the operator's own key for the kind", "C", "Conto", "rossi", Premi({Qt::Key_Escape}), false, "rossi",
       lookup::kInesistente, {114}, {"2 righe"}, false, true},
      {"Esc: nothing chosen, the field as typed", "C", "Moneta", "u", Premi({Qt::Key_Escape}), false, "u",
       lookup::kInesistente, {113}, {"1 riga"}},
      {"no window while the message window shows", "C", "Conto3", "14-01-00009", Premi({}), false, "14-01-00009",
       lookup::kInesistente, {}, {}, true},
  };
  // clang-format on
  for (const Caso& c : casi) {
    finestra_->tastiAperture.clear();
    finestra_->conteggi.clear();
    finestra_->tasti = c.tasti;
    ctx_->azienda.decodHelpAbil = c.decodHelpAbil;
    ctx_->azienda.decodHelpPersKey = c.persKey;
    host_.ImpostaPersonale("Tutti", "ContoHlp", c.persKey ? "3" : "0");
    op_.visibile = c.messaggioAperto;
    Scrivi(txt_, c.testo);
    lab_->clear();
    lookup::CampoLineEdit campo(txt_);
    lookup::EtichettaLabel etichetta(lab_);
    const std::string kind = c.kind;
    const bool trovato = kind == "Conto3" ? company::DecodificaConto(*a_, campo, etichetta, "3")
                                          : company::DecodificaCampo(*a_, kind, campo, etichetta);
    EXPECT_EQ(trovato, c.attesoTrovato) << c.nome;
    EXPECT_EQ(txt_->text().toStdString(), c.attesoTesto) << c.nome;
    EXPECT_EQ(lab_->text().toStdString(), c.attesaEtichetta) << c.nome;
    EXPECT_EQ(finestra_->tastiAperture, c.attesiTasti) << c.nome;
    EXPECT_EQ(finestra_->conteggi, c.attesiConteggi) << c.nome;
    EXPECT_EQ(lookup::SfondoDi(txt_), c.attesoTrovato ? ctx_->azienda.coloreNormale : ctx_->azienda.coloreErrore)
        << c.nome;
    EXPECT_EQ(a_->ogAziAiuto().ogDecodifica().ovLeggiPar("RetZeroRec").toInteger(), 2) << c.nome;
    EXPECT_EQ(a_->statoAiuto, company::kAiutoNessuno) << c.nome;
  }
}

TEST_P(DecodificheProgramma, AnExistingCurrencyComesWithItsFieldsAndNoWindow) {
  ctx_->azienda.decodHelpAbil = "C";
  Scrivi(txt_, "usd");
  lookup::CampoLineEdit campo(txt_);
  lookup::EtichettaLabel etichetta(lab_);
  std::vector<util::Value> campi = {"NumDec", "NumDecGest", "Operatore", "Cee"};
  company::OpzioniDecodifica o;
  o.campi = &campi;
  EXPECT_TRUE(company::DecodificaCampo(*a_, "Moneta", campo, etichetta, o));
  EXPECT_EQ(lab_->text(), "Dollaro statunitense");
  ASSERT_EQ(campi.size(), 4u);
  EXPECT_EQ(campi[0].toInteger(), 2);
  EXPECT_EQ(campi[1].toInteger(), 4);
  EXPECT_EQ(campi[2].toText(), "/");
  EXPECT_EQ(campi[3].toText(), "N");
  EXPECT_TRUE(finestra_->tastiAperture.empty());
}

TEST_P(DecodificheProgramma, AGridLookupPutsTheGridBackAndSaysTheWindowOpened) {
  ctx_->azienda.decodHelpAbil = "C";
  GrigliaProva griglia;
  bool aperto = false;
  int statoDurante = -1;
  finestra_->tasti = [&](lookup::FrmRicerca& f) {
    statoDurante = a_->statoAiuto;
    QTest::keyClick(f.findChild<QLineEdit*>("txtCerca"), Qt::Key_Return);
  };
  Scrivi(txt_, "r");
  lookup::CampoLineEdit campo(txt_);
  lookup::EtichettaLabel etichetta(lab_);
  company::AiutoAutomatico aiuto;
  aiuto.aiutoAperto = &aperto;
  aiuto.griglia = &griglia;
  EXPECT_TRUE(company::DecodificaConAiuto(*a_, "PagTipo", campo, etichetta, {}, aiuto));
  EXPECT_TRUE(aperto);
  EXPECT_EQ(statoDurante, company::kAiutoGriglia);
  EXPECT_EQ(griglia.posizionata, (std::vector<std::pair<int, int>>{{3, 2}}));
  EXPECT_EQ(txt_->text(), "RB");
}

TEST_P(DecodificheProgramma, AComponentFailureReachesTheCallerWithEverythingPutBack) {
  ctx_->azienda.decodHelpAbil = "C";
  Scrivi(txt_, "14 01");
  lookup::CampoLineEdit campo(txt_);
  lookup::EtichettaLabel etichetta(lab_);
  company::OpzioniDecodifica o;
  o.opzione = ",NonUnaColonna";
  company::AiutoAutomatico aiuto;
  aiuto.codiceNormalizzato = "1401";
  EXPECT_THROW(company::DecodificaConAiuto(*a_, "Conto", campo, etichetta, o, aiuto), util::RuntimeError);
  EXPECT_EQ(txt_->text(), "14 01");
  EXPECT_EQ(a_->statoAiuto, company::kAiutoNessuno);
  EXPECT_EQ(a_->ogAziAiuto().ogDecodifica().ovLeggiPar("RetZeroRec").toInteger(), 2);
}

TEST_P(DecodificheProgramma, TheWindowTakesTheOperatorsColumnSetAndTheFocusColour) {
  host_.ImpostaPersonale("Help", "CampiConto3", "PartitaIva:P. IVA:1600");
  host_.ImpostaPersonale("Tutti", "CFHelpRic12", "P");
  ctx_->azienda.coloreFuoco = 0x80FFFF;
  QString titolo;
  int64_t colore = 0;
  finestra_->tasti = [&](lookup::FrmRicerca& f) {
    titolo = f.findChild<QLabel*>("lblChiave")->text();
    colore = lookup::SfondoDi(f.findChild<QLineEdit*>("txtCerca"));
  };
  Scrivi(txt_, "IT0888");
  lookup::CampoLineEdit campo(txt_);
  lookup::EtichettaLabel etichetta(lab_);
  bool scelto = true;
  company::ApriAiuto(*a_, "Conto", campo, etichetta, lookup::kTastoF3, "3", scelto);
  EXPECT_EQ(titolo, "Cerca per p. iva");
  EXPECT_EQ(colore, 0x80FFFF);
  EXPECT_EQ(finestra_->conteggi, (std::vector<QString>{"1 riga"}));
  EXPECT_NE(a_->ogAziAiuto().ogImpFinestra().olColBackOk, 0x80FFFF) << "the window's colour is put back";
}

INSTANTIATE_TEST_SUITE_P(Db, DecodificheProgramma, ::testing::ValuesIn(testsupport::Engines()),
                         testsupport::EngineName);

TEST(SpezzaConto, DashesOrNotTheSameParts) {
  struct Caso {
    const char* conto;
    const char* gruppo;
    const char* mastro;
    const char* parte;
  } casi[] = {
      {"01-02-0003", "01", "02", "0003"},
      {"01020003", "01", "02", "0003"},
      {"1401000001", "14", "01", "000001"},
      {"14-01", "14", "01", ""},
      {"1", "1", "", ""},
      {"", "", "", ""},
  };
  for (const Caso& c : casi) {
    std::string g = "x", m = "x", p = "x";
    company::SpezzaConto(c.conto, g, m, p);
    EXPECT_EQ(g, c.gruppo) << c.conto;
    EXPECT_EQ(m, c.mastro) << c.conto;
    EXPECT_EQ(p, c.parte) << c.conto;
  }
}

}  // namespace
