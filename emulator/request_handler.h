// What a module does with a checked request. The line frames the answer.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace q5480 {

class RequestHandler {
 public:
  virtual ~RequestHandler() = default;
  // The reply data for the request data, or nothing when the module stays
  // silent. Called on the emulator's thread.
  virtual std::optional<std::vector<std::uint8_t>> Handle(
      const std::vector<std::uint8_t>& data) = 0;
};

}  // namespace q5480
