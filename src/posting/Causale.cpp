#include "src/posting/Causale.h"

#include <cctype>
#include <optional>

#include "components/db/DbCursor.h"
#include "components/lookup/Lookdex.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"

namespace compensato::posting {
namespace {

std::string Testo(const util::Value& v) { return v.isNull() ? std::string() : v.toText(); }

bool Vuoto(const std::string& s) {
  for (char c : s)
    if (!std::isspace(static_cast<unsigned char>(c))) return false;
  return true;
}

}  // namespace

bool Uguale(const std::string& a, const std::string& b) { return util::EqualsIgnoreCase(a, b); }

bool AttributiCausale::Apertura() const { return Uguale(tipoCausale, "AP"); }

bool AttributiCausale::Documento() const {
  return Uguale(tipoCausale, "A") || Uguale(tipoCausale, "AS") || Uguale(tipoCausale, "V") ||
         Uguale(tipoCausale, "VS");
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
  const lookup::Decodifica d = lookdex->DecodificaCodice(
      "Causale", causale,
      {"TipoCausale", "TipoReg", "InValuta", "RegInsoluto", "CausRit", "IntraCee", "RevCharge",
       "ImportNoCee", "CausConcatenata"});
  AttributiCausale a;
  a.tipoCausale = Testo(d.valori[0]);
  a.tipoReg = Testo(d.valori[1]);
  a.inValuta = Testo(d.valori[2]);
  a.regInsoluto = Testo(d.valori[3]);
  a.causRit = Testo(d.valori[4]);
  a.intraCee = Testo(d.valori[5]);
  a.revCharge = Testo(d.valori[6]);
  a.importNoCee = Testo(d.valori[7]);
  a.causConcatenata = Testo(d.valori[8]);

  if (Uguale(a.importNoCee, "S")) {
    db::DbCursor c;
    const std::string key = c.Open(
        ctx_.db, ctx_.conn, "",
        "Select * from causali Where Causale = " + util::SqlLiteral(a.causConcatenata, 8), false,
        db::kSnapshot);
    if (!c.IsEmpty(key)) {
      a.collegataNonVendita = !Uguale(Testo(c.GetField(key, "TipoCausale")), "V");
      a.collegataSenzaContropartita = Vuoto(Testo(c.GetField(key, "CoPartGruppo")));
    }
    c.Close(key);
  }
  return a;
}

}  // namespace compensato::posting
