#pragma once

#include <functional>
#include <memory>
#include <string>

#include "components/lookup/Finestra.h"
#include "src/company/AziUtilPrg.h"
#include "src/startup/Schermo.h"

namespace startup {

struct Programma;

// A timer of a form: it fires on the event loop, never inside another event.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void Abilita(bool on) = 0;
  virtual bool Abilitato() const = 0;
  virtual void Intervallo(int ms) = 0;
  virtual int Intervallo() const = 0;
};

// What the lifecycle needs from the windowing system: its screens, timers,
// the connection splash and the event loop. Qt gives the real one; tests
// give a scripted one with a clock they move. The lookups reach the screens
// through it (the modal screens hidden, the active screen).
class Piattaforma : public company::SchermiAiuto {
 public:
  virtual ~Piattaforma() = default;

  // The hidden main form (caption "Form Principale del programma", the label
  // "Chiusura in corso" when shown).
  virtual std::unique_ptr<Schermo> CreaFormPrincipale() = 0;
  // The program's screens by their exact name ("FrmSaldaSelezioni",
  // "frmRipriSal"); nullptr for any other.
  virtual std::unique_ptr<Schermo> CreaSchermo(const std::string& nome, Programma& programma) = 0;
  virtual std::unique_ptr<Timer> CreaTimer(std::function<void()> scatto) = 0;
  // The screen that has the focus; nullptr when none.
  virtual Schermo* Attivo() = 0;
  // Lets pending events run.
  virtual void DoEvents() = 0;
  // The connection splash frmConn: shown with a caption, or unloaded.
  virtual void MostraSplash(const std::string& didascalia, const std::string& testo) = 0;
  virtual void ChiudiSplash() = 0;
  // The last form is gone: the process may end, with that exit status.
  virtual void Termina(int codice) = 0;
  // The signal sound of the message window ("BeepCome"), known after startup.
  virtual void ImpostaSegnale(const std::string& /*beepCome*/) {}
  // Brings the window of a process to the front, when the system can.
  virtual void AttivaProcesso(const std::string& /*processId*/) {}
  // The lookup window of this windowing system; nullptr: the component's
  // windowless one.
  virtual std::unique_ptr<lookup::FinestraAiuto> CreaFinestraAiuto() { return nullptr; }
};

}  // namespace startup
