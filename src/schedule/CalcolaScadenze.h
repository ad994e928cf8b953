#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "components/util/Date.h"
#include "components/util/Money.h"

namespace compensato {
struct Contesto;
}

namespace compensato::schedule {

// A payment term (one Pagamenti row) as the schedule reads it. periodo[0] and
// percentuale[0] are Periodo1 and Percentuale1; a missing entry reads as 0.
struct TerminePagamento {
  std::string decorrenza;   // "D" document date, "F" end of its month, "S" end of the next
  std::string periodicita;  // "M" months, "G" days, "T" months per installment, "A" days per installment
  int16_t numScad = 0;      // 0: one installment on the document date; negative: none
  std::string trattamIva;   // "U" VAT alone first, "P" VAT on the first, else shared
  int16_t giornoFisso = 0;
  int16_t numGGMM = 0;
  std::vector<int16_t> periodo;
  std::vector<double> percentuale;
};

// The months of the customer's or supplier's account in which nothing may fall due.
struct MesiEsclusi {
  int16_t meseNoEf1 = 0;
  int16_t gioMesSucc1 = 0;
  int16_t meseNoEf2 = 0;
  int16_t gioMesSucc2 = 0;
};

// Surcharge modes.
namespace maggiorazione {
inline constexpr int16_t kNessuna = 0;
inline constexpr int16_t kCalcolata = 1;
inline constexpr int16_t kData = 2;
}  // namespace maggiorazione

// The arguments of CalcolaScadenze in the order the suite has always passed
// them. The vectors hold installment 1 at index 0.
struct ArgomentiScadenze {
  util::Date dataDoc;                          // 1
  double importo = 0;                          // 2: VAT excluded
  double iva = 0;                              // 3
  std::string pagamento;                       // 4
  std::string gruppo;                          // 5
  std::string mastro;                          // 6
  std::string conto;                           // 7
  int16_t decimali = 2;                        // 8: of the currency
  std::vector<util::Date> dateScad;            // 9 out
  std::vector<double> importiScad;             // 10 out
  int16_t numScad = 0;                         // 11 out
  int16_t numErrori = 0;                       // 12 out
  std::string testoErrori;                     // 13 out
  int16_t modoMagg = maggiorazione::kNessuna;  // 14
  util::Money percMagg;                        // 15: percent
  std::vector<double> importiMagg;             // 16: in for mode 2, out for mode 1
  util::Money passoArrotMagg;                  // 17
  std::string modoArrotMagg;                   // 18
  double minimoMagg = 0;                       // 19: applies when > 0
  double massimoMagg = 0;                      // 20: applies when > 0
  util::Date dataInizio;                       // 21 out: start of the period
};

// Collects the errors of one calculation: each adds a line to the text and
// one to the count; from the 31st on the text only gets a final ellipsis, so
// a runaway loop of failures cannot grow it without end.
class ErroriScadenze {
 public:
  ErroriScadenze(int16_t& numero, std::string& testo) : numero_(numero), testo_(testo) {}
  void Aggiungi(int numeroErrore, const std::string& descrizione);

 private:
  int16_t& numero_;
  std::string& testo_;
};

// The calculation on an already read payment term and account. A missing term
// gives no installments; a missing account the "Manca il cliente" error.
void CalcolaScadenze(const std::optional<TerminePagamento>& termine, const std::optional<MesiEsclusi>& conto,
                     ArgomentiScadenze& a);

// Reads the payment term and the account from the company database and runs
// the calculation. Errors are collected in the arguments, never raised.
void CalcolaScadenze(Contesto& ctx, ArgomentiScadenze& a);

}  // namespace compensato::schedule
