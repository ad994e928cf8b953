#pragma once

#include <string>
#include <vector>

#include "src/data/Contesto.h"
#include "src/recovery/Ripristino.h"

namespace compensato {

// The recovery window's rules without the window: the identities holding
// reserved installments, which controls the window shows, the grid's columns
// and what confirming the current row does.
class FinestraRipristino {
 public:
  struct Colonna {
    std::string intestazione;
    int larghezza;  // twips, already multiplied by the screen's factor
  };
  // What the window does after "Elabora Scadenze".
  enum class Dopo { Resta, TogliRiga, Chiudi };

  // CercaLock: the identities, the first one current. `fattore` is the
  // screen's scaling factor (1 when not positive).
  void Carica(Contesto& ctx, double fattore);

  bool Vuota() const { return righe_.empty(); }
  const std::vector<IdentitaBloccata>& Righe() const { return righe_; }
  const std::vector<Colonna>& Colonne() const { return colonne_; }
  int corrente = 0;

  // comOk (and a double click): recovers the identity of the current row by
  // its flag. A recovery that fails, or an identity whose program still
  // runs, leaves the row; otherwise the last row closes the window and any
  // other is removed.
  Dopo Elabora(Contesto& ctx);

 private:
  std::vector<IdentitaBloccata> righe_;
  std::vector<Colonna> colonne_;
};

inline constexpr const char* kNessunaInterruzione = "Nessuna elaborazione di compensato è stato interrotta";
inline constexpr const char* kAvvisoInUso = "Prima di sbloccare le scadenze accertarsi che non siano in uso.";
inline constexpr const char* kAvvisoDanni = "In caso contrario si possono causare danni agli archivi.";

}  // namespace compensato
