// Timed waits on file descriptors that stay correct across EINTR and end at
// once when the abort descriptor becomes readable.
#pragma once

#include <poll.h>

#include <chrono>

namespace q5480 {

class Deadline {
 public:
  using Clock = std::chrono::steady_clock;

  explicit Deadline(std::chrono::milliseconds timeout) : end_(Clock::now() + timeout) {}
  explicit Deadline(Clock::time_point end) : end_(end) {}

  Clock::time_point End() const { return end_; }
  bool Expired() const { return Clock::now() >= end_; }
  Clock::duration Remaining() const;

 private:
  Clock::time_point end_;
};

enum class WaitResult { Ready, TimedOut, Aborted, Failed };

// Waits until `fd` reports `events`, `abortFd` becomes readable or the
// deadline passes. `abortFd` may be -1.
WaitResult WaitForFd(int fd, short events, int abortFd, const Deadline& deadline);

// Sleeps until the deadline unless `abortFd` becomes readable first; false
// when aborted.
bool SleepUnlessAborted(int abortFd, std::chrono::milliseconds duration);

}  // namespace q5480
