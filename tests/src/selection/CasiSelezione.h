#pragma once

// The selections the bookkeeper may get wrong, each with the first message it
// must give, shared by every face of the selection: the model, the batch
// front and the screen. Each face types the fields of a case into a fresh
// selection with the company's defaults, in the order given, sets the
// options, confirms, and must show the same first message and leave the
// named field red.
//
// The company a face runs the cases on has, besides its working year in the
// open accounting year and "DataMinima" 01/01/1900:
//   customers 14-01-000001 .. 14-01-000003, exchange-difference accounts
//   70-06-000001 and 62-06-000001 (general);
//   the currency USD (not "Cee") with a rate on or before the working date;
//   payment type RD, which issues no bills;
//   the transaction codes INC (general, the customers' default, no foreign
//   currency, no protocol), VAL (general, foreign currency) and PROT
//   (general, requires the protocol).

#include <string>
#include <utility>
#include <vector>

#include "src/selection/ModelloSelezioni.h"

namespace testsupport {

enum class ContiSelezione { Clienti, Fornitori, Nessuno };

struct CasoSelezione {
  std::string nome;
  // Txt index and the text typed into it, in the order an operator types
  // them: the registration date and the year first, then the tab order.
  std::vector<std::pair<int, std::string>> campi;
  ContiSelezione conti = ContiSelezione::Clienti;
  bool ancheEffetti = false;  // "Anche effetti" checked after the fields
  std::string messaggio;      // the first message; "" when the run may start
  int rosso = 0;              // a field left red, 0 when none is named
};

inline constexpr const char* kDatiErrati = "Ci sono dei dati errati. Non è possibile continuare l'elaborazione";

// The cases for a company whose working date falls in `anno`.
inline std::vector<CasoSelezione> CasiSelezione(int anno) {
  using namespace compensato::txt;
  const std::string a = std::to_string(anno);
  const std::string scadenze = "Si prega di inserire le date di scadenza in ordine crescente";
  const std::string numeri = "Si prega di inserire i numeri di documento in ordine crescente";
  return {
      {.nome = "the defaults", .campi = {}},
      {.nome = "a registration date outside every accounting year",
       .campi = {{kDataReg, "15/03/" + std::to_string(anno - 5)}},
       .messaggio = kDatiErrati,
       .rosso = kAnno},
      {.nome = "a year the registration date does not belong to",
       .campi = {{kAnno, std::to_string(anno - 1)}},
       .messaggio = kDatiErrati,
       .rosso = kAnno},
      {.nome = "a due date the day before DataMinima",
       .campi = {{kScadDa, "31/12/1899"}},
       .messaggio = kDatiErrati,
       .rosso = kScadDa},
      {.nome = "a customer in a suppliers' run",
       .campi = {{kContoDa, "14-01-000001"}},
       .conti = ContiSelezione::Fornitori,
       .messaggio = kDatiErrati,
       .rosso = kContoDa},
      {.nome = "inverted customers",
       .campi = {{kContoDa, "14-01-000003"}, {kContoA, "14-01-000001"}},
       .messaggio = "Si prega di inserire i clienti/fornitori in ordine crescente"},
      {.nome = "inverted due dates", .campi = {{kScadDa, "31/12/" + a}, {kScadA, "01/01/" + a}}, .messaggio = scadenze},
      {.nome = "inverted due and document dates: only the first is told",
       .campi = {{kScadDa, "31/12/" + a}, {kScadA, "01/01/" + a}, {kDocDa, "31/12/" + a}, {kDocA, "01/01/" + a}},
       .messaggio = scadenze},
      {.nome = "inverted document dates",
       .campi = {{kDocDa, "31/12/" + a}, {kDocA, "01/01/" + a}},
       .messaggio = "Si prega di inserire le date di documento in ordine crescente"},
      {.nome = "document numbers compare as numbers", .campi = {{kNumDocDa, "9"}, {kNumDocA, "12"}}},
      {.nome = "inverted document numbers", .campi = {{kNumDocDa, "12"}, {kNumDocA, "9"}}, .messaggio = numeri},
      {.nome = "document numbers as text compare ignoring case", .campi = {{kNumDocDa, "a10"}, {kNumDocA, "B2"}}},
      {.nome = "inverted document numbers as text",
       .campi = {{kNumDocDa, "b1"}, {kNumDocA, "A9"}},
       .messaggio = numeri},
      {.nome = "neither customers nor suppliers",
       .conti = ContiSelezione::Nessuno,
       .messaggio = "Indicare se cliente o fornitore"},
      {.nome = "bills with a payment type that issues none",
       .campi = {{kPagTipo, "RD"}},
       .ancheEffetti = true,
       .messaggio = "Il tipo pagamento RD non emette effetti: non si possono comprendere gli effetti"},
      {.nome = "a maximum of 0",
       .campi = {{kMassimo, "0"}},
       .messaggio = "Indicare l'importo massimo per il compensato.",
       .rosso = kMassimo},
      {.nome = "an unknown currency", .campi = {{kMoneta, "XYZ"}}, .messaggio = kDatiErrati, .rosso = kMoneta},
      {.nome = "a foreign currency without the exchange-loss account",
       .campi = {{kMoneta, "USD"}, {kCausale, "VAL"}, {kUtiCambio, "70-06-000001"}},
       .messaggio = kDatiErrati,
       .rosso = kPerdCambio},
      {.nome = "a foreign currency with a code that has no foreign currency",
       .campi = {{kMoneta, "USD"}, {kCausale, "INC"}, {kUtiCambio, "70-06-000001"}, {kPerdCambio, "62-06-000001"}},
       .messaggio = "La moneta è diversa dalla moneta corrente. La causale deve avere la gestione della valuta",
       .rosso = kCausale},
      {.nome = "a foreign currency with its code and both exchange accounts",
       .campi = {{kMoneta, "USD"}, {kCausale, "VAL"}, {kUtiCambio, "70-06-000001"}, {kPerdCambio, "62-06-000001"}}},
      {.nome = "the company currency with a foreign-currency code",
       .campi = {{kCausale, "VAL"}},
       .messaggio = "La moneta è è quella corrente. La causale non può essere in valuta",
       .rosso = kCausale},
      {.nome = "an unknown transaction code",
       .campi = {{kCausale, "ZZZ"}},
       .messaggio = kDatiErrati,
       .rosso = kCausale},
      {.nome = "an unknown counterpart account",
       .campi = {{kPartita, "99-99-999999"}},
       .messaggio = kDatiErrati,
       .rosso = kPartita},
      {.nome = "a code that requires a protocol, without its date",
       .campi = {{kCausale, "PROT"}},
       .messaggio = "Si prega di inserire la data di protocollo"},
      {.nome = "a code that requires a protocol, without its number",
       .campi = {{kCausale, "PROT"}, {kDataProt, "10/03/" + a}},
       .messaggio = "Si prega di inserire il nr.protocollo"},
      {.nome = "a code that requires a protocol, with both",
       .campi = {{kCausale, "PROT"}, {kDataProt, "10/03/" + a}, {kNumProt, "7"}}},
  };
}

}  // namespace testsupport
