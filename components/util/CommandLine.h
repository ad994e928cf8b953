#pragma once

#include <cstdint>
#include <stdexcept>
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

// The tools' numeric options. A value that is not a number, or that the
// option's field cannot hold, is refused with a message naming the option
// ("--year: 67562 fuori dai limiti 1..9999") instead of being cut down to the
// field's width or reported by the parser's own name.
class OptionError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// A whole number (optional sign, digits, surrounding blanks) within [min, max].
int64_t IntegerOption(std::string_view option, std::string_view text, int64_t min, int64_t max);

// A number as the operator types it ("1.234,50", "0,5", "1.5"), finite and
// within [min, max].
double NumberOption(std::string_view option, std::string_view text, double min, double max);

}  // namespace util
