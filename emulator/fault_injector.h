// Line faults on demand. Armed from any thread while the emulator runs; each
// armed fault spoils the next frames it applies to and is then used up.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <random>

namespace q5480 {

enum class Fault {
  NoReply,            // the frame is echoed but never answered
  CorruptEcho,        // the echo of the length byte is altered
  CorruptReplyCheck,  // the reply's check byte is altered
  WrongLength,        // the reply's length byte is off by one, its check right
  WrongStart,         // the reply starts with another byte than 0x31
  TruncatedReply,     // the reply stops half way
  SlowByte,           // one reply byte comes late (see SlowByteDelay)
  LateAnswer,         // echo and reply of a frame come whole, but after LateAnswerDelay
};
inline constexpr std::size_t kFaultCount = 8;

class FaultInjector {
 public:
  using Clock = std::chrono::steady_clock;

  void Arm(Fault fault, int frames = 1);
  // True (and one use gone) when `fault` is armed.
  bool Take(Fault fault);
  int Armed(Fault fault) const;
  void Clear();

  // Nothing is echoed or answered, and what arrives is dropped, for a while.
  void SilenceFor(std::chrono::milliseconds duration);
  bool Silent() const;

  // A noisy line: each byte that crosses it, either way, is altered with
  // probability `corruptShare` and lost with probability `dropShare`, at
  // random from `seed`. Zero shares give a clean line.
  void SetNoise(double corruptShare, double dropShare, unsigned seed);
  // The byte as the line delivers it; nothing when the line lost it.
  std::optional<std::uint8_t> Disturb(std::uint8_t byte);

  void SetSlowByteDelay(std::chrono::milliseconds delay) { slowByteDelay_.store(delay.count()); }
  std::chrono::milliseconds SlowByteDelay() const {
    return std::chrono::milliseconds(slowByteDelay_.load());
  }
  std::chrono::milliseconds LateAnswerDelay() const { return std::chrono::milliseconds(120); }

 private:
  std::array<std::atomic<int>, kFaultCount> armed_{};
  std::atomic<Clock::rep> silentUntil_{0};
  // Longer than the link's byte wait at 4800 baud (300 ms + 50 ms).
  std::atomic<long long> slowByteDelay_{400};
  std::atomic<bool> noisy_{false};
  std::mutex noiseMutex_;  // the shares and the generator
  double corruptShare_ = 0;
  double dropShare_ = 0;
  std::mt19937 noise_;
};

}  // namespace q5480
