#include "src/worklist/RegoleLista.h"

#include <cmath>

#include "components/util/Round.h"
#include "components/util/Text.h"
#include "components/util/Value.h"

namespace compensato::lista {

bool LeggiImporto(const std::string& testo, double& valore) {
  const std::string t = util::Trim(testo);
  if (t.empty()) return false;
  return util::ParseItalianNumber(t, valore);
}

int ColonnaAmmessa(int nuova, int precedente) {
  if (nuova == kColonnaPagato || nuova == kColonnaStato) return nuova;
  return precedente == kColonnaPagato ? kColonnaStato : kColonnaPagato;
}

std::string TestoInizialePagato(const std::string& pagato, const std::string& dovuto) {
  double v = 0;
  if (!LeggiImporto(pagato, v) || v == 0) return dovuto;
  return pagato;
}

std::optional<std::string> RifiutoPagato(double dovuto, const std::string& digitato) {
  double v = 0;
  if (!LeggiImporto(digitato, v)) return std::nullopt;  // taken as 0 afterwards
  if (dovuto < 0 && v > 0) return std::string(kChiediNegativo);
  if (dovuto > 0 && v < 0) return std::string(kChiediPositivo);
  return std::nullopt;
}

Pagato DopoPagato(const std::string& digitato, double dovuto, int decimali) {
  double v = 0;
  if (!LeggiImporto(digitato, v)) v = 0;
  Pagato p;
  p.importo = util::Round(v, "A", 1, -decimali);
  if (p.importo == 0)
    p.stato = " ";
  else if (std::fabs(p.importo) < std::fabs(dovuto))
    p.stato = "A";
  else
    p.stato = "C";
  return p;
}

std::optional<std::string> StatoAccettato(const std::string& digitato, double pagato, double dovuto) {
  const std::string s = util::ToUpper(util::Trim(digitato));
  if (s == "A" || s == "C") {
    if (pagato == 0) return std::string(" ");
    if (std::fabs(pagato) >= std::fabs(dovuto)) return std::string("C");
    return s;
  }
  if (s.empty()) {
    if (pagato == 0) return std::string(" ");
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace compensato::lista
