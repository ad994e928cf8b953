#include "src/posting/Causale.h"

#include <cctype>
#include <optional>

#include "components/db/DbCursor.h"
#include "components/lookup/Lookdex.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"

namespace compensato::posting {
namespace {

bool Vuoto(const std::string& s) {
  for (char c : s)
    if (!std::isspace(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

bool Uguale(const std::string& a, const std::string& b) { return util::EqualsIgnoreCase(a, b); }

bool AttributiCausale::Apertura() const { return Uguale(tipoCausale, "AP"); }

bool AttributiCausale::Documento() const {
  return Uguale(tipoCausale, "A") || Uguale(tipoCausale, "AS") || Uguale(tipoCausale, "V") || Uguale(tipoCausale, "VS");
}

const AttributiCausale& CausaliLette::Leggi(const std::string& causale) {
  auto it = lette_.find(causale);
  if (it == lette_.end()) it = lette_.emplace(causale, Carica(causale)).first;
  return it->second;
}

AttributiCausale CausaliLette::Carica(const std::string& causale) {
  std::optional<lookup::Lookdex> locale;
  lookup::Lookdex* lookdex = ctx_.lookup;
  if (!lookdex) lookdex = &locale.emplace(ctx_.db, ctx_.conn);
  const lookup::Decodifica d =
      lookdex->DecodificaCodice("Causale", causale,
                                {"TipoCausale", "TipoReg", "InValuta", "RegInsoluto", "CausRit", "IntraCee",
                                 "RevCharge", "ImportNoCee", "CausConcatenata"});
  AttributiCausale a;
  a.tipoCausale = d.valori[0].toText();
  a.tipoReg = d.valori[1].toText();
  a.inValuta = d.valori[2].toText();
  a.regInsoluto = d.valori[3].toText();
  a.causRit = d.valori[4].toText();
  a.intraCee = d.valori[5].toText();
  a.revCharge = d.valori[6].toText();
  a.importNoCee = d.valori[7].toText();
  a.causConcatenata = d.valori[8].toText();

  if (Uguale(a.importNoCee, "S")) {
    db::DbCursor c;
    const std::string key =
        c.Open(ctx_.db, ctx_.conn, "",
               "Select * from causali Where Causale = " + util::SqlLiteral(a.causConcatenata, 8), false, db::kSnapshot);
    if (!c.IsEmpty(key)) {
      a.collegataNonVendita = !Uguale(c.GetField(key, "TipoCausale").toText(), "V");
      a.collegataSenzaContropartita = Vuoto(c.GetField(key, "CoPartGruppo").toText());
    }
    c.Close(key);
  }
  return a;
}

}  // namespace compensato::posting
