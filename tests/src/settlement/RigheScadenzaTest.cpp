// The lines one settled installment stages, read straight from the staging
// table: accounts and counter-accounts, sides and amounts of the installment
// line and of the allowance pair, and the references every line carries.
#include <gtest/gtest.h>

#include <cstdio>

#include "src/settlement/RigheMovimento.h"
#include "src/settlement/TestataMovimento.h"
#include "tests/src/settlement/AziendaProva.h"

namespace {

using testsupport::AziendaProva;
using testsupport::Campi;

std::string DueDecimali(const std::string& testo) {
  char s[32];
  std::snprintf(s, sizeof s, "%.2f", util::Value(testo).toDouble());
  return s;
}

class RigheScadenza : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  AziendaProva az{GetParam()};
  compensato::Contesto& ctx = az.ctx();

  void SetUp() override {
    compensato::StatoRun& r = ctx.run;
    r.par.contoPartita = "1801000001";
    r.par.contoAbbAtt = "7005000001";
    r.par.contoAbbPas = "6205000001";
    r.par.anno = 2026;
    r.par.cambio = 1;
    r.par.cdc = "CDC1";
    r.monetaRun = "Euro";
    r.numReg = 5;
    r.contaRighe = 1;  // line 1 is the closing line's
    compensato::ApriTabelleMovimento(ctx);
  }
  void TearDown() override { compensato::ChiudiTabelleMovimento(ctx); }

  // A query on the staging table once the staged lines are written.
  std::vector<std::string> Scritte(const std::string& sql) {
    std::string rifiutata;
    EXPECT_EQ(compensato::ScriviRigheMovimento(ctx, rifiutata), 0) << az.op.Elenco();
    return az.Righe(sql);
  }

  // "RigReg account counter-account side amount company-amount", by line.
  std::vector<std::string> Righe() {
    std::vector<std::string> out;
    for (const std::string& riga :
         Scritte("SELECT RigReg, TipoPartita & '-' & GruppoPartita & '-' & MastroPartita & '-' & ContoPartita, "
                 "TipoCPartita & '-' & GruppoCPartita & '-' & MastroCPartita & '-' & ContoCPartita, DareAvere, "
                 "ImportoMon, Importo FROM MovPnDettApp WHERE Anno = 2026 AND NumReg = 5 ORDER BY RigReg")) {
      const auto v = Campi(riga);
      out.push_back(v[0] + " " + v[1] + " " + v[2] + " " + v[3] + " " + DueDecimali(v[4]) + " " + DueDecimali(v[5]));
    }
    return out;
  }
};

compensato::RigaScadenza Cliente(const char* stato, double pagato, const char* verso = "E") {
  compensato::RigaScadenza s;
  s.entrataUscita = verso;
  s.statoScad = stato;
  s.tipo = "3";
  s.gruppoScad = "14";
  s.mastroScad = "01";
  s.contoScad = "000001";
  s.pagato = util::Money::FromDouble(pagato);
  s.dovuto = util::Money::FromDouble(100);
  s.prefisso = "V";
  s.numDoc = "F1";
  s.dataDoc = util::Date::Carry(2026, 3, 1);
  s.dataScad = util::Date::Carry(2026, 4, 30);
  return s;
}

compensato::RigaScadenza Fornitore(const char* stato, double pagato) {
  compensato::RigaScadenza s = Cliente(stato, pagato, "U");
  s.tipo = "2";
  s.gruppoScad = "40";
  s.dovuto = util::Money::FromDouble(250);
  return s;
}

TEST_P(RigheScadenza, ContiLatiEImportiPerCaso) {
  struct Caso {
    const char* nome;
    compensato::RigaScadenza scadenza;
    std::vector<std::string> righe;
    double pagatoNetto;     // what the run's paid total moved by, money in positive
    double eccedenzaNetta;  // what the allowance pair moved on the cash account
    // clang-format off
  } casi[] = {
      {"customer, closed and overpaid",
       Cliente("C", 110),
       {"2 3-14-01-000001 1-18-01-000001 A 100.00 100.00", "3 1-70-05-000001 3-14-01-000001 A 10.00 10.00",
        "4 1-18-01-000001 1-70-05-000001 D 10.00 10.00"},
       110, 10},
      {"customer, closed and underpaid",
       Cliente("C", 90),
       {"2 3-14-01-000001 1-18-01-000001 A 90.00 90.00", "3 1-62-05-000001 3-14-01-000001 D 10.00 10.00",
        "4 3-14-01-000001 1-62-05-000001 A 10.00 10.00"},
       90, 0},
      {"customer, paid in part", Cliente("A", 40), {"2 3-14-01-000001 1-18-01-000001 A 40.00 40.00"}, 40, 0},
      {"customer, paid exactly", Cliente("C", 100), {"2 3-14-01-000001 1-18-01-000001 A 100.00 100.00"}, 100, 0},
      {"customer's credit note refunded",
       Cliente("C", 100, "U"),
       {"2 3-14-01-000001 1-18-01-000001 D 100.00 100.00"},
       -100, 0},
      {"supplier, closed and overpaid",
       Fornitore("C", 260),
       {"2 2-40-01-000001 1-18-01-000001 D 250.00 250.00", "3 1-62-05-000001 2-40-01-000001 D 10.00 10.00",
        "4 1-18-01-000001 1-62-05-000001 A 10.00 10.00"},
       -260, -10},
      {"supplier, closed and underpaid",
       Fornitore("C", 240),
       {"2 2-40-01-000001 1-18-01-000001 D 240.00 240.00", "3 1-70-05-000001 2-40-01-000001 A 10.00 10.00",
        "4 2-40-01-000001 1-70-05-000001 D 10.00 10.00"},
       -240, 0},
  };
  // clang-format on
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    ctx.db.Execute(ctx.conn, "DELETE FROM MovPnDettApp");
    compensato::StatoRun& r = ctx.run;
    r.contaRighe = 1;
    r.totPagato = util::Money();
    r.totEccedenzaNetta = util::Money();
    int32_t rigLiv = 0;
    ASSERT_EQ(compensato::CreaRigheScadenza(ctx, c.scadenza, rigLiv), 0) << az.op.Elenco();
    EXPECT_EQ(rigLiv, 2) << "the installment's own line";
    EXPECT_EQ(Righe(), c.righe);
    EXPECT_EQ(r.contaRighe, static_cast<int32_t>(1 + c.righe.size()));
    EXPECT_DOUBLE_EQ(r.totPagato.toDouble(), c.pagatoNetto);
    EXPECT_DOUBLE_EQ(r.totEccedenzaNetta.toDouble(), c.eccedenzaNetta);
  }
}

// Amounts of fourteen digits and cents, which the stored currency holds: a
// double keeps their cents only to fifteen significant digits, so the lines
// and the cash line that round it would read 12345678901234.60.
TEST_P(RigheScadenza, ImportiDiQuattordiciCifreAlCentesimo) {
  compensato::RigaScadenza s = Cliente("C", 12345678901234.57);
  s.dovuto = util::Money::Parse("12345678901234.56");
  int32_t rigLiv = 0;
  ASSERT_EQ(compensato::CreaRigheScadenza(ctx, s, rigLiv), 0) << az.op.Elenco();
  ASSERT_EQ(compensato::CreaRigheChiusura(ctx, 1, {}), 0) << az.op.Elenco();
  EXPECT_EQ(Righe(), (std::vector<std::string>{
                         "1 1-18-01-000001 --- D 12345678901234.56 12345678901234.56",
                         "2 3-14-01-000001 1-18-01-000001 A 12345678901234.56 12345678901234.56",
                         "3 1-70-05-000001 3-14-01-000001 A 0.01 0.01",
                         "4 1-18-01-000001 1-70-05-000001 D 0.01 0.01",
                     }));
}

// Every line of the group carries the installment's document, the run's cost
// centre and the run's protocol when it has one, else the installment's.
TEST_P(RigheScadenza, RiferimentiDiOgniRiga) {
  compensato::RigaScadenza s = Cliente("C", 110);
  s.preProt = "P1";
  s.numProt = 44;
  s.dataProt = util::Date::Carry(2026, 3, 2);
  ctx.run.descAggRighe = "Saldo";
  const std::string colonne =
      "SELECT PreDoc, NumDoc, DataDoc, PreProt, NumProt, DataProt, CentroDiCosto, DescrAgg FROM MovPnDettApp "
      "ORDER BY RigReg";
  int32_t rigLiv = 0;
  ASSERT_EQ(compensato::CreaRigheScadenza(ctx, s, rigLiv), 0) << az.op.Elenco();
  const std::string daScadenza = "V|F1|" + util::Date::Carry(2026, 3, 1).toText() + "|P1|44|" +
                                 util::Date::Carry(2026, 3, 2).toText() + "|CDC1|Saldo " + s.dataScad.toText();
  EXPECT_EQ(Scritte(colonne), std::vector<std::string>(3, daScadenza));

  ctx.db.Execute(ctx.conn, "DELETE FROM MovPnDettApp");
  ctx.run.par.numProt = 900;
  ctx.run.par.prefProt = "R";
  ctx.run.par.dataProt = util::Date::Carry(2026, 12, 1);
  ASSERT_EQ(compensato::CreaRigheScadenza(ctx, s, rigLiv), 0) << az.op.Elenco();
  const std::string dalRun = "V|F1|" + util::Date::Carry(2026, 3, 1).toText() + "|R|900|" +
                             util::Date::Carry(2026, 12, 1).toText() + "|CDC1|Saldo " + s.dataScad.toText();
  EXPECT_EQ(Scritte(colonne), std::vector<std::string>(3, dalRun));
}

// With cash-basis VAT active, an installment's line says whether its
// invoice's own entry is on a cash basis: that entry's document and first
// line on the installment's account, codes compared without regard to case.
TEST_P(RigheScadenza, IvaPerCassaDallaRegistrazioneDellaFattura) {
  auto registrazione = [&](int numReg, const char* numDoc, const char* perCassa, const char* contoRiga1) {
    const std::string n = std::to_string(numReg);
    ctx.db.Execute(ctx.conn, "INSERT INTO MovPnTes (Anno, NumReg, DataReg, Causale, PreDoc, NumDoc, DataDoc, "
                             "IvaPerCassa) VALUES (2025, " +
                                 n + ", #03/01/2026#, 'FV', 'V', '" + numDoc + "', #03/01/2026#, '" + perCassa + "')");
    ctx.db.Execute(ctx.conn, "INSERT INTO MovPnDett (Anno, NumReg, RigReg, TipoPartita, GruppoPartita, MastroPartita, "
                             "ContoPartita) VALUES (2025, " +
                                 n + ", 1, '3', '14', '01', '" + contoRiga1 + "')");
    ctx.db.Execute(ctx.conn, "INSERT INTO MovPnDett (Anno, NumReg, RigReg, TipoPartita, GruppoPartita, MastroPartita, "
                             "ContoPartita) VALUES (2025, " +
                                 n + ", 2, '3', '14', '01', '000001')");
  };
  registrazione(1, "F1", "S", "000001");
  registrazione(2, "F2", "N", "000001");
  registrazione(3, "F3", "S", "000002");  // the installment's account only on its second line
  const struct {
    const char* nome;
    const char* attiva;
    const char* numDoc;
    const char* conto;
    const char* atteso;
  } casi[] = {
      {"the invoice on a cash basis", "S", "F1", "000001", "S"},
      {"its number in another case", "S", "f1", "000001", "S"},
      {"another account of the same document", "S", "F1", "000003", "N"},
      {"an invoice not on a cash basis", "S", "F2", "000001", "N"},
      {"the account not on the first line", "S", "F3", "000001", "N"},
      {"no invoice entry", "S", "F9", "000001", "N"},
      {"cash-basis VAT not active", "N", "F1", "000001", "N"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    az.host.parametri["CoGe.IvaCassaAttiva"] = util::Value(c.attiva);
    compensato::RigaScadenza s = Cliente("C", 100);
    s.numDoc = c.numDoc;
    s.contoScad = c.conto;
    int32_t rigLiv = 0;
    ASSERT_EQ(compensato::CreaRigheScadenza(ctx, s, rigLiv), 0) << az.op.Elenco();
    EXPECT_EQ(Scritte("SELECT IvaPerCassa FROM MovPnDettApp WHERE RigLiv = " + std::to_string(rigLiv)),
              std::vector<std::string>{c.atteso});
  }
}

INSTANTIATE_TEST_SUITE_P(Motori, RigheScadenza, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
