#pragma once

#include <cstdint>
#include <string>

namespace startup {

struct Programma;

// The startup sequence: host link, configuration and database, company
// values, registration with the host, the first screen. Every failure shows
// its message and asks for the close; the event loop then carries it out.
void AvvioProgramma(Programma& p, int32_t numeroProgramma, const std::string& chiaveProgramma);

// The entry routine: program number 46, no program key.
void Main(Programma& p);

}  // namespace startup
