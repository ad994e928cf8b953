#include "components/util/NumberFormat.h"

#include <gtest/gtest.h>

#include <random>

#include "components/util/Convert.h"
#include "components/util/Decimal.h"
#include "components/util/Round.h"

namespace util {
namespace {

TEST(BuildNumberMask, Decimals) {
  EXPECT_EQ(BuildNumberMask(0), "#,###");
  EXPECT_EQ(BuildNumberMask(2), "#,###.^^");
  EXPECT_EQ(BuildNumberMask(6, "#,###", '^'), "#,###.^^^^^^");
  EXPECT_EQ(BuildNumberMask(-1), "#,###");
}

TEST(FormatNumber, Masks) {
  struct Case {
    double value;
    const char* mask;
    const char* expected;
  };
  const Case cases[] = {
      {1234567.5, "#,###", "1.234.568"},
      {-1234.5, "#,###.^^", "-1.234,50"},
      {1936.27, "#,###.^^^^^^", "1.936,270000"},
      {1234.5, "0", "1235"},
      {1234.5, "#,##0.##", "1.234,5"},
      {1234, "#,##0.##", "1.234"},
      {0, "#,###", "0"},
      {0, "#,###.^^", "0,00"},
      {0.5, "#,###.^^", "0,50"},
      {-0.004, "#,###.^^", "0,00"},  // no "-0,00"
      {2.675, "#,###.^^", "2,68"},
      {9999999999.0, "#,###.^^", "9.999.999.999,00"},
      {123, "#,###", "123"},
      {123456, "#,###", "123.456"},
      {5, "000", "005"},
      {0.1 + 0.2, "#,###.^^", "0,30"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatNumber(c.value, c.mask), c.expected) << c.mask;
}

TEST(FormatValue, DatesNumbersAndText) {
  const Date d = *Date::Make(2024, 3, 5, 9, 7, 3);
  EXPECT_EQ(FormatValue(Value(d), "dd/mm/yyyy"), "05/03/2024");
  EXPECT_EQ(FormatValue(Value(d), "d/m/yy hh:mm:ss"), "5/3/24 09:07:03");
  EXPECT_EQ(FormatValue(Value(d), "DD-MM-YYYY hh.nn"), "05-03-2024 09.07");
  EXPECT_EQ(FormatValue(Value(Date()), "dd/mm/yyyy"), "");
  EXPECT_EQ(FormatValue(Value("5/3/2024"), "dd/mm/yyyy"), "05/03/2024");
  EXPECT_EQ(FormatValue(Value("1234,5"), "#,###.^^"), "1.234,50");
  EXPECT_EQ(FormatValue(Value(), "#,###.^^"), "");
  EXPECT_EQ(FormatValue(Value(""), "#,###.^^"), "");
  EXPECT_EQ(FormatValue(Value("abc"), "#,###.^^"), "abc");
  EXPECT_EQ(FormatValue(Value("9999999999"), "#,###"), "9.999.999.999");
}

// Rounding to cents, showing with the amount mask and reading back what is
// shown gives the same double, for any amount.
TEST(FormatNumber, RoundTripOfCents) {
  std::mt19937_64 gen(7);
  std::uniform_real_distribution<double> ampio(-1e10, 1e10);
  std::uniform_real_distribution<double> piccolo(-100, 100);
  for (int i = 0; i < 100000; ++i) {
    const double x = Round(i % 2 ? ampio(gen) : piccolo(gen), "A", 1, -2);
    const std::string shown = FormatNumber(x, "#,###.^^");
    bool ok = false;
    const double back = ToNumber(Value(shown), &ok);
    ASSERT_TRUE(ok) << shown;
    ASSERT_EQ(back, x) << shown << " from " << ShortestDecimal(x);
  }
}

}  // namespace
}  // namespace util
