// The figures under the worklist grid and its two ways out, on a small
// company's working copy, on every engine.
#include "src/worklist/TotaliLista.h"

#include <gtest/gtest.h>

#include "components/util/SqlLiteral.h"
#include "tests/src/settlement/AziendaProva.h"

namespace {

using testsupport::AziendaProva;

class TotaliLista : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  AziendaProva az{GetParam()};
  compensato::Contesto& ctx = az.ctx();

  // Three installments of 100, 100 and a credit note of 50, reserved and
  // copied as the selection screen leaves them for the worklist.
  void SetUp() override {
    az.Inserisci({.numProg = 1, .importo = 100});
    az.Inserisci({.numProg = 2, .conto = "000002", .importo = 100});
    az.Inserisci({.numProg = 3, .conto = "000003", .entrataUscita = "U", .importo = 50});
    az.PreparaLista();
  }
  // What the grid saves for a row.
  void Segna(int numProg, const char* stato, double pagato) {
    ctx.db.Execute(ctx.conn, "UPDATE ScadenzeApp SET StatoScad = '" + std::string(stato) + "', ImpPagInc = " +
                                 util::SqlLiteral(pagato, 5) + " WHERE NumProg = " + std::to_string(numProg));
  }
};

TEST_P(TotaliLista, CifreDopoOgniRiga) {
  struct Caso {
    const char* nome;
    std::vector<std::tuple<int, const char*, double>> righe;
    const char* massimo;
    const char *numero, *selezionato, *residuo;
    bool rosso;
    // clang-format off
  } casi[] = {
      {"nulla di saldato", {}, "1.000,00", "0", "", "", false},
      {"un acconto", {{1, "A", 40}}, "1.000,00", "1", "40,00", "960,00", false},
      {"oltre il massimo", {{1, "C", 100}, {2, "A", 60.5}}, "150,00", "2", "160,50", "-10,50", true},
      {"la nota di credito abbassa il totale", {{1, "C", 100}, {2, "C", 100}, {3, "C", -50}}, "150,00", "3",
       "150,00", "0,00", false},
      {"uno stato vuoto non conta", {{1, " ", 0}, {2, "C", 100}}, "50,00", "1", "100,00", "-50,00", true},
  };
  // clang-format on
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    ctx.db.Execute(ctx.conn, "UPDATE ScadenzeApp SET StatoScad = '', ImpPagInc = 0");
    for (const auto& [n, stato, pagato] : c.righe) Segna(n, stato, pagato);
    const compensato::TotaliLista t = compensato::CalcolaResiduo(ctx, c.massimo, "#,###.^^", 2, false);
    EXPECT_EQ(t.testoNumero, c.numero);
    EXPECT_EQ(t.testoSelezionato, c.selezionato);
    EXPECT_EQ(t.testoResiduo, c.residuo);
    EXPECT_EQ(t.rosso, c.rosso);
  }
  EXPECT_FALSE(az.op.Mostrato(compensato::kCassaNegativa)) << "not a cash counter-account";
}

// With the cash account as the counter-account a negative residue warns at
// every recount.
TEST_P(TotaliLista, CassaNegativaAOgniConteggio) {
  az.host.parametri["CauCon.GruppoCassaCont"] = util::Value("18");
  az.host.parametri["CauCon.MastroCassaCont"] = util::Value("01");
  az.host.parametri["CauCon.ContoCassaCont"] = util::Value("000001");
  ctx.run.par.contoPartita = "1801000001";
  ASSERT_TRUE(compensato::ContoDiCassa(ctx));
  Segna(1, "C", 100);
  for (int volta = 1; volta <= 2; ++volta) compensato::CalcolaResiduo(ctx, "50,00", "#,###.^^", 2, true);
  int avvisi = 0;
  for (const auto& m : az.op.messaggi) avvisi += m.testo == compensato::kCassaNegativa;
  EXPECT_EQ(avvisi, 2);

  ctx.run.par.contoPartita = "1802000001";
  EXPECT_FALSE(compensato::ContoDiCassa(ctx));
  az.host.parametri["CauCon.GruppoCassaAss"] = util::Value("18");
  az.host.parametri["CauCon.MastroCassaAss"] = util::Value("02");
  az.host.parametri["CauCon.ContoCassaAss"] = util::Value("000001");
  EXPECT_TRUE(compensato::ContoDiCassa(ctx)) << "the cheques' cash account counts too";
  ctx.run.par.contoPartita.clear();
  ctx.run.selezione.contoPartita.clear();
  EXPECT_FALSE(compensato::ContoDiCassa(ctx));
}

TEST_P(TotaliLista, AnnullaChiedeERilasciaTutto) {
  Segna(1, "C", 100);
  az.op.risposte = {2};  // "No"
  EXPECT_FALSE(compensato::AnnullaLista(ctx));
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM ScadenzeApp"), 3);
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM Scadenze WHERE FlStato = '0'"), 3);

  az.op.risposte = {1};  // "Si"
  EXPECT_TRUE(compensato::AnnullaLista(ctx)) << az.op.Elenco();
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM ScadenzeApp"), 0);
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM Scadenze WHERE Utente <> ' ' OR FlStato IS NOT NULL"), 0);
  EXPECT_EQ(az.Numero("SELECT COUNT(*) FROM Scadenze WHERE NumRegPag IS NOT NULL"), 0);
}

TEST_P(TotaliLista, ConfermaOltreIlMassimoLoDice) {
  az.op.risposte = {2, 1};
  EXPECT_FALSE(compensato::ConfermaLista(ctx, true));
  EXPECT_TRUE(compensato::ConfermaLista(ctx, false));
  ASSERT_EQ(az.op.messaggi.size(), 2u);
  EXPECT_EQ(az.op.messaggi[0].testo,
            "La somma degli importi delle scadenze selezionate è superiore all'importo massimo. Confermi "
            "ugualmente l'elaborazione ?");
  EXPECT_EQ(az.op.messaggi[1].testo, "Confermi l'elaborazione delle scadenze ?");
  EXPECT_EQ(az.op.messaggi[1].titolo, "Compensato");
}

INSTANTIATE_TEST_SUITE_P(Motori, TotaliLista, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
