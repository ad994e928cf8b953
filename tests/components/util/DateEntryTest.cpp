#include "components/util/DateEntry.h"

#include <gtest/gtest.h>

namespace util {
namespace {

TEST(ValidateDate, CompletionAndRefusals) {
  const Date lavoro = *Date::Make(2024, 5, 20);
  struct Case {
    const char* typed;
    int option;
    int status;
    const char* text;  // the field afterwards
  };
  const Case cases[] = {
      {"15", kDataFacoltativa, kDataCompletata, "15/05/2024"},
      {"5", kDataFacoltativa, kDataCompletata, "05/05/2024"},
      {"153", kDataFacoltativa, kDataCompletata, "15/03/2024"},
      {"1503", kDataFacoltativa, kDataCompletata, "15/03/2024"},
      {"15/3", kDataFacoltativa, kDataCompletata, "15/03/2024"},
      {"15-3", kDataFacoltativa, kDataCompletata, "15/03/2024"},
      {"15.03", kDataFacoltativa, kDataCompletata, "15/03/2024"},
      {"150324", kDataFacoltativa, kDataCompletata, "15/03/2024"},
      {"150399", kDataFacoltativa, kDataCompletata, "15/03/1999"},
      {"15032024", kDataFacoltativa, kDataValida, "15/03/2024"},
      {"15/3/24", kDataFacoltativa, kDataCompletata, "15/03/2024"},
      {"15/03/2024", kDataFacoltativa, kDataValida, "15/03/2024"},
      {" 15/03/2024 ", kDataFacoltativa, kDataValida, "15/03/2024"},
      {"29/02/2024", kDataFacoltativa, kDataValida, "29/02/2024"},
      {"", kDataFacoltativa, kDataVuota, ""},
      {"  ", kDataFacoltativa, kDataVuota, "  "},
      {"", kDataObbligatoria, kDataRifiutata, ""},
      {"29/02/2023", kDataFacoltativa, kDataErrata, "29/02/2023"},
      {"31/04", kDataFacoltativa, kDataErrata, "31/04"},
      {"32", kDataFacoltativa, kDataErrata, "32"},
      {"00", kDataFacoltativa, kDataErrata, "00"},
      {"15/13/2024", kDataFacoltativa, kDataErrata, "15/13/2024"},
      {"15032", kDataFacoltativa, kDataErrata, "15032"},
      {"1503202", kDataFacoltativa, kDataErrata, "1503202"},
      {"15/03/202", kDataFacoltativa, kDataErrata, "15/03/202"},
      {"15/03/0024", kDataFacoltativa, kDataErrata, "15/03/0024"},
      {"15//2024", kDataFacoltativa, kDataErrata, "15//2024"},
      {"1/2/3/4", kDataFacoltativa, kDataErrata, "1/2/3/4"},
      {"oggi", kDataFacoltativa, kDataErrata, "oggi"},
      {"15/03/2024 10:00", kDataFacoltativa, kDataErrata, "15/03/2024 10:00"},
  };
  for (const Case& c : cases) {
    std::string text = c.typed;
    std::string why = "unset";
    Date d = *Date::Make(2000, 1, 1);
    EXPECT_EQ(ValidateDate(text, c.option, lavoro, &d, &why), c.status) << c.typed;
    EXPECT_EQ(text, c.text) << c.typed;
    if (c.status < 0) {
      EXPECT_FALSE(why.empty()) << c.typed;
      EXPECT_TRUE(d.isEmpty()) << c.typed;
    } else {
      EXPECT_EQ(why, "") << c.typed;
      EXPECT_EQ(d.isEmpty(), c.status == kDataVuota) << c.typed;
    }
  }
  EXPECT_EQ(kDataRifiutata, -657434);
}

TEST(EndOfMonth, Days) {
  EXPECT_EQ(EndOfMonth(*Date::Make(2024, 2, 10, 12, 0)), *Date::Make(2024, 2, 29));
  EXPECT_EQ(EndOfMonth(*Date::Make(2023, 2, 1)), *Date::Make(2023, 2, 28));
  EXPECT_EQ(EndOfMonth(*Date::Make(2024, 12, 31)), *Date::Make(2024, 12, 31));
  EXPECT_TRUE(EndOfMonth(Date()).isEmpty());
}

}  // namespace
}  // namespace util
