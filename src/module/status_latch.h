// The "new average" and "large error" bits of the module's second status
// byte are held across polls until a window has read a sample.
#pragma once

#include <cstdint>

namespace q5480 {

struct LatchedStatus {
  bool keepLatched = false;
  bool newAverage = false;  // bit 5
  bool largeError = false;  // bit 6
};

// The state after a poll that brought `status2`; `sampleRead` tells whether
// a window read the sample before it.
LatchedStatus LatchStatus(const LatchedStatus& before, std::uint8_t status2, bool sampleRead);

// The latch in the one byte that the link holds between polls.
std::uint8_t PackLatch(const LatchedStatus& latch);
LatchedStatus UnpackLatch(std::uint8_t held);

}  // namespace q5480
