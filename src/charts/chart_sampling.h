// When the strip chart takes a value: at most once per sampling interval,
// catching up after a short delay and starting afresh after a long one.
// "Now" is always passed in, so that tests step time by hand.
#pragma once

#include <compare>
#include <cstdint>

namespace q5480 {

inline constexpr std::int32_t kMillisecondsPerDay = 86'400'000;

// A moment of local time. The day number's epoch is the caller's; only the
// order of moments and the wrap at midnight matter.
struct ChartTimeStamp {
  std::int32_t Milliseconds = 0;  // since midnight, 0 .. 86 399 999
  std::int32_t Day = 0;

  friend bool operator==(const ChartTimeStamp&, const ChartTimeStamp&) = default;
  // Days first, then the time of day.
  friend std::strong_ordering operator<=>(const ChartTimeStamp& a, const ChartTimeStamp& b) {
    if (const auto byDay = a.Day <=> b.Day; byDay != 0) return byDay;
    return a.Milliseconds <=> b.Milliseconds;
  }
};

// `time` plus an interval in seconds, rounded to whole milliseconds (halves
// to even); past midnight the day number goes up.
ChartTimeStamp AddInterval(ChartTimeStamp time, double intervalSeconds);

// Whether a value offered at `now` is due, given the last sampling instant
// `nextTime` (updated when it is). An interval of 0 takes every value.
// After a delay of less than two intervals the next instant stays on the
// grid of intervals, so the lost time is caught up; after a longer one
// sampling restarts from `now`.
bool IsPointDue(ChartTimeStamp& nextTime, double intervalSeconds, ChartTimeStamp now);

}  // namespace q5480
