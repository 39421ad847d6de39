#include "service/service_session.h"

#include <algorithm>
#include <array>

#include "config/module_image.h"

namespace q5480 {
namespace {

// The 32-bit argument of "Z": the module float, exponent in the top byte.
std::uint32_t ValueArgument(double value) {
  const std::array<std::uint8_t, 4> bytes = EncodeModuleFloat(value);
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | bytes[3];
}

}  // namespace

ServiceSession::ServiceSession(ModuleService& service)
    : service_(service), commands_(service.Commands()) {
  if (service_.transferRunning_) return;
  service_.transferRunning_ = true;
  active_ = true;
  Link& link = service_.GetLink();
  polling_ = link.LinkStarted();
  link.StopPolling();
}

ServiceSession::~ServiceSession() {
  if (!active_) return;
  service_.transferRunning_ = false;
  if (polling_) service_.GetLink().StartPolling();
}

LinkStatus ServiceSession::Measure(std::uint8_t mode, MeasurementSample& sample,
                                   DeviceStatus& status) {
  if (!active_) return LinkStatus::Busy;
  return commands_.PollDirect(mode, sample, status);
}

LinkStatus ServiceSession::Simulate(double signal, MeasurementSample& sample) {
  if (!active_) return LinkStatus::Busy;
  return commands_.ReadValueDirect(ValueArgument(signal), sample);
}

LinkStatus ServiceSession::StoreCorrections(double zero, double gain) {
  if (!active_) return LinkStatus::Busy;
  ModuleConfig& config = commands_.Config();
  ModuleImage& image = commands_.Image();
  const double keptZero = config.ZeroReg;
  const double keptGain = config.GainReg;
  std::array<std::uint8_t, kCorrectionBytes> keptBytes{};
  std::copy_n(image.bytes.begin() + image_offset::kZeroReg, kCorrectionBytes, keptBytes.begin());

  config.ZeroReg = std::clamp(zero, -kCorrectionLimit, kCorrectionLimit);
  config.GainReg = std::clamp(gain, -kCorrectionLimit, kCorrectionLimit);
  const LinkStatus status = commands_.SendCommand(request_code::kCorrections);
  if (!Succeeded(status)) {
    // Nothing says the module took them: record and image keep what it held.
    config.ZeroReg = keptZero;
    config.GainReg = keptGain;
    std::copy(keptBytes.begin(), keptBytes.end(), image.bytes.begin() + image_offset::kZeroReg);
  }
  return status;
}

LinkStatus ServiceSession::ForceOutput(std::uint16_t code) {
  if (!active_) return LinkStatus::Busy;
  return commands_.SendCommand(request_code::kOutput, code);
}

LinkStatus ServiceSession::Restart() {
  if (!active_) return LinkStatus::Busy;
  return commands_.SendCommand(request_code::kRestart);
}

LinkStatus ServiceSession::EnterServiceMode() {
  if (!active_) return LinkStatus::Busy;
  return commands_.SendCommand(request_code::kServiceMode);
}

LinkStatus ServiceSession::RestartIntoServiceMode() {
  if (!active_) return LinkStatus::Busy;
  return commands_.EnterServiceMode();
}

}  // namespace q5480
