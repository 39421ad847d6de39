// The polling of the module's measurement as the link runs it: "m" in the
// result mode, and the status latch over each sample's second status byte.
#pragma once

#include "link/poll_protocol.h"

namespace q5480 {

// It holds no state: one serves every link of the program.
const PollProtocol& MeasurementPolling();

}  // namespace q5480
