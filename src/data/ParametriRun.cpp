#include "src/data/ParametriRun.h"

#include <type_traits>

namespace compensato {

ParametriRun ParametriDaSelezione(const SelezioneRun& selezione) {
  ParametriRun p;
  OgniParametroRun([&](const char*, int, auto campo, auto origine) { p.*campo = selezione.*origine; });
  return p;
}

bool LeggiParametriAppoggio(Contesto& ctx, const std::string& utente, const std::string& programId, ParametriRun& p) {
  bool ok = true;
  OgniParametroRun([&](const char* chiave, int tipo, auto campo, auto) {
    const util::Value v = LeggiAppoggio(ctx, utente, programId, chiave, tipo);
    if (v.type() == util::VType::Text && v.text() == appoggio::kMancante) {
      ok = false;
      return;
    }
    auto& destinazione = p.*campo;
    using T = std::remove_reference_t<decltype(destinazione)>;
    if constexpr (std::is_same_v<T, std::string>)
      destinazione = v.toText();
    else if constexpr (std::is_same_v<T, util::Date>)
      destinazione = v.isNull() ? util::Date() : v.toDate();
    else
      destinazione = static_cast<T>(v.isNull() ? 0.0 : v.toDouble());
  });
  return ok;
}

}  // namespace compensato
