#pragma once

namespace util {

// What a screen field accepts as it is typed. The screens set a kind per
// field and pass every typed character through FilterInputChar; the widget
// layer applies the answer.
inline constexpr int kInputWhole = 4;     // a whole number: digits
inline constexpr int kInputDecimal = 7;   // an amount or a rate: digits, "," "." and a leading "-"
inline constexpr int kInputDate = 8;      // a date being typed: digits and "/" "-" "."
inline constexpr int kInputCode = 18;     // a code: letters (made upper case), digits, "." "-" "_" "/"

// The character to insert for `c` typed at `position` of the field, or 0 to
// refuse it. Control characters (backspace, tab, Enter, Esc) always pass: the
// keyboard routines decide about them. Characters beyond ASCII pass only in
// fields of no kind (any other number).
char32_t FilterInputChar(int kind, char32_t c, int position = 0);

}  // namespace util
