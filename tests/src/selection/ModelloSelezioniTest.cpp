#include "src/selection/ModelloSelezioni.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/src/selection/CasiSelezione.h"
#include "tests/src/selection/SelezioneProva.h"

namespace {

using namespace compensato::txt;
using compensato::ModelloSelezioni;
using testsupport::Selezione;

TEST_P(Selezione, DefaultsOfAFreshScreen) {
  ModelloSelezioni& m = Nuovo();
  const std::pair<int, const char*> attesi[] = {
      {kScadDa, "01/01/2024"},        {kScadA, "31/12/2024"}, {kDocDa, "01/01/2024"},     {kDocA, "31/12/2024"},
      {kDataReg, "15/03/2024"},       {kAnno, "2024"},        {kMoneta, "Euro"},          {kCambio, "1,000000"},
      {kMassimo, "9.999.999.999,00"}, {kCausale, "INC"},      {kPartita, "18-01-000001"}, {kAbbAtt, "70-05-000001"},
      {kAbbPas, "62-05-000001"},      {kUtiCambio, ""},       {kPerdCambio, ""},          {kContoDa, ""},
  };
  for (const auto& [i, testo] : attesi) {
    EXPECT_EQ(m.Txt(i).Testo(), testo) << "Txt(" << i << ")";
    EXPECT_FALSE(m.Rosso(i)) << "Txt(" << i << ")";
  }
  EXPECT_EQ(m.lab(kCausale).Testo(), "Incasso");
  EXPECT_EQ(m.lab(kPartita).Testo(), "Cassa");
  EXPECT_EQ(m.lab(kAbbAtt).Testo(), "Abbuoni attivi");
  EXPECT_EQ(m.tipoElab, 1);
  EXPECT_TRUE(m.optCliente);
  EXPECT_FALSE(m.optFornitore);
  // The euro has a fixed rate: nothing to type.
  EXPECT_FALSE(m.Txt(kCambio).abilitato);
  EXPECT_TRUE(Messaggi().empty());
}

TEST_P(Selezione, DefaultsOfAYearTheHostDoesNotKnow) {
  az_->host.parametri["CoGe.AnnoCorr"] = util::Value("2020");
  az_->host.parametri["CoGe.DataInizCont"] = util::Value("01/01/2020");
  az_->host.parametri["CoGe.DataFineCont"] = util::Value("31/12/2020");
  ModelloSelezioni& m = Nuovo();
  EXPECT_EQ(m.Txt(kAnno).Testo(), "");
  EXPECT_TRUE(m.Rosso(kAnno));
}

TEST_P(Selezione, SwitchingToSuppliersChecksAgainWithoutReloadingTheDefault) {
  ModelloSelezioni& m = Nuovo();
  m.ScegliFornitore();
  EXPECT_EQ(m.Txt(kCausale).Testo(), "INC");
  EXPECT_EQ(m.DecsCausale()[0], "CoPartGruppo");
  // Emptied, the transaction code takes the suppliers' default and its counterpart.
  Digita(m, kCausale, "");
  EXPECT_EQ(m.Txt(kCausale).Testo(), "PAG");
  EXPECT_EQ(m.Txt(kPartita).Testo(), "18-02-000001");
  m.ScegliCliente();
  EXPECT_EQ(m.Txt(kCausale).Testo(), "PAG");
  EXPECT_EQ(m.DecsCausale()[0], "PartGruppo");
}

TEST_P(Selezione, FieldChecks) {
  struct Passo {
    int indice;
    std::string testo;
  };
  struct Caso {
    const char* nome;
    std::vector<Passo> passi;
    std::vector<std::pair<int, std::string>> testi;  // expected texts after the steps
    std::vector<int> rossi;                          // the fields expected red, of those named in `testi`
    std::vector<std::string> messaggi;
    // clang-format off
  } casi[] = {
      {"an account typed with dashes is normalised, decoded and copied to the upper bound",
       {{kContoDa, "14-1-000002"}},
       {{kContoDa, "14-01-000002"}, {kContoA, "14-01-000002"}},
       {},
       {}},
      {"leaving the lower bound unchanged keeps the upper bound",
       {{kContoDa, "14-01-000001"}, {kContoA, "14-01-000003"}, {kContoDa, "14-01-000001"}},
       {{kContoA, "14-01-000003"}},
       {},
       {}},
      {"a supplier's account is no customer", {{kContoDa, "40-01-000001"}}, {{kContoDa, "40-01-000001"}},
       {kContoDa}, {}},
      {"a maximum of 0 is refused with its message", {{kMassimo, "0"}}, {{kMassimo, "0"}}, {kMassimo},
       {"Indicare l'importo massimo per il compensato."}},
      {"an empty maximum is refused as 0", {{kMassimo, ""}}, {{kMassimo, ""}}, {kMassimo},
       {"Indicare l'importo massimo per il compensato."}},
      {"a maximum is shown with the currency's decimals", {{kMassimo, "1234,5"}}, {{kMassimo, "1.234,50"}}, {}, {}},
      {"the company currency with a foreign-currency code", {{kCausale, "VAL"}}, {{kCausale, "VAL"}}, {kCausale},
       {"La moneta è è quella corrente. La causale non può essere in valuta"}},
      {"a foreign currency with a code that has no foreign currency",
       {{kMoneta, "USD"}, {kCausale, "INC"}},
       {{kCambio, "1,250000"}, {kMassimo, "9.999.999.999,000"}},
       {},
       {"La moneta è diversa dalla moneta corrente. La causale deve avere la gestione della valuta"}},
      {"a foreign currency with a foreign-currency code", {{kMoneta, "USD"}, {kCausale, "VAL"}},
       {{kCausale, "VAL"}}, {}, {}},
      {"the rate follows the registration date", {{kDataReg, "05/02/2024"}, {kMoneta, "USD"}},
       {{kCambio, "1,100000"}}, {}, {}},
      {"a blank currency is refused", {{kMoneta, ""}}, {{kMoneta, ""}}, {kMoneta}, {}},
      {"an unknown currency is refused", {{kMoneta, "XYZ"}}, {{kMoneta, "XYZ"}}, {kMoneta}, {}},
      {"a code of another kind than general", {{kCausale, "IVA"}}, {{kCausale, "IVA"}}, {kCausale}, {}},
      {"an emptied transaction code takes the default back", {{kCausale, ""}}, {{kCausale, "INC"}}, {}, {}},
      {"a counterpart account is mandatory", {{kPartita, ""}}, {{kPartita, ""}}, {kPartita}, {}},
      {"a discount account typed with dashes", {{kAbbAtt, "70-5-000001"}}, {{kAbbAtt, "70-05-000001"}}, {}, {}},
      {"a customer is no general account", {{kAbbPas, "14-01-000001"}}, {{kAbbPas, "14-01-000001"}}, {kAbbPas}, {}},
      {"exchange accounts may be blank in the company currency", {{kUtiCambio, ""}, {kPerdCambio, ""}},
       {{kUtiCambio, ""}, {kPerdCambio, ""}}, {}, {}},
      {"exchange accounts are mandatory in a foreign currency",
       {{kMoneta, "USD"}, {kUtiCambio, "80-01-000001"}, {kPerdCambio, ""}},
       {{kUtiCambio, "80-01-000001"}, {kPerdCambio, ""}},
       {kPerdCambio},
       {}},
      {"a foreign rate of 0 is refused", {{kMoneta, "USD"}, {kCambio, "0"}}, {{kCambio, "0"}}, {kCambio}, {}},
      {"a registration date outside every accounting year empties the year", {{kDataReg, "15/03/2019"}},
       {{kDataReg, "15/03/2019"}, {kAnno, ""}}, {kAnno}, {}},
      {"a registration date completed from a short entry gives its year", {{kDataReg, "3112"}},
       {{kDataReg, "31/12/2024"}, {kAnno, "2024"}}, {}, {}},
      {"an empty registration date", {{kDataReg, ""}}, {{kDataReg, ""}}, {kDataReg}, {}},
      {"a year the registration date does not belong to", {{kAnno, "2023"}}, {{kAnno, "2023"}}, {kAnno}, {}},
      {"a year of 0", {{kAnno, "0"}}, {{kAnno, "0"}}, {kAnno}, {}},
      {"a date below the smallest date", {{kScadDa, "01/01/1850"}}, {{kScadDa, "01/01/1850"}}, {kScadDa}, {}},
      {"a date that does not exist", {{kDocA, "31/02/2024"}}, {{kDocA, "31/02/2024"}}, {kDocA}, {}},
      {"an empty protocol date is left to the confirmation", {{kDataProt, ""}}, {{kDataProt, ""}}, {}, {}},
      {"an unknown cost centre", {{kCdc, "ZZ"}}, {{kCdc, "ZZ"}}, {kCdc}, {}},
      {"a field once red turns normal when mended", {{kMassimo, "0"}, {kMassimo, "10"}}, {{kMassimo, "10,00"}}, {},
       {"Indicare l'importo massimo per il compensato."}},
  };
  // clang-format on
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    ModelloSelezioni& m = Nuovo();
    for (const Passo& p : c.passi) Digita(m, p.indice, p.testo);
    for (const auto& [i, testo] : c.testi) {
      EXPECT_EQ(m.Txt(i).Testo(), testo) << "Txt(" << i << ")";
      const bool rosso = std::find(c.rossi.begin(), c.rossi.end(), i) != c.rossi.end();
      EXPECT_EQ(m.Rosso(i), rosso) << "Txt(" << i << ")";
    }
    EXPECT_EQ(Messaggi(), c.messaggi);
  }
}

TEST_P(Selezione, ACurrencyKeepsItsOperatorAndUnlocksTheRate) {
  ModelloSelezioni& m = Nuovo();
  Digita(m, kMoneta, "USD");
  EXPECT_EQ(m.operatoreMoneta, "*");
  EXPECT_EQ(m.numDec, 3);
  EXPECT_TRUE(m.Txt(kCambio).abilitato);
  EXPECT_EQ(m.lab(kMoneta).Testo(), "Dollaro");
  Digita(m, kMoneta, "Euro");
  EXPECT_EQ(m.operatoreMoneta, "/");
  EXPECT_FALSE(m.Txt(kCambio).abilitato);
  EXPECT_EQ(m.Txt(kCambio).Testo(), "1,000000");
}

TEST_P(Selezione, ABillIssuingPaymentTypeLocksAncheEffetti) {
  ModelloSelezioni& m = Nuovo();
  Digita(m, kMoneta, "USD");
  Digita(m, kPagTipo, "RB");
  EXPECT_TRUE(m.ancheEffetti);
  EXPECT_FALSE(m.ancheEffettiAbilitato);
  // The payment type brings its transaction code and its own account.
  EXPECT_EQ(m.Txt(kCausale).Testo(), "VAL");
  EXPECT_EQ(m.Txt(kPartita).Testo(), "18-02-000001");
  EXPECT_EQ(m.lab(kPartita).Testo(), "Banca");

  Digita(m, kPagTipo, "RD");
  EXPECT_FALSE(m.ancheEffetti);
  EXPECT_FALSE(m.ancheEffettiAbilitato);
  m.ancheEffetti = true;
  Digita(m, kPagTipo, "");
  EXPECT_FALSE(m.ancheEffetti);
  EXPECT_TRUE(m.ancheEffettiAbilitato);
  EXPECT_EQ(m.Txt(kCausale).Testo(), "INC");
  EXPECT_EQ(m.Txt(kPartita).Testo(), "18-01-000001");

  Digita(m, kPagTipo, "ZZ");
  EXPECT_TRUE(m.Rosso(kPagTipo));
}

TEST_P(Selezione, LookupKeys) {
  struct Caso {
    const char* nome;
    int indice;
    int tasto;
    int shift;
    bool neCliente;  // neither customers nor suppliers chosen
    std::vector<int> finestre;
  } casi[] = {
      {"F2 on the lower bound", kContoDa, 113, 0, false, {113}},
      {"F3 on the transaction code", kCausale, 114, 0, false, {114}},
      {"F2 with neither customers nor suppliers", kContoDa, 113, 0, true, {}},
      {"F4", kContoDa, 115, 0, false, {}},
      {"Shift+F2", kContoDa, 113, 1, false, {}},
      {"F2 on a field without lookup", kMassimo, 113, 0, false, {}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    ModelloSelezioni& m = Nuovo();
    finestre_.clear();
    if (c.neCliente) m.optCliente = m.optFornitore = false;
    m.TastoSu(c.indice, c.tasto, c.shift);
    EXPECT_EQ(finestre_, c.finestre);
  }
}

// What only the model's callers can get wrong; the selections an operator
// can type wrong are the shared cases below.
TEST_P(Selezione, Confirmation) {
  struct Caso {
    const char* nome;
    std::function<void(ModelloSelezioni&)> prepara;
    std::vector<std::string> messaggi;  // empty: the run may start
  } casi[] = {
      {"a red field never entered",
       [](ModelloSelezioni& m) { m.Txt(kAbbAtt).ImpostaTesto("99-99-999999"); },
       {"Ci sono dei dati errati. Non è possibile continuare l'elaborazione"}},
      {"a field already red",
       [](ModelloSelezioni& m) { Digita(m, kPartita, ""); },
       {"Ci sono dei dati errati. Non è possibile continuare l'elaborazione"}},
      {"a maximum of 0 never entered",
       [](ModelloSelezioni& m) { m.Txt(kMassimo).ImpostaTesto("0"); },
       {"Indicare l'importo massimo per il compensato.",
        "Ci sono dei dati errati. Non è possibile continuare l'elaborazione"}},
      {"no run kind", [](ModelloSelezioni& m) { m.tipoElab = -1; }, {"Indicare il tipo di elaborazione"}},
      {"a bill-issuing payment type with \"Anche effetti\" cleared",
       [](ModelloSelezioni& m) {
         Digita(m, kMoneta, "USD");
         Digita(m, kPagTipo, "RB");
         Digita(m, kUtiCambio, "70-06-000001");
         Digita(m, kPerdCambio, "62-06-000001");
         m.ancheEffetti = false;
       },
       {"Il tipo pagamento RB emette effetti: vanno compresi gli effetti"}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    ModelloSelezioni& m = Nuovo();
    c.prepara(m);
    az_->op.messaggi.clear();
    compensato::SelezioneRun s;
    EXPECT_EQ(m.Conferma(s), c.messaggi.empty());
    EXPECT_EQ(Messaggi(), c.messaggi);
  }
}

// The selections shared with the batch front and the screen: typed as the
// operator types them, each gives its first message and leaves its field red.
TEST_P(Selezione, SharedCases) {
  for (const testsupport::CasoSelezione& c : testsupport::CasiSelezione(2024)) {
    SCOPED_TRACE(c.nome);
    ModelloSelezioni& m = Nuovo();
    if (c.conti == testsupport::ContiSelezione::Fornitori) m.ScegliFornitore();
    if (c.conti == testsupport::ContiSelezione::Nessuno) m.optCliente = m.optFornitore = false;
    az_->op.messaggi.clear();
    for (const auto& [i, testo] : c.campi) Digita(m, i, testo);
    if (c.ancheEffetti) m.ancheEffetti = true;
    compensato::SelezioneRun s;
    EXPECT_EQ(m.Conferma(s), c.messaggio.empty());
    const std::vector<std::string> messaggi = Messaggi();
    EXPECT_EQ(messaggi.empty() ? std::string() : messaggi.front(), c.messaggio);
    if (c.rosso) {
      EXPECT_TRUE(m.Rosso(c.rosso)) << "Txt(" << c.rosso << ")";
    }
  }
}

TEST_P(Selezione, ThePersonalSettingAsksForTheProtocolIgnoringCase) {
  az_->host.ImpostaPersonale("DATAOP", "PartVis", util::Value("s"));
  ModelloSelezioni& m = Nuovo();
  compensato::SelezioneRun s;
  EXPECT_FALSE(m.Conferma(s));
  EXPECT_EQ(Messaggi(), std::vector<std::string>{"Si prega di inserire la data di protocollo"});
}

TEST_P(Selezione, TheRunSelectionTakenFromTheFields) {
  ModelloSelezioni& m = Nuovo();
  Digita(m, kMoneta, "USD");
  Digita(m, kCausale, "VAL");
  Digita(m, kUtiCambio, "80-01-000001");
  Digita(m, kPerdCambio, "80-01-000001");
  Digita(m, kContoDa, "14-01-000001");
  m.Txt(kPrefProt).ImpostaTesto("  ");
  m.Txt(kDescAgg).ImpostaTesto("saldo marzo");
  m.tipoElab = 0;
  m.ordinamento = 0;
  compensato::SelezioneRun s;
  ASSERT_TRUE(m.Conferma(s)) << (Messaggi().empty() ? "" : Messaggi()[0]);
  EXPECT_TRUE(s.automatica);
  EXPECT_EQ(s.tipoConto, 3);
  EXPECT_EQ(s.contoDa, "1401000001");
  EXPECT_EQ(s.contoA, "1401000001");
  EXPECT_EQ(s.dataScadDa, util::Date::Carry(2024, 1, 1));
  EXPECT_EQ(s.dataDocA, util::Date::Carry(2024, 12, 31));
  EXPECT_EQ(s.moneta, "USD");
  EXPECT_DOUBLE_EQ(s.cambio, 1.25);
  EXPECT_EQ(s.operatoreMoneta, "*");
  EXPECT_DOUBLE_EQ(s.importoMassimo, 9999999999.0);
  EXPECT_EQ(s.causale, "VAL");
  EXPECT_EQ(s.contoPartita, "1801000001");
  EXPECT_EQ(s.contoAbbAtt, "7005000001");
  EXPECT_EQ(s.contoUtiCambio, "8001000001");
  EXPECT_EQ(s.descAggiuntiva, "saldo marzo");
  EXPECT_EQ(s.dataReg, util::Date::Carry(2024, 3, 15));
  EXPECT_EQ(s.anno, 2024);
  EXPECT_TRUE(s.dataProt.isEmpty());
  EXPECT_EQ(s.numProt, 0);
  EXPECT_EQ(s.prefProt, ".");
  EXPECT_EQ(s.effetti, "n");
  EXPECT_EQ(s.ordinamento, 1);
}

INSTANTIATE_TEST_SUITE_P(Motori, Selezione, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
