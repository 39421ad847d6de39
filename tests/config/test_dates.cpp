#include <gtest/gtest.h>

#include "config/dates.h"

namespace q5480 {
namespace {

TEST(DayNumber, KnownDates) {
  struct Case {
    CivilDate date;
    std::int32_t number;
  };
  const Case cases[] = {
      {{1899, 12, 30}, 0},     {{1899, 12, 31}, 1},     {{1900, 1, 1}, 2},
      {{1900, 3, 1}, 61},      {{2000, 2, 29}, 36585},  {{2026, 12, 6}, 46362},
      {{2079, 6, 4}, 65535},   {{1899, 12, 29}, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DayNumber(c.date), c.number) << FormatDate(c.date);
    const CivilDate back = DateFromDayNumber(c.number);
    EXPECT_EQ(FormatDate(back), FormatDate(c.date));
  }
}

TEST(DayNumber, RoundTripsOverTheWholeSixteenBitRange) {
  std::int32_t previous = -1;
  for (std::int32_t n = 0; n <= 65535; ++n) {
    const CivilDate date = DateFromDayNumber(n);
    ASSERT_EQ(DayNumber(date), n);
    ASSERT_EQ(n, previous + 1);
    previous = n;
  }
}

TEST(DayNumber, OutOfRangeFieldsCountOn) {
  EXPECT_EQ(DayNumber({2024, 2, 30}), DayNumber({2024, 3, 1}));
  EXPECT_EQ(DayNumber({2024, 13, 1}), DayNumber({2025, 1, 1}));
  EXPECT_EQ(DayNumber({2024, 0, 1}), DayNumber({2023, 12, 1}));
}

TEST(DateTexts, FormatAndNever) {
  EXPECT_EQ(FormatDate({2026, 1, 5}), "05.01.2026");
  EXPECT_EQ(DayNumberText(0), "never");
  EXPECT_EQ(DayNumberText(2), "01.01.1900");
  EXPECT_EQ(DayNumberText(46362), "06.12.2026");
}

TEST(Today, IsAPlausibleCalendarDate) {
  const CivilDate today = Today();
  EXPECT_GE(today.year, 2024);
  EXPECT_EQ(FormatDate(DateFromDayNumber(DayNumber(today))), FormatDate(today));
}

}  // namespace
}  // namespace q5480
