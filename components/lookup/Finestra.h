#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "components/lookup/Campo.h"
#include "components/lookup/Ricerca.h"

namespace lookup {

class SorgenteEventi;

// Key codes of the window's keys, as the screens' key events give them.
inline constexpr int kTastoF2 = 113;
inline constexpr int kTastoF3 = 114;
inline constexpr int kTastoF12 = 123;

// What one opening of the lookup window shows.
struct RichiestaFinestra {
  Campo* campo = nullptr;
  Etichetta* etichetta = nullptr;
  Proprietario* form = nullptr;  // the active screen, or nullptr
  int tasto = kTastoF2;
  Criterio criterio;                // what the search box matches
  Criterio criterioF2, criterioF3;  // what F2 and F3 switch it to inside the window
  std::string testo;                // the search box's text when the window opens
  std::string didascalia;           // e.g. "Ricerca Conto"
  int margini[4] = {0, 0, 0, 0};    // top, bottom, left, right: twips kept free at the screen's edges
  int64_t coloreOk = 0xFFFF80;      // the search box while its text finds rows
  int64_t coloreErrore = 255;       // ... and while it finds none
  SorgenteEventi* eventi = nullptr;
};

// The lookup window the component hands out. The program sets its scaling
// factor and cursor settings at startup; the component opens it. Without a
// windowing system this base is the window: never visible, it chooses
// nothing.
class FinestraAiuto {
 public:
  virtual ~FinestraAiuto() = default;

  // Scaling factor: above 0 that factor; 0 automatic (the smaller of the
  // screen's width / 800 and height / 600); negative none.
  double odRisVid = -1;
  // With obLockSpostaCurs, Page Up and Page Down move oiSpostaCurs rows
  // instead of one visible page ("HlpSpost").
  bool obLockSpostaCurs = false;
  int oiSpostaCurs = 0;

  virtual bool Visibile() const { return false; }
  virtual void HideFrm() {}
  virtual void PortaDavanti() {}
  // Presses a command of the window: "Aggiorna" reads the rows again with
  // the text in the search box (after another program changed the table).
  virtual void ButtonComando(const std::string& /*comando*/) {}

  // Shows the window until the operator chooses a row (returned) or closes
  // it (nullopt). The search is run as the operator types.
  virtual std::optional<Riga> Mostra(Ricerca& /*ricerca*/, const RichiestaFinestra& /*richiesta*/) {
    return std::nullopt;
  }
};

}  // namespace lookup
