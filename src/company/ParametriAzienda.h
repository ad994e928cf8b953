#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "components/util/Date.h"
#include "src/company/Configurazione.h"
#include "src/company/DatiAzienda.h"

namespace db {
class DbExecutor;
}
namespace host {
class MenuHost;
}

namespace company {

// The host's answer for a personal parameter that does not exist.
inline constexpr const char* kParametroMancante = "\xC2\xA7\xC3\xA7~$!^";  // "§ç~$!^"

// Loads the company values from the menu host and, unless skipped, the lira
// and euro records of `Monete` on the given connection; the rounding tables
// will be read on that connection; "FormatData" comes from the configuration
// when one is given. The rest of startup (the direct database, the lookup
// context, the closing flag) belongs to the caller. Host and database failures
// propagate.
void CaricaDatiAzienda(host::MenuHost& host, db::DbExecutor& executor, const std::string& conn, DatiAzienda& dati,
                       bool saltaMonete = false, const FileConfigurazione* configurazione = nullptr);

// The personal parameter section.name of the operator, else the second one
// when given, else the default. `trovato` receives the host's last answer as it
// came (the missing-key marker included).
std::string LeggiParPers(host::MenuHost& host, const std::string& sezione, const std::string& nome,
                         const std::string& predefinito, std::string* trovato = nullptr,
                         const std::optional<std::string>& sezione2 = std::nullopt,
                         const std::optional<std::string>& nome2 = std::nullopt);

// A currency record; a code with no row gives 2 and 2 decimals, "/" and "N".
struct Moneta {
  bool trovata = false;
  int16_t numDec = 2;
  int16_t numDecGest = 2;
  std::string operatore = "/";
  std::string cee = "N";
};
Moneta LeggiMoneta(db::DbExecutor& executor, const std::string& conn, const std::string& codice);

// True when the "Massimizzato" list maximizes the operator's screens: the list
// is "tutti," (any case), or one of its comma-separated names is the operator.
bool OperatoreMassimizzato(const std::string& lista, const std::string& operatore);

// Status of AnnoContabile.
inline constexpr int16_t kAnnoCorrente = 0;    // in the current year, or the open previous one
inline constexpr int16_t kAnnoPrecChiuso = 1;  // in the previous year, which is closed
inline constexpr int16_t kAnnoErrore = 3;
inline constexpr int16_t kAnnoPrima = 4;  // before the previous year
inline constexpr int16_t kAnnoDopo = 5;   // after the current year

// The accounting year of a date from the host's current year and its bounds.
// `anno` in: -1 to compute the year of dates far from the current one (any
// other value means no); out: the year, 0 when unknown. Never throws.
int16_t AnnoContabile(host::MenuHost& host, const util::Date& data, int16_t& anno);

}  // namespace company
