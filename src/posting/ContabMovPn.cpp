#include "src/posting/ContabMovPn.h"

#include <stdexcept>

#include "components/db/DbCursor.h"
#include "components/util/Error.h"
#include "components/util/SqlLiteral.h"
#include "src/data/ComLock.h"
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
constexpr const char* kDestRighe = "ContabMovPn.DestRighe";
constexpr const char* kDestIva = "ContabMovPn.DestIva";

std::string Testo(const util::Value& v) { return v.isNull() ? std::string() : v.toText(); }

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
  r.iva = Testo(iva);
  r.forzatura = Testo(c.FieldValue(kRighe, "Forzatura"));
  r.revCharge = Testo(c.FieldValue(kRighe, "RevCharge"));
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
    const std::string key = c.Open(
        ctx.db, ctx.conn, "",
        std::string("Select BeneServizio from Pianoconti") + " Where Gruppo = " +
            util::SqlLiteral(r.gruppoPartita, 8) + " And Mastro = " +
            util::SqlLiteral(r.mastroPartita, 8) + " And Conto = " + util::SqlLiteral(r.contoPartita, 8),
        false, db::kSnapshot);
    const bool merci = !c.IsEmpty(key) && Uguale(Testo(c.FieldValue(key, "BeneServizio")), "C");
    c.Close(key);
    return merci;
  } catch (const util::RuntimeError& e) {
    ui::MsgErrfrm(ctx.op, e);
    return false;
  }
}

void ChiudiTutto(db::DbCursor& c) {
  for (const char* k : {kRighe, kIva, kDestTestata, kDestRighe, kDestIva, kTestate}) {
    try {
      if (c.IsOpen(k)) c.Close(k);
    } catch (...) {
      // closing is tidying up; the outcome is already decided
    }
  }
}

void ChiudiRegistrazione(db::DbCursor& c) {
  for (const char* k : {kRighe, kIva, kDestTestata, kDestRighe, kDestIva})
    if (c.IsOpen(k)) c.Close(k);
}

}  // namespace

TabelleDestinazione Destinazione(const std::string& modo) {
  if (Uguale(modo, "F")) return {"MovPnTesFitt", "MovPnDettFitt", "MovPnIvaFitt", false};
  if (Uguale(modo, "A")) return {"MovPnTesFatt", "MovPnDettFatt", "MovPnIvaFatt", false};
  return {"MovPnTes", "MovPnDett", "MovPnIva", true};
}

void ContabMovPn(Contesto& ctx, ArgomentiContab& a) {
  a.numErrori = 0;
  const TabelleDestinazione dest = Destinazione(a.modo);
  const TabelleContab tabelle{a.tabTestata, a.tabRighe, dest.righe};
  db::DbCursor c;
  bool transazioneAperta = false;
  bool primaRigaCopiata = false;
  // Registrations whose schedule failed keep their source rows, header included.
  std::vector<int32_t> falliti;
  try {
    const ParametriContab parametri = LeggiParametri(ctx);
    CausaliLette causali(ctx);
    c.Open(ctx.db, ctx.conn, kTestate,
           "Select * from " + a.tabTestata + " where" + Intervallo(a, "And") + " Order by Anno, Numreg",
           false, db::kSnapshot);
    if (c.IsEmpty(kTestate)) {
      a.messaggio = "Non ci sono movimenti nell'intervallo";
      ChiudiTutto(c);
      return;
    }
    const std::string& L = a.tabRighe;
    for (c.MoveFirst(kTestate); !c.Eof(kTestate); c.MoveNext(kTestate)) {
      const TestataDocumento testata = LeggiTestata(c);
      const std::string anno = util::SqlLiteral(a.anno, 2);
      const std::string numero = util::SqlLiteral(testata.numReg, 3);
      c.Open(ctx.db, ctx.conn, kRighe,
             "Select " + L + ".*, Tabiva.RevCharge" + " from " + L + " Left Join Tabiva" + " On " + L +
                 ".Iva = Tabiva.Iva" + " where " + L + ".Anno=" + anno + " and " + L + ".NumReg=" +
                 numero + " Order by " + L + ".Anno, " + L + ".Numreg, " + L + ".Rigreg",
             false, db::kSnapshot);
      if (c.IsEmpty(kRighe)) {
        ChiudiRegistrazione(c);
        continue;
      }
      if (!a.inLinea) {
        c.Open(ctx.db, ctx.conn, kIva,
               "Select * from " + a.tabIva + " where " + a.tabIva + ".Anno=" + anno + " and " +
                   a.tabIva + ".NumReg=" + numero,
               false, db::kSnapshot);
        if (a.rinumera)
          c.Open(ctx.db, ctx.conn, kDestTestata, "Select * from " + dest.testata + " where False",
                 false, db::kUpdatable);
        c.Open(ctx.db, ctx.conn, kDestRighe, "Select * from " + dest.righe + " where False", false,
               db::kUpdatable);
        c.Open(ctx.db, ctx.conn, kDestIva, "Select * from " + dest.iva + " where False", false,
               db::kUpdatable);
      }
      const AttributiCausale& causale = causali.Leggi(testata.causale);

      if (!a.transazioneChiamante) {
        IniziaTransazione(ctx);
        transazioneAperta = true;
      }

      int32_t numReg = testata.numReg;
      if (a.rinumera && !a.inLinea) {
        numReg = ProssimoNumero(ctx, a.anno, dest.testata, "NumReg", !Uguale(parametri.azzera, "S"));
        if (a.mantieniNumero && numReg < testata.numReg) numReg = testata.numReg;
        c.CopyRecord(kTestate, kDestTestata, true, false, true);
        c.SetField(kDestTestata, "NumReg", util::Value(numReg));
        UpdateNoKeyDoppia(c, kDestTestata, "NumReg", numReg);
      }
      a.numRegContab = numReg;

      // One pass over the lines: gather the document's figures, copy the
      // line, then add it to the running totals.
      FigureDocumento figure;
      const util::Date dataReg = c.GetField(kTestate, "DataReg").toDate();
      const auto merci = [&ctx](const RigaMovimento& r) { return EContoMerci(ctx, r); };
      for (c.MoveFirst(kRighe); !c.Eof(kRighe); c.MoveNext(kRighe)) {
        const RigaMovimento riga = LeggiRiga(c);
        AccumulaRiga(figure, causale, riga, a.creaScadenze && !testata.pagamento.empty(), merci);
        if (!a.inLinea) {
          c.CopyRecord(kRighe, kDestRighe, true, false, true);
          if (a.rinumera) {
            c.SetField(kDestRighe, "NumReg", util::Value(numReg));
            if (!primaRigaCopiata) {
              a.annoPrimaRiga = c.GetField(kRighe, "Anno").toInteger();
              primaRigaCopiata = true;
            }
          }
          c.Update(kDestRighe);
        }
        if (dest.progressivi) {
          RigaProgressivo p{c.GetField(kRighe, "Anno").toInteger(), riga.tipoPartita,
                            riga.gruppoPartita, riga.mastroPartita, riga.contoPartita,
                            riga.dareAvere, riga.importo};
          AggiornaPdcProg(ctx, c, p, dataReg, causale.Apertura(), ctx.azienda.decAzienda);
        }
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
          RateRegistrazione(ctx, a, parametri, tabelle, testata, causale, figure, numReg, testoScadenze);
      if (erroriReg > 0) {
        a.numErrori = static_cast<int16_t>(a.numErrori + erroriReg);
        a.testoErrori += testoScadenze;
        falliti.push_back(testata.numReg);
      }
      ChiudiRegistrazione(c);
      if (!a.inLinea && erroriReg == 0) {
        ctx.db.Execute(ctx.conn, "Delete " + L + ".*" + " From " + L + " where " + L + ".Anno=" +
                                     anno + " and " + L + ".NumReg=" + numero);
        const std::string& V = a.tabIva;
        ctx.db.Execute(ctx.conn, "Delete " + V + ".*" + " From " + V + " where " + V + ".Anno=" +
                                     anno + " and " + V + ".NumReg=" + numero);
      }
      if (!a.transazioneChiamante) {
        transazioneAperta = false;
        if (erroriReg > 0)
          AnnullaTransazione(ctx);
        else
          ConfermaTransazione(ctx);
      }
    }
    if (a.rinumera && !a.inLinea) {
      // The headers of the range go once their registrations are posted; a
      // header whose schedule failed stays with its lines for a rerun.
      std::string sql = "Delete * from " + a.tabTestata + " where" + Intervallo(a, "and");
      for (int32_t n : falliti) sql += " and NumReg <> " + util::SqlLiteral(n, 3);
      ctx.db.Execute(ctx.conn, sql);
    }
  } catch (const std::exception& e) {
    const auto* re = dynamic_cast<const util::RuntimeError*>(&e);
    const int numeroErrore = re ? re->number()
                             : dynamic_cast<const std::invalid_argument*>(&e)
                                 ? util::err::kTypeMismatch
                                 : util::err::kEngine;
    a.numErrori = static_cast<int16_t>(a.numErrori + 1);
    a.testoErrori += " (ContabMovPn) Errore n°" + std::to_string(numeroErrore) + " " +
                     (re ? re->description() : std::string(e.what()));
    if (transazioneAperta) {
      try {
        AnnullaTransazione(ctx);
      } catch (...) {
        // a connection that is gone has rolled back by itself
      }
    }
  }
  ChiudiTutto(c);
}

}  // namespace compensato::posting
