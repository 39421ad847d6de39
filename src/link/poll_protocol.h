// What the polling thread asks the module in every round and what it holds
// of the answers from one poll to the next. The module's protocol above the
// link gives both: the link knows neither the request nor the reply's layout.
#pragma once

#include <cstdint>

#include "link/frame.h"

namespace q5480 {

class PollProtocol {
 public:
  virtual ~PollProtocol() = default;

  // The request of every poll.
  virtual LinkBuffer Request() const = 0;

  // What polling holds after a good poll that brought `reply`, made from
  // what it held before (0 at first); `sampleRead`: a window had read the
  // newest sample before this poll. Runs on the polling thread.
  virtual std::uint8_t Step(std::uint8_t held, const LinkBuffer& reply, bool sampleRead) const = 0;
};

}  // namespace q5480
