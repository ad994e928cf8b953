#include "src/settlement/TestataMovimento.h"

#include "components/util/Text.h"
#include "src/data/CampiOpzionali.h"
#include "src/data/ComLock.h"
#include "src/ui/Errori.h"

namespace compensato {

void ApriTabelleMovimento(Contesto& ctx) {
  StatoRun& r = ctx.run;
  if (!r.tabelle) r.tabelle = std::make_unique<db::DbCursor>();
  r.documentiIvaCassa.reset();
  r.righe.Scarta();
  r.keyTestata =
      r.tabelle->Open(ctx.db, ctx.conn, r.keyTestata, "Select * from MovPnTes where false", false, db::kUpdatable);
  r.keyRighe =
      r.tabelle->Open(ctx.db, ctx.conn, r.keyRighe, "Select * from MovPnDettApp where false", false, db::kUpdatable);
}

void ChiudiTabelleMovimento(Contesto& ctx) {
  StatoRun& r = ctx.run;
  r.righe.Scarta();
  if (!r.tabelle) return;
  for (std::string* key : {&r.keyTestata, &r.keyRighe}) {
    try {
      if (!key->empty() && r.tabelle->IsOpen(*key)) r.tabelle->Close(*key);
    } catch (...) {
    }
    key->clear();
  }
}

void PrendiLockMovimento(Contesto& ctx) {
  ArgomentiLock a;
  a.stato = "0";
  a.tipo = kTipoLockMovimento;
  a.anno = ctx.run.par.anno;
  a.numReg = ctx.run.numReg;
  a.acquisisci = true;
  a.descrizione = kDescrizioneLockMovimento;
  a.gestione = kGestioneCompensato;
  PrendiLock(ctx, a);
}

int CreaTestataMovimento(Contesto& ctx, int32_t numScadenze, const std::string& monetaMovimento,
                         const std::string& numDoc, const util::Date& dataDoc, const std::string& prefisso) {
  StatoRun& r = ctx.run;
  const ParametriRun& p = r.par;
  try {
    r.totPagato = r.totPagatoAzienda = util::Money();
    r.totEccedenza = r.totEccedenzaAzienda = util::Money();
    r.totEccedenzaNetta = r.totEccedenzaNettaAzienda = util::Money();

    r.numReg = ProssimoNumero(ctx, p.anno, "MovPnTes", "NumReg", false);
    r.numRegPag = r.numReg;

    const company::DatiAzienda& az = ctx.azienda;
    const bool inValuta = !util::EqualsIgnoreCase(monetaMovimento, az.monetaAzienda);
    double cambio = 1;
    if (inValuta && !util::EqualsIgnoreCase(monetaMovimento, az.codLira) &&
        !util::EqualsIgnoreCase(monetaMovimento, az.codEuro))
      cambio = p.cambio;

    db::DbCursor& c = *r.tabelle;
    const std::string& k = r.keyTestata;
    c.AddNew(k);
    c.SetField(k, "Anno", util::Value(p.anno));
    c.SetField(k, "NumReg", util::Value(r.numReg));
    ScriviData(c, k, "DataReg", util::Value(p.dataReg));
    c.SetField(k, "Causale", util::Value(p.causale));
    c.SetField(k, "InValuta", util::Value(inValuta ? "S" : "N"));
    c.SetField(k, "DescrAgg", util::Value(p.descAggiuntiva));
    c.SetField(k, "PreProt", util::Value(p.prefProt));
    ScriviNumero(c, k, "NumProt", util::Value(p.numProt));
    ScriviData(c, k, "DataProt", util::Value(p.dataProt));
    if (numScadenze == 1) {
      c.SetField(k, "PreDoc", util::Value(prefisso));
      c.SetField(k, "NumDoc", util::Value(numDoc));
      ScriviData(c, k, "DataDoc", util::Value(dataDoc));
    }
    c.SetField(k, "Moneta", util::Value(inValuta ? monetaMovimento : az.monetaAzienda));
    c.SetField(k, "Cambio", util::Value(cambio));
    UpdateNoKeyDoppia(c, k, "NumReg", r.numReg);
    r.numRegPag = r.numReg;
    c.GoToLastModified(k);

    PrendiLockMovimento(ctx);  // a new number: no other lock can hold it

    r.contaRighe = 1;
    return 0;
  } catch (const util::RuntimeError& e) {
    ui::MsgErrfrm(ctx.op, e, "", "", std::string("Creazione testata movimento di prima nota"));
  } catch (const std::exception& e) {
    ui::MsgErrfrm(ctx.op, e.what(), util::err::kEngine, "", "",
                  std::string("Creazione testata movimento di prima nota"));
  }
  return 1;
}

}  // namespace compensato
