#include "components/util/Round.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "components/util/Decimal.h"

namespace util {
namespace {

struct RoundCase {
  const char* name;
  double value;
  const char* mode;
  double step;
  std::optional<int> power;
  double expected;
};

TEST(Round, Table) {
  const RoundCase cases[] = {
      // Halves in the decimal writing are halves, away from zero.
      {"1.005 to cents", 1.005, "A", 1, -2, 1.01},
      {"2.675 to cents", 2.675, "A", 1, -2, 2.68},
      {"-0.125 to cents", -0.125, "A", 1, -2, -0.13},
      {"0.1+0.2 to cents", 0.1 + 0.2, "A", 1, -2, 0.3},
      {"just below half", 1.00499999, "A", 1, -2, 1.0},
      {"-2.5 to units", -2.5, "A", 1, 0, -3},
      {"1234.5 no power", 1234.5, "A", 1, std::nullopt, 1235},
      {"lower case mode", 2.675, "a", 1, -2, 2.68},
      // Steps other than 1.
      {"step 5 half up", 12.5, "A", 5, std::nullopt, 15},
      {"step 5 below half", 12.4, "A", 5, std::nullopt, 10},
      {"step 10 lire", 1234, "A", 10, std::nullopt, 1230},
      {"step 10 half", 1235, "A", 10, std::nullopt, 1240},
      {"step 0.05", 1.025, "A", 0.05, std::nullopt, 1.05},
      {"step 0.05 below", 1.024, "A", 0.05, std::nullopt, 1.0},
      {"step 5 power -2", 1.026, "A", 5, -2, 1.05},
      {"negative step is its magnitude", 12.5, "A", -5, std::nullopt, 15},
      {"step 100 negative value", -149.99, "A", 100, std::nullopt, -100},
      // Powers from -8 to 2.
      {"power -8 noise vanishes", 0.000000001, "A", 1, -8, 0},
      {"power -8 keeps 8 decimals", 0.123456785, "A", 1, -8, 0.12345679},
      {"power -8 negative cent", -0.01, "A", 1, -8, -0.01},
      {"power -6 rate", 1936.2700004, "A", 1, -6, 1936.27},
      {"power 2 hundreds", 1250, "A", 1, 2, 1300},
      {"power 2 below", 1249.99, "A", 1, 2, 1200},
      {"power 1 tens", 516.46, "A", 1, 1, 520},
      // By excess and by defect are symmetric about zero.
      {"E up", 1.231, "E", 1, -2, 1.24},
      {"E negative", -1.231, "E", 1, -2, -1.24},
      {"E exact stays", 1.23, "E", 1, -2, 1.23},
      {"E binary noise is not a fraction", 0.1 + 0.2, "E", 1, -1, 0.3},
      {"D binary noise is not a shortfall", 1.15 * 100, "D", 1, 0, 115},
      {"A noise below a half", 1.005 * 1000, "A", 1, 0, 1005},
      {"E a real fraction at 15 digits", 0.300000000000001, "E", 1, -1, 0.4},
      {"D carry into a 16th digit", 99999.99999999999, "D", 1, 0, 100000},
      {"E step 10", 1231, "E", 10, std::nullopt, 1240},
      {"E tiny value to units", 0.0001, "E", 1, 0, 1},
      {"D down", 1.239, "D", 1, -2, 1.23},
      {"D negative", -1.239, "D", 1, -2, -1.23},
      {"D step 0.05", 1.049, "D", 0.05, std::nullopt, 1.0},
      {"D step 1000", 1999, "D", 1000, std::nullopt, 1000},
      // Half to even.
      {"P half to even down", 2.5, "P", 1, 0, 2},
      {"P half to even up", 3.5, "P", 1, 0, 4},
      {"P not a half", 2.51, "P", 1, 0, 3},
      {"P cents", 0.125, "P", 1, -2, 0.12},
      // No rounding.
      {"N", 1.23456, "N", 1, -2, 1.23456},
      {"Nessuno", 1.23456, "Nessuno", 1, -2, 1.23456},
      {"empty mode", 1.23456, "", 1, -2, 1.23456},
      {"step 0", 1.23456, "A", 0, -2, 1.23456},
      {"unknown mode rounds as A", 2.675, "X", 1, -2, 2.68},
      // Zero and extremes.
      {"zero", 0.0, "E", 1, -2, 0},
      {"negative zero", -0.0, "A", 1, -2, 0},
      {"unit far above value", 1e-30, "A", 1, 10, 0},
      {"unit far above value, excess", 1e-30, "E", 1, 10, 1e10},
      {"unit far below value", 1e40, "A", 3, -8, 1e40},
      {"large lire", 123456789012.5, "A", 1, 0, 123456789013},
  };
  for (const RoundCase& c : cases) {
    const double got = Round(c.value, c.mode, c.step, c.power);
    EXPECT_EQ(got, c.expected) << c.name << ": got " << ShortestDecimal(got);
    EXPECT_FALSE(std::signbit(got) && got == 0) << c.name << ": negative zero";
  }
}

TEST(Round, NotFiniteValuesComeBackUnchanged) {
  EXPECT_TRUE(std::isnan(Round(std::nan(""), "A", 1, -2)));
  EXPECT_EQ(Round(INFINITY, "A", 1, -2), INFINITY);
  EXPECT_EQ(Round(1.234, "A", INFINITY, -2), 1.234);
}

// Whatever the amount, the result written back reads as a plain decimal of at
// most two places.
TEST(Round, ResultsCarryNoBinaryNoise) {
  std::mt19937_64 gen(20240315);
  std::uniform_real_distribution<double> dist(-1e9, 1e9);
  for (int i = 0; i < 20000; ++i) {
    const double r = Round(dist(gen), "A", 1, -2);
    const std::string text = ShortestDecimal(r);
    const size_t dot = text.find('.');
    ASSERT_TRUE(dot == std::string::npos || text.size() - dot - 1 <= 2) << text;
  }
}

}  // namespace
}  // namespace util
