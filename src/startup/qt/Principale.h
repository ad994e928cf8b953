#pragma once

#include <functional>

namespace startup {

struct Programma;

// The whole run of the program: the application and its link to the menu
// host, the startup as the first event, then the event loop until the
// program closes. `primaDellAvvio`, when given, runs inside the loop just
// before the startup, for a caller that drives the screens itself: the
// startup may not return before the program closes (a screen shown
// modally). Returns the process exit status.
int EseguiProgramma(int argc, char** argv, const std::function<void(Programma&)>& primaDellAvvio = {});

}  // namespace startup
