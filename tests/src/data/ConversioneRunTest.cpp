#include "src/data/ConversioneRun.h"

#include <gtest/gtest.h>

#include "tests/support/FakeHost.h"
#include "tests/support/FakeOperatore.h"

namespace compensato {
namespace {

TEST(ConvertiPerScadenza, RunCurrencyOrCompanyCurrency) {
  struct Case {
    const char* name;
    const char* monetaAzienda;
    const char* monetaRun;
    const char* monetaSelezione;
    double cambio;
    double importo;
    company::ImportiConvertiti expected;
  };
  // clang-format off
  const Case cases[] = {
      {"third currency of the run", "Euro", "USD", "", 2, 10.01, {9691, 5.01, 10.01, 5.01}},
      {"selection currency when the run has none", "Euro", "", "USD", 2, 10.01,
       {9691, 5.01, 10.01, 5.01}},
      {"run currency wins over the selection", "Euro", "Euro", "USD", 2, 100,
       {193627, 100, 100, 100}},
      {"company currency when neither", "L.", "", "", 0, 1000000,
       {1000000, 516.46, 1000000, 1000000}},
  };
  // clang-format on
  for (const Case& c : cases) {
    testsupport::FakeHost host;
    db::DbExecutor db;
    testsupport::FakeOperatore op;
    Contesto ctx(host, db, "", op);
    ctx.azienda.monetaAzienda = c.monetaAzienda;
    ctx.azienda.decLire = 0;
    ctx.azienda.decEuro = 2;
    ctx.run.monetaRun = c.monetaRun;
    ctx.run.selezione.moneta = c.monetaSelezione;
    ctx.run.selezione.cambio = c.cambio;
    ctx.run.selezione.operatoreMoneta = "/";
    const company::ImportiConvertiti r = ConvertiPerScadenza(ctx, c.importo);
    EXPECT_EQ(r.lire, c.expected.lire) << c.name;
    EXPECT_EQ(r.euro, c.expected.euro) << c.name;
    EXPECT_EQ(r.moneta, c.expected.moneta) << c.name;
    EXPECT_EQ(r.azienda, c.expected.azienda) << c.name;
  }
}

}  // namespace
}  // namespace compensato
