#include "components/util/AccountCode.h"
#include "components/util/Convert.h"
#include "components/util/Range.h"
#include "components/util/Text.h"
#include "src/selection/ModelloSelezioni.h"

namespace compensato {
namespace {

using namespace txt;

constexpr const char* kDatiErrati = "Ci sono dei dati errati. Non è possibile continuare l'elaborazione";

}  // namespace

bool ModelloSelezioni::Conferma(SelezioneRun& selezione) {
  for (int i : OrdineControllo()) {
    if (Rosso(i)) {
      ui::Avviso(ctx_.op, kDatiErrati);
      return false;
    }
    for (int k : {kContoDa, kPagTipo, kMoneta, kCausale}) entrata_[k] = Txt(k).Testo();
    Esci(i);
    if (Rosso(i)) {
      ui::Avviso(ctx_.op, kDatiErrati);
      return false;
    }
  }
  if (tipoElab != 0 && tipoElab != 1) {
    ui::Avviso(ctx_.op, "Indicare il tipo di elaborazione");
    return false;
  }
  if (!optCliente && !optFornitore) {
    ui::Avviso(ctx_.op, "Indicare se cliente o fornitore");
    return false;
  }
  // The screen locks "Anche effetti" to what the payment type issues. Set the
  // other way by a caller, a bill-issuing type would select nothing without
  // a word, and a type without bills would be asked for bills it never has.
  if (!ancheEffettiAbilitato && ancheEffetti != effettiDelTipo_) {
    const std::string tipo = util::Trim(Txt(kPagTipo).Testo());
    ui::Avviso(ctx_.op, "Il tipo pagamento " + tipo +
                            (effettiDelTipo_ ? " emette effetti: vanno compresi gli effetti"
                                             : " non emette effetti: non si possono comprendere gli effetti"));
    return false;
  }
  struct Intervallo {
    int da, a;
    util::RangeKind tipo;
    const char* messaggio;
  };
  const Intervallo intervalli[] = {
      {kContoDa, kContoA, util::RangeKind::AccountCode, "Si prega di inserire i clienti/fornitori in ordine crescente"},
      {kScadDa, kScadA, util::RangeKind::Date, "Si prega di inserire le date di scadenza in ordine crescente"},
      {kDocDa, kDocA, util::RangeKind::Date, "Si prega di inserire le date di documento in ordine crescente"},
      {kNumDocDa, kNumDocA, util::RangeKind::DocumentNumber,
       "Si prega di inserire i numeri di documento in ordine crescente"},
  };
  for (const Intervallo& r : intervalli)
    if (util::RangeInverted(util::Value(Txt(r.da).Testo()), util::Value(Txt(r.a).Testo()), r.tipo)) {
      ui::Avviso(ctx_.op, r.messaggio);
      return false;
    }
  if (util::EqualsIgnoreCase(util::Trim(obbProtocollo), "S") || util::EqualsIgnoreCase(util::Trim(partVis), "S")) {
    if (util::ToDate(util::Value(Txt(kDataProt).Testo())).isEmpty()) {
      ui::Avviso(ctx_.op, "Si prega di inserire la data di protocollo");
      return false;
    }
    if (Vuoto(kNumProt)) {
      ui::Avviso(ctx_.op, "Si prega di inserire il nr.protocollo");
      return false;
    }
  }
  selezione = Selezione();
  return true;
}

SelezioneRun ModelloSelezioni::Selezione() const {
  auto testo = [this](int i) { return util::Trim(Txt(i).Testo()); };
  auto conto = [&](int i) { return testo(i).empty() ? std::string() : util::NormaliseCode(testo(i), "conto", 10); };
  auto data = [&](int i) { return util::ToDate(util::Value(testo(i))); };
  SelezioneRun s;
  s.automatica = tipoElab == 0;
  s.tipoConto = optCliente ? 3 : 2;
  s.contoDa = conto(kContoDa);
  s.contoA = conto(kContoA);
  s.dataScadDa = data(kScadDa);
  s.dataScadA = data(kScadA);
  s.dataDocDa = data(kDocDa);
  s.dataDocA = data(kDocA);
  s.prefissoDoc = testo(kPrefissoDoc);
  s.numDocDa = testo(kNumDocDa);
  s.numDocA = testo(kNumDocA);
  s.pagTipo = testo(kPagTipo);
  s.effetti = ancheEffetti ? "s" : "n";
  s.moneta = testo(kMoneta);
  s.cambio = util::ToNumber(util::Value(testo(kCambio)));
  s.operatoreMoneta = operatoreMoneta;
  s.importoMassimo = util::ToNumber(util::Value(testo(kMassimo)));
  s.causale = testo(kCausale);
  s.contoPartita = conto(kPartita);
  s.descAggiuntiva = Txt(kDescAgg).Testo();
  s.contoAbbAtt = conto(kAbbAtt);
  s.contoAbbPas = conto(kAbbPas);
  s.dataReg = data(kDataReg);
  s.anno = util::ToInteger(util::Value(testo(kAnno)));
  s.contoUtiCambio = conto(kUtiCambio);
  s.contoPerdCambio = conto(kPerdCambio);
  s.cdc = testo(kCdc);
  s.numProt = util::ToLong(util::Value(testo(kNumProt)));
  s.dataProt = data(kDataProt);
  s.prefProt = testo(kPrefProt).empty() ? "." : Txt(kPrefProt).Testo();
  s.ordinamento = ordinamento == 0 ? 1 : ordinamento == 1 ? 2 : 3;
  return s;
}

}  // namespace compensato
