#include "src/recovery/FinestraRipristino.h"

namespace compensato {

void FinestraRipristino::Carica(Contesto& ctx, double fattore) {
  const double s = fattore > 0 ? fattore : 1;
  righe_ = CercaLock(ctx);
  // The flag column is there for the recovery to read, not for the eye.
  colonne_ = {{"Utente", static_cast<int>(1800 * s)},
              {"Fase di elaborazione", static_cast<int>(8000 * s)},
              {"Flag 0=solo scadenze, 1=scad.appoggio", 1}};
  corrente = 0;
}

FinestraRipristino::Dopo FinestraRipristino::Elabora(Contesto& ctx) {
  if (corrente < 0 || corrente >= static_cast<int>(righe_.size())) return Dopo::Resta;
  const IdentitaBloccata& r = righe_[static_cast<size_t>(corrente)];
  if (RipristinaIdentita(ctx, r.utente, r.flag) != 0) return Dopo::Resta;
  if (corrente == static_cast<int>(righe_.size()) - 1) return Dopo::Chiudi;
  righe_.erase(righe_.begin() + corrente);
  return Dopo::TogliRiga;
}

}  // namespace compensato
