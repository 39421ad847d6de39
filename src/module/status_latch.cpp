#include "module/status_latch.h"

namespace q5480 {
namespace {

constexpr std::uint8_t kKeepLatched = 0x01;
constexpr std::uint8_t kNewAverage = 0x02;
constexpr std::uint8_t kLargeError = 0x04;

}  // namespace

LatchedStatus LatchStatus(const LatchedStatus& before, std::uint8_t status2, bool sampleRead) {
  bool keep = before.keepLatched && !sampleRead;
  LatchedStatus after;
  after.newAverage = (status2 & 0x20) != 0 || (before.newAverage && keep);
  after.largeError = (status2 & 0x40) != 0 || (before.largeError && keep);
  after.keepLatched = sampleRead;
  return after;
}

std::uint8_t PackLatch(const LatchedStatus& latch) {
  return static_cast<std::uint8_t>((latch.keepLatched ? kKeepLatched : 0) |
                                   (latch.newAverage ? kNewAverage : 0) |
                                   (latch.largeError ? kLargeError : 0));
}

LatchedStatus UnpackLatch(std::uint8_t held) {
  return {(held & kKeepLatched) != 0, (held & kNewAverage) != 0, (held & kLargeError) != 0};
}

}  // namespace q5480
