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
}

void FaultInjector::SilenceFor(std::chrono::milliseconds duration) {
  silentUntil_.store((Clock::now() + duration).time_since_epoch().count());
}

bool FaultInjector::Silent() const {
  return Clock::now().time_since_epoch().count() < silentUntil_.load();
}

}  // namespace q5480
