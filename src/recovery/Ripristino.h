#pragma once

#include <string>
#include <vector>

#include "src/data/Contesto.h"

namespace compensato {

// The program id under which the recovery window finds the run parameters.
inline constexpr const char* kProgrammaRipristino = "Compensa";
// "Fase di elaborazione" of an identity whose program still runs.
inline constexpr const char* kTestoInUso = "In uso: elaborazione in corso, non ripristinabile";

// An identity that holds reserved installments, as the recovery window lists it.
struct IdentitaBloccata {
  std::string utente;
  std::string fase;    // greatest FaseElab of its working copy, "" when it has none
  std::string flag;    // "10" no working copy, else the phase
  std::string testo;   // "Fase di elaborazione"
  bool inUso = false;  // its owner still runs: not to be recovered
};

// Every identity holding reserved installments, with its phase and flag.
std::vector<IdentitaBloccata> CercaLock(Contesto& ctx);

// The text of "Fase di elaborazione" for a flag.
std::string TestoFase(const std::string& flag);

// The automatic check made when the selection screen starts: undoes or
// completes the interrupted runs of the operator's identities, or posts an
// entry whose posting was interrupted. Acts only when the operator runs one
// instance of the program. 0 done (or nothing to do), 1 failed (shown).
int Controllo_Elaborazione(Contesto& ctx);

// Recovers one identity as the recovery window does, by its flag: "10"
// releases its installments and deletes its run parameters; "0" also deletes
// its working copy; "1" completes its run. 0 done, 1 failed (shown).
int RipristinaIdentita(Contesto& ctx, const std::string& utente, const std::string& flag);

}  // namespace compensato
