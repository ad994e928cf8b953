#include "tests/src/settlement/AziendaProva.h"

#include <cmath>
#include <map>
#include <stdexcept>

#include "components/db/Recordset.h"
#include "components/util/SqlLiteral.h"
#include "src/extraction/Blocco.h"
#include "src/extraction/CopiaScadenze.h"
#include "src/extraction/FiltroScadenze.h"
#include "src/settlement/Elaborazione.h"
#include "src/worklist/QueryLista.h"
#include "tests/support/Invarianti.h"

namespace testsupport {
namespace {

std::string L(const util::Value& v, int tipo) { return util::SqlLiteral(v, tipo); }

}  // namespace

AziendaProva::AziendaProva(Engine engine) : database(engine) {
  host.parametri["CoGe.IvaCassaAttiva"] = util::Value("N");
  host.parametri["Ditta.Moneta"] = util::Value("Euro");
  ctx_ = std::make_unique<compensato::Contesto>(host, database.executor(), database.conn(), op);
  compensato::LeggiIdentita(*ctx_);

  auto& db = database.executor();
  const std::string& c = database.conn();
  struct Conto {
    const char *g, *m, *k;
    int tipo;
    const char* descrizione;
  };
  const Conto conti[] = {
      {"18", "01", "000001", 1, "Cassa"},           {"70", "05", "000001", 1, "Abbuoni attivi"},
      {"62", "05", "000001", 1, "Abbuoni passivi"}, {"14", "01", "000001", 3, "Alfa S.r.l."},
      {"14", "01", "000002", 3, "Beta S.p.A."},     {"14", "01", "000003", 3, "Gamma S.n.c."},
      {"40", "01", "000001", 2, "Delta S.r.l."},    {"40", "01", "000002", 2, "Epsilon S.p.A."},
  };
  for (const Conto& k : conti)
    db.Execute(c, "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES (" + L(k.g, 8) + "," +
                      L(k.m, 8) + "," + L(k.k, 8) + "," + L(util::Value::Integer(k.tipo), 2) + "," +
                      L(k.descrizione, 8) + ")");
  db.Execute(c, "INSERT INTO PagTipi (PagTipo, Descrizione, EmissEffetti, RegIncAut) VALUES ('RD', "
                "'Rimessa diretta', 'N', 'N')");
  db.Execute(c, "INSERT INTO Monete (Moneta, Descrizione, NumDec, NumDecGest, Operatore, Cee) VALUES "
                "('Euro', 'Euro', 2, 2, '/', 'S')");
  db.Execute(c, "INSERT INTO Causali (Causale, Descrizione, TipoCausale, TipoReg) VALUES ('INC', "
                "'Incasso', '', '')");
}

AziendaProva::~AziendaProva() = default;

void AziendaProva::Inserisci(const NuovaScadenza& s) {
  const std::string numDoc = s.numDoc.empty() ? "F" + std::to_string(s.numProg) : s.numDoc;
  ctx_->db.Execute(ctx_->conn,
                   "INSERT INTO Scadenze (Anno, NumProg, Tipo, GruppoScad, MastroScad, ContoScad, DataScad, PagTipo, "
                   "Prefisso, NumDoc, DataDoc, Rata, Moneta, Cambio, EntrataUscita, ImportoScad, ImportoScadEuro, "
                   "ImportoScadLire, ImpPagInc, StatoScad, Utente) VALUES (" +
                       L(s.anno, 2) + "," + L(s.numProg, 3) + "," + L(util::Value::Integer(s.tipo), 2) + "," +
                       L(s.tipo == 3 ? "14" : "40", 8) + ",'01'," + L(s.conto, 8) + "," + L(s.dataScad, 7) +
                       ",'RD','V'," + L(numDoc, 8) + "," + L(s.dataDoc, 7) + ",1,'Euro',1," + L(s.entrataUscita, 8) +
                       "," + L(s.importo, 5) + "," + L(s.importo, 5) + "," + L(std::round(s.importo * 1936.27), 5) +
                       ",0,'',' ')");
}

void AziendaProva::PreparaLista(int tipo, double massimo) {
  compensato::Contesto& c = *ctx_;
  c.run.selezione = Selezione(false, tipo, massimo);
  compensato::CostruisciFiltroScadenze(c, "Scadenze");
  if (compensato::RiservaECopia(c) != 0) throw std::runtime_error("riserva e copia non riuscite: " + op.Elenco());
}

std::vector<std::string> Campi(const std::string& riga) {
  std::vector<std::string> v;
  size_t a = 0;
  for (size_t b; (b = riga.find('|', a)) != std::string::npos; a = b + 1) v.push_back(riga.substr(a, b - a));
  v.push_back(riga.substr(a));
  return v;
}

compensato::SelezioneRun SelezioneProva(bool automatica, int tipo, double massimo) {
  compensato::SelezioneRun s;
  s.automatica = automatica;
  s.tipoConto = static_cast<int16_t>(tipo);
  s.moneta = "Euro";
  s.cambio = 1;
  s.importoMassimo = massimo;
  s.causale = "INC";
  s.contoPartita = "1801000001";
  s.contoAbbAtt = "7005000001";
  s.contoAbbPas = "6205000001";
  s.dataReg = util::Date::Carry(2026, 12, 10);
  s.anno = 2026;
  s.cdc = "";
  s.prefProt = ".";
  s.ordinamento = 3;
  return s;
}

std::vector<std::string> AziendaProva::Righe(const std::string& sql) {
  db::DbCursor c;
  const std::string k = c.Open(ctx_->db, ctx_->conn, "", sql, false, db::kSnapshot);
  std::vector<std::string> righe;
  auto& rs = c.GetRecordset(k);
  for (; !c.Eof(k); c.MoveNext(k)) {
    std::string r;
    for (int i = 0; i < rs.columnCount(); ++i) {
      if (i) r += "|";
      r += rs.value(rs.position(), i).toText();
    }
    righe.push_back(r);
  }
  c.Close(k);
  return righe;
}

double AziendaProva::Numero(const std::string& sql) {
  db::DbCursor c;
  const std::string k = c.Open(ctx_->db, ctx_->conn, "", sql, false, db::kSnapshot);
  const double n = c.IsEmpty(k) ? 0 : c.GetRecordset(k).field(0, 0).toDouble();
  c.Close(k);
  return n;
}

std::string AziendaProva::Invarianti() {
  std::string errori = VerificaInvarianti(ctx_->db, ctx_->conn);
  // A settlement entry balances in the run's currency as well.
  for (const std::string& r : Righe("SELECT Anno, NumReg FROM MovPnDett GROUP BY Anno, NumReg "
                                    "HAVING ABS(SUM(IIF(DareAvere = 'D', ImportoMon, -ImportoMon))) > 0.00001"))
    errori += "registrazione non bilanciata in moneta " + r + "\n";
  return errori;
}

void GrigliaProva::Prepara(compensato::Contesto& ctx) {
  key_ =
      cursore_.Open(ctx.db, ctx.conn, "",
                    compensato::QueryListaScadenze(ctx.run.tabScadenzeApp, ctx.utente, ctx.run.selezione.ordinamento),
                    false, db::kUpdatable);
  if (cursore_.IsEmpty(key_)) {
    ui::Avviso(ctx.op, "Non ci sono scadenze che rientrano nelle selezioni");
    ctx.run.esitoLista = 1000;
  }
}

void GrigliaProva::Mostra(compensato::Contesto& ctx) {
  if (!conferma) {
    compensato::CancellaScadenzeApp(ctx, ctx.run.tabScadenzeApp, ctx.utente, true);
    return;
  }
  std::map<int32_t, Scelta> perNumero;
  for (const Scelta& s : scelte) perNumero[s.numProg] = s;
  auto& rs = cursore_.GetRecordset(key_);
  for (cursore_.MoveFirst(key_); !cursore_.Eof(key_); cursore_.MoveNext(key_)) {
    const auto it = perNumero.find(rs.field(rs.position(), compensato::lista::kNumProg).toLong());
    if (it == perNumero.end()) continue;
    cursore_.Edit(key_);
    cursore_.SetField(key_, "StatoScad", util::Value(it->second.stato));
    cursore_.SetField(key_, "ImpPagInc", util::Value(it->second.pagato));
    cursore_.Update(key_);
  }
  esitoElab = compensato::InizioElab(ctx, cursore_, key_);
  cursore_.Close(key_);
}

}  // namespace testsupport
