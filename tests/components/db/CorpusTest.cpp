// The statements the program writes, with their values filled in, run in
// order on one small company per engine. Every engine must give the same
// results: the rows of each query and the count of each change.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "components/db/DbCursor.h"
#include "components/db/Recordset.h"
#include "components/util/Decimal.h"
#include "components/util/Error.h"
#include "tests/support/TestDatabase.h"

namespace {

using testsupport::Engine;

// clang-format off
const char* const kFixture[] = {
    "INSERT INTO PagTipi (PagTipo, Descrizione, EmissEffetti, RegIncAut) VALUES ('RD', 'Rimessa diretta', 'N', 'S')",
    "INSERT INTO PagTipi (PagTipo, Descrizione, EmissEffetti, RegIncAut) VALUES ('RB', 'Ricevuta bancaria', 'S', 'N')",
    "INSERT INTO Monete (Moneta, Descrizione, NumDec) VALUES ('EUR', 'Euro', 2)",
    "INSERT INTO Monete (Moneta, Descrizione, NumDec) VALUES ('LIT', 'Lire', 0)",
    "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, BeneServizio) VALUES ('01', '02', '000100', 3, 'Rossi S.p.A.', 'C')",
    "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, BeneServizio) VALUES ('03', '01', '000150', 3, 'Bianchi & Figli', 'S')",
    "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES ('05', '09', '000200', 3, 'L''Aquila srl')",
    "INSERT INTO Pagamenti (Pagamento, Descrizione, PagTipo, NumScad, ScadValuta) VALUES ('R30', 'Rimessa 30 gg', 'RD', 1, 'S')",
    "INSERT INTO Banche (Banca, Descrizione) VALUES ('B01', 'Banca Prima')",
    "INSERT INTO Causali (Causale, Descrizione, TipoCausale, CausRit) VALUES ('INC', 'Incasso', 'I', 'RIT')",
    "INSERT INTO Tabiva (Iva, Descrizione, Aliquota, RevCharge) VALUES ('22', 'Aliquota 22', 22, 'N')",
    "INSERT INTO ArrotLire (FinoA, ValArrot, TipoArrot) VALUES (1000, 50, 'A')",
    "INSERT INTO ArrotLire (FinoA, ValArrot, TipoArrot) VALUES (100, 10, 'A')",
    "INSERT INTO Scadenze (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, DataScad, Pagamento, PagTipo, BancaCF, "
    "Prefisso, NumDoc, DataDoc, Rata, Moneta, Cambio, EntrataUscita, ImportoScad, ImportoFatt, Causale, AnnoReg, PreProt, NumProt, DataProt) "
    "VALUES (2024, 1, 3, '01', '02', '000100', #01/31/2024#, 'R30', 'RD', 'B01', 'A', '10', #01/01/2024#, 1, 'EUR', 1, 'E', 1220.5, 1220.5, 'INC', 2024, 'A', 12, #01/01/2024#)",
    "INSERT INTO Scadenze (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, DataScad, PagTipo, Prefisso, NumDoc, DataDoc, Rata, Moneta, EntrataUscita, ImportoScad) "
    "VALUES (2024, 2, 3, '03', '01', '000150', #02/29/2024#, 'RD', 'A', '100', #02/01/2024#, 1, 'EUR', 'U', 300)",
    "INSERT INTO Scadenze (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, DataScad, PagTipo, Prefisso, NumDoc, DataDoc, Rata, Moneta, EntrataUscita, ImportoScad) "
    "VALUES (2024, 3, 3, '05', '09', '000200', #03/31/2024#, 'RB', 'A', '9', #03/01/2024#, 1, 'EUR', 'E', 99.99)",
    "INSERT INTO Scadenze (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, DataScad, PagTipo, Prefisso, NumDoc, DataDoc, Rata, Moneta, EntrataUscita, ImportoScad, Utente, FlStato) "
    "VALUES (2024, 4, 3, '01', '02', '000100', #04/30/2024#, 'RD', 'A', '11', #04/01/2024#, 2, 'EUR', 'E', 50, 'anna~2', '0')",
    "INSERT INTO Scadenze (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, DataScad, PagTipo, Moneta, EntrataUscita, ImportoScad, NumRegPag, DataRegPag) "
    "VALUES (2024, 5, 3, '01', '02', '000100', #05/31/2024#, 'RD', 'EUR', 'E', 70, 3, #05/31/2024#)",
    "INSERT INTO Scadenze (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, DataScad, PagTipo, Moneta, EntrataUscita, ImportoScad) "
    "VALUES (2024, 6, 2, '01', '02', '000100', #06/30/2024#, 'RD', 'EUR', 'U', 80)",
    "INSERT INTO MovPnTes (Anno, NumReg, DataReg, Causale, PreDoc, NumDoc, DataDoc, Moneta, AnnoFat, NumRifFat, IvaPerCassa) "
    "VALUES (2024, 1, #01/01/2024#, 'FAT', 'A', '10', #01/01/2024#, 'EUR', 2024, 77, 'S')",
    "INSERT INTO MovPnTes (Anno, NumReg, DataReg, Causale, AnnoFat, NumRifFat) VALUES (2024, 2, #01/15/2024#, 'INC', 2024, 77)",
    "INSERT INTO MovPnDett (Anno, NumReg, RigReg, TipoPartita, GruppoPartita, MastroPartita, ContoPartita, DareAvere, ImportoMon, Importo, Iva) "
    "VALUES (2024, 1, 1, '3', '01', '02', '000100', 'D', 1220.5, 1220.5, '22')",
    "INSERT INTO MovPnDett (Anno, NumReg, RigReg, TipoPartita, GruppoPartita, MastroPartita, ContoPartita, DareAvere, ImportoMon, Importo) "
    "VALUES (2024, 2, 1, '3', '01', '02', '000100', 'A', 100.25, 100.25)",
    "INSERT INTO MovPnDettApp (Anno, NumReg, RigReg, DareAvere, Importo) VALUES (2024, 1, 1, 'D', 10)",
    "INSERT INTO MovPnTesFitt (Anno, NumReg) VALUES (2024, 1)",
    "INSERT INTO MovPnTesFitt (Anno, NumReg) VALUES (2024, 4)",
    "INSERT INTO PdcProg (Anno, PartTipo, CoPartGruppo, CoPartMastro, CoPartConto, ProgrDare, ProgrAvere) VALUES (2024, '3', '01', '02', '000100', 1220.5, 0)",
    "INSERT INTO FatScadenze (Anno, NumRif, Rata, DataScad, Importo, ImportoEuro, PagTipo) VALUES (2024, 77, 1, #02/15/2024#, 610.25, 610.25, 'RD')",
    "INSERT INTO LockGest (Tipo, Anno, NumReg, Utente, Stato, Ora, Gestione) VALUES ('C', 2024, 5, 'mario~1', '0', #01/31/2024 10:30:00#, '9')",
};
// clang-format on

// clang-format off
const char* const kCorpus[] = {
    // Reservation check, reserve, copy to the working copy.
    "SELECT COUNT(*) AS Numero FROM Scadenze WHERE  Utente = 'mario~1' AND FlStato = '0'",
    "UPDATE ((Scadenze INNER JOIN PagTipi ON Scadenze.PagTipo = PagTipi.PagTipo) INNER JOIN Monete ON Scadenze.Moneta = Monete.Moneta) "
    "SET Scadenze.Utente = 'mario~1',Scadenze.FlStato = '0' WHERE  Scadenze.Tipo = 3 AND Scadenze.GruppoScad >='01' AND "
    "Scadenze.GruppoScad <='05' AND Scadenze.MastroScad >='01' AND Scadenze.MastroScad <='09' AND Scadenze.Moneta = 'EUR' AND "
    "Scadenze.DataScad >= #01/01/2024# AND Scadenze.DataScad <= #12/31/2024# AND Scadenze.NumDoc >= '10' AND Scadenze.NumDoc <= '9' "
    "AND (Scadenze.NumRegPag is null OR Scadenze.NumRegPag = 0) AND Scadenze.DataRegPag is null AND (Scadenze.NumDist is null OR "
    "Scadenze.NumDist = 0) AND (Scadenze.Utente = ' ' OR Scadenze.Utente is null) AND Scadenze.FlStato IS NULL",
    "SELECT COUNT(*) AS Numero FROM Scadenze WHERE  Utente = 'mario~1' AND FlStato = '0'",
    "SELECT * FROM Scadenze WHERE Scadenze.Utente = 'mario~1' AND Scadenze.FlStato = '0'",
    "INSERT INTO ScadenzeApp (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, DataScad, PagTipo, BancaCF, Pagamento, Prefisso, "
    "NumDoc, DataDoc, Rata, Moneta, EntrataUscita, ImportoScad, Causale, Utente, FaseElab) SELECT Anno, NumProg, Tipo, GruppoScad, "
    "MastroScad, ContoScad, DataScad, PagTipo, BancaCF, Pagamento, Prefisso, NumDoc, DataDoc, Rata, Moneta, EntrataUscita, ImportoScad, "
    "Causale, Utente, '0' FROM Scadenze WHERE Scadenze.Utente = 'mario~1'",
    "Select top 1 * from ScadenzeApp where anno = 2024 order by NumProg DESC",
    "SELECT ScadenzeApp.Prefisso,ScadenzeApp.NumDoc,ScadenzeApp.DataDoc,PianoConti.Descrizione,ScadenzeApp.GruppoScad & '-' & "
    "ScadenzeApp.MastroScad & '-' & ScadenzeApp.ContoScad & ' ' AS Conto,ScadenzeApp.DataScad,ScadenzeApp.PagTipo,"
    "IIF((ScadenzeApp.Tipo = '3' AND ScadenzeApp.EntrataUscita = 'E') OR (ScadenzeApp.Tipo = '2'  AND ScadenzeApp.EntrataUscita = 'U'),"
    "ScadenzeApp.ImportoScad,-ScadenzeApp.ImportoScad) AS ImportoScad,ScadenzeApp.ImpPagInc,IIF(ScadenzeApp.ImpPagInc = 0 ,null,"
    "(IIF((ScadenzeApp.Tipo = '3' AND ScadenzeApp.EntrataUscita = 'E') OR (ScadenzeApp.Tipo = '2'  AND ScadenzeApp.EntrataUscita = 'U'),"
    "ScadenzeApp.ImportoScad,-ScadenzeApp.ImportoScad) - ScadenzeApp.ImpPagInc)) AS Pagato,ScadenzeApp.StatoScad,ScadenzeApp.Anno,"
    "ScadenzeApp.NumProg FROM ((ScadenzeApp LEFT JOIN PagTipi ON PagTipi.PagTipo = ScadenzeApp.PagTipo) INNER JOIN PianoConti ON "
    "ScadenzeApp.ContoScad = PianoConti.Conto AND ScadenzeApp.MastroScad = PianoConti.Mastro AND ScadenzeApp.GruppoScad = "
    "PianoConti.Gruppo) WHERE ScadenzeApp.Utente = 'mario~1' ORDER BY PianoConti.Descrizione,ScadenzeApp.DataDoc,"
    "ScadenzeApp.Prefisso,ScadenzeApp.NumDoc,ScadenzeApp.Rata",
    // Worklist edits and totals.
    "UPDATE ScadenzeApp SET ScadenzeApp.StatoScad = 'C', ScadenzeApp.ImpPagInc = ScadenzeApp.ImportoScad WHERE ScadenzeApp.Anno = 2024 AND ScadenzeApp.NumProg = 1",
    "UPDATE ScadenzeApp SET ScadenzeApp.StatoScad = 'A', ScadenzeApp.ImpPagInc = 100.125 WHERE ScadenzeApp.Anno = 2024 AND ScadenzeApp.NumProg = 2",
    "SELECT COUNT(NumProg) AS NumScad, SUM(IIF(IsNull(ImpPagInc), 0, ImpPagInc)) AS Pagato FROM ScadenzeApp WHERE "
    "(ScadenzeApp.StatoScad = 'A'  OR ScadenzeApp.StatoScad = 'C') and utente = 'mario~1'",
    "SELECT ScadenzeApp.Tipo,ScadenzeApp.GruppoScad,ScadenzeApp.MastroScad,ScadenzeApp.ContoScad,ScadenzeApp.DataScad,"
    "ScadenzeApp.Pagamento,ScadenzeApp.BancaCF,ScadenzeApp.NumReg,ScadenzeApp.AnnoReg,ScadenzeApp.Prefisso,ScadenzeApp.NumDoc,"
    "ScadenzeApp.ImportoScad,ScadenzeApp.Causale,PianoConti.Descrizione AS RagSoc,Monete.Descrizione AS DesMoneta, Monete.NumDec,"
    "Pagamenti.Descrizione AS DesPagamento,Banche.Descrizione AS DesBanca,Causali.Descrizione AS DesCausale FROM ((((ScadenzeApp "
    "LEFT JOIN Monete ON ScadenzeApp.Moneta = Monete.Moneta) LEFT JOIN Pagamenti ON ScadenzeApp.Pagamento = Pagamenti.Pagamento) "
    "LEFT JOIN PianoConti ON (ScadenzeApp.Tipo = PianoConti.Tipo)  AND (ScadenzeApp.GruppoScad = PianoConti.Gruppo) AND "
    "(ScadenzeApp.MastroScad = PianoConti.Mastro) AND (ScadenzeApp.ContoScad = PianoConti.Conto)) LEFT JOIN Banche ON "
    "ScadenzeApp.BancaCF = Banche.Banca) LEFT JOIN Causali ON ScadenzeApp.Causale = Causali.Causale WHERE ScadenzeApp.Anno = 2024 "
    "AND ScadenzeApp.NumProg = 1",
    // Temporary value store.
    "DELETE FROM AppoggioTemp WHERE Utente = 'mario~1' AND IdProgramma = 'SALDA'",
    "INSERT INTO AppoggioTemp(Utente,IdProgramma,IdCampo,Valorestringa) VALUES ('mario~1','SALDA','Conto','01-02-000100')",
    "INSERT INTO AppoggioTemp(Utente,IdProgramma,IdCampo,Valorenumero) VALUES ('mario~1','SALDA','Massimo',1500.75)",
    "INSERT INTO AppoggioTemp(Utente,IdProgramma,IdCampo,Valoredata) VALUES ('mario~1','SALDA','DataReg',#03/31/2024#)",
    "INSERT INTO AppoggioTemp(Utente,IdProgramma,IdCampo,Valoredata) VALUES ('mario~1','SALDA','DataVuota',Null)",
    "SELECT  ValoreData AS Restituisci FROM AppoggioTemp WHERE Utente = 'mario~1' AND IdProgramma = 'SALDA' AND IdCampo = 'DataReg'",
    "SELECT  ValoreNumero AS Restituisci FROM AppoggioTemp WHERE Utente = 'mario~1' AND IdProgramma = 'SALDA' AND IdCampo = 'Massimo'",
    // Locks and numbers.
    "Select * from LockGest Where Tipo = 'C' AND Anno = 2024 AND NumReg = 5",
    "Select top 1 NumReg from MovPnTes where anno = 2024 order by NumReg DESC",
    "Select top 1 NumReg from MovPnTes where anno >=2020 order by NumReg DESC",
    "Select * from MovPnTes where false",
    "Select * from MovPnDettApp where False",
    // Company data.
    "Select * from Monete where moneta = 'eur'",
    "Select * from ArrotLire Order By FinoA",
    "Select * from PagTipi where PagTipo= 'RD'",
    "Select * from causali Where Causale = 'INC'",
    "Select BeneServizio from Pianoconti Where Gruppo = '01' And Mastro = '02' And Conto = '000100'",
    "Select * From Pagamenti Where Pagamenti.Pagamento = 'R30'",
    "Select * From PianoConti Where PianoConti.Gruppo = '01' And PianoConti.Mastro = '02' And PianoConti.Conto = '000100'",
    // Journal lines and posting.
    "Select MovPnTes.IvaPerCassa from MovPnTes INNER JOIN MovPnDett ON MovPnDett.Anno = MovPnTes.Anno AND MovPnDett.NumReg = "
    "MovPnTes.NumReg Where MovPnTes.PreDoc = 'A' And MovPnTes.NumDoc = '10' And MovPnTes.dataDoc = #01/01/2024# And "
    "MovPnDett.GruppoPartita = '01' And MovPnDett.MastroPartita = '02' And MovPnDett.ContoPartita = '000100' And MovPnDett.RigReg = 1",
    "Select * from MovPnTes where Anno = 2024 And NumReg >= 1 And NumReg <= 9 Order by Anno, Numreg",
    "Select MovPnDett.*, Tabiva.RevCharge from MovPnDett Left Join Tabiva On MovPnDett.Iva = Tabiva.Iva where MovPnDett.Anno=2024 and "
    "MovPnDett.NumReg=1 Order by MovPnDett.Anno, MovPnDett.Numreg, MovPnDett.Rigreg",
    " Select PdcProg.* from PdcProg where Anno= 2024 and PartTipo= '3' and CoPartGruppo= '01' and CoPartMastro= '02' and CoPartConto= '000100'",
    "Select sum(MovPnDett.ImportoMon) as TotOmaAntMon, sum(MovPnDett.Importo) as TotOmaAnt from MovPnTes left join MovPnDett On "
    "MovPnDett.Anno = MovPnTes.Anno and  MovPnDett.NumReg = MovPnTes.NumReg where MovPnTes.AnnoFat =2024 and MovPnTes.NumRifFat =77 "
    "and MovPnTes.Anno =2024 and MovPnTes.NumReg <>1 and MovPnDett.DareAvere ='A' and MovPnTes.Causale <>'RIT'",
    "Select PagTipi.RegIncAut, Pagamenti.PagTipo, Pagamenti.ScadValuta, Pagamenti.NumScad from Pagamenti left join PagTipi on "
    "PagTipi.PagTipo = Pagamenti.PagTipo where Pagamenti.Pagamento = 'R30'",
    "Select FatScadenze.* from FatScadenze Where Anno = 2024 And NumRif = 77",
    "UPDATE Scadenze SET NumReg = 7 where  AnnoReg =2024 and PreProt ='A' and NumProt =12 and DataProt =#01/01/2024#",
    "Delete MovPnDettApp.* From MovPnDettApp where MovPnDettApp.Anno=2024 and MovPnDettApp.NumReg=1",
    "Delete * from MovPnTesFitt where Anno = 2024 and NumReg >= 1 and NumReg <= 3",
    // Settling, releasing, recovery.
    "UPDATE Scadenze SET Scadenze.Utente = ' ',Scadenze.FlStato = NULL,Scadenze.AnnoPag = 2024,Scadenze.NumRegPag = 9,"
    "Scadenze.DataRegPag = #03/31/2024#,Scadenze.RigLivPag = 2,Scadenze.ImportoScad = 100.125,Scadenze.ImportoScadLire = 193866.04,"
    "Scadenze.ImportoScadEuro = 100.125 WHERE Scadenze.Anno = 2024 AND Scadenze.NumProg = 2",
    "UPDATE ScadenzeApp SET ScadenzeApp.FaseElab = '1' WHERE ScadenzeApp.Utente = 'mario~1' AND ScadenzeApp.NumProg = 1",
    "SELECT MAX(FaseElab) AS Fase, Utente FROM ScadenzeApp WHERE ScadenzeApp.Utente LIKE 'mario~*' GROUP BY Utente",
    "Select LockGest.* FROM LockGest Where LockGest.Gestione = '9' AND LockGest.Tipo = 'C' and LockGest.Utente LIKE 'mario~*'",
    " SELECT Utente  FROM Scadenze WHERE (Scadenze.Utente IS NOT NULL AND Scadenze.FlStato = '0') GROUP BY Utente",
    "UPDATE Scadenze SET Scadenze.Utente = ' ',Scadenze.FlStato = NULL WHERE  Scadenze.Utente = 'mario~1'",
    "DELETE FROM ScadenzeApp WHERE ScadenzeApp.Utente = 'mario~1'",
    "SELECT * FROM Scadenze",
};
// clang-format on

// A value as text that reads the same whatever the engine's own type for it.
std::string Canonical(const util::Value& v) {
  using util::VType;
  switch (v.type()) {
    case VType::Null: return "NULL";
    case VType::Integer:
    case VType::Long:
    case VType::Double:
    case VType::Currency: return util::ShortestDecimal(util::RoundDecimal(v.toDouble(), 6));
    case VType::Date: return v.toDate().iso();
    case VType::Boolean: return v.toBool() ? "true" : "false";
    case VType::Text: return "'" + v.text() + "'";
  }
  return "?";
}

bool Ordered(const std::string& sql) {
  std::string lower = sql;
  std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
  return lower.find("order by") != std::string::npos;
}

std::vector<std::string> RunCorpus(Engine engine) {
  testsupport::TestDatabase t(engine);
  for (const char* sql : kFixture) t.executor().Execute(t.conn(), sql);
  std::vector<std::string> results;
  for (const char* sql : kCorpus) {
    std::string out;
    try {
      std::string s = sql;
      if (s.find_first_not_of(' ') != std::string::npos && (s.find("SELECT") < 3 || s.find("Select") < 3)) {
        db::DbCursor c;
        const std::string k = c.Open(t.executor(), t.conn(), "", s, false, db::kSnapshot);
        db::Recordset& rs = c.GetRecordset(k);
        std::vector<std::string> rows;
        std::string head;
        for (int col = 0; col < rs.columnCount(); ++col) {
          std::string name = rs.columnName(col);
          std::transform(name.begin(), name.end(), name.begin(), ::tolower);
          head += name + "|";
        }
        for (int r = 0; r < rs.rowCount(); ++r) {
          std::string row;
          for (int col = 0; col < rs.columnCount(); ++col) row += Canonical(rs.value(r, col)) + "|";
          rows.push_back(row);
        }
        if (!Ordered(s)) std::sort(rows.begin(), rows.end());
        out = head;
        for (const std::string& r : rows) out += "\n  " + r;
      } else {
        out = "changed " + std::to_string(t.executor().Execute(t.conn(), s));
      }
    } catch (const util::RuntimeError& e) {
      ADD_FAILURE() << "Errore(" << e.number() << "): " << e.description();
      out = "error";
    }
    results.push_back(out);
  }
  return results;
}

TEST(StatementCorpus, SameResultsOnEveryEngine) {
  const std::vector<std::string> lite = RunCorpus(Engine::Sqlite);
  ASSERT_EQ(lite.size(), std::size(kCorpus));
  // A few results worth knowing by heart: the reserve took the three free,
  // unpaid customer installments in range, whatever the document numbers.
  EXPECT_EQ(lite[0], "numero|\n  0|");
  EXPECT_EQ(lite[1], "changed 3");
  EXPECT_EQ(lite[2], "numero|\n  3|");
  EXPECT_EQ(lite[5].substr(lite[5].find('\n')).substr(0, 9), "\n  2024|3");  // TOP 1 ... DESC
  EXPECT_EQ(lite[9], "numscad|pagato|\n  2|1320.625|");                      // IIF(IsNull(..)) in SUM
  const auto at = [&](std::string_view start) {
    for (size_t i = 0; i < std::size(kCorpus); ++i)
      if (std::string_view(kCorpus[i]).rfind(start, 0) == 0) return lite[i];
    return std::string("missing");
  };
  EXPECT_EQ(at("SELECT MAX(FaseElab)"), "fase|utente|\n  '1'|'mario~1'|");  // LIKE with *
  EXPECT_EQ(at("UPDATE Scadenze SET NumReg = 7"), "changed 1");

  const std::vector<Engine> engines = testsupport::Engines();
  if (std::find(engines.begin(), engines.end(), Engine::Postgres) == engines.end())
    GTEST_SKIP() << "no PostgreSQL test cluster: compared nothing";
  const std::vector<std::string> pg = RunCorpus(Engine::Postgres);
  ASSERT_EQ(pg.size(), lite.size());
  for (size_t i = 0; i < lite.size(); ++i) EXPECT_EQ(pg[i], lite[i]) << kCorpus[i];
}

}  // namespace
