// A module that only measures: every "m" is answered with one fixed sample
// whose second status byte can be set while it runs.
#pragma once

#include <atomic>

#include "emulator/request_handler.h"

namespace q5480 {

class SampleHandler : public RequestHandler {
 public:
  std::optional<std::vector<std::uint8_t>> Handle(const std::vector<std::uint8_t>& data) override;

  void SetStatus2(std::uint8_t status) { status2_.store(status); }
  long Measurements() const { return measurements_.load(); }

 private:
  std::atomic<std::uint8_t> status2_{0};
  std::atomic<long> measurements_{0};
};

}  // namespace q5480
