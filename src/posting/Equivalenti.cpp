#include "src/posting/Equivalenti.h"

#include "components/util/Round.h"
#include "components/util/Value.h"
#include "src/posting/Causale.h"

namespace compensato::posting {
namespace {

double CambioLira(const company::DatiAzienda& az) {
  double v = 0;
  return util::ParseItalianNumber(az.cambioLiraEuro, v) ? v : 0;
}

double R(double x, int decimali) { return util::Round(x, "A", 1, -decimali); }

double InEuro(double importo, double cambio, const std::string& operatore) {
  if (operatore == "/") return cambio == 0 ? importo : importo / cambio;
  return importo * cambio;
}

double DaEuro(double euro, double cambio, const std::string& operatore) {
  if (operatore == "*") return cambio == 0 ? euro : euro / cambio;
  return euro * cambio;
}

}  // namespace

Equivalente ConvertiRata(const company::DatiAzienda& az, double importo, const std::string& moneta,
                         double cambio, const std::string& operatore) {
  const double cambioLira = CambioLira(az);
  Equivalente e;
  if (Uguale(moneta, az.codEuro)) {
    e.lire = R(DaEuro(importo, cambioLira, az.operCambio), az.decLire);
    e.euro = importo;
  } else if (Uguale(moneta, az.codLira)) {
    e.euro = R(InEuro(importo, cambioLira, az.operCambio), az.decEuro);
    e.lire = importo;
  } else {
    const double euro = InEuro(importo, cambio, operatore.empty() ? az.operCambio : operatore);
    e.lire = R(DaEuro(euro, cambioLira, az.operCambio), az.decLire);
    e.euro = R(euro, az.decEuro);
  }
  return e;
}

}  // namespace compensato::posting
