#include "src/settlement/RigheMovimento.h"

#include <cmath>

#include "components/db/DbCursor.h"
#include "components/util/AccountCode.h"
#include "components/util/Round.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"
#include "src/company/ParametriAzienda.h"
#include "src/data/ConversioneRun.h"
#include "src/data/CampiOpzionali.h"
#include "src/extraction/FiltroScadenze.h"
#include "src/ui/Errori.h"

namespace compensato {
namespace {

constexpr const char* kTitoloRighe = "Creazione dettagli movimento di prima nota";


double ArrotondaAzienda(const Contesto& ctx, double v) {
  return util::Round(v, "A", 1, -static_cast<int>(ctx.azienda.decAzienda));
}

bool RunInValuta(const Contesto& ctx) {
  return !ctx.run.monetaRun.empty() && !util::EqualsIgnoreCase(ctx.run.monetaRun, ctx.azienda.monetaAzienda);
}

// An amount of the run's currency, to that currency's decimals: cut to the
// company's two, the dollars of a three-decimal currency would no longer
// balance between the customers' lines and the cash line.
double ArrotondaMoneta(Contesto& ctx, double v) {
  if (!RunInValuta(ctx)) return ArrotondaAzienda(ctx, v);
  return util::Round(v, "A", 1, -static_cast<int>(company::LeggiMoneta(ctx.db, ctx.conn, ctx.run.monetaRun).numDec));
}

// The company-currency equivalent of an amount of the run's currency.
double InAzienda(Contesto& ctx, double importo) {
  const company::ImportiConvertiti imp = ConvertiPerScadenza(ctx, importo);
  return util::EqualsIgnoreCase(ctx.azienda.monetaAzienda, ctx.azienda.codLira) ? imp.lire : imp.euro;
}

// A new row of the line set with the fields every line of the run carries.
void NuovaRiga(Contesto& ctx, int32_t numeroRiga) {
  StatoRun& r = ctx.run;
  db::DbCursor& c = *r.tabelle;
  const std::string& k = r.keyRighe;
  c.AddNew(k);
  for (const char* campo : {"ImportoMon", "Importo", "ImpostaMon", "Imposta", "ImpostaIndetrMon",
                            "ImpostaIndetr", "Cambio"})
    c.SetField(k, campo, util::Value(0.0));
  c.SetField(k, "Anno", util::Value(r.par.anno));
  c.SetField(k, "NumReg", util::Value(r.numReg));
  c.SetField(k, "RigReg", util::Value(numeroRiga));
  c.SetField(k, "RigLiv", util::Value(numeroRiga));
  c.SetField(k, "CentroDiCosto", util::Value(r.par.cdc));
  c.SetField(k, "Cambio", util::Value(r.par.cambio));
}

void Conto(Contesto& ctx, const char* prefisso, const std::string& tipo, const std::string& gruppo,
           const std::string& mastro, const std::string& conto) {
  db::DbCursor& c = *ctx.run.tabelle;
  const std::string& k = ctx.run.keyRighe;
  const std::string p(prefisso);
  c.SetField(k, "Tipo" + p + "Partita", util::Value(tipo));
  c.SetField(k, "Gruppo" + p + "Partita", util::Value(gruppo));
  c.SetField(k, "Mastro" + p + "Partita", util::Value(mastro));
  c.SetField(k, "Conto" + p + "Partita", util::Value(conto));
}

void ContoParametro(Contesto& ctx, const char* prefisso, const std::string& codice) {
  const util::AccountParts d = util::SplitAccountCode(codice);
  Conto(ctx, prefisso, "1", d.gruppo, d.mastro, d.conto);
}

// Protocol of an installment-group line: the run's when it has one, else the installment's.
void Protocollo(Contesto& ctx, const std::string& preProt, int32_t numProt, const util::Date& dataProt) {
  db::DbCursor& c = *ctx.run.tabelle;
  const std::string& k = ctx.run.keyRighe;
  const ParametriRun& p = ctx.run.par;
  if (p.numProt != 0) {
    c.SetField(k, "PreProt", util::Value(p.prefProt));
    ScriviNumero(c, k, "NumProt", util::Value(p.numProt));
    ScriviData(c, k, "DataProt", util::Value(p.dataProt));
  } else {
    c.SetField(k, "PreProt", util::Value(preProt));
    ScriviNumero(c, k, "NumProt", util::Value(numProt));
    ScriviData(c, k, "DataProt", util::Value(dataProt));
  }
}

void CampiGruppo(Contesto& ctx, const RigaScadenza& s) {
  db::DbCursor& c = *ctx.run.tabelle;
  const std::string& k = ctx.run.keyRighe;
  if (!ctx.run.descAggRighe.empty())
    c.SetField(k, "DescrAgg", util::Value(ctx.run.descAggRighe + " " + s.dataScad.toText()));
  c.SetField(k, "PreDoc", util::Value(s.prefisso));
  c.SetField(k, "NumDoc", util::Value(s.numDoc));
  ScriviData(c, k, "DataDoc", util::Value(s.dataDoc));
  Protocollo(ctx, s.preProt, s.numProt, s.dataProt);
}

void Importi(Contesto& ctx, double mon, double azienda) {
  db::DbCursor& c = *ctx.run.tabelle;
  c.SetField(ctx.run.keyRighe, "ImportoMon", util::Value(mon));
  c.SetField(ctx.run.keyRighe, "Importo", util::Value(azienda));
}

// Whether the invoice's own entry is kept on a cash basis for VAT.
std::string IvaPerCassa(Contesto& ctx, const RigaScadenza& s) {
  if (util::EqualsIgnoreCase(ctx.host.GetParameter("CoGe.IvaCassaAttiva").toText(), "N")) return "N";
  const std::string sql =
      "Select MovPnTes.IvaPerCassa from MovPnTes" + std::string(" INNER JOIN MovPnDett") +
      " ON MovPnDett.Anno = MovPnTes.Anno" + " AND MovPnDett.NumReg = MovPnTes.NumReg" +
      " Where MovPnTes.PreDoc = " + util::SqlLiteral(s.prefisso, 8) +
      " And MovPnTes.NumDoc = " + util::SqlLiteral(s.numDoc, 8) +
      " And MovPnTes.dataDoc = " + util::SqlLiteral(s.dataDoc, 7) +
      " And MovPnDett.GruppoPartita = " + util::SqlLiteral(s.gruppoScad, 8) +
      " And MovPnDett.MastroPartita = " + util::SqlLiteral(s.mastroScad, 8) +
      " And MovPnDett.ContoPartita = " + util::SqlLiteral(s.contoScad, 8) + " And MovPnDett.RigReg = 1";
  db::DbCursor c;
  const std::string k = c.Open(ctx.db, ctx.conn, "", sql, false, db::kSnapshot);
  std::string esito = "N";
  if (!c.IsEmpty(k) && util::EqualsIgnoreCase(c.GetField(k, "IvaPerCassa").toText(), "S")) esito = "S";
  c.Close(k);
  return esito;
}

void Errore(Contesto& ctx, const std::exception& e) {
  ui::MsgErrfrm(ctx.op, util::AsRuntimeError(e), "", "", std::string(kTitoloRighe));
}

}  // namespace

int CreaRigheScadenza(Contesto& ctx, const RigaScadenza& s, int32_t& rigLiv) {
  StatoRun& r = ctx.run;
  try {
    const double p = s.pagato;
    const bool entrata = util::EqualsIgnoreCase(s.entrataUscita, "E");
    double resto = s.dovuto - p;
    double pAzienda = p, restoAzienda = 0;
    if (RunInValuta(ctx)) {
      pAzienda = InAzienda(ctx, p);
      restoAzienda = InAzienda(ctx, resto);
    } else {
      resto = ArrotondaAzienda(ctx, resto);
      restoAzienda = resto;
    }
    if (resto < 0) {
      r.totEccedenza += resto;
      r.totEccedenzaAzienda += restoAzienda;
      // The counter line of the allowance pair moves |R| on the cash account
      // in the direction of the installment's money.
      const double verso = entrata ? 1 : -1;
      r.totEccedenzaNetta += verso * std::fabs(resto);
      r.totEccedenzaNettaAzienda += verso * std::fabs(restoAzienda);
    }

    r.contaRighe += 1;
    rigLiv = r.contaRighe;
    const std::string ivaCassa = IvaPerCassa(ctx, s);

    db::DbCursor& c = *r.tabelle;
    const std::string& k = r.keyRighe;
    NuovaRiga(ctx, r.contaRighe);
    CampiGruppo(ctx, s);
    Conto(ctx, "", s.tipo, s.gruppoScad, s.mastroScad, s.contoScad);
    ContoParametro(ctx, "C", r.par.contoPartita);
    if (entrata)
      c.SetField(k, "DareAvere", util::Value(p < 0 ? "D" : "A"));
    else
      c.SetField(k, "DareAvere", util::Value(p < 0 ? "A" : "D"));
    if (resto < 0)
      Importi(ctx, ArrotondaMoneta(ctx, std::fabs(p) + resto),
              ArrotondaAzienda(ctx, std::fabs(pAzienda) + restoAzienda));
    else
      Importi(ctx, std::fabs(p), std::fabs(pAzienda));
    c.SetField(k, "IvaPerCassa", util::Value(ivaCassa));
    c.Update(k);
    const util::Money pm = util::Money::FromDouble(p), pam = util::Money::FromDouble(pAzienda);
    if (entrata) {
      r.totPagato += pm;
      r.totPagatoAzienda += pam;
    } else {
      r.totPagato -= pm;
      r.totPagatoAzienda -= pam;
    }

    if (util::EqualsIgnoreCase(s.statoScad, "C") && resto != 0) {
      const bool abbAtt = (!entrata && resto > 0) || (entrata && resto < 0);
      r.contaRighe += 1;
      NuovaRiga(ctx, r.contaRighe);
      CampiGruppo(ctx, s);
      ContoParametro(ctx, "", abbAtt ? r.par.contoAbbAtt : r.par.contoAbbPas);
      c.SetField(k, "DareAvere", util::Value(abbAtt ? "A" : "D"));
      Conto(ctx, "C", s.tipo, s.gruppoScad, s.mastroScad, s.contoScad);
      Importi(ctx, std::fabs(resto), std::fabs(restoAzienda));
      c.Update(k);

      const bool avere = (entrata && resto > 0) || (!entrata && resto < 0);
      r.contaRighe += 1;
      NuovaRiga(ctx, r.contaRighe);
      CampiGruppo(ctx, s);
      if (resto < 0)
        ContoParametro(ctx, "", r.par.contoPartita);
      else
        Conto(ctx, "", s.tipo, s.gruppoScad, s.mastroScad, s.contoScad);
      c.SetField(k, "DareAvere", util::Value(avere ? "A" : "D"));
      ContoParametro(ctx, "C", avere ? r.par.contoAbbPas : r.par.contoAbbAtt);
      Importi(ctx, std::fabs(resto), std::fabs(restoAzienda));
      c.Update(k);
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
    db::DbCursor& c = *r.tabelle;
    const std::string& k = r.keyRighe;
    NuovaRiga(ctx, 1);
    ContoParametro(ctx, "", r.par.contoPartita);
    if (numScadenze == 1) {
      c.SetField(k, "PreDoc", util::Value(rif.prefisso));
      c.SetField(k, "NumDoc", util::Value(rif.numDoc));
      ScriviData(c, k, "DataDoc", util::Value(rif.dataDoc));
      Protocollo(ctx, rif.preProt, rif.numProt, rif.dataProt);
      Conto(ctx, "C", rif.tipo, rif.gruppoScad, rif.mastroScad, rif.contoScad);
    } else {
      c.SetField(k, "NumProt", util::Value(""));
    }
    const double netto = r.totPagato.toDouble() - r.totEccedenzaNetta;
    const double nettoAzienda = r.totPagatoAzienda.toDouble() - r.totEccedenzaNettaAzienda;
    // Customers' runs book the cash in debit, suppliers' in credit; the
    // reference installment tells the kind also when recovery completes a run.
    const bool clienti = rif.tipo.empty() ? r.selezione.tipoConto == 3 : rif.tipo == "3";
    const char* verso = clienti ? (netto < 0 ? "A" : "D") : (netto > 0 ? "D" : "A");
    c.SetField(k, "DareAvere", util::Value(verso));
    Importi(ctx, ArrotondaMoneta(ctx, std::fabs(netto)), ArrotondaAzienda(ctx, std::fabs(nettoAzienda)));
    c.Update(k);
    return 0;
  } catch (const std::exception& e) {
    Errore(ctx, e);
  }
  return 1;
}

}  // namespace compensato
