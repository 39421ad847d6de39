#include "emulator/sample_handler.h"

namespace q5480 {
namespace {

constexpr std::uint8_t kMeasure = 'm';
// 25.0 as a module float (exponent 0x83, mantissa 1.5625), 12 mA as the
// signed 1/512 mA steps above 4 mA (4096), unit index 1 in the first status.
constexpr std::uint8_t kSample[] = {0x83, 0x48, 0x00, 0x00, 0x10, 0x00, 0x01};

}  // namespace

std::optional<std::vector<std::uint8_t>> SampleHandler::Handle(const std::vector<std::uint8_t>& data) {
  if (data.empty() || data[0] != kMeasure) return std::nullopt;
  ++measurements_;
  std::vector<std::uint8_t> reply(std::begin(kSample), std::end(kSample));
  reply.push_back(status2_.load());
  return reply;
}

}  // namespace q5480
