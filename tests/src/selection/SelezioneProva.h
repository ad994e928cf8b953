#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/lookup/Finestra.h"
#include "src/company/AziUtilPrg.h"
#include "src/selection/ModelloSelezioni.h"
#include "tests/src/settlement/AziendaProva.h"

namespace testsupport {

// Records the lookups the screen asks for and chooses nothing.
class FinestraRegistra final : public lookup::FinestraAiuto {
 public:
  std::vector<int>* tasti = nullptr;
  std::optional<lookup::Riga> Mostra(lookup::Ricerca&, const lookup::RichiestaFinestra& r) override {
    tasti->push_back(r.tasto);
    return std::nullopt;
  }
};

// The fixture company with what the selection needs: a working date of 15
// March 2024 in the open year 2024, the default transaction codes, a bank
// account, two pairs of exchange-difference accounts, a bill-issuing payment
// type and a dollar converted with "*".
class Selezione : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override {
    // Again for a second company in one test: what refers to the old context goes first.
    m_.reset();
    aiuti_.reset();
    az_ = std::make_unique<testsupport::AziendaProva>(GetParam());
    auto& h = az_->host;
    h.parametri["CoGe.AnnoCorr"] = util::Value("2024");
    h.parametri["CoGe.DataInizCont"] = util::Value("01/01/2024");
    h.parametri["CoGe.DataFineCont"] = util::Value("31/12/2024");
    h.parametri["CauCon.SaldaCauIncassi"] = util::Value("INC");
    h.parametri["CauCon.SaldaCauPagamenti"] = util::Value("PAG");
    for (const char* k : {"Att", "Pass"}) {
      h.parametri[std::string("CauCon.GruppoAbb") + k] = util::Value(k[0] == 'A' ? "70" : "62");
      h.parametri[std::string("CauCon.MastroAbb") + k] = util::Value("05");
      h.parametri[std::string("CauCon.ContoAbb") + k] = util::Value("000001");
    }
    Sql("UPDATE Causali SET TipoCausale = 'G', PartGruppo = '18', PartMastro = '01', PartConto = '000001', "
        "InValuta = 'N', ObbProtocollo = 'N' WHERE Causale = 'INC'");
    Sql("INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg, CoPartGruppo, CoPartMastro, CoPartConto, "
        "InValuta, ObbProtocollo) VALUES ('PAG', 'Pagamento', 'G', '', '18', '02', '000001', 'N', 'N')");
    Sql("INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg, InValuta, ObbProtocollo) VALUES "
        "('VAL', 'Incasso in valuta', 'G', '', 'S', 'N')");
    Sql("INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg, InValuta, ObbProtocollo) VALUES "
        "('PROT', 'Incasso protocollato', 'G', '', 'N', 'S')");
    Sql("INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg, InValuta, ObbProtocollo) VALUES "
        "('IVA', 'Fattura', 'V', '', 'N', 'N')");
    Sql("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('18', '02', '000001', 1, "
        "'Banca')");
    Sql("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('80', '01', '000001', 1, "
        "'Utili su cambi')");
    Sql("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('70', '06', '000001', 1, "
        "'Utili su cambi')");
    Sql("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('62', '06', '000001', 1, "
        "'Perdite su cambi')");
    Sql("INSERT INTO PagTipi (PagTipo, Descrizione, EmissEffetti, RegIncAut, Causale, Gruppo, Mastro, Conto) "
        "VALUES ('RB', 'Ricevuta bancaria', 'S', 'N', 'VAL', '18', '02', '000001')");
    Sql("INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Operatore, Cee) VALUES "
        "('USD', 'Dollaro', 3, 3, '*', 'N')");
    Sql("INSERT INTO Cambi (Moneta, Data, Cambio) VALUES ('USD', '2024-01-01', 1.1)");
    Sql("INSERT INTO Cambi (Moneta, Data, Cambio) VALUES ('USD', '2024-03-10', 1.25)");
    auto& ctx = az_->ctx();
    ctx.azienda.dataLavoro = util::Date::Carry(2024, 3, 15);
    aiuti_ = std::make_unique<company::scAziUtilPrg>(ctx);
    lookup::Avvio av;
    av.db = &ctx.db;
    av.conn = ctx.conn;
    av.coloreNormale = ctx.azienda.coloreNormale;
    av.coloreErrore = ctx.azienda.coloreErrore;
    aiuti_->ogAziAiuto().Inizializza(av);
    auto f = std::make_unique<FinestraRegistra>();
    f->tasti = &finestre_;
    aiuti_->ogAziAiuto().ImpostaFinestra(std::move(f));
  }

  void Sql(const std::string& s) { az_->ctx().db.Execute(az_->ctx().conn, s); }

  compensato::ModelloSelezioni& Nuovo() {
    m_ = std::make_unique<compensato::ModelloSelezioni>(az_->ctx(), *aiuti_);
    m_->Inizializza_Form();
    az_->op.messaggi.clear();
    return *m_;
  }

  // As the operator types: enter the field, replace its text, leave it.
  static void Digita(compensato::ModelloSelezioni& m, int i, const std::string& testo) {
    m.Entra(i);
    m.Txt(i).ImpostaTesto(testo);
    m.Esci(i);
  }

  std::vector<std::string> Messaggi() const {
    std::vector<std::string> v;
    for (const auto& x : az_->op.messaggi) v.push_back(x.testo);
    return v;
  }

  std::unique_ptr<testsupport::AziendaProva> az_;
  std::unique_ptr<company::scAziUtilPrg> aiuti_;
  std::unique_ptr<compensato::ModelloSelezioni> m_;
  std::vector<int> finestre_;
};

}  // namespace testsupport
