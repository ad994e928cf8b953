#include "src/posting/RateFattura.h"

#include <cctype>
#include <optional>
#include <vector>

#include "components/db/DbCursor.h"
#include "components/lookup/Lookdex.h"
#include "components/util/Round.h"
#include "components/util/SqlLiteral.h"
#include "src/company/Valute.h"
#include "src/data/CampiOpzionali.h"
#include "src/data/ComLock.h"
#include "src/data/Transazioni.h"
#include "src/schedule/CalcolaScadenze.h"
#include "src/ui/Operatore.h"

namespace compensato::posting {
namespace {

constexpr const char* kMancante = "\xC2\xA7\xC3\xA7~$!^";

bool Vuoto(const std::string& s) {
  for (char c : s)
    if (!std::isspace(static_cast<unsigned char>(c))) return false;
  return true;
}

double Numero(const util::Value& v) { return v.isNull() ? 0.0 : v.toDouble(); }

lookup::Decodifica Decodifica(Contesto& ctx, const std::string& kind, const std::string& code,
                              const std::vector<std::string>& campi, const std::string& filtro = "") {
  std::optional<lookup::Lookdex> locale;
  lookup::Lookdex* l = ctx.lookup;
  if (!l) l = &locale.emplace(ctx.db, ctx.conn);
  return l->DecodificaCodice(kind, code, campi, filtro);
}

struct TerminePagamento {
  bool trovato = false;
  std::string regIncAut, pagTipo, scadValuta;
  int16_t numScad = 0;
};

TerminePagamento LeggiTermine(Contesto& ctx, const std::string& pagamento) {
  db::DbCursor c;
  const std::string key = c.Open(ctx.db, ctx.conn, "",
                                 std::string("Select PagTipi.RegIncAut") + ", Pagamenti.PagTipo" +
                                     ", Pagamenti.ScadValuta" + ", Pagamenti.NumScad" +
                                     " from Pagamenti left join PagTipi" + " on PagTipi.PagTipo = Pagamenti.PagTipo" +
                                     " where Pagamenti.Pagamento = " + util::SqlLiteral(pagamento, 8),
                                 false, db::kSnapshot);
  TerminePagamento t;
  if (!c.IsEmpty(key)) {
    t.trovato = true;
    t.regIncAut = c.FieldValue(key, "RegIncAut").toText();
    t.pagTipo = c.FieldValue(key, "PagTipo").toText();
    t.scadValuta = c.FieldValue(key, "ScadValuta").toText();
    t.numScad = c.GetField(key, "NumScad").toInteger();
  }
  c.Close(key);
  return t;
}

// Credit amounts of the other registrations of the same invoice document
// (gifts and advances), withholding entries excluded.
Doppio OmaggiAnticipi(Contesto& ctx, const TabelleContab& tab, const TestataDocumento& t,
                      const AttributiCausale& causale) {
  const std::string& H = tab.testata;
  const std::string& L = tab.righe;
  db::DbCursor c;
  const std::string key =
      c.Open(ctx.db, ctx.conn, "",
             "Select sum(" + L + ".ImportoMon) as TotOmaAntMon," + " sum(" + L + ".Importo) as TotOmaAnt" + " from " +
                 H + " left join " + L + " On " + L + ".Anno = " + H + ".Anno" + " and  " + L + ".NumReg = " + H +
                 ".NumReg" + " where " + H + ".AnnoFat =" + util::SqlLiteral(t.annoFat, 2) + " and " + H +
                 ".NumRifFat =" + util::SqlLiteral(t.numRifFat, 3) + " and " + H +
                 ".Anno =" + util::SqlLiteral(t.anno, 2) + " and " + H + ".NumReg <>" + util::SqlLiteral(t.numReg, 3) +
                 " and " + L + ".DareAvere =" + util::SqlLiteral("A", 8) + " and " + H + ".Causale <>" +
                 util::SqlLiteral(causale.causRit, 8),
             false, db::kSnapshot);
  Doppio d;
  if (!c.IsEmpty(key)) {
    d.mon = Numero(c.FieldValue(key, "TotOmaAntMon"));
    d.azienda = Numero(c.FieldValue(key, "TotOmaAnt"));
  }
  c.Close(key);
  return d;
}

// Withholding entries that carry the invoice's protocol and document references.
Doppio Ritenute(Contesto& ctx, const TabelleContab& tab, const TestataDocumento& t, const AttributiCausale& causale) {
  const std::string& H = tab.testata;
  const std::string& L = t.numRifFat != 0 ? tab.righe : tab.righeDestinazione;
  std::string sql = "Select sum(" + L + ".ImportoMon) as TotRitAccMon," + " sum(" + L + ".Importo) as TotRitAcc" +
                    " from " + H + " left join " + L + " On " + L + ".Anno = " + H + ".Anno" + " and  " + L +
                    ".NumReg = " + H + ".NumReg" + " where " + H + ".Causale =" + util::SqlLiteral(causale.causRit, 8);
  sql += " and " + L + ".PreProt =" + util::SqlLiteral(t.preProt, 8);
  sql += " and " + L + ".NumProt =" + util::SqlLiteral(t.numProt, 3);
  sql += " and " + L + ".DataProt =" + util::SqlLiteral(t.dataProt, 7);
  sql += " and " + L + ".PreDoc =" + util::SqlLiteral(t.preDoc, 8);
  sql += " and " + L + ".NumDoc =" + util::SqlLiteral(t.numDoc, 8);
  sql += " and " + L + ".DataDoc =" + util::SqlLiteral(t.dataDoc, 7);
  sql += " and " + H + ".Anno =" + util::SqlLiteral(t.anno, 2) + " and " + H + ".NumReg <>" +
         util::SqlLiteral(t.numReg, 3) + " and " + L +
         ".DareAvere =" + util::SqlLiteral(Uguale(causale.tipoReg, "A") ? "D" : "A", 8);
  db::DbCursor c;
  const std::string key = c.Open(ctx.db, ctx.conn, "", sql, false, db::kSnapshot);
  Doppio d;
  if (!c.IsEmpty(key)) {
    d.mon = Numero(c.FieldValue(key, "TotRitAccMon"));
    d.azienda = Numero(c.FieldValue(key, "TotRitAcc"));
  }
  c.Close(key);
  return d;
}

void Collega(Contesto& ctx, const TestataDocumento& t, int32_t numReg) {
  // The protocol number goes out as a 32-bit literal: protocols beyond 32767
  // are ordinary in a busy sales register.
  ctx.db.Execute(ctx.conn, "UPDATE Scadenze" + std::string(" SET NumReg = ") + util::SqlLiteral(numReg, 3) + " where " +
                               " AnnoReg =" + util::SqlLiteral(t.anno, 2) + " and PreProt =" +
                               util::SqlLiteral(t.preProt, 8) + " and NumProt =" + util::SqlLiteral(t.numProt, 3) +
                               " and DataProt =" + util::SqlLiteral(t.dataProt, 7));
}

struct Rata {
  util::Date data;
  double importo = 0;
  std::string pagTipo;
};

}  // namespace

ParametriContab LeggiParametri(Contesto& ctx) {
  ParametriContab p;
  p.contFatt = ctx.host.GetParameter("Fat.ContFatt").toText();
  if (Vuoto(p.contFatt)) p.contFatt = "N";
  p.fattCreaScad = ctx.host.GetParameter("Fat.FattCreaScad").toText();
  p.azzera = ctx.host.GetParameter("Coge.Azzera").toText();
  const std::string segno = ctx.host.GetParameter("Personal.Scadenze.\xC2\xA7NotaCredInvSegno").toText();
  p.notaCredInvSegno = segno == kMancante ? "N" : segno;
  return p;
}

int RateRegistrazione(Contesto& ctx, const ArgomentiContab& a, const ParametriContab& p, const TabelleContab& tab,
                      const TestataDocumento& t, const AttributiCausale& causale, const FigureDocumento& f,
                      int32_t numReg, std::string& testoScadenze) {
  if (!a.creaScadenze || Vuoto(t.pagamento)) return 0;
  if (!causale.Documento() && !Uguale(causale.regInsoluto, "S")) return 0;
  if (Uguale(a.modo, "N") && Uguale(p.fattCreaScad, "S") && Uguale(p.contFatt, "A") && !a.inLinea && !a.forzaScadenze) {
    Collega(ctx, t, numReg);
    return 0;
  }
  if (!Uguale(causale.tipoReg, "V") && !a.forzaScadenze) return 0;
  const TerminePagamento termine = LeggiTermine(ctx, t.pagamento);
  if (!termine.trovato) return 0;
  if ((Uguale(termine.regIncAut, "S") && !a.forzaScadenze) || termine.numScad < 0) return 0;

  // Gathered figures, then the other registrations of the same document.
  Doppio omaggi, ritenute;
  if (t.numRifFat != 0) omaggi = OmaggiAnticipi(ctx, tab, t, causale);
  if ((Uguale(causale.tipoReg, "A") || Uguale(causale.tipoReg, "V")) && !Vuoto(causale.causRit))
    ritenute = Ritenute(ctx, tab, t, causale);

  // The account goes to the lookup by its three parts: joined into one code
  // it would be split again at fixed widths, which finds another account (or
  // none) when a part is shorter than its field.
  const lookup::Decodifica conto = Decodifica(ctx, "Conto", "", {"Banca", "CCorrente", "RagRb"},
                                              "PianoConti.Gruppo = " + util::SqlLiteral(f.gruppo, 8) +
                                                  " and PianoConti.Conto = " + util::SqlLiteral(f.conto, 8) +
                                                  " and PianoConti.Mastro = " + util::SqlLiteral(f.mastro, 8));
  const lookup::Decodifica moneta = Decodifica(ctx, "Moneta", t.moneta, {"NumDec", "Operatore"});

  util::Value banca = t.banca, ragRb = t.ragRB;
  if (a.forzaScadenze) {
    banca = conto.valori[0];
    ragRb = conto.valori[2];
  }
  if (a.bancaForzata) banca = *a.bancaForzata;
  if (a.ragRbForzato) ragRb = *a.ragRbForzato;

  const bool inValuta = !Uguale(termine.scadValuta, "N") && Uguale(causale.inValuta, "S");
  std::string monetaRate = ctx.azienda.monetaAzienda;
  int16_t decimali = ctx.azienda.decAzienda;
  std::string operatore = ctx.azienda.operCambio;
  double cambio = 1;
  if (inValuta) {
    monetaRate = t.moneta;
    decimali = moneta.trovato ? moneta.valori[0].toInteger() : 2;
    operatore = moneta.trovato ? moneta.valori[1].toText() : "/";
    cambio = t.cambio;
  }
  auto scegli = [&](const Doppio& d) { return inValuta ? d.mon : d.azienda; };
  FigureRate figure;
  figure.totale = scegli(f.totale);
  figure.iva = scegli(f.iva);
  figure.ivaRevCharge = scegli(f.ivaRevCharge);
  figure.merci = scegli(f.merci);
  figure.omaggiAnticipi = scegli(omaggi);
  figure.ritenute = scegli(ritenute);
  const ImportiDaScadenzare importi = CalcolaImportiRate(causale, figure, f.totale.azienda);

  schedule::ArgomentiScadenze s;
  s.dataDoc = t.dataDoc.isNull() ? util::Date() : t.dataDoc.toDate();
  s.importo = importi.netto - importi.iva;
  s.iva = importi.iva;
  s.pagamento = t.pagamento;
  s.gruppo = f.gruppo;
  s.mastro = f.mastro;
  s.conto = f.conto;
  s.decimali = decimali;
  s.modoMagg = a.modoMagg;
  s.percMagg = a.percMagg;
  s.importiMagg = a.importiMagg;
  s.passoArrotMagg = a.passoArrotMagg;
  s.modoArrotMagg = a.modoArrotMagg;
  s.minimoMagg = a.minimoMagg;
  s.massimoMagg = a.massimoMagg;
  schedule::CalcolaScadenze(ctx, s);
  if (s.numErrori > 0) {
    testoScadenze = s.testoErrori;
    ui::Avviso(ctx.op, "Errori nel calcolo scadenze: \n" + s.testoErrori);
    return s.numErrori;
  }

  std::vector<Rata> rate;
  for (int16_t i = 0; i < s.numScad && static_cast<size_t>(i) < s.importiScad.size(); ++i)
    rate.push_back({s.dateScad[static_cast<size_t>(i)], s.importiScad[static_cast<size_t>(i)], ""});

  db::DbCursor c;
  {
    // Installments the invoicing module defined on the invoice win over the term.
    const std::string key = c.Open(ctx.db, ctx.conn, "",
                                   std::string("Select FatScadenze.*") + " from FatScadenze" +
                                       " Where Anno = " + util::SqlLiteral(t.annoFat, 2) +
                                       " And NumRif = " + util::SqlLiteral(t.numRifFat, 3),
                                   false, db::kSnapshot);
    if (!c.IsEmpty(key)) {
      rate.clear();
      for (c.MoveFirst(key); !c.Eof(key); c.MoveNext(key))
        rate.push_back({c.GetField(key, "DataScad").toDate(),
                        c.GetField(key, Uguale(termine.scadValuta, "N") ? "ImportoEuro" : "Importo").toDouble(),
                        c.FieldValue(key, "PagTipo").toText()});
    }
    c.Close(key);
  }

  const std::string tipoTesto = f.primoTipo;
  const bool tipoCliente = tipoTesto == "3";
  const bool tipoFornitore = tipoTesto == "2";
  const bool segnoPiu = importi.segno == '+';
  const std::string& regola = p.notaCredInvSegno;

  Transazione transazione(ctx);
  const std::string key = c.Open(ctx.db, ctx.conn, "", "Select * from Scadenze where false", false, db::kUpdatable);
  for (size_t i = 0; i < rate.size(); ++i) {
    const Rata& r = rate[i];
    if (r.importo == 0) continue;
    int32_t numProg = ProssimoNumero(ctx, t.anno, "Scadenze", "NumProg", false);
    c.AddNew(key);
    c.SetField(key, "Anno", util::Value(t.anno));
    c.SetField(key, "NumProg", util::Value(numProg));
    c.SetField(key, "Tipo", tipoTesto.empty() ? util::Value() : util::Value(tipoTesto).toInteger());
    c.SetField(key, "GruppoScad", util::Value(f.gruppo));
    c.SetField(key, "MastroScad", util::Value(f.mastro));
    c.SetField(key, "ContoScad", util::Value(f.conto));
    ScriviData(c, key, "DataScad", util::Value(r.data));
    c.SetField(key, "Pagamento", util::Value(t.pagamento));
    c.SetField(key, "PagTipo", util::Value(Vuoto(r.pagTipo) ? termine.pagTipo : r.pagTipo));
    c.SetField(key, "BancaCF", banca);
    c.SetField(key, "CCorrente", conto.valori[1]);
    const int32_t numRegRata = Uguale(a.modo, "A") ? -numReg : numReg;
    if (numRegRata != 0) c.SetField(key, "NumReg", util::Value(numRegRata));
    c.SetField(key, "AnnoReg", util::Value(t.anno));
    c.SetField(key, "Prefisso", t.preDoc);
    c.SetField(key, "NumDoc", t.numDoc);
    c.SetField(key, "DataDoc", t.dataDoc);
    c.SetField(key, "PreProt", t.preProt);
    c.SetField(key, "NumProt", t.numProt);
    ScriviData(c, key, "DataProt", t.dataProt);
    c.SetField(key, "Causale", util::Value(t.causale));
    c.SetField(key, "Rata", util::Value(static_cast<int16_t>(i + 1)));
    c.SetField(key, "Moneta", util::Value(monetaRate));
    c.SetField(key, "Cambio", util::Value(cambio));

    double importo = r.importo;
    std::string entrataUscita;
    util::Value ragRbRata = ragRb;
    if (Uguale(regola, "N")) {
      entrataUscita = segnoPiu ? "E" : "U";
    } else {
      if (Uguale(regola, "T")) ragRbRata = util::Value("S");
      entrataUscita = tipoCliente ? "E" : "U";
      if ((tipoCliente && !segnoPiu) || (tipoFornitore && segnoPiu)) importo = -importo;
    }
    c.SetField(key, "RagRB", ragRbRata);
    c.SetField(key, "EntrataUscita", util::Value(entrataUscita));
    company::ArgomentiConversione conv;
    conv.importo = importo;
    conv.cambio = util::Value(cambio);
    conv.operatore = operatore;
    conv.moneta = monetaRate;
    conv.arrotLire = conv.arrotEuro = conv.arrotTerza = true;
    const company::ImportiConvertiti eq =
        company::ConvertiImporto(ctx.azienda.Valuta(), ctx.azienda.arrotondamenti.get(), conv);
    c.SetField(key, "ImportoScad", util::Value(util::Money::FromDouble(importo)));
    c.SetField(key, "ImportoScadLire", util::Value(util::Money::FromDouble(eq.lire)));
    c.SetField(key, "ImportoScadEuro", util::Value(util::Money::FromDouble(eq.euro)));
    c.SetField(key, "ImportoFatt", util::Value(util::Money::FromDouble(importi.totale)));
    c.SetField(key, "ImpPagato", util::Value(static_cast<int16_t>(0)));
    c.SetField(key, "Insoluto", util::Value(Uguale(causale.regInsoluto, "S") ? "S" : "N"));
    c.SetField(key, "Manuale", util::Value("N"));
    c.SetField(key, "CIG", t.cig);
    c.SetField(key, "CUP", t.cup);
    UpdateNoKeyDoppia(c, key, "NumProg", numProg);
  }
  c.Close(key);
  transazione.Conferma();
  return 0;
}

}  // namespace compensato::posting
