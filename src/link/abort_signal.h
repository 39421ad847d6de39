// The link's abort flag. While it is set every read, write and wait of the
// link fails at once: waits watch its system object beside the port's (an
// eventfd on Linux, abort_signal_eventfd.cpp; a manual-reset event on
// Windows, abort_signal_win32.cpp).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace q5480 {

class AbortSignal {
 public:
  AbortSignal();
  ~AbortSignal();
  AbortSignal(const AbortSignal&) = delete;
  AbortSignal& operator=(const AbortSignal&) = delete;

  void Set();
  void Clear();
  bool IsSet() const { return set_.load(); }

  // Sleeps for `duration` unless the flag is or becomes set; false then.
  bool Sleep(std::chrono::steady_clock::duration duration) const;

  // Signalled exactly while the flag is set, for the port's own waits: the
  // eventfd's descriptor, or the event's handle.
  std::intptr_t Native() const { return native_; }

 private:
  std::intptr_t native_;
  std::atomic<bool> set_{false};
};

}  // namespace q5480
