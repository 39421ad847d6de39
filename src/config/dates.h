// Day numbers (days from 30 December 1899) and the program's date format.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace q5480 {

struct CivilDate {
  int year = 1899;
  int month = 12;
  int day = 30;
};

// Day number of a date of the proleptic Gregorian calendar.
std::int32_t DayNumber(const CivilDate& date);
CivilDate DateFromDayNumber(std::int32_t dayNumber);

// Today's date on the computer's local calendar.
CivilDate Today();

// The local date and time now as other programs read it:
// "2026-12-08 14:03:27".
std::string LocalDateTimeNow();

// "dd.mm.yyyy": the program's date format for every date it formats.
std::string FormatDate(const CivilDate& date);

// A time of day in a regional long time format: "H"/"HH" and "h"/"hh" hours
// (12-hour when the format has "AP" or "ap"), "m"/"mm" minutes, "s"/"ss"
// seconds, "AP"/"ap" the half of the day, text in single quotes as it
// stands; a time zone ("t") is left out.
std::string FormatTimeOfDay(std::int32_t msOfDay, std::string_view format);

// The text of a date stored in the module: "never" for day number 0.
std::string DayNumberText(std::uint16_t dayNumber);

}  // namespace q5480
