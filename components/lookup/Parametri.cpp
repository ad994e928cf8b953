#include "components/lookup/Parametri.h"

#include "components/util/Error.h"
#include "components/util/Text.h"

namespace lookup {

Parametri::Parametri(std::initializer_list<std::pair<const char*, util::Value>> noti) {
  for (const auto& [nome, valore] : noti) valori_.emplace_back(nome, valore);
}

util::Value& Parametri::Trova(const std::string& nome) {
  for (auto& [n, v] : valori_)
    if (util::EqualsIgnoreCase(n, nome)) return v;
  throw util::RuntimeError(kErrParametroSconosciuto, "Parametro sconosciuto: " + nome, "Lookdex");
}

bool Parametri::Esiste(const std::string& nome) const {
  for (const auto& [n, v] : valori_)
    if (util::EqualsIgnoreCase(n, nome)) return true;
  return false;
}

util::Value Parametri::ovLeggiPar(const std::string& nome) const {
  for (const auto& [n, v] : valori_)
    if (util::EqualsIgnoreCase(n, nome)) return v;
  throw util::RuntimeError(kErrParametroSconosciuto, "Parametro sconosciuto: " + nome, "Lookdex");
}

void Parametri::ovLeggiPar(const std::string& nome, const util::Value& valore) { Trova(nome) = valore; }

}  // namespace lookup
