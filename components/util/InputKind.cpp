#include "components/util/InputKind.h"

namespace util {
namespace {

bool Digit(char32_t c) { return c >= U'0' && c <= U'9'; }

}  // namespace

char32_t FilterInputChar(int kind, char32_t c, int position) {
  if (c < 0x20 || c == 0x7F) return c;
  switch (kind) {
    case kInputWhole: return Digit(c) ? c : 0;
    case kInputDecimal:
      if (Digit(c) || c == U',' || c == U'.') return c;
      return c == U'-' && position == 0 ? c : 0;
    case kInputDate: return Digit(c) || c == U'/' || c == U'-' || c == U'.' ? c : 0;
    case kInputUpper:
      if (c >= U'a' && c <= U'z') return c - U'a' + U'A';
      // The accented small letters of Latin-1 sit 0x20 above their capitals.
      if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
      return c;
    default: return c;
  }
}

}  // namespace util
