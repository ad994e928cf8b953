// Runs in a foreign currency started as the bookkeeper starts them: fields
// typed into the selection, confirmed, then the run start. Every amount the
// run writes in the company currency is checked against figures worked out
// by hand, once for a currency multiplied by its rate and once for one
// divided by it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "src/selection/Elabora.h"
#include "tests/src/selection/SelezioneProva.h"

namespace {

using namespace compensato::txt;
using compensato::ModelloSelezioni;
using testsupport::Campi;
using testsupport::GrigliaProva;

std::string Cifre(const std::string& testo, int decimali) {
  char s[32];
  std::snprintf(s, sizeof s, "%.*f", decimali, util::Value(testo).toDouble());
  return s;
}

struct Valuta {
  const char* nome;
  const char* moneta;
  const char* operatore;
  int numDec;
  double cambio;  // the rate of the registration date, 15/03/2024
  // The customers of the automatic run, 14-01-000001 and 14-01-000002, and the
  // two installments of 14-01-000003 the worklist pays: the first in part, the
  // second closed for more than is due.
  double dovuto1, dovuto2, dovuto3, pagato3, dovuto4, pagato4;
  // "RigReg account D/A ImportoMon Importo" of each entry, by line number.
  std::vector<std::string> automatica, parziale;
  // "NumProg ImportoScad ImportoScadEuro ImportoScadLire paid(S/N)" of the
  // installment paid in part and of the rest that stays open (the next
  // number of the year).
  std::vector<std::string> scadenze;
};

class RunInValuta : public testsupport::Selezione {
 protected:
  // The entry of a run, each line as "RigReg account D/A ImportoMon Importo".
  std::vector<std::string> Righe(int numReg, int decimali) {
    std::vector<std::string> out;
    for (const std::string& r :
         az_->Righe("SELECT RigReg, GruppoPartita & '-' & MastroPartita & '-' & ContoPartita, DareAvere, ImportoMon, "
                    "Importo FROM MovPnDett WHERE NumReg = " +
                    std::to_string(numReg) + " ORDER BY RigReg")) {
      const std::vector<std::string> v = Campi(r);
      out.push_back(v[0] + " " + v[1] + " " + v[2] + " " + Cifre(v[3], decimali) + " " + Cifre(v[4], 2));
    }
    return out;
  }

  // The fields a foreign-currency receipt needs beyond the defaults, typed in
  // the screen's tab order, and the confirmation.
  compensato::SelezioneRun Conferma(const Valuta& v, const std::string& contoDa, const std::string& contoA,
                                    int tipoElab) {
    ModelloSelezioni& m = Nuovo();
    m.tipoElab = tipoElab;
    Digita(m, kContoDa, contoDa);
    Digita(m, kContoA, contoA);
    Digita(m, kMoneta, v.moneta);
    Digita(m, kCausale, "VAL");
    Digita(m, kUtiCambio, "70-06-000001");
    Digita(m, kPerdCambio, "62-06-000001");
    compensato::SelezioneRun s;
    EXPECT_TRUE(m.Conferma(s)) << az_->op.Elenco();
    EXPECT_EQ(s.operatoreMoneta, v.operatore);
    EXPECT_DOUBLE_EQ(s.cambio, v.cambio);
    return s;
  }
};

// The company keeps its books in euro; lire to two decimals at 1936,27 are
// the third figure every installment carries.
TEST_P(RunInValuta, OgniRigaEIlResiduoInEuro) {
  // clang-format off
  const Valuta valute[] = {
      {"dollars: euro = dollars x 1,25", "USD", "*", 3, 1.25, 100, 33.333, 100, 40.2, 20.001, 20.4,
       {
           // 125.00 + 41.67; 100 + 33.333 dollars, to the dollar's three decimals.
           "1 18-01-000001 D 133.333 166.67",
           "2 14-01-000001 A 100.000 125.00",  // 100 x 1,25
           "3 14-01-000002 A 33.333 41.67",    // 33,333 x 1,25 = 41,66625
       },
       {
           // 40,2 + 20,4 - 0,399; 50.25 + 25.50 - 0.50
           "1 18-01-000001 D 60.201 75.25",
           "2 14-01-000003 A 40.200 50.25",  // 40,2 x 1,25
           // 20,4 - 0,399 = 20,001; 20,4 x 1,25 = 25,50 less 0.50
           "3 14-01-000003 A 20.001 25.00",
           // R = 20,001 - 20,4 = -0,399; x 1,25 = -0,49875
           "4 70-05-000001 A 0.399 0.50",
           "5 18-01-000001 D 0.399 0.50",
       },
       {
           // 40,2 x 1,25 = 50,25; x 1936,27 = 97297,5675
           "3 40.2000 50.25 97297.57 S",
           // 59,8 x 1,25 = 74,75; x 1936,27 = 144736,1825
           "5 59.8000 74.75 144736.18 N",
       }},
      {"pounds: euro = pounds / 0,85", "GBP", "/", 2, 0.85, 100, 42.5, 100, 40, 20, 20.4,
       {
           "1 18-01-000001 D 142.50 167.65",  // 117.65 + 50.00
           "2 14-01-000001 A 100.00 117.65",  // 100 / 0,85 = 117,647...
           "3 14-01-000002 A 42.50 50.00",    // 42,5 / 0,85
       },
       {
           // 40 + 20,4 - 0,4; 47.06 + 24.00 - 0.47
           "1 18-01-000001 D 60.00 70.59",
           "2 14-01-000003 A 40.00 47.06",  // 40 / 0,85 = 47,0588...
           // 20,4 - 0,4; 20,4 / 0,85 = 24,00 less 0.47
           "3 14-01-000003 A 20.00 23.53",
           // R = 20 - 20,4 = -0,4; / 0,85 = -0,4705...
           "4 70-05-000001 A 0.40 0.47",
           "5 18-01-000001 D 0.40 0.47",
       },
       {
           // 40 / 0,85 = 47,0588...; x 1936,27 = 91118,588...
           "3 40.0000 47.06 91118.59 S",
           // 60 / 0,85 = 70,5882...; x 1936,27 = 136677,882...
           "5 60.0000 70.59 136677.88 N",
       }},
  };
  // clang-format on
  bool primo = true;
  for (const Valuta& v : valute) {
    SCOPED_TRACE(v.nome);
    if (!primo) {
      TearDown();
      SetUp();
    }
    primo = false;
    if (std::string(v.moneta) != "USD") {
      Sql(std::string("INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Operatore, Cee) VALUES ('") +
          v.moneta + "', 'Sterlina', " + std::to_string(v.numDec) + ", " + std::to_string(v.numDec) + ", '" +
          v.operatore + "', 'N')");
      Sql(std::string("INSERT INTO Cambi (Moneta, Data, Cambio) VALUES ('") + v.moneta + "', '2024-03-01', " +
          std::to_string(v.cambio) + ")");
    }
    const double dovuti[] = {v.dovuto1, v.dovuto2, v.dovuto3, v.dovuto4};
    for (int i = 0; i < 4; ++i)
      az_->Inserisci({.numProg = i + 1,
                      .conto = "00000" + std::to_string(i < 3 ? i + 1 : 3),
                      .importo = dovuti[i],
                      .dataDoc = util::Date::Carry(2024, 2, i + 1),
                      .dataScad = util::Date::Carry(2024, 4, 30),
                      .anno = 2024});
    Sql(std::string("UPDATE Scadenze SET Moneta = '") + v.moneta + "', Cambio = " + std::to_string(v.cambio));

    // Automatic: both installments settled in full.
    compensato::SelezioneRun s = Conferma(v, "14-01-000001", "14-01-000002", 0);
    az_->op.risposte = {1};  // "Si"
    ASSERT_EQ(compensato::Elabora(az_->ctx(), s, nullptr), 0) << az_->op.Elenco();
    const int numReg = static_cast<int>(az_->Numero("SELECT MAX(NumReg) FROM MovPnTes"));
    EXPECT_EQ(Righe(numReg, v.numDec), v.automatica);
    EXPECT_EQ(az_->Righe("SELECT Moneta, Cambio FROM MovPnTes WHERE NumReg = " + std::to_string(numReg)),
              std::vector<std::string>{std::string(v.moneta) + "|" + util::Value(v.cambio).toText()});

    // From the worklist: the third installment paid in part, the fourth overpaid.
    s = Conferma(v, "14-01-000003", "14-01-000003", 1);
    GrigliaProva griglia;
    griglia.scelte = {{3, "A", v.pagato3}, {4, "C", v.pagato4}};
    ASSERT_EQ(compensato::Elabora(az_->ctx(), s, &griglia), 0) << az_->op.Elenco();
    ASSERT_EQ(griglia.esitoElab, 0) << az_->op.Elenco();
    EXPECT_EQ(Righe(numReg + 1, v.numDec), v.parziale);
    std::vector<std::string> scadenze;
    for (const std::string& r :
         az_->Righe("SELECT NumProg, ImportoScad, ImportoScadEuro, ImportoScadLire, "
                    "IIF(NumRegPag IS NULL, 'N', 'S') FROM Scadenze WHERE NumProg = 3 OR NumProg >= 5 "
                    "ORDER BY NumProg")) {
      const std::vector<std::string> c = Campi(r);
      scadenze.push_back(c[0] + " " + Cifre(c[1], 4) + " " + Cifre(c[2], 2) + " " + Cifre(c[3], 2) + " " + c[4]);
    }
    EXPECT_EQ(scadenze, v.scadenze);
    EXPECT_EQ(az_->Invarianti(), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Motori, RunInValuta, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
