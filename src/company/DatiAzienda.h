#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "components/util/Date.h"
#include "src/company/Valute.h"

namespace company {

// The company values loaded once at startup from the menu host and the
// currency table (CaricaDatiAzienda).
struct DatiAzienda {
  util::Date dataLavoro;    // accounting day of the menu host
  std::string descrizione;  // "DescAzie"
  std::string monetaAzienda = "Euro";
  std::string codLira = "L.";
  std::string codEuro = "Euro";
  std::string operCambio = "/";
  std::string cambioLiraEuro = "1936,27";  // text with a decimal comma
  int16_t decLire = 2, decGestLire = 2;
  int16_t decEuro = 2, decGestEuro = 2;
  int16_t decAzienda = 2, decGestAzienda = 2;

  // Colours: 255 error, the system window background 0x80000005 normal.
  int64_t coloreErrore = 255;
  int64_t coloreNormale = 0x80000005;
  int64_t coloreFuoco = 0xFFFF80;
  int64_t coloreNoFuoco = 0x80000005;
  int64_t coloreForm = 0;

  std::string statoFinestra;  // "2" when the operator is in "Massimizzato"
  std::string tastierinoVirgola;
  std::string decodHelpAbil = "N";
  bool decodHelpPersKey = false;
  std::string formatData = "dd/mm/yyyy";

  // The rounding tables of the run, read on first use. CaricaDatiAzienda
  // gives them the company database; a context without one reads them empty.
  std::shared_ptr<TabelleArrotondamento> arrotondamenti = std::make_shared<TabelleArrotondamento>();

  // The currency context of the conversions.
  ContestoValuta Valuta() const {
    return ContestoValuta{monetaAzienda, codLira, codEuro, operCambio, cambioLiraEuro, decLire, decEuro};
  }
};

}  // namespace company
