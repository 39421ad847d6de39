#include "charts/chart_sampling.h"

#include <cstdint>

#include "config/numbers.h"

namespace q5480 {

ChartTimeStamp AddInterval(ChartTimeStamp time, double intervalSeconds) {
  // The chart keeps the interval within 0..3600 s; floor division would
  // keep a negative one in order as well.
  const std::int64_t milliseconds =
      time.Milliseconds + RoundToInt64(1000 * intervalSeconds).value_or(0);
  std::int64_t day = time.Day + milliseconds / kMillisecondsPerDay;
  std::int64_t ofDay = milliseconds % kMillisecondsPerDay;
  if (ofDay < 0) {
    ofDay += kMillisecondsPerDay;
    --day;
  }
  return {static_cast<std::int32_t>(ofDay), static_cast<std::int32_t>(day)};
}

bool IsPointDue(ChartTimeStamp& nextTime, double intervalSeconds, ChartTimeStamp now) {
  const ChartTimeStamp due = AddInterval(nextTime, intervalSeconds);
  if (intervalSeconds != 0 && now < due) return false;
  nextTime = due;
  if (now >= AddInterval(due, intervalSeconds)) nextTime = now;
  return true;
}

}  // namespace q5480
