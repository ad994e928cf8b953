#include "src/posting/ContabMovPn.h"

#include <gtest/gtest.h>

#include "src/data/Transazioni.h"
#include "tests/src/posting/AziendaContab.h"

namespace compensato::posting {
namespace {

using testsupport::AziendaContab;

class ContabMovPnTest : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  AziendaContab az{GetParam()};

  // An ordinary receipt: cash debit, customer credit.
  static AziendaContab::Registrazione Incasso(int32_t numReg, double importo,
                                              const std::string& cliente = "1401000001") {
    AziendaContab::Registrazione r;
    r.numReg = numReg;
    r.causale = "INC";
    r.righe = {AziendaContab::Linea("1", "1801000001", "D", importo), AziendaContab::Linea("3", cliente, "A", importo)};
    return r;
  }

  ArgomentiContab Contabilizza(int32_t da = 0, int32_t a = 0) {
    ArgomentiContab x = az.Argomenti(da, a);
    ContabMovPn(az.ctx(), x);
    return x;
  }

  void TearDown() override { EXPECT_EQ(az.Invarianti(), ""); }
};

TEST_P(ContabMovPnTest, StagedEntryMovesIntoTheLedgerWithItsTotals) {
  AziendaContab::Registrazione r = Incasso(7, 150.25);
  r.righeIva = 1;
  az.Prepara(r);
  const ArgomentiContab x = Contabilizza(7, 7);
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(x.messaggio, "");
  EXPECT_EQ(x.numRegContab, 7);
  EXPECT_EQ(az.Righe("Select Anno, NumReg, RigReg, DareAvere, Importo from MovPnDett Order By RigReg"),
            (std::vector<std::string>{"2026|7|1|D|150,25", "2026|7|2|A|150,25"}));
  EXPECT_EQ(az.Numero("Select count(*) from MovPnIva Where NumReg = 7"), 1);
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDettApp"), 0);
  EXPECT_EQ(az.Numero("Select count(*) from MovPnIvaApp"), 0);
  EXPECT_EQ(az.Righe("Select DataReg, Causale from MovPnTes"), (std::vector<std::string>{"15/03/2026|INC"}))
      << "the header stays as it was";
  EXPECT_EQ(az.Righe("Select PartTipo, CoPartGruppo, CoPartMastro, CoPartConto, SaldoIniziale, "
                     "ProgrDare, ProgrAvere, UltAgg from PdcProg Order By PartTipo"),
            (std::vector<std::string>{"1|18|01|000001|0|150,25|0|15/03/2026", "3|14|01|000001|0|0|150,25|15/03/2026"}));
}

TEST_P(ContabMovPnTest, EmptyRangeSaysSoAndChangesNothing) {
  az.Prepara(Incasso(3, 10));
  const ArgomentiContab x = Contabilizza(4, 9);
  EXPECT_EQ(x.messaggio, "Non ci sono movimenti nell'intervallo");
  EXPECT_EQ(x.numErrori, 0);
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDettApp"), 2);
  EXPECT_EQ(az.Numero("Select count(*) from PdcProg"), 0);
}

TEST_P(ContabMovPnTest, RangeBounds) {
  struct Caso {
    const char* nome;
    int32_t da, a;
    std::vector<std::string> contabilizzate;
  };
  const Caso casi[] = {
      {"no bounds: every registration of the year", 0, 0, {"1", "2", "3"}},
      {"lower bound only", 2, 0, {"2", "3"}},
      {"upper bound only", 0, 2, {"1", "2"}},
      {"one registration", 2, 2, {"2"}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    AziendaContab azienda(GetParam());
    for (int32_t n = 1; n <= 3; ++n) azienda.Prepara(Incasso(n, 10.0 * n));
    AziendaContab::Registrazione altroAnno = Incasso(2, 99);
    altroAnno.anno = 2025;
    azienda.Prepara(altroAnno);
    ArgomentiContab x = azienda.Argomenti(c.da, c.a);
    ContabMovPn(azienda.ctx(), x);
    EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
    EXPECT_EQ(azienda.Righe("Select Distinct NumReg from MovPnDett Order By NumReg"), c.contabilizzate);
    EXPECT_EQ(azienda.Numero("Select count(*) from MovPnDettApp Where Anno = 2025"), 2)
        << "another year with the same number is left alone";
    EXPECT_EQ(azienda.Invarianti(), "");
  }
}

TEST_P(ContabMovPnTest, RegistrationWithoutLinesIsSkipped) {
  AziendaContab::Registrazione vuota;
  vuota.numReg = 1;
  az.Prepara(vuota);
  az.Prepara(Incasso(2, 40));
  const ArgomentiContab x = Contabilizza();
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(x.numRegContab, 2);
  EXPECT_EQ(az.Righe("Select Distinct NumReg from MovPnDett"), (std::vector<std::string>{"2"}));
  EXPECT_EQ(az.Numero("Select count(*) from MovPnTes"), 2);
}

TEST_P(ContabMovPnTest, RerunOverAPostedRangeAddsNothing) {
  az.Prepara(Incasso(1, 40));
  Contabilizza();
  const ArgomentiContab x = Contabilizza();
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDett"), 2);
  EXPECT_EQ(az.Numero("Select ProgrDare from PdcProg Where CoPartGruppo = '18'"), 40);
}

TEST_P(ContabMovPnTest, InPlaceUpdatesTotalsAndCopiesNothing) {
  az.Prepara(Incasso(5, 70), "MovPnTes", "MovPnDett", "MovPnIva");
  ArgomentiContab x = az.Argomenti(5, 5);
  x.tabRighe = "MovPnDett";
  x.tabIva = "MovPnIva";
  x.inLinea = true;
  ContabMovPn(az.ctx(), x);
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDett"), 2);
  EXPECT_EQ(az.Numero("Select ProgrAvere from PdcProg Where CoPartGruppo = '14'"), 70);
}

TEST_P(ContabMovPnTest, SourceThatIsTheTargetIsRefusedUnlessInPlace) {
  // Posted once through the staging tables, then offered again from the ledger.
  az.Prepara(Incasso(1, 25));
  Contabilizza();
  for (const bool rinumera : {false, true}) {
    SCOPED_TRACE(rinumera ? "renumbering" : "same number");
    ArgomentiContab x = az.Argomenti();
    x.tabRighe = "MovPnDett";
    x.tabIva = "MovPnIva";
    x.rinumera = rinumera;
    ContabMovPn(az.ctx(), x);
    EXPECT_EQ(x.numErrori, 1);
    EXPECT_NE(x.testoErrori.find(" (ContabMovPn) Errore n°3000 "), std::string::npos) << x.testoErrori;
    EXPECT_EQ(az.Righe("Select NumReg, RigReg from MovPnDett Order By RigReg"),
              (std::vector<std::string>{"1|1", "1|2"}));
    EXPECT_EQ(az.Numero("Select count(*) from MovPnTes"), 1);
    EXPECT_EQ(az.Numero("Select ProgrDare from PdcProg Where CoPartGruppo = '18'"), 25);
  }
}

TEST_P(ContabMovPnTest, RenumberingOntoTheSourceHeaderTableIsRefused) {
  // Staged the usual way, header in the ledger's own header table: a renumbered
  // copy would land in that table and the range delete at the end would take
  // it too, leaving posted lines without a header.
  az.Prepara(Incasso(1, 25));
  az.Prepara(Incasso(2, 15));
  ArgomentiContab x = az.Argomenti();
  x.rinumera = true;
  ContabMovPn(az.ctx(), x);
  EXPECT_EQ(x.numErrori, 1);
  EXPECT_NE(x.testoErrori.find("MovPnTes"), std::string::npos) << x.testoErrori;
  EXPECT_EQ(az.Righe("Select NumReg from MovPnTes Order By NumReg"), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDettApp"), 4) << "nothing was taken from the staging";
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDett"), 0);
  EXPECT_EQ(az.Numero("Select count(*) from PdcProg"), 0);
}

TEST_P(ContabMovPnTest, RenumberingCopiesTheHeaderUnderTheNextNumber) {
  // Two registrations already in the ledger, two staged elsewhere.
  az.Prepara(Incasso(1, 5));
  az.Prepara(Incasso(2, 5));
  Contabilizza();
  az.Prepara(Incasso(1, 30), "MovPnTesFitt", "MovPnDettFitt", "MovPnIvaFitt");
  AziendaContab::Registrazione r = Incasso(2, 20);
  r.righeIva = 2;
  az.Prepara(r, "MovPnTesFitt", "MovPnDettFitt", "MovPnIvaFitt");
  // A header without lines is not copied, but goes with the range.
  AziendaContab::Registrazione vuota;
  vuota.numReg = 3;
  az.Prepara(vuota, "MovPnTesFitt", "MovPnDettFitt", "MovPnIvaFitt");
  az.host.parametri["Coge.Azzera"] = util::Value("S");

  ArgomentiContab x = az.Argomenti();
  x.tabTestata = "MovPnTesFitt";
  x.tabRighe = "MovPnDettFitt";
  x.tabIva = "MovPnIvaFitt";
  x.rinumera = true;
  ContabMovPn(az.ctx(), x);
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(x.numRegContab, 4);
  EXPECT_EQ(x.annoPrimaRiga, 2026);
  EXPECT_EQ(az.Righe("Select NumReg, Importo from MovPnDett Where RigReg = 1 Order By NumReg"),
            (std::vector<std::string>{"1|5", "2|5", "3|30", "4|20"}));
  EXPECT_EQ(az.Numero("Select count(*) from MovPnTes"), 4);
  EXPECT_EQ(az.Numero("Select count(*) from MovPnIva Where NumReg = 4"), 2);
  EXPECT_EQ(az.Numero("Select count(*) from MovPnTesFitt"), 0) << "the source headers of the range go";
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDettFitt"), 0);
  EXPECT_EQ(az.Numero("Select count(*) from MovPnIvaFitt"), 0);
}

TEST_P(ContabMovPnTest, RenumberingNumbers) {
  struct Caso {
    const char* nome;
    std::string azzera;
    int annoAzzera;
    bool mantieni;
    int32_t atteso;
  };
  // The ledger holds 2025/40 and 2026/3; the staged registration is 2026/9.
  const Caso casi[] = {
      {"per year", "S", 0, false, 4},
      {"keep the source number when higher", "S", 0, true, 9},
      {"one era for every year", "N", 0, false, 41},
      {"era from 2026 on", "N", 2026, false, 4},
      {"era from 2027: 2025 and 2026 share one", "N", 2027, false, 41},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    AziendaContab azienda(GetParam());
    AziendaContab::Registrazione vecchia = Incasso(40, 1);
    vecchia.anno = 2025;
    azienda.Prepara(vecchia, "MovPnTes", "MovPnDett", "MovPnIva");
    azienda.Prepara(Incasso(3, 1), "MovPnTes", "MovPnDett", "MovPnIva");
    azienda.Prepara(Incasso(9, 1), "MovPnTesFatt", "MovPnDettFatt", "MovPnIvaFatt");
    azienda.host.parametri["Coge.Azzera"] = util::Value(c.azzera);
    azienda.host.parametri["Coge.AnnoAzzera"] = util::Value(static_cast<double>(c.annoAzzera));
    ArgomentiContab x = azienda.Argomenti();
    x.tabTestata = "MovPnTesFatt";
    x.tabRighe = "MovPnDettFatt";
    x.tabIva = "MovPnIvaFatt";
    x.rinumera = true;
    x.mantieniNumero = c.mantieni;
    ContabMovPn(azienda.ctx(), x);
    EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
    EXPECT_EQ(x.numRegContab, c.atteso);
    EXPECT_EQ(
        azienda.Numero("Select count(*) from MovPnDett Where Anno = 2026 And NumReg = " + std::to_string(c.atteso)), 2);
  }
}

TEST_P(ContabMovPnTest, VariantModesWriteTheirOwnSetAndLeaveTheTotals) {
  struct Caso {
    const char* modo;
    const char* righe;
    const char* testate;
  };
  const Caso casi[] = {{"F", "MovPnDettFitt", "MovPnTesFitt"}, {"A", "MovPnDettFatt", "MovPnTesFatt"}};
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.modo);
    AziendaContab azienda(GetParam());
    azienda.Prepara(Incasso(1, 12));
    ArgomentiContab x = azienda.Argomenti();
    x.modo = c.modo;
    x.rinumera = true;
    ContabMovPn(azienda.ctx(), x);
    EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
    EXPECT_EQ(azienda.Numero(std::string("Select count(*) from ") + c.righe), 2);
    EXPECT_EQ(azienda.Numero(std::string("Select count(*) from ") + c.testate), 1);
    EXPECT_EQ(azienda.Numero("Select count(*) from MovPnDett"), 0);
    EXPECT_EQ(azienda.Numero("Select count(*) from PdcProg"), 0);
    EXPECT_EQ(azienda.Numero("Select count(*) from MovPnDettApp"), 0);
  }
}

TEST_P(ContabMovPnTest, FailureStopsTheRangeAndKeepsWhatWasPosted) {
  az.Prepara(Incasso(1, 10));
  AziendaContab::Registrazione r = Incasso(2, 20);
  r.righeIva = 1;
  az.Prepara(r);
  // A VAT line already in the ledger under the same key: the copy collides.
  az.Esegui("INSERT INTO MovPnIva (Anno, NumReg, RigIva, Iva) VALUES (2026, 2, 1, '22')");
  az.Prepara(Incasso(3, 30));
  const ArgomentiContab x = Contabilizza();
  EXPECT_EQ(x.numErrori, 1);
  EXPECT_EQ(x.testoErrori.find(" (ContabMovPn) Errore n°"), 0u) << x.testoErrori;
  EXPECT_EQ(x.testoErrori.find(" (ContabMovPn)", 1), std::string::npos);
  EXPECT_EQ(az.Righe("Select Distinct NumReg from MovPnDett"), (std::vector<std::string>{"1"}));
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDettApp"), 4) << "2 rolled back, 3 not reached";
}

TEST_P(ContabMovPnTest, AFailureThatIsNoCollisionIsReportedWithoutRetrying) {
  // A server used to report every failure under the number of a collision,
  // so a registration that could never post was taken five times. A
  // sequence, which no rollback undoes, counts the attempts.
  if (GetParam() != testsupport::Engine::Postgres) GTEST_SKIP() << "counted with a server sequence";
  db::DbExecutor& db = az.ctx().db;
  const std::string& conn = az.ctx().conn;
  db.Execute(conn, "CREATE SEQUENCE tentativi", db::kPassThrough);
  db.Execute(conn,
             "CREATE FUNCTION rifiuta_riga() RETURNS trigger AS $$ BEGIN PERFORM nextval('tentativi'); "
             "RAISE EXCEPTION 'rifiuta_riga'; END $$ LANGUAGE plpgsql",
             db::kPassThrough);
  db.Execute(conn,
             "CREATE TRIGGER rifiuta_riga BEFORE INSERT ON \"MovPnDett\" FOR EACH ROW EXECUTE FUNCTION rifiuta_riga()",
             db::kPassThrough);
  az.Prepara(Incasso(1, 10));
  const ArgomentiContab x = Contabilizza();
  EXPECT_EQ(x.numErrori, 1);
  EXPECT_NE(x.testoErrori.find("rifiuta_riga"), std::string::npos) << x.testoErrori;
  EXPECT_NO_THROW(db.Execute(conn,
                             "DO $$ BEGIN IF (SELECT last_value FROM tentativi) <> 1 THEN RAISE EXCEPTION "
                             "'attempts: %', (SELECT last_value FROM tentativi); END IF; END $$",
                             db::kPassThrough));
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDettApp"), 2);
  db.Execute(conn, "DROP TRIGGER rifiuta_riga ON \"MovPnDett\"", db::kPassThrough);
}

TEST_P(ContabMovPnTest, CallerHeldTransactionIsLeftToTheCaller) {
  az.Prepara(Incasso(1, 10));
  IniziaTransazione(az.ctx());
  ArgomentiContab x = az.Argomenti();
  x.transazioneChiamante = true;
  ContabMovPn(az.ctx(), x);
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(az.ctx().db.TransactionDepth(az.ctx().conn), 1);
  AnnullaTransazione(az.ctx());
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDett"), 0);
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDettApp"), 2);
  EXPECT_EQ(az.Numero("Select count(*) from PdcProg"), 0);
}

INSTANTIATE_TEST_SUITE_P(Db, ContabMovPnTest, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
}  // namespace compensato::posting
