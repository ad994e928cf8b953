#include "components/util/Convert.h"

#include <gtest/gtest.h>

#include <vector>

namespace util {
namespace {

TEST(Readers, ItalianInputs) {
  struct Case {
    const char* text;
    double number;
    int32_t whole;
    bool valid;
  };
  const Case cases[] = {
      {"1.234,56", 1234.56, 1235, true},
      {"-1.234,5", -1234.5, -1235, true},
      {"  12,5 ", 12.5, 13, true},
      {"2,5", 2.5, 3, true},
      {"1.234.567", 1234567, 1234567, true},
      {"1.5", 1.5, 2, true},  // keypad dot read as a decimal point
      {"0", 0, 0, true},
      {"", 0, 0, true},
      {"   ", 0, 0, true},
      {"12a", 0, 0, false},
      {"abc", 0, 0, false},
      {"1,2,3", 0, 0, false},
      {"--5", 0, 0, false},
  };
  for (const Case& c : cases) {
    bool ok = false;
    EXPECT_EQ(ToNumber(Value(c.text), &ok), c.number) << c.text;
    EXPECT_EQ(ok, c.valid) << c.text;
    EXPECT_EQ(ToLong(Value(c.text), &ok), c.whole) << c.text;
    EXPECT_EQ(ok, c.valid) << c.text;
  }
}

TEST(Readers, RangesAndTypes) {
  bool ok = true;
  EXPECT_EQ(ToInteger(Value("32767"), &ok), 32767);
  EXPECT_TRUE(ok);
  EXPECT_EQ(ToInteger(Value("32768"), &ok), 0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ToInteger(Value(int32_t{40000}), &ok), 0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ToLong(Value("3.000.000.000"), &ok), 0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ToLong(Value(-2.5), &ok), -3);
  EXPECT_TRUE(ok);
  EXPECT_EQ(ToInteger(Value(), &ok), 0);
  EXPECT_TRUE(ok);
  EXPECT_EQ(ToNumber(Value(Money::FromUnits(12345))), 1.2345);
  EXPECT_EQ(ToNumber(Value(true)), -1);
}

TEST(Readers, Dates) {
  bool ok = false;
  EXPECT_EQ(ToDate(Value("15/03/2024"), &ok), *Date::Make(2024, 3, 15));
  EXPECT_TRUE(ok);
  EXPECT_EQ(ToDate(Value(""), &ok), Date());
  EXPECT_TRUE(ok);
  EXPECT_EQ(ToDate(Value(), &ok), Date());
  EXPECT_TRUE(ok);
  EXPECT_EQ(ToDate(Value("31/02/2024"), &ok), Date());
  EXPECT_FALSE(ok);
  EXPECT_EQ(ToDate(Value("domani"), &ok), Date());
  EXPECT_FALSE(ok);
  EXPECT_EQ(ToDate(Value("01/01/100")).serial(), Date::kEmptySerial);
}

TEST(NzAs, NullsTakeTheTypesEmptyValue) {
  struct Case {
    const char* name;
    Value v;
    int type;
    Value expected;
  };
  const Case cases[] = {
      {"null long", Value(), 3, Value(int32_t{0})},
      {"null currency", Value(), 6, Value(Money())},
      {"null date", Value(), 7, Value(Date())},
      {"null text", Value(), 8, Value("")},
      {"text long", Value("12"), 3, Value(int32_t{12})},
      {"double currency", Value(1.23456), 6, Value(Money::FromUnits(12346))},
      {"text date", Value("05/03/2024"), 7, Value(*Date::Make(2024, 3, 5))},
      {"number text", Value(int32_t{7}), 8, Value("7")},
      {"unreadable long", Value("x"), 3, Value(int32_t{0})},
  };
  for (const Case& c : cases) EXPECT_EQ(NzAs(c.v, c.type), c.expected) << c.name;
}

TEST(IsEmptyValue, PerType) {
  struct Case {
    const char* name;
    Value v;
    int type;
    bool expected;
  };
  const Case cases[] = {
      {"null", Value(), 8, true},
      {"blank text", Value("  "), 8, true},
      {"text", Value("x"), 8, false},
      {"zero is a value", Value(0.0), 5, false},
      {"zero text is a value", Value("0"), 3, false},
      {"null number", Value(), 5, true},
      {"empty date", Value(Date()), 7, true},
      {"empty date written", Value("01/01/100"), 7, true},
      {"a date", Value(*Date::Make(2024, 1, 1)), 7, false},
      {"blank date text", Value(""), 7, true},
      {"unreadable date is not empty", Value("xx"), 7, false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsEmptyValue(c.v, c.type), c.expected) << c.name;
}

TEST(MinOfArray, Values) {
  const std::vector<double> v = {1.25, 0.8, 1.0};
  EXPECT_EQ(MinOfArray(v), 0.8);
  EXPECT_EQ(MinOfArray({}), 0);
}

}  // namespace
}  // namespace util
