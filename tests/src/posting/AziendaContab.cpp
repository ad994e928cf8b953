#include "tests/src/posting/AziendaContab.h"

#include "components/db/DbCursor.h"
#include "components/db/Recordset.h"
#include "components/util/SqlLiteral.h"
#include "tests/support/Invarianti.h"

namespace testsupport {
namespace {

std::string L(const util::Value& v, int tipo) { return util::SqlLiteral(v, tipo); }
std::string T(const std::string& s) { return util::SqlLiteral(s, 8); }
std::string Nullabile(const std::string& s) { return s.empty() ? "Null" : T(s); }
std::string Data(const util::Date& d) { return d.isEmpty() ? "Null" : util::SqlLiteral(d, 7); }

}  // namespace

AziendaContab::AziendaContab(Engine engine) : database(engine) {
  host.parametri["Ditta.Moneta"] = util::Value("Euro");
  ctx_ = std::make_unique<compensato::Contesto>(host, database.executor(), database.conn(), op);
  compensato::LeggiIdentita(*ctx_);

  struct Conto {
    const char *g, *m, *k;
    int tipo;
    const char *beneServizio, *banca, *ccorrente, *ragRb;
    int meseNoEf1, gioMesSucc1;
  };
  const Conto conti[] = {
      {"14", "01", "000001", 3, "", "", "", "", 0, 0},
      {"14", "01", "000002", 3, "", "BPM", "IT60X0542811101000000123456", "R1", 5, 10},
      {"40", "01", "000001", 2, "", "UNI", "IT02A0300203280000400162854", "", 0, 0},
      {"58", "01", "000001", 1, "", "", "", "", 0, 0},
      {"66", "01", "000001", 1, "S", "", "", "", 0, 0},
      {"66", "01", "000002", 1, "C", "", "", "", 0, 0},
      {"26", "01", "000001", 1, "", "", "", "", 0, 0},
      {"26", "01", "000002", 1, "", "", "", "", 0, 0},
      {"18", "01", "000001", 1, "", "", "", "", 0, 0},
      {"91", "01", "000001", 1, "", "", "", "", 0, 0},
  };
  for (const Conto& k : conti)
    Esegui("INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, BeneServizio, Banca, "
           "CCorrente, RagRb, MeseNoEf1, GioMesSucc1, MeseNoEf2, GioMesSucc2) VALUES (" +
           T(k.g) + "," + T(k.m) + "," + T(k.k) + "," + L(util::Value::Integer(k.tipo), 2) + ",'Conto'," +
           Nullabile(k.beneServizio) + "," + Nullabile(k.banca) + "," + Nullabile(k.ccorrente) + "," +
           Nullabile(k.ragRb) + "," + L(util::Value::Integer(k.meseNoEf1), 2) + "," +
           L(util::Value::Integer(k.gioMesSucc1), 2) + ",0,0)");

  Esegui("INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Operatore, Cee) VALUES "
         "('Euro', 'Euro', 2, 2, '/', 'S')");
  Esegui("INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Operatore, Cee) VALUES "
         "('USD', 'Dollaro', 2, 2, '/', 'N')");
  Esegui("INSERT INTO Tabiva (Iva, Descrizione, Aliquota, Indetraibile, RevCharge) VALUES "
         "('22', 'Aliquota 22', 22, 0, 'N')");
  Esegui("INSERT INTO Tabiva (Iva, Descrizione, Aliquota, Indetraibile, RevCharge) VALUES "
         "('RC', 'Inversione contabile', 22, 0, 'S')");
  Esegui("INSERT INTO PagTipi (PagTipo, Descrizione, EmissEffetti, RegIncAut) VALUES "
         "('RD', 'Rimessa diretta', 'N', 'N')");
  Esegui("INSERT INTO PagTipi (PagTipo, Descrizione, EmissEffetti, RegIncAut) VALUES "
         "('RID', 'Addebito diretto', 'N', 'S')");

  struct Termine {
    const char *codice, *pagTipo, *decorrenza, *periodicita;
    int numScad;
    const char* trattamIva;
    int numGGMM;
    const char* scadValuta;
  };
  const Termine termini[] = {
      {"30", "RD", "D", "G", 1, "", 30, "N"},  {"FM3", "RD", "F", "M", 3, "U", 1, "N"},
      {"NEG", "RD", "D", "M", -1, "", 1, "N"}, {"AUT", "RID", "D", "M", 1, "", 1, "N"},
      {"V3", "RD", "D", "M", 3, "", 1, "S"},
  };
  for (const Termine& p : termini)
    Esegui("INSERT INTO Pagamenti (Pagamento, Descrizione, PagTipo, Decorrenza, Periodicita, NumScad, "
           "TrattamIva, GiornoFisso, NumGGMM, ScadValuta) VALUES (" +
           T(p.codice) + ",'Termine'," + T(p.pagTipo) + "," + T(p.decorrenza) + "," + T(p.periodicita) + "," +
           L(util::Value::Integer(p.numScad), 2) + "," + T(p.trattamIva) + ",0," +
           L(util::Value::Integer(p.numGGMM), 2) + "," + T(p.scadValuta) + ")");

  struct Causale {
    const char *codice, *tipoCausale, *tipoReg, *inValuta, *regInsoluto, *causRit, *intraCee;
  };
  const Causale causali[] = {
      {"FV", "V", "V", "N", "N", "", "N"}, {"NC", "VS", "V", "N", "N", "", "N"}, {"FA", "A", "A", "N", "N", "", "N"},
      {"FI", "A", "A", "N", "N", "", "S"}, {"AP", "AP", "", "N", "N", "", "N"},  {"INC", "", "", "N", "N", "", "N"},
      {"ANT", "", "", "N", "N", "", "N"},  {"RIT", "", "", "N", "N", "", "N"},   {"FR", "V", "V", "N", "N", "RIT", "N"},
      {"INS", "", "", "N", "S", "", "N"},  {"FE", "V", "V", "S", "N", "", "N"},
  };
  for (const Causale& k : causali)
    Esegui("INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg, InValuta, RegInsoluto, "
           "CausRit, IntraCee, RevCharge, ImportNoCee) VALUES (" +
           T(k.codice) + ",'Causale'," + Nullabile(k.tipoCausale) + "," + Nullabile(k.tipoReg) + "," + T(k.inValuta) +
           "," + T(k.regInsoluto) + "," + Nullabile(k.causRit) + "," + T(k.intraCee) + ",'N','N')");
}

AziendaContab::~AziendaContab() = default;

void AziendaContab::Esegui(const std::string& sql) { database.executor().Execute(database.conn(), sql); }

void AziendaContab::Prepara(const Registrazione& r, const std::string& testata, const std::string& righe,
                            const std::string& iva) {
  const std::string chiave = L(r.anno, 2) + "," + L(r.numReg, 3);
  Esegui("INSERT INTO " + testata +
         " (Anno, NumReg, DataReg, Causale, InValuta, PreProt, NumProt, DataProt, PreDoc, NumDoc, "
         "DataDoc, Moneta, Cambio, Pagamento, Banca, AnnoFat, NumRifFat, CIG, CUP) VALUES (" +
         chiave + "," + Data(r.dataReg) + "," + T(r.causale) + "," + T(r.moneta == "Euro" ? "N" : "S") + "," +
         T(r.preProt) + "," + (r.numProt ? L(r.numProt, 3) : "Null") + "," + Data(r.dataProt) + "," + T(r.preDoc) +
         "," + T(r.numDoc) + "," + Data(r.dataDoc) + "," + T(r.moneta) + "," + L(r.cambio, 5) + "," +
         Nullabile(r.pagamento) + "," + Nullabile(r.banca) + "," + L(r.annoFat, 2) + "," + L(r.numRifFat, 3) +
         ",'CIG1','CUP1')");
  int rig = 0;
  for (const Riga& x : r.righe) {
    ++rig;
    Esegui("INSERT INTO " + righe +
           " (Anno, NumReg, RigReg, RigLiv, TipoPartita, GruppoPartita, MastroPartita, ContoPartita, "
           "DareAvere, ImportoMon, Importo, ImpostaMon, Imposta, ImpostaIndetrMon, ImpostaIndetr, Iva, "
           "Forzatura, Cambio, PreProt, NumProt, DataProt, PreDoc, NumDoc, DataDoc) VALUES (" +
           chiave + "," + L(rig, 3) + "," + L(rig, 3) + "," + T(x.tipo) + "," + T(x.conto.substr(0, 2)) + "," +
           T(x.conto.substr(2, 2)) + "," + T(x.conto.substr(4)) + "," + T(x.dareAvere) + "," +
           L(x.importo * x.cambio, 5) + "," + L(x.importo, 5) + "," + L(x.imposta * x.cambio, 5) + "," +
           L(x.imposta, 5) + ",0,0," + Nullabile(x.iva) + "," + Nullabile(x.forzatura) + "," + L(x.cambio, 5) + "," +
           T(r.preProt) + "," + (r.numProt ? L(r.numProt, 3) : "Null") + "," + Data(r.dataProt) + "," + T(r.preDoc) +
           "," + T(r.numDoc) + "," + Data(r.dataDoc) + ")");
  }
  for (int i = 1; i <= r.righeIva; ++i)
    Esegui("INSERT INTO " + iva +
           " (Anno, NumReg, RigIva, Iva, ImponibileMon, Imponibile, ImpostaMon, Imposta) VALUES (" + chiave + "," +
           L(i, 3) + ",'22',100,100,22,22)");
}

compensato::posting::ArgomentiContab AziendaContab::Argomenti(int32_t da, int32_t a) const {
  compensato::posting::ArgomentiContab x;
  x.anno = 2026;
  x.numRegDa = da;
  x.numRegA = a;
  return x;
}

std::vector<std::string> AziendaContab::Righe(const std::string& sql) {
  db::DbCursor c;
  const std::string key = c.Open(database.executor(), database.conn(), "", sql, false, db::kSnapshot);
  std::vector<std::string> righe;
  auto& rs = c.GetRecordset(key);
  for (int r = 0; r < rs.rowCount(); ++r) {
    std::string riga;
    for (int i = 0; i < rs.columnCount(); ++i) riga += (i ? "|" : "") + rs.value(r, i).toText();
    righe.push_back(riga);
  }
  c.Close(key);
  return righe;
}

double AziendaContab::Numero(const std::string& sql) {
  db::DbCursor c;
  const std::string key = c.Open(database.executor(), database.conn(), "", sql, false, db::kSnapshot);
  const double n = c.IsEmpty(key) ? 0 : c.GetRecordset(key).field(0, 0).toDouble();
  c.Close(key);
  return n;
}

std::string AziendaContab::Invarianti() { return VerificaInvarianti(database.executor(), database.conn()); }

AziendaContab::Registrazione AziendaContab::FatturaCliente(int32_t numReg, double imponibile, double iva) {
  Registrazione r;
  r.numReg = numReg;
  r.causale = "FV";
  r.pagamento = "FM3";
  r.numProt = numReg;
  r.dataProt = util::Date::Carry(2026, 3, 15);
  r.numDoc = "F" + std::to_string(numReg);
  r.righe = {
      Linea("3", "1401000001", "D", imponibile + iva),
      Linea("1", "5801000001", "A", imponibile, iva, "22"),
      Linea("1", "2601000001", "A", iva),
  };
  return r;
}

}  // namespace testsupport
