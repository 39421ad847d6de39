#include "config/dates.h"

#include <chrono>
#include <ctime>

namespace q5480 {
namespace {

constexpr std::chrono::sys_days kDayZero =
    std::chrono::year{1899} / std::chrono::December / std::chrono::day{30};

std::string TwoDigits(int value) {
  return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

}  // namespace

std::int32_t DayNumber(const CivilDate& date) {
  // Months and days outside their ranges count on into the neighbouring
  // months, so that date arithmetic on the fields stays well defined.
  const int monthIndex = date.month - 1;
  const int yearShift = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
  const auto month = static_cast<unsigned>(monthIndex - 12 * yearShift + 1);
  const std::chrono::sys_days firstOfMonth{std::chrono::year{date.year + yearShift} /
                                           std::chrono::month{month} / std::chrono::day{1}};
  const std::chrono::sys_days day = firstOfMonth + std::chrono::days{date.day - 1};
  return static_cast<std::int32_t>((day - kDayZero).count());
}

CivilDate DateFromDayNumber(std::int32_t dayNumber) {
  const std::chrono::year_month_day ymd{kDayZero + std::chrono::days{dayNumber}};
  return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day()))};
}

CivilDate Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string FormatDate(const CivilDate& date) {
  std::string year = std::to_string(date.year);
  if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
  return TwoDigits(date.day) + "." + TwoDigits(date.month) + "." + year;
}

std::string DayNumberText(std::uint16_t dayNumber) {
  if (dayNumber == 0) return "never";
  return FormatDate(DateFromDayNumber(dayNumber));
}

}  // namespace q5480
