#include "components/util/InputKind.h"

#include <gtest/gtest.h>

namespace util {
namespace {

TEST(FilterInputChar, Kinds) {
  struct Case {
    const char* name;
    int kind;
    char32_t typed;
    int position;
    char32_t expected;
  };
  const Case cases[] = {
      {"whole: digit", kInputWhole, U'7', 0, U'7'},
      {"whole: comma refused", kInputWhole, U',', 1, 0},
      {"whole: minus refused", kInputWhole, U'-', 0, 0},
      {"decimal: comma", kInputDecimal, U',', 3, U','},
      {"decimal: dot", kInputDecimal, U'.', 3, U'.'},
      {"decimal: leading minus", kInputDecimal, U'-', 0, U'-'},
      {"decimal: minus inside refused", kInputDecimal, U'-', 2, 0},
      {"decimal: letter refused", kInputDecimal, U'e', 2, 0},
      {"date: slash", kInputDate, U'/', 2, U'/'},
      {"date: letter refused", kInputDate, U'a', 0, 0},
      {"upper: lower case made upper", kInputUpper, U'r', 0, U'R'},
      {"upper: digit", kInputUpper, U'1', 0, U'1'},
      {"upper: a description keeps its blanks", kInputUpper, U' ', 1, U' '},
      {"upper: accented letter made upper", kInputUpper, U'è', 1, U'È'},
      {"upper: division sign is no letter", kInputUpper, U'÷', 1, U'÷'},
      {"backspace always passes", kInputWhole, U'\b', 0, U'\b'},
      {"Enter always passes", kInputUpper, U'\r', 0, U'\r'},
      {"no kind: anything", 0, U'è', 0, U'è'},
  };
  for (const Case& c : cases) EXPECT_EQ(FilterInputChar(c.kind, c.typed, c.position), c.expected) << c.name;
}

}  // namespace
}  // namespace util
