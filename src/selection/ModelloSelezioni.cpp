#include "src/selection/ModelloSelezioni.h"

#include "components/db/DbCursor.h"
#include "components/lookup/Finestra.h"
#include "components/util/AccountCode.h"
#include "components/util/Convert.h"
#include "components/util/DateEntry.h"
#include "components/util/NumberFormat.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"
#include "src/company/AziUtilPrg.h"
#include "src/company/Cambi.h"
#include "src/company/Decodifica.h"
#include "src/company/ParametriAzienda.h"

namespace compensato {
namespace {

using namespace txt;

constexpr int kIndici[] = {kContoDa,  kContoA,  kScadDa,    kScadA,      kDocDa,   kDocA,    kPrefissoDoc,
                           kNumDocDa, kNumDocA, kPagTipo,   kMoneta,     kCambio,  kMassimo, kCausale,
                           kPartita,  kDescAgg, kAbbAtt,    kAbbPas,     kDataReg, kAnno,    kDataProt,
                           kPrefProt, kNumProt, kUtiCambio, kPerdCambio, kCdc};

std::string Testo(const util::Value& v) { return v.isNull() ? std::string() : util::Trim(v.toText()); }

std::string Conto(const std::string& g, const std::string& m, const std::string& c) {
  if (util::Trim(g).empty() && util::Trim(m).empty() && util::Trim(c).empty()) return "";
  return util::FormatCode(util::Trim(g) + "-" + util::Trim(m) + "-" + util::Trim(c));
}

std::string FiltroGenerali() { return " TipoCausale = " + util::SqlLiteral("G", 8); }

}  // namespace

const std::vector<int>& ModelloSelezioni::OrdineControllo() {
  static const std::vector<int> ordine = {
      kCdc,      kPrefProt, kNumProt, kDataProt, kPerdCambio, kUtiCambio, kCausale,     kPartita, kDescAgg,
      kAbbAtt,   kAbbPas,   kDataReg, kAnno,     kCambio,     kMoneta,    kPrefissoDoc, kDocDa,   kDocA,
      kNumDocDa, kNumDocA,  kScadA,   kScadDa,   kMassimo,    kPagTipo,   kContoDa,     kContoA};
  return ordine;
}

ModelloSelezioni::ModelloSelezioni(Contesto& ctx, company::scAziUtilPrg& aiuti) : ctx_(ctx), aiuti_(aiuti) {
  for (int i : kIndici) {
    txt_[i];
    lab_[i];
  }
  colori_.fuoco = ctx.azienda.coloreFuoco;
  colori_.noFuoco = ctx.azienda.coloreNoFuoco;
  colori_.errore = ctx.azienda.coloreErrore;
  colori_.normale = ctx.azienda.coloreNormale;
  partVis = company::LeggiParPers(ctx.host, "DATAOP", "PartVis", "");
}

CampoSelezione& ModelloSelezioni::Txt(int i) { return txt_.at(i); }
const CampoSelezione& ModelloSelezioni::Txt(int i) const { return txt_.at(i); }
lookup::EtichettaTesto& ModelloSelezioni::lab(int i) { return lab_.at(i); }
bool ModelloSelezioni::Rosso(int i) const { return Txt(i).Sfondo() == colori_.errore; }
void ModelloSelezioni::Rosso(int i, bool rosso) { Txt(i).ImpostaSfondo(rosso ? colori_.errore : colori_.normale); }
bool ModelloSelezioni::Vuoto(int i) const { return util::Trim(Txt(i).Testo()).empty(); }

bool ModelloSelezioni::MonetaAzienda() const {
  return util::EqualsIgnoreCase(util::Trim(Txt(kMoneta).Testo()), ctx_.azienda.monetaAzienda);
}

std::vector<std::string> ModelloSelezioni::DecsCausale() const {
  if (optCliente) return {"PartGruppo", "PartMastro", "PartConto", "ObbProtocollo", "InValuta"};
  return {"CoPartGruppo", "CoPartMastro", "CoPartConto", "ObbProtocollo", "InValuta"};
}

void ModelloSelezioni::Inizializza_Form() {
  const util::Date oggi = ctx_.azienda.dataLavoro;
  const std::string anno = std::to_string(oggi.year());
  Txt(kScadDa).ImpostaTesto("01/01/" + anno);
  Txt(kDocDa).ImpostaTesto("01/01/" + anno);
  Txt(kScadA).ImpostaTesto("31/12/" + anno);
  Txt(kDocA).ImpostaTesto("31/12/" + anno);
  Txt(kDataReg).ImpostaTesto(util::FormatDate(oggi));
  int16_t annoContabile = 0;
  company::AnnoContabile(ctx_.host, oggi, annoContabile);
  if (annoContabile != 0)
    Txt(kAnno).ImpostaTesto(std::to_string(annoContabile));
  else
    Rosso(kAnno, true);

  Txt(kMoneta).ImpostaTesto(ctx_.azienda.monetaAzienda);
  const company::Moneta m = company::LeggiMoneta(ctx_.db, ctx_.conn, ctx_.azienda.monetaAzienda);
  numDec = m.numDec;
  maschera = util::BuildNumberMask(numDec);
  MostraMoneta();
  Txt(kMassimo).ImpostaTesto(util::FormatNumber(9999999999.0, maschera));
  tipoElab = 1;
  optCliente = true;
  optFornitore = false;
  if (!Vuoto(kMoneta)) {
    company::OpzioniDecodifica o;
    o.noAiuto = true;
    company::DecodificaCampo(aiuti_, "Moneta", Txt(kMoneta), lab(kMoneta), o);
  }
  CausaleDefault();
  Txt(kAbbAtt).ImpostaTesto(Conto(Testo(ctx_.host.GetParameter("CauCon.GruppoAbbAtt")),
                                  Testo(ctx_.host.GetParameter("CauCon.MastroAbbAtt")),
                                  Testo(ctx_.host.GetParameter("CauCon.ContoAbbAtt"))));
  DecodificaContoGenerale(kAbbAtt);
  Txt(kAbbPas).ImpostaTesto(Conto(Testo(ctx_.host.GetParameter("CauCon.GruppoAbbPass")),
                                  Testo(ctx_.host.GetParameter("CauCon.MastroAbbPass")),
                                  Testo(ctx_.host.GetParameter("CauCon.ContoAbbPass"))));
  DecodificaContoGenerale(kAbbPas);
}

// The default transaction code of customers or suppliers, decoded, with the
// counterpart account it gives.
std::vector<util::Value> ModelloSelezioni::CausaleDefault() {
  Txt(kCausale).ImpostaTesto(
      Testo(ctx_.host.GetParameter(optCliente ? "CauCon.SaldaCauIncassi" : "CauCon.SaldaCauPagamenti")));
  std::vector<util::Value> valori;
  DecodificaCausale(true, &valori);
  PartitaDaCausale(valori);
  return valori;
}

void ModelloSelezioni::DecodificaCausale(bool filtro, std::vector<util::Value>* valori) {
  std::vector<util::Value> campi;
  for (const std::string& n : DecsCausale()) campi.emplace_back(n);
  company::OpzioniDecodifica o;
  o.campi = &campi;
  if (filtro) o.filtro = FiltroGenerali();
  company::DecodificaCampo(aiuti_, "Causale", Txt(kCausale), lab(kCausale), o);
  obbProtocollo = Testo(campi[3]);
  if (valori) *valori = campi;
}

void ModelloSelezioni::PartitaDaCausale(const std::vector<util::Value>& valori) {
  const std::string conto = Conto(Testo(valori[0]), Testo(valori[1]), Testo(valori[2]));
  if (!conto.empty()) Txt(kPartita).ImpostaTesto(conto);
  DecodificaContoGenerale(kPartita);
}

void ModelloSelezioni::DecodificaContoGenerale(int i) { company::DecodificaConto(aiuti_, Txt(i), lab(i), "1"); }

void ModelloSelezioni::MostraMoneta() {
  std::vector<util::Value> campi = {util::Value("NumDec"), util::Value("NumDecGest"), util::Value("Operatore"),
                                    util::Value("Cee")};
  company::OpzioniDecodifica o;
  o.campi = &campi;
  o.noAiuto = true;
  const bool trovata = company::DecodificaCampo(aiuti_, "Moneta", Txt(kMoneta), lab(kMoneta), o);
  if (trovata && !Rosso(kMoneta) && !Vuoto(kMoneta)) {
    operatoreMoneta = Testo(campi[2]).empty() ? "/" : Testo(campi[2]);
    cee = Testo(campi[3]);
    numDec = util::ToInteger(campi[0]);
    numDecGest = util::ToInteger(campi[1]);
    maschera = util::BuildNumberMask(numDec);
    MostraCambioMoneta(false);
  }
  const bool fisso = util::EqualsIgnoreCase(cee, "S");
  Txt(kCambio).abilitato = !fisso;
}

void ModelloSelezioni::MostraCambioMoneta(bool dataLavoro) {
  util::Date data = ctx_.azienda.dataLavoro;
  if (!dataLavoro && !Vuoto(kDataReg) && !Rosso(kDataReg)) data = util::ToDate(util::Value(Txt(kDataReg).Testo()));
  Txt(kCambio).ImpostaTesto(
      company::LeggiCambio(ctx_.db, ctx_.conn, ctx_.azienda.Valuta(), util::Trim(Txt(kMoneta).Testo()), data));
}

void ModelloSelezioni::Entra(int i) {
  if (i == kContoDa || i == kPagTipo || i == kMoneta || i == kCausale) entrata_[i] = Txt(i).Testo();
  if (i == kContoDa || i == kContoA || i == kPartita || i == kAbbAtt || i == kAbbPas || i == kUtiCambio ||
      i == kPerdCambio)
    Txt(i).ImpostaTesto(util::NormaliseCode(Txt(i).Testo()));
}

void ModelloSelezioni::Esci(int i) {
  ui::PerdeFuoco(Txt(i), colori_, false);
  switch (i) {
    case kContoDa:
    case kContoA:
      if (optCliente || optFornitore) EsciConto(i);
      break;
    case kScadDa:
    case kScadA:
    case kDocDa:
    case kDocA:
    case kDataReg:
    case kDataProt: EsciData(i); break;
    case kPagTipo: EsciPagTipo(); break;
    case kMoneta: EsciMoneta(); break;
    case kMassimo:
      if (util::ToNumber(util::Value(Txt(kMassimo).Testo())) == 0) {
        ui::Avviso(ctx_.op, "Indicare l'importo massimo per il compensato.");
        Rosso(kMassimo, true);
      } else {
        Rosso(kMassimo, false);
        Txt(kMassimo).ImpostaTesto(util::FormatNumber(util::ToNumber(util::Value(Txt(kMassimo).Testo())), maschera));
      }
      break;
    case kCausale: EsciCausale(); break;
    case kPartita:
    case kAbbAtt:
    case kAbbPas:
    case kUtiCambio:
    case kPerdCambio: {
      if (Txt(i).Testo().find('-') != std::string::npos) Txt(i).ImpostaTesto(util::NormaliseCode(Txt(i).Testo()));
      DecodificaContoGenerale(i);
      const bool obbligatorio = (i != kUtiCambio && i != kPerdCambio) || !MonetaAzienda();
      if (Vuoto(i)) Rosso(i, obbligatorio);
      break;
    }
    case kAnno: EsciAnno(); break;
    case kCdc: {
      company::OpzioniDecodifica o;
      company::DecodificaCampo(aiuti_, "CentroDiCosto", Txt(kCdc), lab(kCdc), o);
      break;
    }
    case kCambio:
      // Converting by a rate of 0 would turn every amount of a foreign
      // currency into 0 or infinity.
      if (!MonetaAzienda() && !util::EqualsIgnoreCase(cee, "S"))
        Rosso(kCambio, util::ToNumber(util::Value(Txt(kCambio).Testo())) <= 0);
      break;
    default: break;
  }
}

void ModelloSelezioni::EsciConto(int i) {
  if (Txt(i).Testo().find('-') != std::string::npos) Txt(i).ImpostaTesto(util::NormaliseCode(Txt(i).Testo()));
  company::DecodificaConto(aiuti_, Txt(i), lab(i), optCliente ? "3" : "2");
  if (i == kContoDa && Txt(kContoDa).Testo() != entrata_[kContoDa]) {
    Txt(kContoA).ImpostaTesto(Txt(kContoDa).Testo());
    Txt(kContoA).ImpostaSfondo(Txt(kContoDa).Sfondo());
    lab(kContoA).ImpostaTesto(lab(kContoDa).Testo());
  }
}

void ModelloSelezioni::EsciData(int i) {
  ui::VerificaData v;
  // An empty protocol date is refused only by the confirmation, and only
  // when the transaction code or the operator's setting asks for one, with
  // its own message.
  v.opzione = util::kDataFacoltativa;
  ui::ControllaData(Txt(i), v, ctx_.azienda.dataLavoro, ctx_.dataMinima, colori_, ctx_.op);
  if (i != kDataReg) return;
  const util::Date data = util::ToDate(util::Value(Txt(kDataReg).Testo()));
  if (data.isEmpty()) Rosso(kDataReg, true);
  if (Rosso(kDataReg)) return;
  AnnoDaData();
}

void ModelloSelezioni::AnnoDaData() {
  int16_t anno = 0;
  company::AnnoContabile(ctx_.host, util::ToDate(util::Value(Txt(kDataReg).Testo())), anno);
  if (anno != 0) {
    Txt(kAnno).ImpostaTesto(std::to_string(anno));
    return;
  }
  Txt(kAnno).ImpostaTesto("");
  Rosso(kAnno, true);
}

void ModelloSelezioni::EsciAnno() {
  const int16_t anno = util::ToInteger(util::Value(Txt(kAnno).Testo()));
  bool rosso = Vuoto(kAnno) || anno == 0;
  // An entry numbered in a year its date does not belong to would be
  // posted to the wrong year's books.
  if (!rosso && !Rosso(kDataReg) && !Vuoto(kDataReg)) {
    int16_t dellaData = 0;
    company::AnnoContabile(ctx_.host, util::ToDate(util::Value(Txt(kDataReg).Testo())), dellaData);
    rosso = dellaData != 0 && dellaData != anno;
  }
  Rosso(kAnno, rosso);
}

void ModelloSelezioni::EsciPagTipo() {
  std::vector<util::Value> campi = {util::Value("Causale"), util::Value("Gruppo"), util::Value("Mastro"),
                                    util::Value("Conto")};
  company::OpzioniDecodifica o;
  o.campi = &campi;
  const bool trovato = company::DecodificaCampo(aiuti_, "PagTipo", Txt(kPagTipo), lab(kPagTipo), o);
  if (!Vuoto(kPagTipo) && !trovato) return;
  if (Txt(kPagTipo).Testo() == entrata_[kPagTipo]) return;

  std::vector<util::Value> causale;
  if (!Vuoto(kPagTipo)) {
    if (!Testo(campi[0]).empty()) Txt(kCausale).ImpostaTesto(Testo(campi[0]));
    DecodificaCausale(true, &causale);
    const std::string conto = Conto(Testo(campi[1]), Testo(campi[2]), Testo(campi[3]));
    if (!conto.empty()) {
      Txt(kPartita).ImpostaTesto(conto);
      DecodificaContoGenerale(kPartita);
    } else {
      PartitaDaCausale(causale);
    }
  } else {
    CausaleDefault();
  }

  if (Vuoto(kPagTipo)) {
    ancheEffetti = false;
    ancheEffettiAbilitato = true;
    return;
  }
  db::DbCursor c;
  const std::string k =
      c.Open(ctx_.db, ctx_.conn, "",
             "Select * from PagTipi where PagTipo= " + util::SqlLiteral(util::Trim(Txt(kPagTipo).Testo()), 8), false,
             db::kSnapshot);
  const bool effetti = !c.IsEmpty(k) && util::EqualsIgnoreCase(Testo(c.GetField(k, "EmissEffetti")), "S");
  c.Close(k);
  ancheEffettiAbilitato = false;
  ancheEffetti = effettiDelTipo_ = effetti;
}

void ModelloSelezioni::EsciMoneta() {
  if (Vuoto(kMoneta)) {
    Rosso(kMoneta, true);
    return;
  }
  std::vector<util::Value> campi = {util::Value("NumDec"), util::Value("NumDecGest"), util::Value("Operatore"),
                                    util::Value("Cee")};
  company::OpzioniDecodifica o;
  o.campi = &campi;
  if (!company::DecodificaCampo(aiuti_, "Moneta", Txt(kMoneta), lab(kMoneta), o)) {
    Rosso(kMoneta, true);
    return;
  }
  numDec = util::ToInteger(campi[0]);
  numDecGest = util::ToInteger(campi[1]);
  cee = Testo(campi[3]);
  operatoreMoneta = Testo(campi[2]).empty() ? "/" : Testo(campi[2]);
  maschera = util::BuildNumberMask(numDec);
  if (!Vuoto(kMassimo))
    Txt(kMassimo).ImpostaTesto(util::FormatNumber(util::ToNumber(util::Value(Txt(kMassimo).Testo())), maschera));
  Txt(kCambio).abilitato = !util::EqualsIgnoreCase(cee, "S");
  if (Txt(kMoneta).Testo() != entrata_[kMoneta]) MostraCambioMoneta(false);
}

void ModelloSelezioni::EsciCausale() {
  std::vector<util::Value> valori;
  DecodificaCausale(false, &valori);
  if (Vuoto(kCausale)) {
    valori = CausaleDefault();
  } else if (Txt(kCausale).Testo() != entrata_[kCausale]) {
    DecodificaCausale(true, &valori);
    PartitaDaCausale(valori);
  }
  const bool inValuta = util::EqualsIgnoreCase(Testo(valori[4]), "S");
  if (inValuta && MonetaAzienda()) {
    ui::Avviso(ctx_.op, "La moneta è è quella corrente. La causale non può essere in valuta");
    Rosso(kCausale, true);
  } else if (!inValuta && !MonetaAzienda()) {
    ui::Avviso(ctx_.op, "La moneta è diversa dalla moneta corrente. La causale deve avere la gestione della valuta");
    Rosso(kCausale, true);
  }
}

void ModelloSelezioni::ScegliCliente() {
  optCliente = true;
  optFornitore = false;
  Esci(kPagTipo);
  Esci(kCausale);
}

void ModelloSelezioni::ScegliFornitore() {
  optCliente = false;
  optFornitore = true;
  Esci(kPagTipo);
  Esci(kCausale);
}

bool ModelloSelezioni::TastoSu(int i, int tasto, int shift) {
  if ((tasto != lookup::kTastoF2 && tasto != lookup::kTastoF3) || shift != 0) return false;
  std::string kind, extra, filtro;
  switch (i) {
    case kContoDa:
    case kContoA:
      if (!optCliente && !optFornitore) return false;
      kind = "Conto";
      extra = optCliente ? "3" : "2";
      break;
    case kPagTipo: kind = "PagTipo"; break;
    case kMoneta: kind = "Moneta"; break;
    case kCambio: MostraCambioMoneta(false); return true;
    case kCausale:
      kind = "Causale";
      filtro = FiltroGenerali();
      break;
    case kPartita:
    case kAbbAtt:
    case kAbbPas:
    case kUtiCambio:
    case kPerdCambio:
      kind = "Conto";
      extra = "1";
      break;
    case kCdc: kind = "CentroDiCosto"; break;
    default: return false;
  }
  bool scelto = false;
  company::ApriAiuto(aiuti_, kind, Txt(i), lab(i), tasto, extra, scelto, "", filtro);
  if (i == kMoneta) MostraCambioMoneta(false);
  return true;
}

}  // namespace compensato
