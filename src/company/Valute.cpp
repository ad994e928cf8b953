#include "src/company/Valute.h"

#include <cmath>
#include <stdexcept>

#include "components/util/Error.h"
#include "components/util/Round.h"
#include "components/util/Text.h"

namespace company {
namespace {

bool StessoCodice(std::string_view a, std::string_view b) {
  return util::EqualsIgnoreCase(util::Trim(a), util::Trim(b));
}

bool Vuoto(const util::Value& v) {
  return v.isNull() || (v.type() == util::VType::Text && util::Trim(v.text()).empty());
}

// A rate as a number; a rate that is not a number is a configuration or
// screen fault and fails as the type mismatch it is.
double Numero(const util::Value& v, const char* cosa) {
  try {
    return v.toDouble();
  } catch (const std::exception&) {
    throw util::RuntimeError(util::err::kTypeMismatch, std::string(cosa) + " non numerico: " + v.toText(), "Valute");
  }
}

double ArrotondaDecimali(double importo, int decimali) { return util::Round(importo, "A", 1, -decimali); }

}  // namespace

double ContestoValuta::CambioLiraEuro() const {
  const util::Value v(cambioLiraEuro);
  return Vuoto(v) ? 0 : Numero(v, "Cambio lira/euro");
}

bool ContestoValuta::EUnaLira(std::string_view moneta) const { return StessoCodice(moneta, codLira); }
bool ContestoValuta::EEuro(std::string_view moneta) const { return StessoCodice(moneta, codEuro); }

const std::vector<FasciaArrotondamento>& TabelleArrotondamento::Tabella(bool lire) {
  auto& tabella = lire ? lire_ : euro_;
  if (!tabella) {
    // Not marked loaded when the reading fails, so the next use tries again.
    tabella = caricatore_ ? caricatore_(lire ? "ArrotLire" : "ArrotEuro") : std::vector<FasciaArrotondamento>{};
  }
  return *tabella;
}

double ArrotondaConTabella(const ContestoValuta& cv, TabelleArrotondamento* tabelle, double importo,
                           std::string_view tipo) {
  const bool lire = StessoCodice(tipo, "L");
  static const std::vector<FasciaArrotondamento> kVuota;
  const auto& fasce = tabelle ? tabelle->Tabella(lire) : kVuota;
  if (fasce.empty()) return ArrotondaDecimali(importo, lire ? cv.decLire : cv.decEuro);
  // Bands bound the size of an amount: a credit note of -5000 rounds as 5000
  // does, not by the first band, which every negative number would satisfy.
  const double grandezza = std::fabs(importo);
  const FasciaArrotondamento* scelta = &fasce.back();
  for (const FasciaArrotondamento& f : fasce) {
    if (grandezza <= f.finoA) {
      scelta = &f;
      break;
    }
  }
  return util::Round(importo, scelta->tipoArrot, scelta->valArrot);
}

double ConvertiInEuro(const ContestoValuta& cv, TabelleArrotondamento* tabelle, double importo,
                      const util::Value& cambio, const std::optional<std::string>& operatore,
                      const std::optional<std::string>& moneta, bool arrotonda, std::optional<int> decimali,
                      bool tabella) {
  const std::string m = moneta.value_or(cv.monetaAzienda);
  util::Value tasso = cambio;
  std::string op;
  if (cv.EUnaLira(m)) {
    tasso = util::Value(cv.cambioLiraEuro);
    op = cv.operCambio;
  } else if (cv.EEuro(m)) {
    tasso = util::Value(1.0);
    op = "*";
  } else {
    op = operatore.value_or(cv.operCambio);
  }
  const double r = Vuoto(tasso) ? 0 : Numero(tasso, "Cambio");
  double euro;
  if (util::Trim(op) == "/")
    euro = r == 0 ? importo : importo / r;
  else
    euro = importo * r;
  if (tabella) return ArrotondaConTabella(cv, tabelle, euro, "E");
  if (arrotonda) return ArrotondaDecimali(euro, decimali.value_or(cv.decEuro));
  return euro;
}

double ConvertiDaEuro(const ContestoValuta& cv, TabelleArrotondamento* tabelle, double importo,
                      const util::Value& cambio, const std::string& operatore, const std::optional<std::string>& moneta,
                      bool arrotonda, std::optional<int> decimali, bool tabella) {
  const std::string m = moneta.value_or(cv.monetaAzienda);
  util::Value tasso = cambio;
  std::string op = operatore;
  if (cv.EUnaLira(m)) {
    tasso = util::Value(cv.cambioLiraEuro);
    op = cv.operCambio;
  } else if (cv.EEuro(m)) {
    tasso = util::Value(1.0);
    op = "/";
  }
  const double r = Vuoto(tasso) ? 1 : Numero(tasso, "Cambio");
  double valore;
  if (util::Trim(op) == "*")
    valore = r == 0 ? importo : importo / r;
  else
    valore = importo * r;
  if (tabella) return ArrotondaConTabella(cv, tabelle, valore, "L");
  if (arrotonda) return ArrotondaDecimali(valore, decimali.value_or(cv.decLire));
  return valore;
}

ImportiConvertiti ConvertiImporto(const ContestoValuta& cv, TabelleArrotondamento* tabelle,
                                  const ArgomentiConversione& a) {
  const std::string c = a.moneta.value_or(cv.monetaAzienda);
  const int decLire = a.decLire.value_or(cv.decLire);
  const int decEuro = a.decEuro.value_or(cv.decEuro);
  const int decTerza = a.decTerza.value_or(cv.decEuro);
  const util::Value cambioLira(cv.cambioLiraEuro);
  const bool catena = a.catena != 0;

  auto inEuroDaLire = [&](double x, bool arrot, bool tab) {
    return ConvertiInEuro(cv, tabelle, x, cambioLira, cv.operCambio, cv.codLira, arrot, decEuro, tab);
  };
  auto inLireDaEuro = [&](double x) {
    return ConvertiDaEuro(cv, tabelle, x, cambioLira, cv.operCambio, cv.codLira, a.arrotLire, decLire, a.tabellaLire);
  };
  auto inEuroNonArrotondato = [&](double x) { return ConvertiInEuro(cv, tabelle, x, a.cambio, a.operatore, c); };

  ImportiConvertiti out;
  if (!StessoCodice(a.modo, "M")) {
    if (cv.EEuro(c)) {
      out.lire = inLireDaEuro(a.importo);
      out.euro = catena ? inEuroDaLire(out.lire, a.arrotEuro, a.tabellaEuro) : a.importo;
      out.moneta = out.euro;
    } else if (cv.EUnaLira(c)) {
      out.euro = inEuroDaLire(a.importo, a.arrotEuro, a.tabellaEuro);
      out.lire = catena ? inLireDaEuro(out.euro) : a.importo;
      out.moneta = out.lire;
    } else if (!catena) {
      const double euro0 = inEuroNonArrotondato(a.importo);
      out.lire = inLireDaEuro(euro0);
      out.euro = ConvertiInEuro(cv, tabelle, a.importo, a.cambio, a.operatore, c, a.arrotEuro, decEuro, a.tabellaEuro);
      out.moneta = a.importo;
    } else if (StessoCodice(a.modo, "E")) {
      out.euro = ConvertiInEuro(cv, tabelle, a.importo, a.cambio, a.operatore, c, a.arrotEuro, decEuro, a.tabellaEuro);
      out.lire = inLireDaEuro(out.euro);
      out.moneta = a.importo;
    } else {
      out.lire = inLireDaEuro(inEuroNonArrotondato(a.importo));
      out.euro = inEuroDaLire(out.lire, a.arrotEuro, a.tabellaEuro);
      out.moneta = a.importo;
    }
    out.azienda = StessoCodice(cv.monetaAzienda, cv.codLira) ? out.lire : out.euro;
    return out;
  }

  // Mode "M": the amount is in lire (kind "L") or in euro; the third value is
  // the amount in currency c.
  double euro;
  if (StessoCodice(a.tipo, "L")) {
    out.lire = a.importo;
    euro = inEuroDaLire(a.importo, false, false);
  } else {
    euro = a.importo;
    out.lire = inLireDaEuro(a.importo);
  }
  out.euro = euro;
  out.moneta = ConvertiDaEuro(cv, tabelle, euro, a.cambio, a.operatore, c, a.arrotTerza, decTerza, false);
  out.azienda = out.moneta;
  return out;
}

int ConfrontaImporti(const util::Value& a, const util::Value& b, int p) {
  if (b.isNull()) return a.toText().empty() ? 0 : 1;
  const double x = util::Round(Numero(a, "Importo"), "A", 1, p);
  const double y = util::Round(Numero(b, "Importo"), "A", 1, p);
  if (x < y) return -1;
  return x == y ? 0 : 1;
}

}  // namespace company
