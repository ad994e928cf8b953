#pragma once

#include <cstdint>
#include <string>

namespace startup {

// Error numbers the screen machinery raises as util::RuntimeError.
inline constexpr int kErrFormModale = 401;        // a modeless show while a modal screen is open
inline constexpr int kErrOggettoScaricato = 364;  // the screen unloaded itself while loading
inline constexpr int kErrOggettoAssente = 91;

// A screen as the program's lifecycle handles it. The screens implement it
// with windows; tests with a plain object. The public members are the
// contract every screen opened through AttivaForm follows.
class Schermo {
 public:
  virtual ~Schermo() = default;

  std::string osKeySec;        // program parameters, or the key of the caller
  std::string osKeyLancia;     // who launched the screen
  std::string osKeySecLancia;  // the launcher's secondary key
  std::string osParamLancia;   // the launcher's parameter
  std::string osParam;         // launch parameter string of the host
  std::string osTipoForm;      // display type from the host
  // -1 when the load starts, 1 when it succeeded; -1 after Load = failed.
  int16_t oiLoadOk = 0;

  virtual std::string Nome() const = 0;
  virtual std::string Didascalia() const = 0;

  // The screen's load event. May raise util::RuntimeError.
  virtual void Load() = 0;
  // The screen's unload event: false when the screen cancels it.
  virtual bool Unload() = 0;

  virtual bool Visibile() const = 0;
  virtual void Nascondi() = 0;
  // Shows the screen modeless; raises kErrFormModale while a modal screen is open.
  virtual void MostraNonModale() = 0;
  virtual void DaiFuoco() = 0;
  // The suite's form display: the display type, or -1 for the screen's own.
  // A negative result means the screen could not be shown.
  virtual int ShowForm(int tipo) = 0;
  // True for a help window ("Aiuto"), which a close only notes.
  virtual bool Aiuto() const { return Didascalia() == "Aiuto"; }

  // Called when another program activates the screen while it is open.
  virtual void AttivatoDaAltri() {}
  // Called by the host's "preppassaa" before it switches programs.
  virtual void PassaA() {}
};

}  // namespace startup
