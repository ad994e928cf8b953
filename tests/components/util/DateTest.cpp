#include "components/util/Date.h"

#include <gtest/gtest.h>

namespace util {
namespace {

TEST(Date, SerialsMatchTheSuitesCalendar) {
  struct Case {
    int y, m, d;
    int32_t serial;
  };
  const Case cases[] = {
      {100, 1, 1, -657434}, {100, 1, 2, -657433}, {1899, 12, 30, 0},       {1900, 1, 1, 2},
      {2000, 1, 1, 36526},  {2024, 3, 15, 45366}, {9999, 12, 31, 2958465},
  };
  for (const Case& c : cases) {
    const auto date = Date::Make(c.y, c.m, c.d);
    ASSERT_TRUE(date) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(date->serial(), c.serial) << date->toText();
    EXPECT_EQ(Date::FromSerial(c.serial), *date);
  }
}

TEST(Date, DefaultIsTheEmptyDateAndReadsAsTheProgramWritesIt) {
  const Date empty;
  EXPECT_TRUE(empty.isEmpty());
  EXPECT_EQ(empty.serial(), Date::kEmptySerial);
  EXPECT_EQ(empty.toText(), "01/01/100");
  EXPECT_FALSE(Date::Make(100, 1, 2)->isEmpty());
}

TEST(Date, RefusesDaysThatDoNotExist) {
  EXPECT_FALSE(Date::Make(2023, 2, 29));
  EXPECT_TRUE(Date::Make(2024, 2, 29));
  EXPECT_FALSE(Date::Make(1900, 2, 29));
  EXPECT_FALSE(Date::Make(2024, 13, 1));
  EXPECT_FALSE(Date::Make(99, 12, 31));
  EXPECT_FALSE(Date::Make(2024, 1, 1, 24, 0, 0));
}

TEST(Date, MonthArithmeticClampsAndCarries) {
  const Date jan31 = *Date::Make(2024, 1, 31);
  EXPECT_EQ(jan31.addMonths(1), *Date::Make(2024, 2, 29));
  EXPECT_EQ(jan31.addMonths(13), *Date::Make(2025, 2, 28));
  EXPECT_EQ(jan31.addMonths(-2), *Date::Make(2023, 11, 30));
  EXPECT_EQ(jan31.endOfMonth(), jan31);
  EXPECT_EQ(Date::Make(2023, 2, 10)->endOfMonth(), *Date::Make(2023, 2, 28));
  EXPECT_EQ(Date::Carry(2024, 13, 1), *Date::Make(2025, 1, 1));
  EXPECT_EQ(Date::Carry(2024, 2, 30), *Date::Make(2024, 3, 1));
  EXPECT_EQ(Date::Carry(2024, 3, 0), *Date::Make(2024, 2, 29));
  EXPECT_EQ(Date::Carry(2024, 0, 15), *Date::Make(2023, 12, 15));
  EXPECT_EQ(jan31.addDays(1), *Date::Make(2024, 2, 1));
}

TEST(Date, IsoTextRoundTrips) {
  const Date d = *Date::Make(2024, 3, 5, 14, 7, 9);
  EXPECT_EQ(d.iso(), "2024-03-05 14:07:09");
  EXPECT_EQ(d.toText(), "05/03/2024 14:07:09");
  EXPECT_EQ(Date::ParseIso(d.iso()), d);
  EXPECT_EQ(Date::ParseIso("2024-03-05"), Date::Make(2024, 3, 5));
  EXPECT_EQ(Date::ParseIso("2024-03-05T14:07"), Date::Make(2024, 3, 5, 14, 7));
  EXPECT_FALSE(Date::ParseIso("2024-02-30"));
  EXPECT_FALSE(Date::ParseIso("05/03/2024"));
}

TEST(Date, OleSerialKeepsTheTimeOfDay) {
  const Date d = *Date::Make(2024, 3, 15, 6, 0, 0);
  EXPECT_DOUBLE_EQ(d.oleSerial(), 45366.25);
  EXPECT_EQ(Date::FromOleSerial(45366.25), d);
  EXPECT_EQ(Date::FromOleSerial(-1.25), *Date::Make(1899, 12, 29, 6, 0, 0));
}

}  // namespace
}  // namespace util
