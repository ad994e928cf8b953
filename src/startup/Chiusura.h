#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace startup {

struct Programma;

inline constexpr const char* kMascheraModal = "Maschera Modal";

// Creates and loads the hidden main form with its two timers.
void CreaFormPrincipale(Programma& p);

// Asks for an unconditional close, carried out by timChiudi after the current event.
bool RichiediChiusura(Programma& p);
// The close asked by the host or by a closing screen: -1 tries at once and
// only when no other screen is open; any other flag retries every 100 ms.
void ChiudiDaMenu(Programma& p, int16_t flag);
// Closes now when the mode allows it; the mode is reset to 0.
bool TentaChiusura(Programma& p, int16_t& mode);
// The closing sequence: refused while a modal screen is open or a screen
// cancels its unload.
bool ChiudiProgramma(Programma& p);
// Unloads every form but the main one and the help windows, then the help windows.
bool ScaricaForms(Programma& p, const std::string& didascaliaPrincipale, bool& aiutoAperto);
void RilasciaCollegamenti(Programma& p);
// Shows a message box and, with chiudi -1, closes the program.
void MsgEChiudi(Programma& p, const std::string& messaggio, std::optional<int> pulsanti, int16_t chiudi);

// Called between events: once the host link is lost on its own (the host
// died, stopped reading or answering, or sent garbage), tells the operator
// that the menu is not running and closes the program; a close refused for a
// modal screen is tried again until it succeeds, since without the host
// nothing else would ever end the program.
void SorvegliaMenu(Programma& p);

// The timers of the main form.
void ScattoTimChiudi(Programma& p);
void ScattoTimVarie(Programma& p);

}  // namespace startup
