#include "src/startup/Programma.h"

#include <algorithm>

#include "components/util/Text.h"
#include "src/company/AziUtilPrg.h"
#include "src/startup/Chiusura.h"
#include "src/startup/ComandiMenu.h"

namespace startup {

Programma::Programma(compensato::Contesto& contesto, Piattaforma& piattaforma) : ctx(contesto), pf(piattaforma) {}

Programma::~Programma() = default;

int16_t Programma::CercaForm(const std::string& nome, const std::string& parte) const {
  const std::string cercata = util::ToLower(parte);
  for (size_t i = 0; i < forms.size(); ++i) {
    const Schermo& s = *forms[i];
    if (!util::EqualsIgnoreCase(s.Nome(), nome)) continue;
    if (!parte.empty() && util::ToLower(s.Didascalia()).find(cercata) == std::string::npos) continue;
    return static_cast<int16_t>(i);
  }
  return -1;
}

Schermo* Programma::Form(int16_t indice) const {
  if (indice < 0 || static_cast<size_t>(indice) >= forms.size()) return nullptr;
  return forms[static_cast<size_t>(indice)].get();
}

Schermo* Programma::Carica(std::unique_ptr<Schermo> schermo) {
  Schermo* s = schermo.get();
  forms.push_back(std::move(schermo));
  try {
    s->Load();
  } catch (...) {
    std::erase_if(forms, [s](const auto& f) { return f.get() == s; });
    throw;
  }
  return s;
}

bool Programma::Scarica(Schermo* schermo) {
  const auto it = std::find_if(forms.begin(), forms.end(), [schermo](const auto& f) { return f.get() == schermo; });
  if (it == forms.end()) return true;
  if (!schermo->Unload()) return false;
  // The unload event may have changed the collection; look again.
  std::erase_if(forms, [schermo](const auto& f) { return f.get() == schermo; });
  if (schermo == principale.finestra) principale.finestra = nullptr;
  return true;
}

bool Programma::AltreFormAperte() const {
  for (const auto& f : forms)
    if (f.get() != principale.finestra && !f->Aiuto()) return true;
  return false;
}

}  // namespace startup
