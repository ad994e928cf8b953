#pragma once

#include <cstdint>
#include <string>

namespace startup {

struct Programma;

// What the operator is told when the menu host is not there, at startup or later.
inline constexpr const char* kMenuAssente =
    "Il menu principale non \xC3\xA8 in esecuzione\nQuesto programma non pu\xC3\xB2 essere eseguito autonomamente";

// The startup sequence: host link, configuration and database, company
// values, registration with the host, the first screen. Every failure shows
// its message and asks for the close; the event loop then carries it out.
void AvvioProgramma(Programma& p, int32_t numeroProgramma, const std::string& chiaveProgramma);

// Startup step 11: the lookup component's holder, wired to the program (the
// menu, the launch keys, the screens) with the window of the windowing
// system and the "Help" scaling factor.
void CaricaAiuti(Programma& p);

// The entry routine: program number 46, no program key.
void Main(Programma& p);

}  // namespace startup
