#include <gtest/gtest.h>

#include "config/dates.h"

namespace q5480 {
namespace {

TEST(Dates, DayNumbersAndTexts) {
  const std::pair<CivilDate, std::int32_t> known[] = {
      {{1899, 12, 30}, 0},    {{1899, 12, 31}, 1},    {{1900, 1, 1}, 2},     {{1900, 3, 1}, 61},
      {{2000, 2, 29}, 36585}, {{2026, 12, 6}, 46362}, {{2079, 6, 4}, 65535}, {{1899, 12, 29}, -1},
  };
  for (const auto& [date, number] : known) {
    EXPECT_EQ(DayNumber(date), number) << FormatDate(date);
    EXPECT_EQ(FormatDate(DateFromDayNumber(number)), FormatDate(date));
  }
  // Months and days outside their ranges run on into the neighbouring months.
  const std::pair<CivilDate, CivilDate> counted[] = {
      {{2024, 2, 30}, {2024, 3, 1}}, {{2024, 1, 0}, {2023, 12, 31}}, {{2024, 13, 1}, {2025, 1, 1}},
      {{2024, 25, 1}, {2026, 1, 1}}, {{2024, 0, 1}, {2023, 12, 1}},  {{2024, -1, 1}, {2023, 11, 1}},
  };
  for (const auto& [given, meant] : counted) {
    EXPECT_EQ(DayNumber(given), DayNumber(meant)) << given.year << "-" << given.month;
  }
  for (std::int32_t n = 0; n <= 65535; ++n) ASSERT_EQ(DayNumber(DateFromDayNumber(n)), n);
  EXPECT_EQ(FormatDate({2026, 1, 5}), "05.01.2026");
  EXPECT_EQ(FormatDate({999, 1, 5}), "05.01.0999");
  EXPECT_EQ(DayNumberText(0), "never");
  EXPECT_EQ(DayNumberText(2), "01.01.1900");
  // A month or day off by one would not come back through a day number.
  const CivilDate today = Today();
  EXPECT_EQ(FormatDate(DateFromDayNumber(DayNumber(today))), FormatDate(today));
}

// The regional time formats of the recording's header: in 12-hour formats
// noon and midnight are twelve, not nought.
TEST(Dates, TimeOfDayInTheRegionalFormats) {
  constexpr std::int32_t kHour = 3600 * 1000;
  const struct {
    std::int32_t ms;
    const char* format;
    const char* text;
  } cases[] = {
      {12 * kHour, "hh:mm:ss AP", "12:00:00 PM"},
      {0, "hh:mm:ss AP", "12:00:00 AM"},
      {13 * kHour + 5 * 60000 + 9000, "h:mm:ss ap", "1:05:09 pm"},
      {11 * kHour + 59 * 60000, "h:mm AP", "11:59 AM"},
      {0, "HH:mm:ss", "00:00:00"},
      {23 * kHour + 7000, "H:mm:ss t", "23:00:07"},
      {9 * kHour, "HH 'h' mm", "09 h 00"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatTimeOfDay(c.ms, c.format), c.text) << c.format << " " << c.ms;
}

}  // namespace
}  // namespace q5480
