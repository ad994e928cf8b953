#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "components/lookup/Finestra.h"
#include "src/company/AziUtilPrg.h"
#include "tests/src/settlement/AziendaProva.h"

namespace testsupport {

// Gives the fixture company what the selection needs: a working date of 15
// March 2024 in the open year 2024, the default transaction codes (receipts
// "INC", payments "PAG", a foreign-currency "VAL", a protocolled "PROT" and a
// VAT code "IVA"), a bank account 18-02-000001, exchange-difference accounts
// 80-01-000001, 70-06-000001 and 62-06-000001, a bill-issuing payment type "RB" and a dollar converted with
// "*" (1,1 from 1 January 2024, 1,25 from 10 March).
void PreparaSelezione(AziendaProva& az);

// Records the lookups asked for; chooses `scelta` when one is set.
class FinestraRegistra final : public lookup::FinestraAiuto {
 public:
  std::vector<int>* tasti = nullptr;
  std::vector<std::string>* tipi = nullptr;
  std::optional<lookup::Riga> scelta;
  std::optional<lookup::Riga> Mostra(lookup::Ricerca& r, const lookup::RichiestaFinestra& q) override;
};

// The lookup component as the program starts it, on the context's connection,
// with `finestra` for its window.
std::unique_ptr<company::scAziUtilPrg> AiutiProva(compensato::Contesto& ctx,
                                                  std::unique_ptr<lookup::FinestraAiuto> finestra);

}  // namespace testsupport
