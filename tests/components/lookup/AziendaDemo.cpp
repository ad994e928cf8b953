#include "tests/components/lookup/AziendaDemo.h"

#include "tools/democompany/DemoCompany.h"

namespace testlookup {

void CreaAziendaDemo(testsupport::TestDatabase& db) {
  demo::Opzioni o;
  o.scadenze = 0;
  o.odbc = db.engine() == testsupport::Engine::Postgres;
  demo::CreaAzienda(db.executor(), db.conn(), o);
  const char* righe[] = {
      "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, Localita, PartitaIva) VALUES "
      "('14', '01', '000090', 3, 'Sconto 10% Rossi_Bianchi S.r.l.', 'Bari', 'IT09999900011')",
      "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione, Localita, PartitaIva) VALUES "
      "('14', '01', '000091', 3, 'Sconto 100 Rossi Bianchi S.n.c.', 'Lecce', 'IT08888800022')",
      "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES "
      "('40', '01', '000090', 2, 'Fornitore *unico* S.p.A.')",
      "INSERT INTO PianoConti (Gruppo, Mastro, Conto, Tipo, Descrizione) VALUES "
      "('40', '01', '000091', 2, 'Fornitore unico S.a.s.')",
  };
  for (const char* sql : righe) db.executor().Execute(db.conn(), sql);
}

}  // namespace testlookup
