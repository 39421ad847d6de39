// A point in time that timed waits end at, kept correct across interrupted
// and repeated waits.
#pragma once

#include <chrono>

namespace q5480 {

class Deadline {
 public:
  using Clock = std::chrono::steady_clock;

  explicit Deadline(Clock::duration timeout) : end_(Clock::now() + timeout) {}
  explicit Deadline(Clock::time_point end) : end_(end) {}

  Clock::time_point End() const { return end_; }
  bool Expired() const { return Clock::now() >= end_; }
  Clock::duration Remaining() const {
    const auto left = end_ - Clock::now();
    return left > Clock::duration::zero() ? left : Clock::duration::zero();
  }

 private:
  Clock::time_point end_;
};

}  // namespace q5480
