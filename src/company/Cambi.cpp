#include "src/company/Cambi.h"

#include "components/db/DbCursor.h"
#include "components/util/NumberFormat.h"
#include "components/util/SqlLiteral.h"
#include "components/util/Text.h"

namespace company {

std::optional<double> CambioAllaData(db::DbExecutor& executor, const std::string& conn, const ContestoValuta& cv,
                                     const std::string& moneta, const util::Date& data) {
  if (cv.EEuro(moneta)) return 1.0;
  if (cv.EUnaLira(moneta)) return cv.CambioLiraEuro();
  if (util::Trim(moneta).empty()) return std::nullopt;
  std::string sql = "SELECT Cambio, Data FROM Cambi WHERE Moneta = " + util::SqlLiteral(util::Trim(moneta), 8);
  // The empty date asks for the latest rate known.
  if (!data.isEmpty()) sql += " AND Data <= " + util::SqlLiteral(data.dateOnly(), 7);
  sql += " ORDER BY Data DESC";
  db::DbCursor cursore;
  const std::string key = cursore.Open(executor, conn, "", sql, false, db::kSnapshot);
  std::optional<double> cambio;
  if (!cursore.IsEmpty(key)) cambio = cursore.GetField(key, "Cambio").toDouble();
  cursore.Close(key);
  return cambio;
}

std::string LeggiCambio(db::DbExecutor& executor, const std::string& conn, const ContestoValuta& cv,
                        const std::string& moneta, const util::Date& data, const std::string& maschera) {
  const std::optional<double> cambio = CambioAllaData(executor, conn, cv, moneta, data);
  return cambio ? util::FormatNumber(*cambio, maschera) : std::string();
}

}  // namespace company
