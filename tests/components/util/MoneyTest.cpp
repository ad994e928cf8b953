#include "components/util/Money.h"

#include <gtest/gtest.h>

#include "components/util/Decimal.h"

namespace util {
namespace {

TEST(Decimal, HalvesInTheDecimalWritingAreHalves) {
  struct Case {
    double value;
    int decimals;
    double expected;
  };
  const Case cases[] = {
      {1.005, 2, 1.01},   {2.675, 2, 2.68},    {-0.125, 2, -0.13}, {0.1 + 0.2, 2, 0.3},
      {1234.5, 0, 1235},  {-1234.5, 0, -1235}, {1250, -2, 1300},   {0.00005, 4, 0.0001},
      {99.995, 2, 100.0}, {1e-9, 8, 0},        {5, 2, 5},          {-0.0, 2, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RoundDecimal(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;
}

TEST(Decimal, ShortestTextIsPositional) {
  EXPECT_EQ(ShortestDecimal(0.1 + 0.2), "0.30000000000000004");
  EXPECT_EQ(ShortestDecimal(1e-5), "0.00001");
  EXPECT_EQ(ShortestDecimal(1e20), "100000000000000000000");
  EXPECT_EQ(ShortestDecimal(-12.5), "-12.5");
}

TEST(Money, ConvertsAmountsExactly) {
  EXPECT_EQ(Money::FromDouble(1234.56).units(), 12345600);
  EXPECT_EQ(Money::FromDouble(0.00005).units(), 1);
  EXPECT_EQ(Money::FromDouble(-2.67505).units(), -26751);
  EXPECT_EQ(Money::Parse("1220.00").toString(), "1220");
  EXPECT_EQ(Money::Parse("-0.0001").toString(), "-0.0001");
  EXPECT_EQ(Money::Parse("33.3333333").units(), 333333);
  EXPECT_EQ(Money::Parse("12.5").toDouble(), 12.5);
  EXPECT_THROW(Money::Parse("12,5"), std::invalid_argument);
  EXPECT_EQ((Money::Parse("0.1") + Money::Parse("0.2")).toDouble(), 0.3);
}

// Rounding the fixed-point amount itself, a half away from zero, also past
// the fifteen digits a double rounds exactly.
TEST(Money, RoundsToDecimalsExactly) {
  const struct {
    const char* amount;
    int decimals;
    const char* expected;
  } cases[] = {
      {"1.005", 2, "1.01"},
      {"-1.005", 2, "-1.01"},
      {"1.0049", 2, "1"},
      {"-0.125", 2, "-0.13"},
      {"2.0005", 3, "2.001"},
      {"1234.5", 0, "1235"},
      {"-1234.5", 0, "-1235"},
      {"1250", -2, "1300"},
      {"1249.9999", -2, "1200"},
      {"0.0001", 4, "0.0001"},
      {"0.0001", 6, "0.0001"},
      {"12345678901234.5649", 2, "12345678901234.56"},
      {"-922337203685477.5807", 2, "-922337203685477.58"},
      {"5", -20, "0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Money::Parse(c.amount).Rounded(c.decimals).toString(), c.expected) << c.amount << " to " << c.decimals;
}

}  // namespace
}  // namespace util
