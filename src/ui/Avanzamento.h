#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "src/ui/Operatore.h"

namespace ui {

// The progress window of one long operation, started with its total, title
// and caption and closed when the object goes (or earlier, with Chiudi).
class Avanzamento {
 public:
  Avanzamento(Operatore& op, int32_t totale, const std::string& titolo, const std::string& didascalia)
      : p_(op.NuovoProgress()) {
    if (p_) p_->Start(totale, titolo, 0, true, true, 24, didascalia);
  }
  ~Avanzamento() { Chiudi(); }
  Avanzamento(const Avanzamento&) = delete;
  Avanzamento& operator=(const Avanzamento&) = delete;

  void Avanza(int32_t n) {
    if (p_) p_->Step(n);
  }
  void Testo(const std::string& t) {
    if (p_) p_->SetText(t);
  }
  void Chiudi() {
    if (p_) p_->End();
    p_.reset();
  }

 private:
  std::unique_ptr<progress::ProgressController> p_;
};

}  // namespace ui
