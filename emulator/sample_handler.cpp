#include "emulator/sample_handler.h"

#include <algorithm>
#include <array>

namespace q5480 {
namespace {

constexpr std::uint8_t kMeasure = 'm';
// 25.0 as a module float (exponent 0x83, mantissa 1.5625), 12 mA as the
// signed 1/512 mA steps above 4 mA (4096), unit index 1 in the first status.
constexpr std::array<std::uint8_t, 7> kSample = {0x83, 0x48, 0x00, 0x00, 0x10, 0x00, 0x01};

}  // namespace

std::optional<std::vector<std::uint8_t>> SampleHandler::Handle(
    const std::vector<std::uint8_t>& data) {
  if (data.empty() || data[0] != kMeasure) return std::nullopt;
  ++measurements_;
  std::vector<std::uint8_t> reply(kSample.size() + 1);
  std::copy(kSample.begin(), kSample.end(), reply.begin());
  reply.back() = status2_.load();
  return reply;
}

}  // namespace q5480
