#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "components/util/Value.h"

namespace lookup {

// A settings object of the component, read and written by name
// (ovLeggiPar); names compare ignoring case. Only the names the object knows
// exist: reading or writing any other raises util::RuntimeError 438, so a
// caller that prepares many settings "with errors ignored" skips the ones a
// component does not have instead of inventing them.
class Parametri {
 public:
  Parametri(std::initializer_list<std::pair<const char*, util::Value>> noti);

  util::Value ovLeggiPar(const std::string& nome) const;
  void ovLeggiPar(const std::string& nome, const util::Value& valore);
  bool Esiste(const std::string& nome) const;

 private:
  util::Value& Trova(const std::string& nome);
  std::vector<std::pair<std::string, util::Value>> valori_;
};

// Error number of a setting the object does not have.
inline constexpr int kErrParametroSconosciuto = 438;

}  // namespace lookup
