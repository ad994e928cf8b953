// The run parameters as the run engine reads them back from the temporary
// store, on every engine.
#include <gtest/gtest.h>

#include "src/data/ParametriRun.h"
#include "src/extraction/Selezioni.h"
#include "src/settlement/Elaborazione.h"
#include "tests/src/settlement/AziendaProva.h"

namespace {

using testsupport::AziendaProva;

class ParametriRun : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  AziendaProva az{GetParam()};
  compensato::Contesto& ctx = az.ctx();

  // Every value unlike its default, so a value not read back shows.
  compensato::SelezioneRun Piena() {
    compensato::SelezioneRun s = az.Selezione(true);
    s.cambio = 1.2345;
    s.descAggiuntiva = "saldo marzo";
    s.anno = 2027;
    s.contoUtiCambio = "8001000001";
    s.contoPerdCambio = "8002000001";
    s.cdc = "CDC1";
    s.numProt = 123456;
    s.dataProt = util::Date::Carry(2026, 11, 30);
    s.prefProt = "AB";
    s.moneta = "USD";
    return s;
  }
  void Scrivi(const compensato::SelezioneRun& s) {
    ctx.run.selezione = s;
    ASSERT_EQ(compensato::ScriviSelezioni(ctx), 0);
    ctx.run = compensato::StatoRun();
  }
};

TEST_P(ParametriRun, OgniValoreTornaComeFuScritto) {
  const compensato::SelezioneRun s = Piena();
  Scrivi(s);
  ASSERT_TRUE(compensato::LeggiParametriRun(ctx, ctx.utente, ctx.programId));
  const compensato::ParametriRun& p = ctx.run.par;
  EXPECT_DOUBLE_EQ(p.cambio, 1.2345);
  EXPECT_EQ(p.causale, "INC");
  EXPECT_EQ(p.contoPartita, "1801000001");
  EXPECT_EQ(p.descAggiuntiva, "saldo marzo");
  EXPECT_EQ(p.contoAbbAtt, "7005000001");
  EXPECT_EQ(p.contoAbbPas, "6205000001");
  EXPECT_EQ(p.dataReg, util::Date::Carry(2026, 12, 10));
  EXPECT_EQ(p.anno, 2027);
  EXPECT_EQ(p.contoUtiCambio, "8001000001");
  EXPECT_EQ(p.contoPerdCambio, "8002000001");
  EXPECT_EQ(p.cdc, "CDC1");
  EXPECT_EQ(p.numProt, 123456);
  EXPECT_EQ(p.dataProt, util::Date::Carry(2026, 11, 30));
  EXPECT_EQ(p.prefProt, "AB");
  EXPECT_EQ(ctx.run.monetaRun, "USD");
}

// The run that starts and the run that a recovery completes from the store
// hold the same parameters.
TEST_P(ParametriRun, LaCopiaDellaSelezioneELaLetturaCoincidono) {
  const compensato::SelezioneRun s = Piena();
  const compensato::ParametriRun copia = compensato::ParametriDaSelezione(s);
  EXPECT_EQ(copia.cdc, "CDC1");
  Scrivi(s);
  ASSERT_TRUE(compensato::LeggiParametriRun(ctx, ctx.utente, ctx.programId));
  EXPECT_TRUE(ctx.run.par == copia);
}

// Blank fields were stored as the empty date, "" and "."; they read back as
// such and are no missing values.
TEST_P(ParametriRun, ICampiVuotiSonoValoriNonMancanze) {
  compensato::SelezioneRun s = az.Selezione(true);
  s.dataReg = util::Date();
  s.dataProt = util::Date();
  s.descAggiuntiva = "";
  s.prefProt = ".";
  Scrivi(s);
  ASSERT_TRUE(compensato::LeggiParametriRun(ctx, ctx.utente, ctx.programId));
  EXPECT_TRUE(ctx.run.par.dataReg.isEmpty());
  EXPECT_TRUE(ctx.run.par.dataProt.isEmpty());
  EXPECT_EQ(ctx.run.par.descAggiuntiva, "");
  EXPECT_EQ(ctx.run.par.prefProt, ".");
  EXPECT_EQ(ctx.run.par.numProt, 0);
}

// Any one of the fourteen gone fails the read; the others are read all the same.
TEST_P(ParametriRun, UnaChiaveMancanteFallisceLaLettura) {
  for (const char* chiave :
       {"Cambio", "Causale", "ContoPartita", "DescAggiuntiva", "ContoAbbAtt", "ContoAbbPas", "DataReg", "Anno",
        "ContoUtiCambio", "ContoPerdCambio", "Cdc", "NumProt", "DataProt", "PrefProt"}) {
    SCOPED_TRACE(chiave);
    ctx.db.Execute(ctx.conn, "DELETE FROM AppoggioTemp");
    Scrivi(Piena());
    ctx.db.Execute(ctx.conn, std::string("DELETE FROM AppoggioTemp WHERE IdCampo = '") + chiave + "'");
    EXPECT_FALSE(compensato::LeggiParametriRun(ctx, ctx.utente, ctx.programId));
    const compensato::ParametriRun& p = ctx.run.par;
    if (std::string(chiave) != "Causale") {
      EXPECT_EQ(p.causale, "INC");
    }
    if (std::string(chiave) != "PrefProt") {
      EXPECT_EQ(p.prefProt, "AB");
    }
  }
}

// The run currency came after the fourteen: a run stored without it was made
// in the company currency. Another identity's or program's record is not this
// run's.
TEST_P(ParametriRun, MonetaMancanteEDatiDiAltri) {
  Scrivi(Piena());
  ctx.db.Execute(ctx.conn,
                 std::string("DELETE FROM AppoggioTemp WHERE IdCampo = '") + compensato::kChiaveMonetaRun + "'");
  ASSERT_TRUE(compensato::LeggiParametriRun(ctx, ctx.utente, ctx.programId));
  EXPECT_EQ(ctx.run.monetaRun, ctx.azienda.monetaAzienda);

  EXPECT_FALSE(compensato::LeggiParametriRun(ctx, ctx.utente + "X", ctx.programId));
  EXPECT_FALSE(compensato::LeggiParametriRun(ctx, ctx.utente, ctx.programId + "X"));
}

INSTANTIATE_TEST_SUITE_P(Motori, ParametriRun, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
