#pragma once

#include <string>
#include <vector>

#include "tests/support/TestDatabase.h"

namespace testlookup {

// The demo company's tables (no documents), plus a few accounts whose
// descriptions hold the characters a LIKE would take as wildcards:
//   14-01-000090 "Sconto 10% Rossi_Bianchi S.r.l."  customer, Bari
//   14-01-000091 "Sconto 100 Rossi Bianchi S.n.c."  customer, Lecce
//   40-01-000090 "Fornitore *unico* S.p.A."         supplier
//   40-01-000091 "Fornitore unico S.a.s."           supplier
void CreaAziendaDemo(testsupport::TestDatabase& db);

// The codes of the rows a search gave, in order.
template <class Righe>
std::vector<std::string> Codici(const Righe& righe) {
  std::vector<std::string> c;
  for (const auto& r : righe) c.push_back(r.codice);
  return c;
}

}  // namespace testlookup
