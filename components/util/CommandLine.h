#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace util {

// The command line the menu host gives a program is a row of switches:
//
//   /M 12345 /P CONT01 anno=2024 /F FrmSaldaSelezioni /I "/home/ada/torvel.ini"
//
// A switch is "/" or "-" and one letter (any case), at the start of the line or
// after a blank, followed by a blank, ":" or "=" or the end of the line. Its
// value is what follows, up to the next switch or the end, trimmed; blanks
// inside the value stay as they are ("CONT01 anno=2024" above). A value in
// double quotes is taken literally, switch-like text and blanks included, and
// loses the quotes; "" inside quotes is one quote. A path such as
// "/home/ada" is not a switch, because its letter is followed by more letters.
//
// The value of the first occurrence of the letter; "" when it is absent.
std::string SwitchValue(std::string_view commandLine, char letter);

// True when the switch is present (its value may be empty).
bool HasSwitch(std::string_view commandLine, char letter);

// One command line from a program's arguments, quoting every argument that
// holds a blank or a quote, so that SwitchValue reads back what was passed.
std::string JoinCommandLine(const std::vector<std::string>& args);

}  // namespace util
