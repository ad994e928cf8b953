#include "src/company/Configurazione.h"

#include "components/util/Ini.h"

namespace company {

int LeggiChiaveIni(const FileConfigurazione& file, const std::string& sezione, const std::string& chiave,
                   const std::string& predefinito, std::string& valore) {
  return util::ReadConfigKey(sezione, chiave, predefinito, valore, file.principale, file.database);
}

}  // namespace company
