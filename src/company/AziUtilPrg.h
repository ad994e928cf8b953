#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "components/lookup/Lookdex.h"

namespace compensato {
struct Contesto;
}

namespace company {

// A grid whose current cell a lookup opened from it may move; it is put
// back once a row was chosen.
class Griglia {
 public:
  virtual ~Griglia() = default;
  virtual int Riga() const = 0;
  virtual int Colonna() const = 0;
  virtual void Posiziona(int riga, int colonna) = 0;
};

// What the lookups need from the screens: the screens shown modally are
// hidden while the lookup window is open (they show again by themselves),
// and the window opens over the active screen.
class SchermiAiuto {
 public:
  virtual ~SchermiAiuto() = default;
  virtual void NascondiModali() {}
  virtual lookup::Proprietario* FormAttiva() { return nullptr; }
};

// Lookup states.
inline constexpr int kAiutoNessuno = 0;
inline constexpr int kAiutoAperto = 1;   // a lookup started by a decode is open
inline constexpr int kAiutoGriglia = 2;  // ... and a grid position waits to be restored

// The holder of the lookup component for the whole run: it creates the
// component, listens to its events and keeps what the program's lookups
// share (the lookup state, the grid position, the launch keys).
class scAziUtilPrg final : public lookup::Eventi {
 public:
  explicit scAziUtilPrg(compensato::Contesto& ctx);
  ~scAziUtilPrg() override;
  scAziUtilPrg(const scAziUtilPrg&) = delete;
  scAziUtilPrg& operator=(const scAziUtilPrg&) = delete;

  lookup::Lookdex& ogAziAiuto() { return *ogAziAiuti_; }
  compensato::Contesto& ctx() { return ctx_; }

  // The answers that belong to startup: the menu to the front
  // (ClsMainMenuFrm) and where the launch keys go.
  std::function<void()> mostraMenu;
  std::function<void(const std::string&)> chiaveLancioPrim, chiaveLancioSec;
  SchermiAiuto* schermi = nullptr;

  int statoAiuto = kAiutoNessuno;
  std::optional<std::pair<int, int>> posizioneGriglia;
  // "NoDecInattivi" of "Articoli", read on first need.
  std::optional<bool> noDecInattivi;

  void ClsMainMenuFrm() override;
  void ClsPrepDecod(const std::string& kind, const std::string& testo, const std::string& filtro, int& tasto,
                    int opzione, const std::string& opzioneTesto, bool& esito) override;
  void LanciaKeyPrim(const std::string& chiave) override;
  void LanciaKeySec(const std::string& chiave) override;

 private:
  compensato::Contesto& ctx_;
  std::unique_ptr<lookup::Lookdex> ogAziAiuti_;
};

}  // namespace company
