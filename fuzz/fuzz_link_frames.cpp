// The bytes of the link's frames: the request built around any data, and
// the measurement and status decoded from any reply, stay within what the
// program expects of them.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

#include "fuzz_support.h"
#include "link/frame.h"
#include "module/measurement.h"

namespace q5480::fuzz {
namespace {

void CheckSample(const MeasurementSample& sample) {
  Check(std::isfinite(sample.Value), "a measured value that is not finite");
  Check(sample.Current >= 0 && sample.Current <= 25, "an output current outside 0 to 25 mA");
}

void CheckRequest(std::span<const std::uint8_t> data, std::uint8_t replyLength) {
  LinkBuffer request{};
  try {
    request = MakeRequest(data, replyLength);
  } catch (const std::invalid_argument&) {
    Check(data.empty() || data.size() > kMaxRequestData,
          "a request of a size the link sends was refused");
    return;
  }
  Check(!data.empty() && data.size() <= kMaxRequestData,
        "a request of a size the link refuses was built");
  Check(request[0] == data.size() && request[data.size() + 1] == replyLength,
        "a request's frame is wrong");
  for (std::size_t i = 0; i < data.size(); ++i)
    Check(request[i + 1] == data[i], "a request's data is wrong");
  unsigned sum = CheckByte(data);
  for (std::uint8_t byte : data) sum += byte;
  Check(sum % 256 == 255, "the check byte does not complete the sum");
}

}  // namespace
}  // namespace q5480::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q5480;
  using namespace q5480::fuzz;
  if (size < kSampleSize) return 0;
  const MeasurementSample sample = DecodeSample(data);
  CheckSample(sample);
  CheckSample(DecodeValueReply(data, (data[0] & 1) != 0));
  DeviceStatus status;
  DecodeDeviceStatus(sample.Status1, sample.Status2, AverageFlags::Take, status);
  Check(status.ResultUnit >= 1 && status.ResultUnit <= 15, "a unit outside the unit table");
  Check(status.ModelIndex <= 15, "a model index outside the model code table");
  CheckRequest(std::span(data + kSampleSize, size - kSampleSize), data[1]);
  return 0;
}
