#pragma once

namespace util {

// What a screen field accepts as it is typed. The screens set a kind per
// field and pass every typed character through FilterInputChar; the widget
// layer applies the answer.
inline constexpr int kInputWhole = 4;    // a whole number: digits
inline constexpr int kInputDecimal = 7;  // an amount or a rate: digits, "," "." and a leading "-"
inline constexpr int kInputDate = 8;     // a date being typed: digits and "/" "-" "."
// Upper case: letters as capitals, everything else as typed. Codes and the
// texts printed beside them (a description, a protocol prefix) share it, so
// it must not refuse the blanks and accents a description holds.
inline constexpr int kInputUpper = 18;

// The character to insert for `c` typed at `position` of the field, or 0 to
// refuse it. Control characters (backspace, tab, Enter, Esc) always pass: the
// keyboard routines decide about them. Characters beyond ASCII pass only in
// fields of no kind (any other number).
char32_t FilterInputChar(int kind, char32_t c, int position = 0);

}  // namespace util
