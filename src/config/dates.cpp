#include "config/dates.h"

#include <chrono>
#include <ctime>

#include "config/local_time.h"

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
  const std::tm local = LocalTimeOf(std::time(nullptr));
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string LocalDateTimeNow() {
  const std::tm local = LocalTimeOf(std::time(nullptr));
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
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

std::string FormatTimeOfDay(std::int32_t msOfDay, std::string_view format) {
  const int seconds = msOfDay / 1000;
  const int hours = seconds / 3600 % 24;
  const bool twelveHours =
      format.find("AP") != std::string_view::npos || format.find("ap") != std::string_view::npos;
  const int shownHours = twelveHours ? (hours % 12 == 0 ? 12 : hours % 12) : hours;
  std::string text;
  std::size_t i = 0;
  const auto field = [&](int value, char letter) {
    const bool twoDigits = i + 1 < format.size() && format[i + 1] == letter;
    text += twoDigits ? TwoDigits(value) : std::to_string(value);
    i += twoDigits ? 2 : 1;
  };
  while (i < format.size()) {
    const char c = format[i];
    if (c == 'h' || c == 'H') {
      field(shownHours, c);
    } else if (c == 'm') {
      field(seconds / 60 % 60, c);
    } else if (c == 's') {
      field(seconds % 60, c);
    } else if ((c == 'A' || c == 'a') && i + 1 < format.size() &&
               (format[i + 1] == 'P' || format[i + 1] == 'p')) {
      const bool upper = c == 'A';
      text += hours < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
      i += 2;
    } else if (c == '\'') {
      const std::size_t end = format.find('\'', i + 1);
      text += format.substr(i + 1,
                            end == std::string_view::npos ? std::string_view::npos : end - i - 1);
      i = end == std::string_view::npos ? format.size() : end + 1;
    } else if (c == 't') {
      ++i;
      while (!text.empty() && text.back() == ' ') text.pop_back();
    } else {
      text += c;
      ++i;
    }
  }
  return text;
}

}  // namespace q5480
