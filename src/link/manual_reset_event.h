// A manual-reset event: stays signalled until reset; waits are timed.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace q5480 {

class ManualResetEvent {
 public:
  void Set();
  void Reset();
  bool IsSet() const;
  // True when the event was (or became) signalled within `timeout`.
  bool WaitFor(std::chrono::milliseconds timeout) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool signalled_ = false;
};

}  // namespace q5480
