#include "link/status_latch.h"

namespace q5480 {

LatchedStatus LatchStatus(const LatchedStatus& before, std::uint8_t status2, bool sampleRead) {
  bool keep = before.keepLatched && !sampleRead;
  LatchedStatus after;
  after.newAverage = (status2 & 0x20) != 0 || (before.newAverage && keep);
  after.largeError = (status2 & 0x40) != 0 || (before.largeError && keep);
  after.keepLatched = sampleRead;
  return after;
}

}  // namespace q5480
