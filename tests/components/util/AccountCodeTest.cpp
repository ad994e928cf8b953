#include "components/util/AccountCode.h"

#include <gtest/gtest.h>

#include "components/util/Range.h"

namespace util {
namespace {

TEST(AccountCode, StoredAndDisplayForms) {
  struct Case {
    const char* typed;
    const char* stored;
    const char* shown;
  };
  const Case cases[] = {
      {"01020003", "01020003", "01-02-0003"},
      {"01-02-0003", "01020003", "01-02-0003"},
      {"1-2-0003", "01020003", "01-02-0003"},
      {" 01 - 02 - 000003 ", "0102000003", "01-02-000003"},
      {"0102000003", "0102000003", "01-02-000003"},
      {"01", "01", "01"},
      {"0102", "0102", "01-02"},
      {"01-02", "0102", "01-02"},
      {"", "", ""},
      {"01-02-0003-4", "01-02-0003-4", "01-02-0003-4"},  // not a code: kept for the lookup to refuse
      {"01-02-0000003", "01-02-0000003", "01-02-0000003"},
      {"01020000000003", "01020000000003", "01020000000003"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NormaliseCode(c.typed, "conto", 10), c.stored) << c.typed;
    EXPECT_EQ(FormatCode(c.typed, "CONTO", 10), c.shown) << c.typed;
  }
  EXPECT_EQ(NormaliseCode(" ab ", "moneta", 5), "ab");
}

TEST(AccountCode, BothFormsSplitAlike) {
  for (const char* code : {"01020003", "01-02-0003", "1-2-0003"}) {
    for (const std::string& form : {NormaliseCode(code), FormatCode(code)}) {
      const AccountParts p = SplitAccountCode(form);
      EXPECT_EQ(p.gruppo, "01") << form;
      EXPECT_EQ(p.mastro, "02") << form;
      EXPECT_EQ(p.conto, "0003") << form;
    }
  }
}

TEST(RangeInverted, Kinds) {
  struct Case {
    const char* name;
    Value from, to;
    RangeKind kind;
    bool inverted;
  };
  // clang-format off
  const Case cases[] = {
      {"dates in order", Value("01/03/2024"), Value("31/03/2024"), RangeKind::Date, false},
      {"dates inverted", Value("01/04/2024"), Value("31/03/2024"), RangeKind::Date, true},
      {"same date", Value("01/04/2024"), Value("01/04/2024"), RangeKind::Date, false},
      {"empty lower date", Value("01/01/100"), Value("31/03/2024"), RangeKind::Date, false},
      {"empty upper date", Value("01/04/2024"), Value(""), RangeKind::Date, false},
      {"unreadable date", Value("xx"), Value("31/03/2024"), RangeKind::Date, false},
      {"date values", Value(*Date::Make(2024, 5, 1)), Value(*Date::Make(2024, 4, 1)),
       RangeKind::Date, true},
      {"accounts in order", Value("01-02-0003"), Value("01020004"), RangeKind::AccountCode, false},
      {"accounts inverted across forms", Value("01-03-0001"), Value("01020009"),
       RangeKind::AccountCode, true},
      {"accounts one digit group", Value("2-1-0001"), Value("01-09-0001"), RangeKind::AccountCode,
       true},
      {"empty account", Value("01-03-0001"), Value(""), RangeKind::AccountCode, false},
      {"numbers compare as numbers", Value("9"), Value("12"), RangeKind::DocumentNumber, false},
      {"numbers inverted", Value("120"), Value("12"), RangeKind::DocumentNumber, true},
      {"texts compare as texts", Value("A12"), Value("b3"), RangeKind::DocumentNumber, false},
      {"texts inverted", Value("B1"), Value("a9"), RangeKind::DocumentNumber, true},
      {"empty number", Value(""), Value("3"), RangeKind::DocumentNumber, false},
  };
  // clang-format on
  for (const Case& c : cases) EXPECT_EQ(RangeInverted(c.from, c.to, c.kind), c.inverted) << c.name;
}

}  // namespace
}  // namespace util
