#include "emulator/fault_injector.h"

namespace q5480 {

void FaultInjector::Arm(Fault fault, int frames) {
  armed_[static_cast<std::size_t>(fault)].store(frames > 0 ? frames : 0);
}

bool FaultInjector::Take(Fault fault) {
  std::atomic<int>& count = armed_[static_cast<std::size_t>(fault)];
  int left = count.load();
  while (left > 0) {
    if (count.compare_exchange_weak(left, left - 1)) return true;
  }
  return false;
}

int FaultInjector::Armed(Fault fault) const {
  return armed_[static_cast<std::size_t>(fault)].load();
}

void FaultInjector::Clear() {
  for (auto& count : armed_) count.store(0);
  silentUntil_.store(0);
  SetNoise(0, 0, 0);
}

void FaultInjector::SetNoise(double corruptShare, double dropShare, unsigned seed) {
  std::lock_guard lock(noiseMutex_);
  corruptShare_ = corruptShare;
  dropShare_ = dropShare;
  noise_.seed(seed);
  noisy_.store(corruptShare > 0 || dropShare > 0);
}

std::optional<std::uint8_t> FaultInjector::Disturb(std::uint8_t byte) {
  if (!noisy_.load()) return byte;
  std::lock_guard lock(noiseMutex_);
  const double draw = std::uniform_real_distribution<>(0, 1)(noise_);
  if (draw < dropShare_) return std::nullopt;
  if (draw < dropShare_ + corruptShare_) {
    // Any other value: one to eight bits flipped.
    const auto flips = static_cast<std::uint8_t>(std::uniform_int_distribution<>(1, 255)(noise_));
    return static_cast<std::uint8_t>(byte ^ flips);
  }
  return byte;
}

void FaultInjector::SilenceFor(std::chrono::milliseconds duration) {
  silentUntil_.store((Clock::now() + duration).time_since_epoch().count());
}

bool FaultInjector::Silent() const {
  return Clock::now().time_since_epoch().count() < silentUntil_.load();
}

}  // namespace q5480
