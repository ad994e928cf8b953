#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "components/util/Value.h"

namespace db {
class DbExecutor;
}

namespace company {

// What a conversion needs to know of the company: its currency, the codes of
// the lira and of the euro in `Monete`, how the fixed lira/euro rate applies
// and the decimals of both. Built from the company values (DatiAzienda) or by
// a test; passed by reference, never held globally.
struct ContestoValuta {
  std::string monetaAzienda = "Euro";
  std::string codLira = "L.";
  std::string codEuro = "Euro";
  std::string operCambio = "/";
  std::string cambioLiraEuro = "1936,27";  // text with a decimal comma
  int16_t decLire = 2;
  int16_t decEuro = 2;

  // The lira/euro rate as a number; 0 when the text is empty. A text that is
  // not a number raises RuntimeError 13.
  double CambioLiraEuro() const;
  bool EUnaLira(std::string_view moneta) const;
  bool EEuro(std::string_view moneta) const;
};

// One band of a rounding table: amounts up to and including finoA round to a
// multiple of valArrot with mode tipoArrot (see util::Round).
struct FasciaArrotondamento {
  double finoA = 0;
  double valArrot = 0;
  std::string tipoArrot;
};

// The rounding tables ArrotLire and ArrotEuro, each read the first time it is
// needed and kept for the rest of the run. Without a loader both read empty.
class TabelleArrotondamento {
 public:
  // Gives the bands of "ArrotLire" or "ArrotEuro" in ascending finoA.
  using Caricatore = std::function<std::vector<FasciaArrotondamento>(const std::string& tabella)>;

  TabelleArrotondamento() = default;
  explicit TabelleArrotondamento(Caricatore caricatore) : caricatore_(std::move(caricatore)) {}

  // The bands of the lire table (lire true) or of the euro table.
  const std::vector<FasciaArrotondamento>& Tabella(bool lire);

 private:
  Caricatore caricatore_;
  std::optional<std::vector<FasciaArrotondamento>> lire_, euro_;
};

// Reads the tables from the company database on the given connection.
TabelleArrotondamento::Caricatore CaricatoreDaDatabase(db::DbExecutor& executor, std::string conn);

// Rounds by the table of the kind ("L" lire, anything else euro): the first
// band whose bound the amount's magnitude does not exceed, or the last band;
// an empty table rounds to the decimals of the currency.
double ArrotondaConTabella(const ContestoValuta& cv, TabelleArrotondamento* tabelle, double importo,
                           std::string_view tipo);

// An amount of a currency in euro. The lira and the euro bring their own rate
// and operator, whatever was passed; any other currency uses the rate passed
// (an empty rate counts as 0) with the operator passed, or the company's.
double ConvertiInEuro(const ContestoValuta& cv, TabelleArrotondamento* tabelle, double importo,
                      const util::Value& cambio, const std::optional<std::string>& operatore = std::nullopt,
                      const std::optional<std::string>& moneta = std::nullopt, bool arrotonda = false,
                      std::optional<int> decimali = std::nullopt, bool tabella = false);

// A euro amount in a currency; an empty rate counts as 1; the decimals default
// to the lira decimals.
double ConvertiDaEuro(const ContestoValuta& cv, TabelleArrotondamento* tabelle, double importo,
                      const util::Value& cambio, const std::string& operatore,
                      const std::optional<std::string>& moneta = std::nullopt, bool arrotonda = false,
                      std::optional<int> decimali = std::nullopt, bool tabella = false);

// The arguments of ConvertiImporto, in their order.
struct ArgomentiConversione {
  double importo = 0;
  util::Value cambio;                 // rate of the amount's currency
  std::string operatore;              // its exchange operator
  std::optional<std::string> moneta;  // the amount's currency; default the company's
  bool arrotLire = false;
  bool arrotEuro = false;
  bool arrotTerza = false;
  std::optional<int> decLire;   // default the lira decimals
  std::optional<int> decEuro;   // default the euro decimals
  std::optional<int> decTerza;  // default the euro decimals
  bool tabellaLire = false;
  bool tabellaEuro = false;
  std::string modo = "E";  // "M": the amount is in lire or euro by `tipo`
  std::string tipo = "E";
  int16_t catena = 0;  // -1: chain the conversions
};

struct ImportiConvertiti {
  double lire = 0;
  double euro = 0;
  double moneta = 0;   // in the amount's currency
  double azienda = 0;  // the result: in the company currency (mode "M": in the currency)
};

ImportiConvertiti ConvertiImporto(const ContestoValuta& cv, TabelleArrotondamento* tabelle,
                                  const ArgomentiConversione& a);

// The comparison of two amounts at precision 10^p: -1, 0 or 1. A null b
// gives 0 for an empty a and 1 otherwise.
int ConfrontaImporti(const util::Value& a, const util::Value& b, int p);

}  // namespace company
