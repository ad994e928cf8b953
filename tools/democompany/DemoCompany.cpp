#include "tools/democompany/DemoCompany.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "components/db/DbCursor.h"
#include "components/host/MenuHost.h"
#include "components/util/Error.h"
#include "components/util/Value.h"
#include "schema/Schema.h"
#include "src/data/Contesto.h"
#include "src/posting/ContabMovPn.h"
#include "src/ui/Operatore.h"

namespace demo {
namespace {

using util::Value;

// A small deterministic generator: the same company on every machine.
class Sorte {
 public:
  explicit Sorte(uint64_t seme) : s_(seme) {}
  uint32_t Prossimo() {
    s_ = s_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(s_ >> 33);
  }
  int Tra(int da, int a) { return da + static_cast<int>(Prossimo() % static_cast<uint32_t>(a - da + 1)); }

 private:
  uint64_t s_;
};

struct Riga {
  std::vector<std::pair<const char*, Value>> campi;
};

class Scrittore {
 public:
  Scrittore(db::DbExecutor& db, const std::string& conn) : db_(db), conn_(conn) {}
  void Inserisci(const std::string& tabella, std::initializer_list<std::pair<const char*, Value>> campi) {
    auto it = chiavi_.find(tabella);
    if (it == chiavi_.end())
      it = chiavi_
               .emplace(tabella,
                        c_.Open(db_, conn_, "", "Select * from " + tabella + " where false", false, db::kUpdatable))
               .first;
    c_.AddNew(it->second);
    for (const auto& [campo, valore] : campi) c_.SetField(it->second, campo, valore);
    c_.Update(it->second);
  }

 private:
  db::DbExecutor& db_;
  const std::string& conn_;
  db::DbCursor c_;
  std::map<std::string, std::string> chiavi_;
};

struct Anagrafica {
  const char* conto;
  const char* nome;
  const char* localita;
};

// clang-format off
constexpr std::array<Anagrafica, 20> kClienti{{
    {"000001", "Bianchi Arredamenti S.r.l.", "Milano"},
    {"000002", "Ferrari Giuseppe & Figli S.n.c.", "Modena"},
    {"000003", "Esposito Alimentari S.p.A.", "Napoli"},
    {"000004", "Romano Costruzioni S.r.l.", "Roma"},
    {"000005", "Colombo Tessuti S.a.s.", "Como"},
    {"000006", "Ricci Ferramenta di Ricci Luca", "Bologna"},
    {"000007", "Marino Trasporti S.r.l.", "Genova"},
    {"000008", "Greco Vini e Oli S.r.l.", "Lecce"},
    {"000009", "Bruno Elettronica S.p.A.", "Torino"},
    {"000010", "Gallo Cartoleria S.n.c.", "Padova"},
    {"000011", "Conti Impianti Termici S.r.l.", "Brescia"},
    {"000012", "De Luca Ottica S.a.s.", "Salerno"},
    {"000013", "Mancini Calzature S.r.l.", "Fermo"},
    {"000014", "Costa Nautica S.p.A.", "La Spezia"},
    {"000015", "Giordano Farmacia Centrale", "Cuneo"},
    {"000016", "Rizzo Pasticceria S.n.c.", "Palermo"},
    {"000017", "Lombardi Edilizia S.r.l.", "Bergamo"},
    {"000018", "Moretti Tipografia S.a.s.", "Firenze"},
    {"000019", "Barbieri Ceramiche S.p.A.", "Sassuolo"},
    {"000020", "Fontana Giardinaggio S.r.l.", "Verona"},
}};
// clang-format on

constexpr std::array<Anagrafica, 10> kFornitori{{
    {"000001", "Acciaierie Valbruna Nord S.p.A.", "Vicenza"},
    {"000002", "Cartiere del Garda Riunite S.r.l.", "Riva del Garda"},
    {"000003", "Energia Padana S.p.A.", "Piacenza"},
    {"000004", "Logistica Tirrenica S.r.l.", "Livorno"},
    {"000005", "Studio Commercialista Neri", "Milano"},
    {"000006", "Imballaggi Brianza S.n.c.", "Monza"},
    {"000007", "Telecomunicazioni Adriatiche S.p.A.", "Ancona"},
    {"000008", "Officina Meccanica Santoro", "Reggio Emilia"},
    {"000009", "Assicurazioni Tre Torri S.p.A.", "Trieste"},
    {"000010", "Pulizie Industriali Sole S.r.l.", "Bari"},
}};

void PianoConti(Scrittore& w) {
  struct Conto {
    const char *g, *m, *c;
    int tipo;
    const char* descrizione;
  };
  const Conto generali[] = {
      {"18", "01", "000001", 1, "Cassa contanti"},
      {"18", "01", "000002", 1, "Assegni in cassa"},
      {"18", "02", "000001", 1, "Banca Popolare del Centro c/c"},
      {"18", "02", "000002", 1, "Cassa Rurale Val di Sole c/c"},
      {"25", "01", "000001", 1, "Erario c/IVA acquisti"},
      {"45", "01", "000001", 1, "Erario c/IVA vendite"},
      {"60", "01", "000001", 1, "Acquisti di merci"},
      {"60", "02", "000001", 1, "Servizi e consulenze"},
      {"62", "05", "000001", 1, "Sconti e abbuoni passivi"},
      {"62", "06", "000001", 1, "Perdite su cambi"},
      {"70", "01", "000001", 1, "Ricavi delle vendite"},
      {"70", "05", "000001", 1, "Sconti e abbuoni attivi"},
      {"70", "06", "000001", 1, "Utili su cambi"},
      {"14", "01", "000000", 1, "Crediti verso clienti"},
      {"40", "01", "000000", 1, "Debiti verso fornitori"},
  };
  for (const Conto& c : generali)
    w.Inserisci("PianoConti", {{"Gruppo", c.g},
                               {"Mastro", c.m},
                               {"Conto", c.c},
                               {"Tipo", Value::Integer(c.tipo)},
                               {"Descrizione", c.descrizione}});
  int n = 0;
  for (const Anagrafica& a : kClienti) {
    ++n;
    w.Inserisci("PianoConti", {{"Gruppo", "14"},
                               {"Mastro", "01"},
                               {"Conto", a.conto},
                               {"Tipo", Value::Integer(3)},
                               {"Descrizione", a.nome},
                               {"Localita", a.localita},
                               {"PartitaIva", "IT0" + std::to_string(1234560 + n * 7919) + "01"},
                               {"Banca", n % 2 ? "BPC01" : "CRV01"}});
  }
  n = 0;
  for (const Anagrafica& a : kFornitori) {
    ++n;
    w.Inserisci("PianoConti", {{"Gruppo", "40"},
                               {"Mastro", "01"},
                               {"Conto", a.conto},
                               {"Tipo", Value::Integer(2)},
                               {"Descrizione", a.nome},
                               {"Localita", a.localita},
                               {"PartitaIva", "IT0" + std::to_string(7654320 + n * 104729) + "02"}});
  }
}

void Tabelle(Scrittore& w, const Opzioni& o) {
  w.Inserisci("Monete", {{"Moneta", "Euro"},
                         {"Descrizione", "Euro"},
                         {"NumDec", Value::Integer(2)},
                         {"NumDecGest", Value::Integer(2)},
                         {"Operatore", "/"},
                         {"Cee", "S"}});
  w.Inserisci("Monete", {{"Moneta", "L."},
                         {"Descrizione", "Lire italiane"},
                         {"NumDec", Value::Integer(0)},
                         {"NumDecGest", Value::Integer(0)},
                         {"Operatore", "/"},
                         {"Cee", "S"}});
  w.Inserisci("Monete", {{"Moneta", "USD"},
                         {"Descrizione", "Dollaro statunitense"},
                         {"NumDec", Value::Integer(2)},
                         {"NumDecGest", Value::Integer(4)},
                         {"Operatore", "/"},
                         {"Cee", "N"}});
  const double cambiUsd[] = {1.0851, 1.0734, 1.0921, 1.1048, 1.1167, 1.1023};
  for (int i = 0; i < 6; ++i)
    w.Inserisci("Cambi",
                {{"Moneta", "USD"}, {"Data", o.oggi.addMonths(-2 * (5 - i)).dateOnly()}, {"Cambio", cambiUsd[i]}});
  w.Inserisci("Cambi", {{"Moneta", "L."}, {"Data", util::Date::Carry(1999, 1, 1)}, {"Cambio", 1936.27}});

  w.Inserisci(
      "Banche",
      {{"Banca", "BPC01"}, {"Descrizione", "Banca Popolare del Centro - Ag. 12"}, {"Abi", "05034"}, {"Cab", "11701"}});
  w.Inserisci(
      "Banche",
      {{"Banca", "CRV01"}, {"Descrizione", "Cassa Rurale Val di Sole - Sede"}, {"Abi", "08163"}, {"Cab", "35080"}});

  w.Inserisci("PagTipi",
              {{"PagTipo", "RD"}, {"Descrizione", "Rimessa diretta"}, {"EmissEffetti", "N"}, {"RegIncAut", "N"}});
  w.Inserisci("PagTipi",
              {{"PagTipo", "RB"}, {"Descrizione", "Ricevuta bancaria"}, {"EmissEffetti", "S"}, {"RegIncAut", "N"}});
  w.Inserisci("PagTipi",
              {{"PagTipo", "BB"}, {"Descrizione", "Bonifico bancario"}, {"EmissEffetti", "N"}, {"RegIncAut", "N"}});

  // Read by the payment-term schedule of the posting engine.
  w.Inserisci("Pagamenti", {{"Pagamento", "RD00"},
                            {"Descrizione", "Rimessa diretta vista fattura"},
                            {"PagTipo", "RD"},
                            {"Decorrenza", "D"},
                            {"Periodicita", "G"},
                            {"NumScad", Value::Integer(0)},
                            {"TrattamIva", "D"},
                            {"GiornoFisso", Value::Integer(0)},
                            {"NumGGMM", Value::Integer(0)},
                            {"ScadValuta", "N"}});
  w.Inserisci("Pagamenti", {{"Pagamento", "BB30"},
                            {"Descrizione", "Bonifico 30 giorni data fattura"},
                            {"PagTipo", "BB"},
                            {"Decorrenza", "D"},
                            {"Periodicita", "G"},
                            {"NumScad", Value::Integer(1)},
                            {"TrattamIva", "D"},
                            {"GiornoFisso", Value::Integer(0)},
                            {"NumGGMM", Value::Integer(30)},
                            {"ScadValuta", "N"}});
  w.Inserisci("Pagamenti", {{"Pagamento", "RB39"},
                            {"Descrizione", "Ri.Ba. 30-60-90 giorni fine mese"},
                            {"PagTipo", "RB"},
                            {"Decorrenza", "F"},
                            {"Periodicita", "M"},
                            {"NumScad", Value::Integer(3)},
                            {"TrattamIva", "D"},
                            {"GiornoFisso", Value::Integer(0)},
                            {"NumGGMM", Value::Integer(1)},
                            {"ScadValuta", "N"}});

  struct Causale {
    const char *codice, *descrizione, *tipo, *reg;
    const char *g, *m, *c;
  };
  const Causale causali[] = {
      {"FV", "Fattura di vendita", "V", "V", "", "", ""},
      {"NCV", "Nota di credito a cliente", "VS", "V", "", "", ""},
      {"FA", "Fattura di acquisto", "A", "A", "", "", ""},
      {"NCA", "Nota di credito da fornitore", "AS", "A", "", "", ""},
      {"INC", "Incasso da cliente", "G", "", "18", "01", "000001"},
      {"PAG", "Pagamento a fornitore", "G", "", "18", "02", "000001"},
      {"AP", "Apertura conti", "AP", "", "", "", ""},
  };
  for (const Causale& c : causali)
    w.Inserisci("Causali", {{"Causale", c.codice},
                            {"Descrizione", c.descrizione},
                            {"TipoCausale", c.tipo},
                            {"TipoReg", c.reg},
                            {"InValuta", "N"},
                            {"RegInsoluto", "N"},
                            {"IntraCee", "N"},
                            {"RevCharge", "N"},
                            {"ImportNoCee", "N"},
                            {"PartGruppo", c.g},
                            {"PartMastro", c.m},
                            {"PartConto", c.c},
                            {"CoPartGruppo", c.g},
                            {"CoPartMastro", c.m},
                            {"CoPartConto", c.c},
                            {"ObbProtocollo", "N"},
                            {"SplitPay", "N"}});

  w.Inserisci("Tabiva", {{"Iva", "22"},
                         {"Descrizione", "Aliquota ordinaria 22%"},
                         {"Aliquota", 22.0},
                         {"Indetraibile", 0.0},
                         {"RevCharge", "N"}});
  w.Inserisci("Tabiva", {{"Iva", "10"},
                         {"Descrizione", "Aliquota ridotta 10%"},
                         {"Aliquota", 10.0},
                         {"Indetraibile", 0.0},
                         {"RevCharge", "N"}});
  w.Inserisci("Tabiva", {{"Iva", "4"},
                         {"Descrizione", "Aliquota minima 4%"},
                         {"Aliquota", 4.0},
                         {"Indetraibile", 0.0},
                         {"RevCharge", "N"}});
  w.Inserisci("Tabiva", {{"Iva", "N6"},
                         {"Descrizione", "Inversione contabile art. 17"},
                         {"Aliquota", 22.0},
                         {"Indetraibile", 0.0},
                         {"RevCharge", "S"}});

  w.Inserisci("ArrotLire", {{"FinoA", 999999999.0}, {"ValArrot", 1.0}, {"TipoArrot", "A"}});
  w.Inserisci("ArrotEuro", {{"FinoA", 999999999.0}, {"ValArrot", 0.01}, {"TipoArrot", "A"}});
  w.Inserisci("CentriDiCosto", {{"CentroDiCosto", "AMM"}, {"Descrizione", "Amministrazione"}});
  w.Inserisci("CentriDiCosto", {{"CentroDiCosto", "COMM"}, {"Descrizione", "Commerciale"}});
}

// The builder talks to the posting engine as a program of the suite does,
// with the company parameters of the demo and nobody to answer messages.
class HostDemo final : public host::MenuHost {
 public:
  explicit HostDemo(const Opzioni& o) : o_(o) {}
  std::string ProgramId() override { return "DemoCompany"; }
  void ShowMenu(const std::string&) override {}
  void Detach() override {}
  int Attach(const std::string&, const std::string&, const std::string&) override { return 0; }
  int ReturnTo(const std::string&, const std::string&, const std::string&) override { return 0; }
  std::string ProgramValue(const std::string&, const std::string&,
                           const std::optional<host::HostValue>& = std::nullopt) override {
    return "";
  }
  void RegisterWindow(const std::string&, const std::string&, const std::string&) override {}
  util::Date WorkDate() override { return o_.oggi; }
  std::string IniFile() override { return ""; }
  host::LaunchInfo GetLaunchInfo() override { return {}; }
  std::string OperatorName() override { return o_.operatore; }
  std::string UserIdentity() override { return o_.operatore + "~demo"; }
  int SetActiveKey(const std::string&) override { return 0; }
  int ReleaseKey(const std::string&) override { return 0; }
  util::Value GetParameter(const std::string& key) override {
    if (key == "Coge.Azzera") return Value("S");
    if (key == "Fat.ContFatt" || key == "Fat.FattCreaScad") return Value("N");
    if (key.rfind("Personal.", 0) == 0) return Value("\xC2\xA7\xC3\xA7~$!^");
    return Value("");
  }
  int CountRunning(const std::string&, int) override { return 1; }

 private:
  const Opzioni& o_;
};

// Collects what the engine would show; the builder fails on any of it.
class OperatoreDemo final : public ui::Operatore {
 public:
  int msgCom(const ui::RichiestaMsg& r) override {
    messaggi += r.psLabel + "\n";
    return 1;
  }
  bool msgComVisibile() const override { return false; }
  int MessageBox(const std::string& text, int, const std::string&) override {
    messaggi += text + "\n";
    return ui::box::kOk;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void Clessidra(bool) override {}
  std::unique_ptr<progress::ProgressController> NuovoProgress() override { return nullptr; }
  void Suona() override {}
  std::string messaggi;
};

// Two years of invoices and credit notes, staged as the invoicing module
// stages them (header in MovPnTes, lines in MovPnDettApp) and posted by the
// posting engine, so every installment comes from the document's payment
// term and the ledger and its totals agree: most of the customers' on
// 30-60-90 bank receipts or transfers, the suppliers' on transfers and
// direct remittance; one document in ten is a credit note.
void Documenti(Scrittore& w, db::DbExecutor& db, const std::string& conn, const Opzioni& o) {
  Sorte sorte(20261210);
  std::map<int, int32_t> numeri;
  int fatti = 0;
  const util::Date inizio = util::Date::Carry(o.oggi.year() - 1, 1, 1);
  const int giorni = o.oggi.serial() - inizio.serial();
  while (fatti < o.scadenze) {
    const bool cliente = sorte.Tra(1, 3) != 1;
    const bool nota = sorte.Tra(1, 10) == 1;
    const Anagrafica& a = cliente ? kClienti[sorte.Tra(0, 19)] : kFornitori[sorte.Tra(0, 9)];
    const util::Date dataDoc = inizio.addDays(sorte.Tra(0, giorni - 1));
    const int anno = dataDoc.year();
    // The last documents take single installments so the count comes out exact.
    const bool riba = cliente && !nota && sorte.Tra(1, 2) == 1 && o.scadenze - fatti >= 3;
    const char* pagamento = riba ? "RB39" : (sorte.Tra(1, 2) == 1 ? "BB30" : "RD00");
    const double imponibile = std::round(sorte.Tra(5000, 500000) * (nota ? 0.2 : 1)) / 100;
    const double totale = std::round(imponibile * 122) / 100;
    const double iva = std::round((totale - imponibile) * 100) / 100;
    const std::string prefisso = cliente ? "V" : "A";
    const int32_t numero = ++numeri[anno];
    const std::string numDoc = std::to_string(anno) + "/" + std::to_string(1000 + numero);
    const char* causale = cliente ? (nota ? "NCV" : "FV") : (nota ? "NCA" : "FA");
    w.Inserisci("MovPnTes", {{"Anno", Value::Integer(anno)},
                             {"NumReg", Value::Long(numero)},
                             {"DataReg", dataDoc},
                             {"Causale", causale},
                             {"InValuta", "N"},
                             {"PreProt", prefisso},
                             {"NumProt", Value::Long(numero)},
                             {"DataProt", dataDoc},
                             {"PreDoc", prefisso},
                             {"NumDoc", numDoc},
                             {"DataDoc", dataDoc},
                             {"Moneta", "Euro"},
                             {"Cambio", 1.0},
                             {"Pagamento", pagamento},
                             {"AnnoFat", Value::Integer(0)},
                             {"NumRifFat", Value::Long(0)}});
    // The personal account on the side the document moves it, revenue or
    // cost and the VAT on the other.
    const bool dareConto = cliente != nota;
    const char* lato = dareConto ? "D" : "A";
    const char* altro = dareConto ? "A" : "D";
    struct Linea {
      const char *tipo, *g, *m;
      std::string c;
      const char* da;
      double importo, imposta;
      const char* iva;
    };
    const Linea righe[] = {
        {cliente ? "3" : "2", cliente ? "14" : "40", "01", a.conto, lato, totale, 0, nullptr},
        {"1", cliente ? "70" : "60", "01", "000001", altro, imponibile, iva, "22"},
        {"1", cliente ? "45" : "25", "01", "000001", altro, iva, 0, nullptr},
    };
    int32_t rig = 0;
    for (const Linea& l : righe) {
      ++rig;
      w.Inserisci("MovPnDettApp", {{"Anno", Value::Integer(anno)},
                                   {"NumReg", Value::Long(numero)},
                                   {"RigReg", Value::Long(rig)},
                                   {"RigLiv", Value::Long(rig)},
                                   {"TipoPartita", l.tipo},
                                   {"GruppoPartita", l.g},
                                   {"MastroPartita", l.m},
                                   {"ContoPartita", l.c},
                                   {"DareAvere", l.da},
                                   {"ImportoMon", l.importo},
                                   {"Importo", l.importo},
                                   {"ImpostaMon", l.imposta},
                                   {"Imposta", l.imposta},
                                   {"ImpostaIndetrMon", 0.0},
                                   {"ImpostaIndetr", 0.0},
                                   {"Iva", l.iva ? Value(l.iva) : Value()},
                                   {"Cambio", 1.0},
                                   {"PreProt", prefisso},
                                   {"NumProt", Value::Long(numero)},
                                   {"DataProt", dataDoc},
                                   {"PreDoc", prefisso},
                                   {"NumDoc", numDoc},
                                   {"DataDoc", dataDoc}});
    }
    fatti += riba ? 3 : 1;
  }

  HostDemo host(o);
  OperatoreDemo op;
  compensato::Contesto ctx(host, db, conn, op);
  compensato::LeggiIdentita(ctx);
  for (const auto& [anno, ultimo] : numeri) {
    compensato::posting::ArgomentiContab x;
    x.anno = static_cast<int16_t>(anno);
    x.creaScadenze = true;
    // Purchases too, with the bank of each account.
    x.forzaScadenze = true;
    compensato::posting::ContabMovPn(ctx, x);
    if (x.numErrori != 0 || !op.messaggi.empty())
      throw util::RuntimeError(
          util::err::kEngine,
          "contabilizzazione dei documenti " + std::to_string(anno) + ": " + x.testoErrori + op.messaggi,
          "democompany");
  }
}

}  // namespace

void CreaAzienda(db::DbExecutor& db, const std::string& conn, const Opzioni& opzioni) {
  const schema::Engine engine = opzioni.odbc ? schema::Engine::Postgres : schema::Engine::Sqlite;
  for (const std::string& ddl : schema::DdlStatements(schema::CompanySchema(), engine))
    db.Execute(conn, ddl, db::kPassThrough);
  db.BeginTrans(conn);
  try {
    Scrittore w(db, conn);
    PianoConti(w);
    Tabelle(w, opzioni);
    Documenti(w, db, conn, opzioni);
    db.CommitTrans(conn);
  } catch (...) {
    db.Rollback(conn);
    throw;
  }
}

std::map<std::string, long> ContaRighe(db::DbExecutor& db, const std::string& conn) {
  std::map<std::string, long> n;
  db::DbCursor c;
  for (const schema::Table& t : schema::CompanySchema().tables) {
    const std::string k = c.Open(db, conn, "", "SELECT COUNT(*) AS Numero FROM " + t.name, false, db::kSnapshot);
    n[t.name] = c.GetField(k, "Numero").toLong();
    c.Close(k);
  }
  return n;
}

std::string FileParametri(const std::string& nomeDatabase, const Opzioni& o) {
  std::ostringstream f;
  const int anno = o.oggi.year();
  f << "; Parameters the reference menu host serves for the demo company.\n"
    << "; Written by democompany; edit freely, the program reads it through the host.\n\n"
    << "[Host]\n"
    << "OperatorName=" << o.operatore << "\n"
    << "WorkDate=" << o.oggi.toText() << "\n"
    << "ProgramId=Compensa\n\n"
    << "[Azienda]\n"
    << "; the company database and how to reach it\n"
    << "NomeDBAzie=" << nomeDatabase << "\n"
    << "ConnectDBAzie=\n"
    << "PwdDbAzie=\n"
    << "SqlLogin=\n"
    << "SqlPwd=\n"
    << "ChiediPwdSql=N\n"
    << "VersMenu=1.07\n"
    << "Versione=5.2\n"
    << "DataVersione=01/12/2026\n"
    << "DescAzie=Officine Demo Ravelli S.r.l.\n"
    << "; currency of the company, the lira and euro codes, and the lira/euro rate\n"
    << "Ditta.Moneta=Euro\n"
    << "Ditta.CodLira=L.\n"
    << "Ditta.CodEuro=Euro\n"
    << "Ditta.OperCambio=/\n"
    << "Ditta.CambioLiraEuro=1936,27\n"
    << "; accounting year\n"
    << "CoGe.AnnoCorr=" << anno << "\n"
    << "CoGe.DataInizCont=01/01/" << anno << "\n"
    << "CoGe.DataFineCont=31/12/" << anno << "\n"
    << "CoGe.ApertoPrec=S\n"
    << "CoGe.IvaCassaAttiva=N\n"
    << "Coge.Azzera=S\n"
    << "Coge.AnnoAzzera=\n"
    << "; transaction codes and accounts the settlement proposes\n"
    << "CauCon.SaldaCauIncassi=INC\n"
    << "CauCon.SaldaCauPagamenti=PAG\n"
    << "CauCon.GruppoAbbAtt=70\nCauCon.MastroAbbAtt=05\nCauCon.ContoAbbAtt=000001\n"
    << "CauCon.GruppoAbbPass=62\nCauCon.MastroAbbPass=05\nCauCon.ContoAbbPass=000001\n"
    << "CauCon.GruppoCassaCont=18\nCauCon.MastroCassaCont=01\nCauCon.ContoCassaCont=000001\n"
    << "CauCon.GruppoCassaAss=18\nCauCon.MastroCassaAss=01\nCauCon.ContoCassaAss=000002\n"
    << "CauCon.GruppoIvaSplit=45\n"
    << "Fat.ContFatt=N\n"
    << "Fat.FattCreaScad=N\n\n"
    << "[Personali." << o.operatore << "]\n"
    << "; personal parameters: <section>.<name>=value\n"
    << "Tutti.DataMinima=01/01/1900\n"
    << "Tutti.Massimizzato=\n"
    << "Compen.DescAgg=\n";
  return f.str();
}

}  // namespace demo
