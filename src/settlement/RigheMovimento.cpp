#include "src/settlement/RigheMovimento.h"

#include <optional>
#include <set>

#include "components/db/DbCursor.h"
#include "components/util/AccountCode.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"
#include "src/company/ParametriAzienda.h"
#include "src/data/ConversioneRun.h"
#include "src/extraction/FiltroScadenze.h"
#include "src/ui/Errori.h"

namespace compensato {
namespace {

constexpr const char* kTitoloRighe = "Creazione dettagli movimento di prima nota";

util::Money ArrotondaAzienda(const Contesto& ctx, util::Money v) {
  return v.Rounded(static_cast<int>(ctx.azienda.decAzienda));
}

bool RunInValuta(const Contesto& ctx) {
  return !ctx.run.monetaRun.empty() && !util::EqualsIgnoreCase(ctx.run.monetaRun, ctx.azienda.monetaAzienda);
}

// An amount of the run's currency, to that currency's decimals: cut to the
// company's two, the dollars of a three-decimal currency would no longer
// balance between the customers' lines and the cash line.
util::Money ArrotondaMoneta(Contesto& ctx, util::Money v) {
  if (!RunInValuta(ctx)) return ArrotondaAzienda(ctx, v);
  return v.Rounded(static_cast<int>(company::LeggiMoneta(ctx.db, ctx.conn, ctx.run.monetaRun).numDec));
}

// The company-currency equivalent of an amount of the run's currency, rounded
// by the conversion to the company's decimals.
util::Money InAzienda(Contesto& ctx, util::Money importo) {
  const company::ImportiConvertiti imp = ConvertiPerScadenza(ctx, importo.toDouble());
  return util::Money::FromDouble(util::EqualsIgnoreCase(ctx.azienda.monetaAzienda, ctx.azienda.codLira) ? imp.lire
                                                                                                        : imp.euro);
}

// A field of the line being built.
void Campo(Contesto& ctx, const std::string& campo, const util::Value& v) {
  ctx.run.righe.Imposta(ctx.db, ctx.conn, campo, v);
}

// A new line with the fields every line of the run carries. `origine` is the
// state of the installment it settles ("" for the closing line), which names
// the run's step should the line be refused when it is written.
void NuovaRiga(Contesto& ctx, int32_t numeroRiga, const std::string& origine) {
  StatoRun& r = ctx.run;
  r.righe.Nuova(origine);
  for (const char* campo :
       {"ImportoMon", "Importo", "ImpostaMon", "Imposta", "ImpostaIndetrMon", "ImpostaIndetr", "Cambio"})
    Campo(ctx, campo, util::Value(0.0));
  Campo(ctx, "Anno", util::Value(r.par.anno));
  Campo(ctx, "NumReg", util::Value(r.numReg));
  Campo(ctx, "RigReg", util::Value(numeroRiga));
  Campo(ctx, "RigLiv", util::Value(numeroRiga));
  Campo(ctx, "CentroDiCosto", util::Value(r.par.cdc));
  Campo(ctx, "Cambio", util::Value(r.par.cambio));
}

// Sets the current line's account ("") or counter account ("C").
void ScriviConto(Contesto& ctx, const char* prefisso, const std::string& tipo, const std::string& gruppo,
                 const std::string& mastro, const std::string& conto) {
  const std::string p(prefisso);
  Campo(ctx, "Tipo" + p + "Partita", util::Value(tipo));
  Campo(ctx, "Gruppo" + p + "Partita", util::Value(gruppo));
  Campo(ctx, "Mastro" + p + "Partita", util::Value(mastro));
  Campo(ctx, "Conto" + p + "Partita", util::Value(conto));
}

// Sets an account of the current line from a run parameter's full code.
void ScriviContoParametro(Contesto& ctx, const char* prefisso, const std::string& codice) {
  const util::AccountParts d = util::SplitAccountCode(codice);
  ScriviConto(ctx, prefisso, "1", d.gruppo, d.mastro, d.conto);
}

// Protocol of an installment-group line: the run's when it has one, else the installment's.
void ScriviProtocollo(Contesto& ctx, const std::string& preProt, int32_t numProt, const util::Date& dataProt) {
  const ParametriRun& p = ctx.run.par;
  if (p.numProt != 0) {
    Campo(ctx, "PreProt", util::Value(p.prefProt));
    ctx.run.righe.ImpostaNumero(ctx.db, ctx.conn, "NumProt", util::Value(p.numProt));
    ctx.run.righe.ImpostaData(ctx.db, ctx.conn, "DataProt", util::Value(p.dataProt));
  } else {
    Campo(ctx, "PreProt", util::Value(preProt));
    ctx.run.righe.ImpostaNumero(ctx.db, ctx.conn, "NumProt", util::Value(numProt));
    ctx.run.righe.ImpostaData(ctx.db, ctx.conn, "DataProt", util::Value(dataProt));
  }
}

// Sets the current line's document, protocol and added description from the
// installment it settles.
void ScriviDocumento(Contesto& ctx, const RigaScadenza& s) {
  if (!ctx.run.descAggRighe.empty())
    Campo(ctx, "DescrAgg", util::Value(ctx.run.descAggRighe + " " + s.dataScad.toText()));
  Campo(ctx, "PreDoc", util::Value(s.prefisso));
  Campo(ctx, "NumDoc", util::Value(s.numDoc));
  ctx.run.righe.ImpostaData(ctx.db, ctx.conn, "DataDoc", util::Value(s.dataDoc));
  ScriviProtocollo(ctx, s.preProt, s.numProt, s.dataProt);
}

// Sets the current line's amounts in the run's and the company's currency.
void ScriviImporti(Contesto& ctx, util::Money mon, util::Money azienda) {
  Campo(ctx, "ImportoMon", util::Value(mon));
  Campo(ctx, "Importo", util::Value(azienda));
}

// A document's key among the cash-basis ones: text compared without regard
// to case, as the engines compare these columns.
std::string ChiaveDocumento(const std::string& prefisso, const std::string& numDoc, const util::Date& dataDoc,
                            const std::string& gruppo, const std::string& mastro, const std::string& conto) {
  const char sep = '\x1f';
  return util::ToLower(prefisso) + sep + util::ToLower(numDoc) + sep + dataDoc.iso() + sep + util::ToLower(gruppo) +
         sep + util::ToLower(mastro) + sep + util::ToLower(conto);
}

// Every document whose own entry is on a cash basis, by one query for the
// whole run instead of one per installment. A row with a null in the key
// can match no installment: the installment's values are never null there.
std::set<std::string> DocumentiIvaCassa(Contesto& ctx) {
  const std::string sql = "Select MovPnTes.PreDoc, MovPnTes.NumDoc, MovPnTes.DataDoc, MovPnDett.GruppoPartita, "
                          "MovPnDett.MastroPartita, MovPnDett.ContoPartita from MovPnTes" +
                          std::string(" INNER JOIN MovPnDett") + " ON MovPnDett.Anno = MovPnTes.Anno" +
                          " AND MovPnDett.NumReg = MovPnTes.NumReg" +
                          " Where MovPnDett.RigReg = 1 And MovPnTes.IvaPerCassa = " + util::SqlLiteral("S", 8);
  db::DbCursor c;
  const std::string k = c.Open(ctx.db, ctx.conn, "", sql, false, db::kSnapshot);
  std::set<std::string> documenti;
  const char* campi[] = {"PreDoc", "NumDoc", "DataDoc", "GruppoPartita", "MastroPartita", "ContoPartita"};
  for (; !c.Eof(k); c.MoveNext(k)) {
    bool nullo = false;
    for (const char* f : campi) nullo = nullo || c.FieldValue(k, f).isNull();
    if (nullo) continue;
    documenti.insert(ChiaveDocumento(c.GetField(k, "PreDoc").toText(), c.GetField(k, "NumDoc").toText(),
                                     c.GetField(k, "DataDoc").toDate(), c.GetField(k, "GruppoPartita").toText(),
                                     c.GetField(k, "MastroPartita").toText(), c.GetField(k, "ContoPartita").toText()));
  }
  c.Close(k);
  return documenti;
}

// Whether the invoice's own entry is kept on a cash basis for VAT: its header
// with the installment's document and its first line on the installment's
// account.
std::string IvaPerCassa(Contesto& ctx, const RigaScadenza& s) {
  if (util::EqualsIgnoreCase(ctx.host.GetParameter("CoGe.IvaCassaAttiva").toText(), "N")) return "N";
  std::optional<std::set<std::string>>& documenti = ctx.run.documentiIvaCassa;
  if (!documenti) documenti = DocumentiIvaCassa(ctx);
  return documenti->count(ChiaveDocumento(s.prefisso, s.numDoc, s.dataDoc, s.gruppoScad, s.mastroScad, s.contoScad))
             ? "S"
             : "N";
}

void Errore(Contesto& ctx, const std::exception& e) {
  ui::MsgErrfrm(ctx.op, util::AsRuntimeError(e), "", "", std::string(kTitoloRighe));
}

}  // namespace

int CreaRigheScadenza(Contesto& ctx, const RigaScadenza& s, int32_t& rigLiv) {
  StatoRun& r = ctx.run;
  try {
    const util::Money zero;
    const util::Money p = s.pagato;
    const bool entrata = util::EqualsIgnoreCase(s.entrataUscita, "E");
    util::Money resto = s.dovuto - p;
    util::Money pAzienda = p, restoAzienda;
    if (RunInValuta(ctx)) {
      pAzienda = InAzienda(ctx, p);
      restoAzienda = InAzienda(ctx, resto);
    } else {
      resto = ArrotondaAzienda(ctx, resto);
      restoAzienda = resto;
    }
    if (resto < zero) {
      r.totEccedenza += resto;
      r.totEccedenzaAzienda += restoAzienda;
      // The counter line of the allowance pair moves |R| on the cash account
      // in the direction of the installment's money.
      if (entrata) {
        r.totEccedenzaNetta += util::Abs(resto);
        r.totEccedenzaNettaAzienda += util::Abs(restoAzienda);
      } else {
        r.totEccedenzaNetta -= util::Abs(resto);
        r.totEccedenzaNettaAzienda -= util::Abs(restoAzienda);
      }
    }

    r.contaRighe += 1;
    rigLiv = r.contaRighe;
    const std::string ivaCassa = IvaPerCassa(ctx, s);

    NuovaRiga(ctx, r.contaRighe, s.statoScad);
    ScriviDocumento(ctx, s);
    ScriviConto(ctx, "", s.tipo, s.gruppoScad, s.mastroScad, s.contoScad);
    ScriviContoParametro(ctx, "C", r.par.contoPartita);
    if (entrata)
      Campo(ctx, "DareAvere", util::Value(p < zero ? "D" : "A"));
    else
      Campo(ctx, "DareAvere", util::Value(p < zero ? "A" : "D"));
    if (resto < zero)
      ScriviImporti(ctx, ArrotondaMoneta(ctx, util::Abs(p) + resto),
                    ArrotondaAzienda(ctx, util::Abs(pAzienda) + restoAzienda));
    else
      ScriviImporti(ctx, util::Abs(p), util::Abs(pAzienda));
    Campo(ctx, "IvaPerCassa", util::Value(ivaCassa));
    r.righe.Aggiungi();
    if (entrata) {
      r.totPagato += p;
      r.totPagatoAzienda += pAzienda;
    } else {
      r.totPagato -= p;
      r.totPagatoAzienda -= pAzienda;
    }

    if (util::EqualsIgnoreCase(s.statoScad, "C") && resto != zero) {
      const bool abbAtt = (!entrata && resto > zero) || (entrata && resto < zero);
      r.contaRighe += 1;
      NuovaRiga(ctx, r.contaRighe, s.statoScad);
      ScriviDocumento(ctx, s);
      ScriviContoParametro(ctx, "", abbAtt ? r.par.contoAbbAtt : r.par.contoAbbPas);
      Campo(ctx, "DareAvere", util::Value(abbAtt ? "A" : "D"));
      ScriviConto(ctx, "C", s.tipo, s.gruppoScad, s.mastroScad, s.contoScad);
      ScriviImporti(ctx, util::Abs(resto), util::Abs(restoAzienda));
      r.righe.Aggiungi();

      const bool avere = (entrata && resto > zero) || (!entrata && resto < zero);
      r.contaRighe += 1;
      NuovaRiga(ctx, r.contaRighe, s.statoScad);
      ScriviDocumento(ctx, s);
      if (resto < zero)
        ScriviContoParametro(ctx, "", r.par.contoPartita);
      else
        ScriviConto(ctx, "", s.tipo, s.gruppoScad, s.mastroScad, s.contoScad);
      Campo(ctx, "DareAvere", util::Value(avere ? "A" : "D"));
      ScriviContoParametro(ctx, "C", avere ? r.par.contoAbbPas : r.par.contoAbbAtt);
      ScriviImporti(ctx, util::Abs(resto), util::Abs(restoAzienda));
      r.righe.Aggiungi();
    }
    return 0;
  } catch (const std::exception& e) {
    Errore(ctx, e);
  }
  return 1;
}

int CreaRigheChiusura(Contesto& ctx, int32_t numScadenze, const ScadenzaRiferimento& rif) {
  StatoRun& r = ctx.run;
  try {
    r.contaRighe = 1;
    NuovaRiga(ctx, 1, "");
    ScriviContoParametro(ctx, "", r.par.contoPartita);
    if (numScadenze == 1) {
      Campo(ctx, "PreDoc", util::Value(rif.prefisso));
      Campo(ctx, "NumDoc", util::Value(rif.numDoc));
      ctx.run.righe.ImpostaData(ctx.db, ctx.conn, "DataDoc", util::Value(rif.dataDoc));
      ScriviProtocollo(ctx, rif.preProt, rif.numProt, rif.dataProt);
      ScriviConto(ctx, "C", rif.tipo, rif.gruppoScad, rif.mastroScad, rif.contoScad);
    } else {
      Campo(ctx, "NumProt", util::Value(""));
    }
    const util::Money zero;
    const util::Money netto = r.totPagato - r.totEccedenzaNetta;
    const util::Money nettoAzienda = r.totPagatoAzienda - r.totEccedenzaNettaAzienda;
    // Customers' runs book the cash in debit, suppliers' in credit; the
    // reference installment tells the kind also when recovery completes a run.
    const bool clienti = rif.tipo.empty() ? r.selezione.tipoConto == 3 : rif.tipo == "3";
    const char* verso = clienti ? (netto < zero ? "A" : "D") : (netto > zero ? "D" : "A");
    Campo(ctx, "DareAvere", util::Value(verso));
    ScriviImporti(ctx, ArrotondaMoneta(ctx, util::Abs(netto)), ArrotondaAzienda(ctx, util::Abs(nettoAzienda)));
    r.righe.Aggiungi();
    return 0;
  } catch (const std::exception& e) {
    Errore(ctx, e);
  }
  return 1;
}

int ScriviRigheMovimento(Contesto& ctx, std::string& statoRifiutato) {
  try {
    ctx.run.righe.Scrivi(ctx.db, ctx.conn, statoRifiutato);
    return 0;
  } catch (const std::exception& e) {
    Errore(ctx, e);
  }
  return 1;
}

}  // namespace compensato
