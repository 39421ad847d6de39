#include "module/measurement_polling.h"

#include "module/command_set.h"
#include "module/measurement.h"
#include "module/status_latch.h"

namespace q5480 {
namespace {

class MeasurementPoll final : public PollProtocol {
 public:
  LinkBuffer Request() const override { return MeasureRequest(register_mode::kResult); }

  std::uint8_t Step(std::uint8_t held, const LinkBuffer& reply, bool sampleRead) const override {
    return PackLatch(LatchStatus(UnpackLatch(held), reply[kSampleStatus2], sampleRead));
  }
};

}  // namespace

const PollProtocol& MeasurementPolling() {
  static const MeasurementPoll poll;
  return poll;
}

}  // namespace q5480
