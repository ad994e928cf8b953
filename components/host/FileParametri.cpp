#include "components/host/FileParametri.h"

#include "components/util/Ini.h"

namespace host {
namespace {
constexpr const char* kPrefisso = "Personal.";
constexpr const char* kSeparatore = ".\xC2\xA7";  // ".§"
}  // namespace

std::string ValoreHost(const std::filesystem::path& file, const std::string& key, const std::string& def) {
  std::string v;
  util::ReadIniKey("Host", key, def, v, file);
  return v;
}

std::string ParametroDaFile(const std::filesystem::path& file, const std::string& key, const std::string& operatore) {
  std::string v;
  if (key.rfind(kPrefisso, 0) == 0) {
    const std::string resto = key.substr(std::string(kPrefisso).size());
    const auto sep = resto.find(kSeparatore);
    if (sep == std::string::npos) return kParametroMancante;
    const std::string chiave = resto.substr(0, sep) + "." + resto.substr(sep + std::string(kSeparatore).size());
    const std::string sezione = "Personali." + operatore;
    if (!util::IniKeyExists(sezione, chiave, file)) return kParametroMancante;
    util::ReadIniKey(sezione, chiave, "", v, file);
    return v;
  }
  util::ReadIniKey("Azienda", key, "", v, file);
  return v;
}

}  // namespace host
