#include <string>

#include "components/db/DbCursor.h"
#include "components/util/Error.h"
#include "components/util/SqlLiteral.h"
#include "src/data/Contesto.h"
#include "src/schedule/CalcolaScadenze.h"

namespace compensato::schedule {
namespace {

// The numbered columns exist only up to the largest NumScad the company uses;
// one that is not there reads as 0.
util::Value Numerato(db::DbCursor& c, const std::string& key, const std::string& colonna) {
  try {
    return c.GetField(key, colonna);
  } catch (const util::RuntimeError& e) {
    if (e.number() != util::err::kFieldNotFound) throw;
    return util::Value();
  }
}

std::optional<TerminePagamento> LeggiTermine(Contesto& ctx, const std::string& codice) {
  db::DbCursor c;
  const std::string key =
      c.Open(ctx.db, ctx.conn, "", "Select * From Pagamenti Where Pagamenti.Pagamento = " + util::SqlLiteral(codice, 8),
             false, db::kSnapshot);
  if (c.IsEmpty(key)) return std::nullopt;
  TerminePagamento t;
  t.decorrenza = c.GetField(key, "Decorrenza").toText();
  t.periodicita = c.GetField(key, "Periodicita").toText();
  t.numScad = c.GetField(key, "NumScad").toInteger();
  t.trattamIva = c.GetField(key, "TrattamIva").toText();
  t.giornoFisso = c.GetField(key, "GiornoFisso").toInteger();
  t.numGGMM = c.GetField(key, "NumGGMM").toInteger();
  for (int n = 1; n <= t.numScad; ++n) {
    t.periodo.push_back(Numerato(c, key, "Periodo" + std::to_string(n)).toInteger());
    t.percentuale.push_back(Numerato(c, key, "Percentuale" + std::to_string(n)).toDouble());
  }
  c.Close(key);
  return t;
}

std::optional<MesiEsclusi> LeggiConto(Contesto& ctx, const ArgomentiScadenze& a) {
  db::DbCursor c;
  const std::string key =
      c.Open(ctx.db, ctx.conn, "",
             std::string("Select * From PianoConti Where") + " PianoConti.Gruppo = " + util::SqlLiteral(a.gruppo, 8) +
                 " And PianoConti.Mastro = " + util::SqlLiteral(a.mastro, 8) +
                 " And PianoConti.Conto = " + util::SqlLiteral(a.conto, 8),
             false, db::kSnapshot);
  if (c.IsEmpty(key)) return std::nullopt;
  MesiEsclusi m;
  m.meseNoEf1 = c.GetField(key, "MeseNoEf1").toInteger();
  m.gioMesSucc1 = c.GetField(key, "GioMesSucc1").toInteger();
  m.meseNoEf2 = c.GetField(key, "MeseNoEf2").toInteger();
  m.gioMesSucc2 = c.GetField(key, "GioMesSucc2").toInteger();
  c.Close(key);
  return m;
}

}  // namespace

void CalcolaScadenze(Contesto& ctx, ArgomentiScadenze& a) {
  std::optional<TerminePagamento> termine;
  std::optional<MesiEsclusi> conto;
  try {
    if (!a.pagamento.empty()) {
      termine = LeggiTermine(ctx, a.pagamento);
      if (termine) conto = LeggiConto(ctx, a);
    }
  } catch (const util::RuntimeError& e) {
    // A read that fails ends the calculation with its error and no installments.
    a.numScad = 0;
    a.dateScad.clear();
    a.importiScad.clear();
    a.numErrori = 0;
    a.testoErrori.clear();
    ErroriScadenze(a.numErrori, a.testoErrori).Aggiungi(e.number(), e.description());
    return;
  }
  CalcolaScadenze(termine, conto, a);
}

}  // namespace compensato::schedule
