// The installment card read from the working copy, on every engine.
#include "src/worklist/SchedaScadenza.h"

#include <gtest/gtest.h>

#include "tests/src/settlement/AziendaProva.h"

namespace {

using testsupport::AziendaProva;

// A customer invoice, a customer credit note and a supplier's installment,
// copied as the worklist shows them; the first with a payment and a bank that
// have no description row.
class Scheda : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  AziendaProva az{GetParam()};
  compensato::Contesto& ctx = az.ctx();

  void Copia(int tipo) { az.PreparaLista(tipo); }
  std::map<std::string, std::string> Etichette(int numProg) {
    const auto s = compensato::LeggiSchedaScadenza(ctx, util::Value::Integer(2026), util::Value::Long(numProg));
    EXPECT_TRUE(s.has_value());
    return s ? s->etichette : std::map<std::string, std::string>{};
  }
};

TEST_P(Scheda, FatturaDelCliente) {
  az.Inserisci({.numProg = 1, .importo = 1234.5, .dataScad = util::Date::Carry(2026, 4, 30)});
  Copia(3);
  ctx.db.Execute(ctx.conn, "UPDATE ScadenzeApp SET Pagamento = 'P30', BancaCF = 'B01', Causale = 'INC', "
                           "ImportoFatt = 2469");
  const auto s = compensato::LeggiSchedaScadenza(ctx, util::Value::Integer(2026), util::Value::Long(1));
  ASSERT_TRUE(s.has_value());
  // The payment and the bank have no description row: their codes alone.
  // clang-format off
  const std::map<std::string, std::string> attese = {
      {"labTipo", "Cliente:"},          {"labCodice", "14-01-000001"},      {"labDesCodice", "Alfa S.r.l."},
      {"labDataScadenza", "30/04/2026"}, {"labDataDoc", "01/03/2026"},       {"labPagamento", "P30"},
      {"labDesPagamento", ""},           {"labBanca", "B01"},                {"labDesBanca", ""},
      {"labNumDoc", "F1"},               {"labMoneta", "Euro"},              {"labCauContabile", "INC"},
      {"LabDesCauContabile", "Incasso"}, {"labImportoScad", "1.234,50"},     {"labImportoFatt", "2.469,00"},
  };
  // clang-format on
  for (const auto& [etichetta, testo] : attese) EXPECT_EQ(s->etichette.at(etichetta), testo) << etichetta;
  EXPECT_TRUE(s->entrata);
}

TEST_P(Scheda, NotaDiCreditoSenzaSegno) {
  az.Inserisci({.numProg = 1, .entrataUscita = "U", .importo = 50});
  Copia(3);
  const auto s = compensato::LeggiSchedaScadenza(ctx, util::Value::Integer(2026), util::Value::Long(1));
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(s->etichette.at("labImportoScad"), "50,00") << "stored unsigned, not as the grid signs it";
  EXPECT_FALSE(s->entrata);
  EXPECT_FALSE(compensato::LeggiSchedaScadenza(ctx, util::Value::Integer(2026), util::Value::Long(99)).has_value());
}

TEST_P(Scheda, FornitoreSecondoLaScadenza) {
  az.Inserisci({.numProg = 2, .tipo = 2, .entrataUscita = "U", .importo = 75});
  az.Inserisci({.numProg = 3, .tipo = 2, .conto = "000002", .entrataUscita = "E", .importo = 20});
  Copia(2);
  EXPECT_EQ(Etichette(2).at("labTipo"), "Fornitore:");
  EXPECT_EQ(Etichette(2).at("labDesCodice"), "Delta S.r.l.");
  const auto s3 = compensato::LeggiSchedaScadenza(ctx, util::Value::Integer(2026), util::Value::Long(3));
  ASSERT_TRUE(s3.has_value());
  EXPECT_TRUE(s3->entrata) << "from its own EntrataUscita";
}

INSTANTIATE_TEST_SUITE_P(Motori, Scheda, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
