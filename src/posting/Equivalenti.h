#pragma once

#include <string>

#include "src/company/DatiAzienda.h"

namespace compensato::posting {

struct Equivalente {
  double lire = 0;
  double euro = 0;
};

// The lire and euro equivalents of an installment amount of a currency at its
// rate, as every installment of the suite carries them: each rounded to its
// own decimals, the lire computed from the unrounded euro value.
Equivalente ConvertiRata(const company::DatiAzienda& azienda, double importo,
                         const std::string& moneta, double cambio, const std::string& operatore);

}  // namespace compensato::posting
