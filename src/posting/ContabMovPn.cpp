#include "src/posting/ContabMovPn.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "components/db/DbCursor.h"
#include "components/util/Error.h"
#include "components/util/SqlLiteral.h"
#include "src/data/ComLock.h"
#include "src/data/CopiaRighe.h"
#include "src/data/Transazioni.h"
#include "src/posting/Causale.h"
#include "src/posting/FigureDocumento.h"
#include "src/posting/Progressivi.h"
#include "src/posting/RateFattura.h"
#include "src/ui/Errori.h"

namespace compensato::posting {
namespace {

// Keys of the result sets of one call, all in one cursor object.
constexpr const char* kTestate = "ContabMovPn.Testate";
constexpr const char* kRighe = "ContabMovPn.Righe";
constexpr const char* kIva = "ContabMovPn.Iva";
constexpr const char* kDestTestata = "ContabMovPn.DestTestata";
constexpr const char* kDestIva = "ContabMovPn.DestIva";

std::string Intervallo(const ArgomentiContab& a, const char* e) {
  std::string sql = std::string(" Anno = ") + util::SqlLiteral(a.anno, 2);
  if (a.numRegDa > 0) sql += std::string(" ") + e + " NumReg >= " + util::SqlLiteral(a.numRegDa, 3);
  if (a.numRegA > 0) sql += std::string(" ") + e + " NumReg <= " + util::SqlLiteral(a.numRegA, 3);
  return sql;
}

RigaMovimento LeggiRiga(db::DbCursor& c) {
  RigaMovimento r;
  r.rigReg = c.GetField(kRighe, "RigReg").toLong();
  r.tipoPartita = c.GetField(kRighe, "TipoPartita").toText();
  r.gruppoPartita = c.GetField(kRighe, "GruppoPartita").toText();
  r.mastroPartita = c.GetField(kRighe, "MastroPartita").toText();
  r.contoPartita = c.GetField(kRighe, "ContoPartita").toText();
  r.dareAvere = c.GetField(kRighe, "DareAvere").toText();
  r.importoMon = c.GetField(kRighe, "ImportoMon").toMoney();
  r.importo = c.GetField(kRighe, "Importo").toMoney();
  r.impostaMon = c.GetField(kRighe, "ImpostaMon").toMoney();
  r.imposta = c.GetField(kRighe, "Imposta").toMoney();
  const util::Value iva = c.FieldValue(kRighe, "Iva");
  r.ivaNulla = iva.isNull();
  r.iva = iva.toText();
  r.forzatura = c.FieldValue(kRighe, "Forzatura").toText();
  r.revCharge = c.FieldValue(kRighe, "RevCharge").toText();
  return r;
}

TestataDocumento LeggiTestata(db::DbCursor& c) {
  TestataDocumento t;
  t.anno = c.GetField(kTestate, "Anno").toInteger();
  t.numReg = c.GetField(kTestate, "NumReg").toLong();
  t.causale = c.GetField(kTestate, "Causale").toText();
  t.pagamento = c.GetField(kTestate, "Pagamento").toText();
  t.banca = c.FieldValue(kTestate, "Banca");
  t.ragRB = c.FieldValue(kTestate, "RagRB");
  t.moneta = c.GetField(kTestate, "Moneta").toText();
  t.cambio = c.GetField(kTestate, "Cambio").toDouble();
  t.preDoc = c.FieldValue(kTestate, "PreDoc");
  t.numDoc = c.FieldValue(kTestate, "NumDoc");
  t.dataDoc = c.FieldValue(kTestate, "DataDoc");
  t.preProt = c.FieldValue(kTestate, "PreProt");
  t.numProt = c.FieldValue(kTestate, "NumProt");
  t.dataProt = c.FieldValue(kTestate, "DataProt");
  t.annoFat = c.GetField(kTestate, "AnnoFat").toInteger();
  t.numRifFat = c.GetField(kTestate, "NumRifFat").toLong();
  t.cig = c.FieldValue(kTestate, "CIG");
  t.cup = c.FieldValue(kTestate, "CUP");
  return t;
}

bool EContoMerci(Contesto& ctx, const RigaMovimento& r) {
  try {
    db::DbCursor c;
    const std::string key = c.Open(ctx.db, ctx.conn, "",
                                   std::string("Select BeneServizio from Pianoconti") +
                                       " Where Gruppo = " + util::SqlLiteral(r.gruppoPartita, 8) +
                                       " And Mastro = " + util::SqlLiteral(r.mastroPartita, 8) +
                                       " And Conto = " + util::SqlLiteral(r.contoPartita, 8),
                                   false, db::kSnapshot);
    const bool merci = !c.IsEmpty(key) && Uguale(c.FieldValue(key, "BeneServizio").toText(), "C");
    c.Close(key);
    return merci;
  } catch (const util::RuntimeError& e) {
    ui::MsgErrfrm(ctx.op, e);
    return false;
  }
}

void ChiudiTutto(db::DbCursor& c) {
  for (const char* k : {kRighe, kIva, kDestTestata, kDestIva, kTestate}) {
    try {
      if (c.IsOpen(k)) c.Close(k);
    } catch (...) {
      // closing is tidying up; the outcome is already decided
    }
  }
}

void ChiudiRegistrazione(db::DbCursor& c) {
  for (const char* k : {kRighe, kIva, kDestTestata, kDestIva})
    if (c.IsOpen(k)) c.Close(k);
}

// The state of one call: what every registration of the range shares.
class Contabilizzazione {
 public:
  Contabilizzazione(Contesto& ctx, ArgomentiContab& a)
      : ctx_(ctx),
        a_(a),
        dest_(Destinazione(a.modo)),
        tabelle_{a.tabTestata, a.tabRighe, dest_.righe},
        parametri_(LeggiParametri(ctx)),
        causali_(ctx) {}

  void Esegui();
  // Rolls back what the engine began; never throws.
  void Annulla() {
    try {
      Termina(false);
    } catch (...) {
      // a connection that is gone has rolled back by itself
    }
  }
  db::DbCursor& Cursore() { return c_; }

 private:
  // Posts the registration the header cursor stands on; false when it was
  // held back by its schedule.
  bool Registrazione(const TestataDocumento& testata);
  void Inizia() {
    if (a_.transazioneChiamante) return;
    IniziaTransazione(ctx_);
    aperta_ = true;
  }
  void Termina(bool conferma) {
    if (!aperta_) return;
    aperta_ = false;
    if (conferma)
      ConfermaTransazione(ctx_);
    else
      AnnullaTransazione(ctx_);
  }
  // Only a collision with another user is worth a second try: any other
  // failure would fail the same way again.
  static bool Conflitto(const util::RuntimeError& e) {
    switch (e.number()) {
      case util::err::kDuplicateKey:
      case util::err::kSerializationFailure:
      case util::err::kDeadlock:
      case util::err::kLocked:
      case util::err::kWriteConflict: return true;
      default: return false;
    }
  }

  Contesto& ctx_;
  ArgomentiContab& a_;
  const TabelleDestinazione dest_;
  const TabelleContab tabelle_;
  const ParametriContab parametri_;
  CausaliLette causali_;
  db::DbCursor c_;
  bool aperta_ = false;
  bool primaRigaCopiata_ = false;
  // The lines' copy, made at the first registration with lines.
  std::optional<CopiaRighe> copiaRighe_;
  // Registrations whose schedule failed keep their source rows, header included.
  std::vector<int32_t> falliti_;
};

// Another operator posting to the same accounts at the same moment can make
// a registration collide on a new totals row or deadlock on an existing one.
// The registration is rolled back whole, so taking it again from its staged
// rows is safe.
constexpr int kTentativi = 5;

void Contabilizzazione::Esegui() {
  // Copying a registration onto its own table and then deleting its source
  // rows would destroy it: such a call changes nothing.
  if (!a_.inLinea && (Uguale(a_.tabRighe, dest_.righe) || Uguale(a_.tabIva, dest_.iva)))
    throw util::RuntimeError(util::err::kEngine,
                             "Le tabelle di origine " + a_.tabRighe + " e " + a_.tabIva +
                                 " sono quelle di destinazione: contabilizzare in linea",
                             "ContabMovPn");
  // Renumbering copies each header into the target header table and ends by
  // deleting the range from the source one; when they are the same table that
  // delete also takes the new headers, whose lines are already posted.
  if (a_.rinumera && !a_.inLinea && Uguale(a_.tabTestata, dest_.testata))
    throw util::RuntimeError(
        util::err::kEngine,
        "La tabella di origine " + a_.tabTestata + " è quella di destinazione: non si può rinumerare su se stessa",
        "ContabMovPn");
  c_.Open(ctx_.db, ctx_.conn, kTestate,
          "Select * from " + a_.tabTestata + " where" + Intervallo(a_, "And") + " Order by Anno, Numreg", false,
          db::kSnapshot);
  if (c_.IsEmpty(kTestate)) {
    a_.messaggio = "Non ci sono movimenti nell'intervallo";
    return;
  }
  for (c_.MoveFirst(kTestate); !c_.Eof(kTestate); c_.MoveNext(kTestate)) {
    const TestataDocumento testata = LeggiTestata(c_);
    for (int tentativo = 1;; ++tentativo) {
      try {
        if (!Registrazione(testata)) falliti_.push_back(testata.numReg);
        break;
      } catch (const util::RuntimeError& e) {
        if (a_.transazioneChiamante || !Conflitto(e) || tentativo == kTentativi) throw;
        Annulla();
        ChiudiRegistrazione(c_);
      }
    }
  }
  if (a_.rinumera && !a_.inLinea) {
    // The headers of the range go once their registrations are posted; a
    // header whose schedule failed stays with its lines for a rerun.
    std::string sql = "Delete * from " + a_.tabTestata + " where" + Intervallo(a_, "and");
    for (int32_t n : falliti_) sql += " and NumReg <> " + util::SqlLiteral(n, 3);
    ctx_.db.Execute(ctx_.conn, sql);
  }
}

bool Contabilizzazione::Registrazione(const TestataDocumento& testata) {
  db::DbCursor& c = c_;
  const ArgomentiContab& a = a_;
  const std::string& L = a.tabRighe;
  const std::string anno = util::SqlLiteral(a.anno, 2);
  const std::string numero = util::SqlLiteral(testata.numReg, 3);
  // The lines are copied by one statement, so the cursor reads only what the
  // figures and the totals need of them: a registration of a settlement run
  // may have tens of thousands of lines.
  std::string campi;
  for (const char* f : {"Anno", "NumReg", "RigReg", "TipoPartita", "GruppoPartita", "MastroPartita", "ContoPartita",
                        "DareAvere", "ImportoMon", "Importo", "ImpostaMon", "Imposta", "Iva", "Forzatura"})
    campi += L + "." + f + ", ";
  c.Open(ctx_.db, ctx_.conn, kRighe,
         "Select " + campi + "Tabiva.RevCharge" + " from " + L + " Left Join Tabiva" + " On " + L +
             ".Iva = Tabiva.Iva" + " where " + L + ".Anno=" + anno + " and " + L + ".NumReg=" + numero + " Order by " +
             L + ".Anno, " + L + ".Numreg, " + L + ".Rigreg",
         false, db::kSnapshot);
  if (c.IsEmpty(kRighe)) {
    ChiudiRegistrazione(c);
    return true;
  }
  if (!a.inLinea) {
    c.Open(
        ctx_.db, ctx_.conn, kIva,
        "Select * from " + a.tabIva + " where " + a.tabIva + ".Anno=" + anno + " and " + a.tabIva + ".NumReg=" + numero,
        false, db::kSnapshot);
    if (a.rinumera)
      c.Open(ctx_.db, ctx_.conn, kDestTestata, "Select * from " + dest_.testata + " where False", false,
             db::kUpdatable);
    // A settlement's entry has no VAT lines: the target's template only when
    // there is something to copy.
    if (!c.IsEmpty(kIva))
      c.Open(ctx_.db, ctx_.conn, kDestIva, "Select * from " + dest_.iva + " where False", false, db::kUpdatable);
  }
  const AttributiCausale& causale = causali_.Leggi(testata.causale);
  Inizia();

  int32_t numReg = testata.numReg;
  if (a.rinumera && !a.inLinea) {
    numReg = ProssimoNumero(ctx_, a.anno, dest_.testata, "NumReg", !Uguale(parametri_.azzera, "S"));
    if (a.mantieniNumero && numReg < testata.numReg) numReg = testata.numReg;
    c.CopyRecord(kTestate, kDestTestata, true, false, true);
    c.SetField(kDestTestata, "NumReg", util::Value(numReg));
    UpdateNoKeyDoppia(c, kDestTestata, "NumReg", numReg);
  }
  a_.numRegContab = numReg;

  // One pass over the lines gathers the document's figures and the running
  // totals; then the lines move to the target in one statement. All of it is
  // inside the registration's transaction, so the order is not seen outside.
  FigureDocumento figure;
  const util::Date dataReg = c.GetField(kTestate, "DataReg").toDate();
  Contesto& ctx = ctx_;
  const auto merci = [&ctx](const RigaMovimento& r) { return EContoMerci(ctx, r); };
  ProgressiviRegistrazione progressivi(ctx_, dataReg, causale.Apertura(), ctx_.azienda.decAzienda);
  for (c.MoveFirst(kRighe); !c.Eof(kRighe); c.MoveNext(kRighe)) {
    const RigaMovimento riga = LeggiRiga(c);
    AccumulaRiga(figure, causale, riga, a.creaScadenze && testata.pagamento.find_first_not_of(' ') != std::string::npos,
                 merci);
    if (!a.inLinea && a.rinumera && !primaRigaCopiata_) {
      a_.annoPrimaRiga = c.GetField(kRighe, "Anno").toInteger();
      primaRigaCopiata_ = true;
    }
    if (dest_.progressivi) {
      RigaProgressivo p{c.GetField(kRighe, "Anno").toInteger(),
                        riga.tipoPartita,
                        riga.gruppoPartita,
                        riga.mastroPartita,
                        riga.contoPartita,
                        riga.dareAvere,
                        riga.importo};
      progressivi.Aggiungi(p);
    }
  }
  progressivi.Scrivi();
  if (!a.inLinea) {
    std::vector<ValoreColonna> valori;
    if (a.rinumera) valori.push_back({"NumReg", util::SqlLiteral(numReg, 3)});
    if (!copiaRighe_) copiaRighe_.emplace(ctx_, L, dest_.righe);
    copiaRighe_->Esegui(L + ".Anno=" + anno + " and " + L + ".NumReg=" + numero, valori);
  }
  if (!a.inLinea) {
    for (c.MoveFirst(kIva); !c.Eof(kIva); c.MoveNext(kIva)) {
      c.CopyRecord(kIva, kDestIva, true, false, true);
      if (a.rinumera) c.SetField(kDestIva, "NumReg", util::Value(numReg));
      c.Update(kDestIva);
    }
  }

  std::string testoScadenze;
  // Judged per registration: a failed schedule holds back its own
  // registration only, not the ones after it.
  const int erroriReg =
      RateRegistrazione(ctx_, a, parametri_, tabelle_, testata, causale, figure, numReg, testoScadenze);
  ChiudiRegistrazione(c);
  if (!a.inLinea && erroriReg == 0) {
    ctx_.db.Execute(ctx_.conn, "Delete " + L + ".*" + " From " + L + " where " + L + ".Anno=" + anno + " and " + L +
                                   ".NumReg=" + numero);
    const std::string& V = a.tabIva;
    ctx_.db.Execute(ctx_.conn, "Delete " + V + ".*" + " From " + V + " where " + V + ".Anno=" + anno + " and " + V +
                                   ".NumReg=" + numero);
  }
  Termina(erroriReg == 0);
  if (erroriReg > 0) {
    a_.numErrori = static_cast<int16_t>(a_.numErrori + erroriReg);
    a_.testoErrori += testoScadenze;
  }
  return erroriReg == 0;
}

}  // namespace

TabelleDestinazione Destinazione(const std::string& modo) {
  if (Uguale(modo, "F")) return {"MovPnTesFitt", "MovPnDettFitt", "MovPnIvaFitt", false};
  if (Uguale(modo, "A")) return {"MovPnTesFatt", "MovPnDettFatt", "MovPnIvaFatt", false};
  return {"MovPnTes", "MovPnDett", "MovPnIva", true};
}

void ContabMovPn(Contesto& ctx, ArgomentiContab& a) {
  a.numErrori = 0;
  std::unique_ptr<Contabilizzazione> lavoro;
  try {
    lavoro = std::make_unique<Contabilizzazione>(ctx, a);
    lavoro->Esegui();
  } catch (const std::exception& e) {
    const util::RuntimeError r = util::AsRuntimeError(e);
    a.numErrori = static_cast<int16_t>(a.numErrori + 1);
    a.testoErrori += " (ContabMovPn) Errore n°" + std::to_string(r.number()) + " " + r.description();
    if (lavoro) lavoro->Annulla();
  }
  if (lavoro) ChiudiTutto(lavoro->Cursore());
}

}  // namespace compensato::posting
