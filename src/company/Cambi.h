#pragma once

#include <optional>
#include <string>

#include "components/util/Date.h"
#include "src/company/Valute.h"

namespace db {
class DbExecutor;
}

namespace company {

// The exchange rate of a currency on a date: the euro is 1, the lira has the
// company's fixed rate, any other currency the rate of its latest `Cambi` row
// dated on or before the date. nullopt when the currency has no rate yet.
std::optional<double> CambioAllaData(db::DbExecutor& executor, const std::string& conn, const ContestoValuta& cv,
                                     const std::string& moneta, const util::Date& data);

// The text the exchange-rate field shows: the rate through the mask, or ""
// when there is none (the operator types it).
std::string LeggiCambio(db::DbExecutor& executor, const std::string& conn, const ContestoValuta& cv,
                        const std::string& moneta, const util::Date& data,
                        const std::string& maschera = "#,###.^^^^^^");

}  // namespace company
