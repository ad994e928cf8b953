#include "src/extraction/FiltroScadenze.h"

#include <cctype>

#include "components/util/AccountCode.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"

namespace compensato {
namespace {

bool NonVuoto(const std::string& s) {
  for (char c : s)
    if (!std::isspace(static_cast<unsigned char>(c))) return true;
  return false;
}

bool DataValida(const util::Date& d) { return !d.isEmpty(); }

std::string Minuscolo(const std::string& s) { return util::ToLower(s); }

}  // namespace

void CostruisciFiltroScadenze(Contesto& ctx, const std::string& t) {
  const SelezioneRun& s = ctx.run.selezione;
  ctx.run.filtro.tabella = t;
  std::string& from = ctx.run.filtro.from;
  std::string& where = ctx.run.filtro.where;
  from = "((" + t + " INNER JOIN PagTipi ON " + t + ".PagTipo = PagTipi.PagTipo)" + " INNER JOIN Monete ON " + t +
         ".Moneta = Monete.Moneta)";
  where = " WHERE  " + t + ".Tipo = " + util::SqlLiteral(s.tipoConto, 2);

  const util::AccountParts da = util::SplitAccountCode(s.contoDa);
  const util::AccountParts a = util::SplitAccountCode(s.contoA);
  const std::pair<const char*, const std::string*> limiti[] = {
      {".GruppoScad >=", &da.gruppo}, {".GruppoScad <=", &a.gruppo}, {".MastroScad >=", &da.mastro},
      {".MastroScad <=", &a.mastro},  {".ContoScad >=", &da.conto},  {".ContoScad <=", &a.conto},
  };
  for (const auto& [pezzo, parte] : limiti)
    if (NonVuoto(*parte)) where += " AND " + t + pezzo + util::SqlLiteral(*parte, 8);

  if (NonVuoto(s.moneta)) where += " AND " + t + ".Moneta = " + util::SqlLiteral(s.moneta, 8);
  if (NonVuoto(s.pagTipo)) where += " AND " + t + ".PagTipo = " + util::SqlLiteral(s.pagTipo, 8);

  const std::pair<const char*, const util::Date*> date[] = {
      {".DataScad >= ", &s.dataScadDa},
      {".DataScad <= ", &s.dataScadA},
      {".DataDoc >= ", &s.dataDocDa},
      {".DataDoc <= ", &s.dataDocA},
  };
  for (const auto& [pezzo, data] : date)
    if (DataValida(*data)) where += " AND " + t + pezzo + util::SqlLiteral(*data, 7);

  if (NonVuoto(s.prefissoDoc)) where += " AND " + t + ".Prefisso = " + util::SqlLiteral(s.prefissoDoc, 8);
  if (NonVuoto(s.numDocDa)) where += " AND " + t + ".NumDoc >= " + util::SqlLiteral(s.numDocDa, 8);
  if (NonVuoto(s.numDocA)) where += " AND " + t + ".NumDoc <= " + util::SqlLiteral(s.numDocA, 8);
  if (Minuscolo(s.effetti) == "n") where += " AND PagTipi.EmissEffetti = 'N'";

  where += " AND (" + t + ".NumRegPag is null OR " + t + ".NumRegPag = 0)";
  where += " AND " + t + ".DataRegPag is null";
  where += " AND (" + t + ".NumDist is null OR " + t + ".NumDist = 0)";
  if (Minuscolo(t) == "scadenze") {
    where += " AND (" + t + ".Utente = " + util::SqlLiteral(" ", 8) + " OR " + t + ".Utente is null)";
    where += " AND " + t + ".FlStato IS NULL";
  }
}

}  // namespace compensato
