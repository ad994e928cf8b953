#pragma once

#include <optional>
#include <string>

namespace compensato::lista {

// The worklist grid's editing rules, without the grid: where the cursor may
// stand, what the paid column starts from, which amounts and states are
// accepted and what the state becomes. The Qt grid calls them from its
// events; the columns are the worklist query's positions (QueryLista.h).

inline constexpr int kColonnaPagato = 8;
inline constexpr int kColonnaStato = 10;

inline constexpr const char* kChiediNegativo = "Si prega di inserire l'importo negativo ";
inline constexpr const char* kChiediPositivo = "Si prega di inserire l'importo positivo ";
inline constexpr const char* kChiediStato = "Si prega di inserire: A = Aperta  , C = Chiusa ";

// The column the cursor lands on when it enters `nuova` coming from
// `precedente`: only the paid amount and the state take it.
int ColonnaAmmessa(int nuova, int precedente);

// The text the paid column starts editing with: the signed due amount when
// nothing is paid yet, so that a full payment needs only a confirmation.
std::string TestoInizialePagato(const std::string& pagato, const std::string& dovuto);

// Before the paid amount is stored: the message that refuses it (its sign
// against the due amount's), or nothing.
std::optional<std::string> RifiutoPagato(double dovuto, const std::string& digitato);

// After the paid amount: what is stored (anything that is not a number is 0,
// rounded to the currency's decimals) and the state it gives.
struct Pagato {
  double importo = 0;
  std::string stato;  // " " nothing paid, "A" partly, "C" all of it or more
};
Pagato DopoPagato(const std::string& digitato, double dovuto, int decimali);

// Before the state is stored: the state to store, upper case, corrected by
// the amounts ("A" or "C" with nothing paid is " ", "A" that pays all is
// "C"); nothing when refused (blank with something paid, any other letter),
// for which the grid shows kChiediStato.
std::optional<std::string> StatoAccettato(const std::string& digitato, double pagato, double dovuto);

// A number as the grid shows and takes it ("1.234,56"); false when it is none.
bool LeggiImporto(const std::string& testo, double& valore);

}  // namespace compensato::lista
