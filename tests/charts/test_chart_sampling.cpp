#include <gtest/gtest.h>

#include <tuple>

#include "charts/chart_sampling.h"

namespace q5480 {
namespace {

constexpr std::int32_t kDay = 45'000;

ChartTimeStamp At(std::int32_t milliseconds, std::int32_t day = kDay) {
  return {milliseconds, day};
}

TEST(SamplingRule, IntervalsWrapAtMidnightAndDaysOrderFirst) {
  const std::tuple<ChartTimeStamp, double, ChartTimeStamp> sums[] = {
      {At(0), 2, At(2000)},
      {At(86'399'000), 2, At(1000, kDay + 1)},
      {At(86'398'000), 2, At(0, kDay + 1)},  // reaching 86 400 000 wraps
      {At(86'397'999), 2, At(86'399'999)},
      {At(1000), 0.0625, At(1062)},  // 62.5 ms, halves to even
      {At(1000), 0.1875, At(1188)},
      {At(5000), 3600, At(3'605'000)},
  };
  for (const auto& [time, interval, sum] : sums) {
    EXPECT_EQ(AddInterval(time, interval), sum) << time.Milliseconds << " + " << interval;
  }
  EXPECT_LT(At(86'399'999), At(0, kDay + 1));
  EXPECT_GT(At(1, kDay), At(0, kDay));
  EXPECT_EQ(At(7, kDay), At(7, kDay));
}

TEST(SamplingRule, DueOnceAnIntervalHasPassedCatchingUpOrRestarting) {
  struct Case {
    double interval;
    ChartTimeStamp nextTime;
    ChartTimeStamp now;
    bool due;
    ChartTimeStamp nextAfter;
  };
  const Case cases[] = {
      {2, At(10'000), At(11'999), false, At(10'000)},
      {2, At(10'000), At(12'000), true, At(12'000)},
      // Late, but by less than two intervals: the grid of instants stays.
      {2, At(10'000), At(13'500), true, At(12'000)},
      // More than two intervals behind: sampling restarts from now.
      {2, At(10'000), At(14'000), true, At(14'000)},
      {2, At(10'000), At(17'250), true, At(17'250)},
      // Across midnight.
      {2, At(86'399'000), At(500, kDay + 1), false, At(86'399'000)},
      {2, At(86'399'000), At(1000, kDay + 1), true, At(1000, kDay + 1)},
      // An interval of 0 takes every value, even at the same instant.
      {0, At(10'000), At(10'000), true, At(10'000)},
      {0, At(10'000), At(10'250), true, At(10'250)},
      {0, At(10'000), At(9'000), true, At(10'000)},
  };
  for (const Case& c : cases) {
    ChartTimeStamp nextTime = c.nextTime;
    EXPECT_EQ(IsPointDue(nextTime, c.interval, c.now), c.due) << c.now.Milliseconds;
    EXPECT_EQ(nextTime, c.nextAfter) << c.now.Milliseconds;
  }
}

}  // namespace
}  // namespace q5480
