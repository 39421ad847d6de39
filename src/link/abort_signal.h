// The link's abort flag. While it is set every read, write and wait of the
// link fails at once: waits watch its descriptor beside the port's.
#pragma once

#include <atomic>
#include <chrono>

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

  // Readable exactly while the flag is set, for the port's own waits.
  int Fd() const { return fd_; }

 private:
  int fd_;
  std::atomic<bool> set_{false};
};

}  // namespace q5480
