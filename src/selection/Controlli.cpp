#include "src/selection/Controlli.h"

#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"
#include "src/company/ParametriAzienda.h"
#include "src/extraction/FiltroScadenze.h"

namespace compensato {
namespace {

constexpr const char* kDatiErrati = "Ci sono dei dati errati. Non è possibile continuare l'elaborazione";

bool Esiste(Contesto& ctx, const std::string& sql) {
  db::DbCursor c;
  const std::string k = c.Open(ctx.db, ctx.conn, "", sql, false, db::kSnapshot);
  const bool trovato = !c.IsEmpty(k);
  c.Close(k);
  return trovato;
}

bool ContoEsiste(Contesto& ctx, const std::string& codice, int tipo) {
  const PartiConto p = DividiConto(codice);
  return Esiste(ctx, "SELECT Tipo AS N FROM PianoConti WHERE Gruppo = " + util::SqlLiteral(p.gruppo, 8) +
                         " AND Mastro = " + util::SqlLiteral(p.mastro, 8) + " AND Conto = " +
                         util::SqlLiteral(p.conto, 8) + " AND Tipo = " + util::SqlLiteral(util::Value::Integer(tipo), 2));
}

bool Vuoto(const std::string& s) { return util::Trim(s).empty(); }

}  // namespace

std::vector<std::string> ControllaSelezione(Contesto& ctx, const SelezioneRun& s) {
  std::vector<std::string> m;
  bool errato = false;
  auto male = [&](bool condizione) { errato = errato || condizione; };

  male(s.tipoConto != 2 && s.tipoConto != 3);
  for (const std::string* c : {&s.contoDa, &s.contoA})
    male(!Vuoto(*c) && !ContoEsiste(ctx, *c, s.tipoConto));
  for (const std::string* c : {&s.contoPartita, &s.contoAbbAtt, &s.contoAbbPas})
    male(Vuoto(*c) || !ContoEsiste(ctx, *c, 1));
  const bool valuta = !Vuoto(s.moneta) && !util::EqualsIgnoreCase(s.moneta, ctx.azienda.monetaAzienda);
  for (const std::string* c : {&s.contoUtiCambio, &s.contoPerdCambio})
    male(Vuoto(*c) ? valuta : !ContoEsiste(ctx, *c, 1));
  if (!Vuoto(s.pagTipo))
    male(!Esiste(ctx, "SELECT PagTipo AS N FROM PagTipi WHERE PagTipo = " + util::SqlLiteral(s.pagTipo, 8)));
  male(Vuoto(s.moneta) ||
       !Esiste(ctx, "SELECT Moneta AS N FROM Monete WHERE Moneta = " + util::SqlLiteral(s.moneta, 8)));
  if (!Vuoto(s.cdc))
    male(!Esiste(ctx, "SELECT CentroDiCosto AS N FROM CentriDiCosto WHERE CentroDiCosto = " +
                          util::SqlLiteral(s.cdc, 8)));
  bool causale = false;
  std::string obbProtocollo, inValuta;
  if (!Vuoto(s.causale)) {
    db::DbCursor c;
    const std::string k = c.Open(ctx.db, ctx.conn, "",
                                 "SELECT ObbProtocollo, InValuta FROM Causali WHERE Causale = " +
                                     util::SqlLiteral(s.causale, 8),
                                 false, db::kSnapshot);
    causale = !c.IsEmpty(k);
    if (causale) {
      obbProtocollo = c.GetField(k, "ObbProtocollo").toText();
      inValuta = c.GetField(k, "InValuta").toText();
    }
    c.Close(k);
  }
  male(!causale);
  if (causale && util::EqualsIgnoreCase(inValuta, "S") && !valuta) {
    m.push_back("La moneta è è quella corrente. La causale non può essere in valuta");
    errato = true;
  } else if (causale && !util::EqualsIgnoreCase(inValuta, "S") && valuta) {
    m.push_back("La moneta è diversa dalla moneta corrente. La causale deve avere la gestione della valuta");
    errato = true;
  }
  if (s.importoMassimo == 0) {
    m.push_back("Indicare l'importo massimo per il compensato.");
    errato = true;
  }
  male(s.dataReg.isEmpty() || s.anno == 0);
  if (errato) {
    m.push_back(kDatiErrati);
    return m;
  }

  auto invertito = [](const std::string& da, const std::string& a) { return !Vuoto(da) && !Vuoto(a) && da > a; };
  auto dateInvertite = [](const util::Date& da, const util::Date& a) {
    return !da.isEmpty() && !a.isEmpty() && da > a;
  };
  if (invertito(s.contoDa, s.contoA)) m.push_back("Si prega di inserire i clienti/fornitori in ordine crescente");
  else if (dateInvertite(s.dataScadDa, s.dataScadA))
    m.push_back("Si prega di inserire le date di scadenza in ordine crescente");
  else if (dateInvertite(s.dataDocDa, s.dataDocA))
    m.push_back("Si prega di inserire le date di documento in ordine crescente");
  else if (invertito(s.numDocDa, s.numDocA))
    m.push_back("Si prega di inserire i numeri di documento in ordine crescente");
  if (!m.empty()) return m;

  const std::string partVis = company::LeggiParPers(ctx.host, "DATAOP", "PartVis", "");
  if (util::EqualsIgnoreCase(obbProtocollo, "S") || partVis == "S") {
    if (s.dataProt.isEmpty()) m.push_back("Si prega di inserire la data di protocollo");
    else if (s.numProt == 0) m.push_back("Si prega di inserire il nr.protocollo");
  }
  return m;
}

}  // namespace compensato
