#include <gtest/gtest.h>

#include "src/posting/ContabMovPn.h"
#include "tests/src/posting/AziendaContab.h"

namespace compensato::posting {
namespace {

using testsupport::AziendaContab;
using Righe = std::vector<std::string>;

const char* kRate = "Select Rata, DataScad, ImportoScad, EntrataUscita, Tipo, GruppoScad, MastroScad, ContoScad, "
                    "NumReg from Scadenze Order By NumProg";

class RateFatturaTest : public ::testing::TestWithParam<testsupport::Engine> {
 protected:
  AziendaContab az{GetParam()};

  ArgomentiContab Contabilizza(int32_t da = 0, int32_t a = 0, bool forza = false, const std::string& modo = "N") {
    ArgomentiContab x = az.Argomenti(da, a);
    x.creaScadenze = true;
    x.forzaScadenze = forza;
    x.modo = modo;
    if (modo != "N") x.rinumera = true;
    ContabMovPn(az.ctx(), x);
    return x;
  }

  static AziendaContab::Registrazione Documento(int32_t numReg, const std::string& causale,
                                                const std::string& pagamento, std::vector<AziendaContab::Riga> righe) {
    AziendaContab::Registrazione r;
    r.numReg = numReg;
    r.causale = causale;
    r.pagamento = pagamento;
    r.numProt = numReg;
    r.dataProt = util::Date::Carry(2026, 3, 15);
    r.numDoc = "D" + std::to_string(numReg);
    r.righe = std::move(righe);
    return r;
  }

  static AziendaContab::Registrazione NotaCredito(int32_t numReg) {
    return Documento(numReg, "NC", "30",
                     {AziendaContab::Linea("3", "1401000001", "A", 1220),
                      AziendaContab::Linea("1", "5801000001", "D", 1000, 220, "22"),
                      AziendaContab::Linea("1", "2601000001", "D", 220)});
  }

  static AziendaContab::Registrazione AcquistoIntra(int32_t numReg) {
    return Documento(numReg, "FI", "30",
                     {AziendaContab::Linea("2", "4001000001", "A", 1220),
                      AziendaContab::Linea("1", "6601000001", "D", 1000, 220, "22"),
                      AziendaContab::Linea("1", "2601000002", "D", 220)});
  }

  void TearDown() override { EXPECT_EQ(az.Invarianti(), ""); }
};

TEST_P(RateFatturaTest, CustomerInvoiceGetsItsScheduleAsInstallments) {
  az.Prepara(AziendaContab::FatturaCliente(4));
  const ArgomentiContab x = Contabilizza();
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(az.Righe(kRate), (Righe{"1|30/04/2026|220|E|3|14|01|000001|4", "2|31/05/2026|500|E|3|14|01|000001|4",
                                    "3|30/06/2026|500|E|3|14|01|000001|4"}));
  EXPECT_EQ(az.Righe("Select Anno, NumProg, AnnoReg, Pagamento, PagTipo, Prefisso, NumDoc, DataDoc, "
                     "PreProt, NumProt, DataProt, Causale, Moneta, Cambio, ImportoScadEuro, ImportoFatt, "
                     "ImpPagato, Insoluto, Manuale, CIG, CUP from Scadenze Where Rata = 1"),
            (Righe{"2026|1|2026|FM3|RD||F4|15/03/2026|V|4|15/03/2026|FV|Euro|1|220|1220|0|N|N|CIG1|CUP1"}));
  EXPECT_EQ(az.Righe("Select NumProg from Scadenze Order By NumProg"), (Righe{"1", "2", "3"}));
}

TEST_P(RateFatturaTest, CreditNoteSignsFollowTheOperatorsChoice) {
  struct Caso {
    const char* segno;
    Righe rate;  // ImportoScad, EntrataUscita, RagRB
  };
  const Caso casi[] = {
      {"N", {"1220|U|"}},
      {"T", {"-1220|E|S"}},
      {"X", {"-1220|E|"}},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.segno);
    AziendaContab azienda(GetParam());
    azienda.host.ImpostaPersonale("Scadenze", "NotaCredInvSegno", util::Value(c.segno));
    azienda.Prepara(NotaCredito(1));
    ArgomentiContab x = azienda.Argomenti();
    x.creaScadenze = true;
    ContabMovPn(azienda.ctx(), x);
    EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
    EXPECT_EQ(azienda.Righe("Select ImportoScad, EntrataUscita, RagRB from Scadenze"), c.rate);
    EXPECT_EQ(azienda.Righe("Select DataScad, ImportoFatt from Scadenze"), (Righe{"14/04/2026|1220"}));
  }
}

TEST_P(RateFatturaTest, WhichDocumentsGetInstallments) {
  struct Caso {
    const char* nome;
    AziendaContab::Registrazione registrazione;
    bool forza;
    int rate;
  };
  AziendaContab::Registrazione acquisto = Documento(
      1, "FA", "30",
      {AziendaContab::Linea("2", "4001000001", "A", 610), AziendaContab::Linea("1", "6601000001", "D", 500, 110, "22"),
       AziendaContab::Linea("1", "2601000002", "D", 110)});
  AziendaContab::Registrazione negativo = AziendaContab::FatturaCliente(1);
  negativo.pagamento = "NEG";
  AziendaContab::Registrazione automatico = AziendaContab::FatturaCliente(1);
  automatico.pagamento = "AUT";
  AziendaContab::Registrazione senzaPagamento = AziendaContab::FatturaCliente(1);
  senzaPagamento.pagamento = "";
  AziendaContab::Registrazione incasso = AziendaContab::FatturaCliente(1);
  incasso.causale = "INC";
  const Caso casi[] = {
      {"purchase: none", acquisto, false, 0},
      {"purchase, forced", acquisto, true, 1},
      {"negative installment count: none, and no error", negativo, false, 0},
      {"collected automatically: none", automatico, false, 0},
      {"collected automatically, forced", automatico, true, 1},
      {"no payment term", senzaPagamento, false, 0},
      {"not a document", incasso, true, 0},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    AziendaContab azienda(GetParam());
    azienda.Prepara(c.registrazione);
    ArgomentiContab x = azienda.Argomenti();
    x.creaScadenze = true;
    x.forzaScadenze = c.forza;
    ContabMovPn(azienda.ctx(), x);
    EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
    EXPECT_EQ(azienda.Numero("Select count(*) from Scadenze"), c.rate);
    EXPECT_EQ(azienda.Numero("Select count(*) from MovPnDettApp"), 0);
    EXPECT_TRUE(azienda.op.messaggi.empty()) << azienda.op.Elenco();
  }
}

TEST_P(RateFatturaTest, IntraEuPurchaseSchedulesTheTotalWithoutVat) {
  az.Prepara(AcquistoIntra(1));
  const ArgomentiContab x = Contabilizza(0, 0, true);
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(az.Righe("Select ImportoScad, EntrataUscita, Tipo, ImportoFatt, BancaCF, CCorrente from Scadenze"),
            (Righe{"1000|U|2|1000|UNI|IT02A0300203280000400162854"}))
      << "forced installments take the bank of the account";
}

TEST_P(RateFatturaTest, AdvanceOfTheSameInvoiceReducesTheScheduledAmount) {
  AziendaContab::Registrazione anticipo;
  anticipo.numReg = 1;
  anticipo.causale = "ANT";
  anticipo.annoFat = 2026;
  anticipo.numRifFat = 55;
  anticipo.righe = {AziendaContab::Linea("1", "1801000001", "D", 200),
                    AziendaContab::Linea("3", "1401000001", "A", 200)};
  az.Prepara(anticipo);
  AziendaContab::Registrazione fattura = AziendaContab::FatturaCliente(2);
  fattura.pagamento = "30";
  fattura.annoFat = 2026;
  fattura.numRifFat = 55;
  az.Prepara(fattura);
  const ArgomentiContab x = Contabilizza(2, 2);
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(az.Righe("Select ImportoScad, ImportoFatt from Scadenze"), (Righe{"1020|1220"}));
}

TEST_P(RateFatturaTest, WithholdingOnTheInvoiceReferencesReducesTheScheduledAmount) {
  AziendaContab::Registrazione fattura = AziendaContab::FatturaCliente(2);
  fattura.causale = "FR";
  fattura.pagamento = "30";
  AziendaContab::Registrazione ritenuta = fattura;
  ritenuta.numReg = 1;
  ritenuta.causale = "RIT";
  ritenuta.pagamento = "";
  ritenuta.righe = {AziendaContab::Linea("1", "1801000001", "D", 100),
                    AziendaContab::Linea("3", "1401000001", "A", 100)};
  az.Prepara(ritenuta);
  az.Prepara(fattura);
  const ArgomentiContab x = Contabilizza();
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(az.Righe("Select ImportoScad, ImportoFatt from Scadenze"), (Righe{"1120|1220"}));
}

TEST_P(RateFatturaTest, InvoiceInstallmentsReplaceTheSchedule) {
  AziendaContab::Registrazione fattura = AziendaContab::FatturaCliente(1);
  fattura.annoFat = 2026;
  fattura.numRifFat = 77;
  az.Prepara(fattura);
  az.Esegui("INSERT INTO FatScadenze (Anno, NumRif, Rata, DataScad, Importo, ImportoEuro, PagTipo) "
            "VALUES (2026, 77, 1, #05/10/2026#, 600, 600, 'RB')");
  az.Esegui("INSERT INTO FatScadenze (Anno, NumRif, Rata, DataScad, Importo, ImportoEuro, PagTipo) "
            "VALUES (2026, 77, 2, #06/10/2026#, 0, 0, 'RB')");
  az.Esegui("INSERT INTO FatScadenze (Anno, NumRif, Rata, DataScad, Importo, ImportoEuro, PagTipo) "
            "VALUES (2026, 77, 3, #07/10/2026#, 620, 620, Null)");
  const ArgomentiContab x = Contabilizza();
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(az.Righe("Select Rata, DataScad, ImportoScad, PagTipo from Scadenze Order By NumProg"),
            (Righe{"1|10/05/2026|600|RB", "3|10/07/2026|620|RD"}))
      << "a zero installment is not written and the others keep their ordinal";
}

TEST_P(RateFatturaTest, EmptyProtocolDateIsStoredEmpty) {
  AziendaContab::Registrazione fattura = AziendaContab::FatturaCliente(1);
  fattura.pagamento = "30";
  fattura.dataProt = util::Date();
  az.Prepara(fattura);
  Contabilizza();
  EXPECT_EQ(az.Numero("Select count(*) from Scadenze Where DataProt Is Null"), 1);
}

TEST_P(RateFatturaTest, InstallmentsMadeByTheInvoicingModuleAreLinked) {
  az.host.parametri["Fat.FattCreaScad"] = util::Value("S");
  az.host.parametri["Fat.ContFatt"] = util::Value("A");
  az.Esegui("INSERT INTO Scadenze (Anno, NumProg, Tipo, AnnoReg, PreProt, NumProt, DataProt, ImportoScad) "
            "VALUES (2026, 40, 3, 2026, 'V', 6, #03/15/2026#, 1220)");
  az.Esegui("INSERT INTO Scadenze (Anno, NumProg, Tipo, AnnoReg, PreProt, NumProt, DataProt, ImportoScad) "
            "VALUES (2026, 41, 3, 2026, 'V', 7, #03/15/2026#, 99)");
  az.Prepara(AziendaContab::FatturaCliente(6));
  const ArgomentiContab x = Contabilizza();
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(az.Righe("Select NumProg, NumReg from Scadenze Order By NumProg"), (Righe{"40|6", "41|"}));
  // Forcing creates them instead of linking.
  az.Prepara(AziendaContab::FatturaCliente(8));
  Contabilizza(8, 8, true);
  EXPECT_EQ(az.Numero("Select count(*) from Scadenze Where NumReg = 8"), 3);
}

TEST_P(RateFatturaTest, ScheduleErrorHoldsBackOnlyItsRegistration) {
  AziendaContab::Registrazione ignoto = AziendaContab::FatturaCliente(1);
  ignoto.righe[0].conto = "1401000099";
  az.Prepara(ignoto);
  az.Prepara(AziendaContab::FatturaCliente(2));
  const ArgomentiContab x = Contabilizza();
  EXPECT_EQ(x.numErrori, 1);
  EXPECT_EQ(x.testoErrori, "Errore n°0 : Manca il cliente con codice :14-01-000099 in Calcolo scadenze\n");
  ASSERT_EQ(az.op.messaggi.size(), 1u);
  EXPECT_EQ(az.op.messaggi[0].testo, "Errori nel calcolo scadenze: \n" + x.testoErrori);
  EXPECT_EQ(az.Righe("Select Distinct NumReg from MovPnDett"), (Righe{"2"}));
  EXPECT_EQ(az.Righe("Select Distinct NumReg from MovPnDettApp"), (Righe{"1"}))
      << "the failed registration stays staged for a rerun";
  EXPECT_EQ(az.Righe("Select Distinct NumReg from Scadenze"), (Righe{"2"}));
}

TEST_P(RateFatturaTest, RenumberedRangeKeepsTheHeaderOfAFailedSchedule) {
  AziendaContab::Registrazione ignoto = AziendaContab::FatturaCliente(1);
  ignoto.righe[0].conto = "1401000099";
  az.Prepara(ignoto, "MovPnTesFitt", "MovPnDettFitt", "MovPnIvaFitt");
  az.Prepara(AziendaContab::FatturaCliente(2), "MovPnTesFitt", "MovPnDettFitt", "MovPnIvaFitt");
  ArgomentiContab x = az.Argomenti();
  x.tabTestata = "MovPnTesFitt";
  x.tabRighe = "MovPnDettFitt";
  x.tabIva = "MovPnIvaFitt";
  x.rinumera = true;
  x.creaScadenze = true;
  ContabMovPn(az.ctx(), x);
  EXPECT_EQ(x.numErrori, 1);
  EXPECT_EQ(az.Righe("Select NumReg from MovPnTesFitt"), (Righe{"1"}));
  EXPECT_EQ(az.Numero("Select count(*) from MovPnDettFitt"), 3);
  EXPECT_EQ(az.Righe("Select NumReg from MovPnTes"), (Righe{"1"})) << "the good one, renumbered";
}

TEST_P(RateFatturaTest, ModeAInstallmentsCarryTheNegatedNumber) {
  az.Prepara(AziendaContab::FatturaCliente(3));
  const ArgomentiContab x = Contabilizza(0, 0, false, "A");
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(az.Righe("Select Distinct NumReg from Scadenze"), (Righe{"-1"}));
  EXPECT_EQ(az.Numero("Select count(*) from PdcProg"), 0);
}

TEST_P(RateFatturaTest, InstallmentsInTheEntrysCurrency) {
  AziendaContab::Registrazione r = Documento(1, "FE", "V3",
                                             {AziendaContab::Linea("3", "1401000001", "D", 1220, 0, "", "", 2),
                                              AziendaContab::Linea("1", "5801000001", "A", 1000, 220, "22", "", 2),
                                              AziendaContab::Linea("1", "2601000001", "A", 220, 0, "", "", 2)});
  r.moneta = "USD";
  r.cambio = 2;
  az.Prepara(r);
  const ArgomentiContab x = Contabilizza();
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(az.Righe("Select ImportoScad, ImportoScadEuro, Moneta, Cambio, ImportoFatt from Scadenze "
                     "Order By NumProg"),
            (Righe{"813,33|406,67|USD|2|2440", "813,33|406,67|USD|2|2440", "813,34|406,67|USD|2|2440"}));
}

TEST_P(RateFatturaTest, ExcludedMonthOfTheCustomerMovesTheInstallment) {
  AziendaContab::Registrazione r = AziendaContab::FatturaCliente(1);
  r.righe[0].conto = "1401000002";
  az.Prepara(r);
  Contabilizza();
  EXPECT_EQ(az.Righe("Select DataScad, ImportoScad from Scadenze Order By NumProg"),
            (Righe{"30/04/2026|220", "10/06/2026|500", "30/06/2026|500"}));
}

TEST_P(RateFatturaTest, NonEuImportSchedulesFromItsGoodsLines) {
  struct Caso {
    const char* nome;
    const char* tipoCollegata;
    const char* importo;
  };
  const Caso casi[] = {
      {"linked to a purchase code: goods and VAT", "A", "1242"},
      {"linked to a sales code without counter-account: the goods alone", "V", "1000"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    AziendaContab azienda(GetParam());
    azienda.Esegui(std::string("INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg, InValuta, "
                               "RegInsoluto, IntraCee, RevCharge, ImportNoCee) VALUES ('IML', 'Collegata', '") +
                   c.tipoCollegata + "', 'A', 'N', 'N', 'N', 'N', 'N')");
    azienda.Esegui("INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg, InValuta, RegInsoluto, "
                   "IntraCee, RevCharge, ImportNoCee, CausConcatenata) VALUES ('IM', 'Importazione', 'A', "
                   "'A', 'N', 'N', 'N', 'N', 'S', 'IML')");
    azienda.Prepara(Documento(1, "IM", "30",
                              {AziendaContab::Linea("2", "4001000001", "A", 1342),
                               AziendaContab::Linea("1", "6601000002", "D", 1000, 220, "22"),
                               AziendaContab::Linea("1", "6601000001", "D", 100, 22, "22"),
                               AziendaContab::Linea("1", "2601000002", "D", 242)}));
    ArgomentiContab x = azienda.Argomenti();
    x.creaScadenze = true;
    x.forzaScadenze = true;
    ContabMovPn(azienda.ctx(), x);
    EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
    EXPECT_EQ(azienda.Righe("Select ImportoScad, EntrataUscita from Scadenze"), (Righe{std::string(c.importo) + "|U"}));
  }
}

TEST_P(RateFatturaTest, BankDataOfTheInstallments) {
  struct Caso {
    const char* nome;
    bool forza;
    std::optional<util::Value> banca, ragRb;
    std::string atteso;  // BancaCF|RagRB|CCorrente
  };
  const Caso casi[] = {
      {"the header's bank", false, std::nullopt, std::nullopt, "HDR||IT60X0542811101000000123456"},
      {"forced: the account's bank and grouping", true, std::nullopt, std::nullopt,
       "BPM|R1|IT60X0542811101000000123456"},
      {"the caller's override wins", true, util::Value("OVR"), util::Value("G9"), "OVR|G9|IT60X0542811101000000123456"},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.nome);
    AziendaContab azienda(GetParam());
    AziendaContab::Registrazione r = AziendaContab::FatturaCliente(1);
    r.righe[0].conto = "1401000002";
    r.pagamento = "30";
    r.banca = "HDR";
    azienda.Prepara(r);
    ArgomentiContab x = azienda.Argomenti();
    x.creaScadenze = true;
    x.forzaScadenze = c.forza;
    x.bancaForzata = c.banca;
    x.ragRbForzato = c.ragRb;
    ContabMovPn(azienda.ctx(), x);
    EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
    EXPECT_EQ(azienda.Righe("Select BancaCF, RagRB, CCorrente from Scadenze"), (Righe{c.atteso}));
  }
}

TEST_P(RateFatturaTest, BankDataOfAnAccountWithShortParts) {
  // 1-1-2 joined is "112", which read back at fixed widths is 11-2-"".
  az.Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, Banca, CCorrente, RagRb, "
            "MeseNoEf1, GioMesSucc1, MeseNoEf2, GioMesSucc2) VALUES "
            "('1', '1', '2', 3, 'Cliente', 'BCC', 'IT00B0000000000000000000007', 'R7', 0, 0, 0, 0)");
  az.Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, Banca, CCorrente, RagRb, "
            "MeseNoEf1, GioMesSucc1, MeseNoEf2, GioMesSucc2) VALUES "
            "('11', '2', '', 3, 'Altro', 'ALT', 'IT00A', 'RA', 0, 0, 0, 0)");
  AziendaContab::Registrazione r = AziendaContab::FatturaCliente(1);
  r.pagamento = "30";
  az.Prepara(r);
  az.Esegui("UPDATE MovPnDettApp SET GruppoPartita = '1', MastroPartita = '1', ContoPartita = '2' "
            "WHERE TipoPartita = '3'");
  const ArgomentiContab x = Contabilizza(0, 0, true);
  EXPECT_EQ(x.numErrori, 0) << x.testoErrori;
  EXPECT_EQ(az.Righe("Select GruppoScad, MastroScad, ContoScad, BancaCF, RagRB, CCorrente from Scadenze"),
            (Righe{"1|1|2|BCC|R7|IT00B0000000000000000000007"}));
}

TEST_P(RateFatturaTest, UnpaidBillMarksItsInstallments) {
  AziendaContab::Registrazione r =
      Documento(1, "INS", "30",
                {AziendaContab::Linea("3", "1401000001", "D", 300), AziendaContab::Linea("1", "1801000001", "A", 300)});
  az.Prepara(r);
  Contabilizza(0, 0, true);
  EXPECT_EQ(az.Righe("Select ImportoScad, Insoluto from Scadenze"), (Righe{"300|S"}));
}

INSTANTIATE_TEST_SUITE_P(Db, RateFatturaTest, ::testing::ValuesIn(testsupport::Engines()), testsupport::EngineName);

}  // namespace
}  // namespace compensato::posting
