#include "module/command_set.h"

#include "config/text.h"
#include "module/status_latch.h"

namespace q5480 {
namespace {

constexpr std::uint8_t kValueLength = 6;
constexpr std::size_t kIdentifierLength = 4;
constexpr std::uint8_t kIdentifyLength = kBlockHeader + kIdentifierLength;
constexpr std::uint8_t kServiceReplyLength = 4;
constexpr int kServiceAttempts = 5;
constexpr std::size_t kCorrectionsNewAddress = 96;

}  // namespace

LinkBuffer MeasureRequest(std::uint8_t mode) {
  return MakeRequest({request_code::kMeasure, mode}, kSampleSize);
}

CommandSet::CommandSet(Link& link, ModuleConfig& config, ModuleImage& image, CommandPauses pauses)
    : link_(link), config_(config), image_(image), pauses_(pauses) {}

LinkBuffer CommandSet::PrepareCommand(std::uint8_t code, std::uint32_t argument) {
  using namespace request_code;
  switch (code) {
    case kOutput: return MakeRequest({kOutput, HighByte(argument), LowByte(argument)}, 0);
    case kRestart: return MakeRequest({kRestart}, kNoReply);
    case kRead: {
      const std::uint32_t count = argument >> 16;
      const std::uint32_t address = argument & 0xFFFF;
      if (count == kIdentifyCount) {
        return MakeRequest({kRead, kIdentifyCount, HighByte(address), LowByte(address)},
                           kIdentifyLength);
      }
      if (count < 1 || count > kMaxBlock) return LinkBuffer{};
      return MakeRequest({kRead, LowByte(count), HighByte(address), LowByte(address)},
                         static_cast<std::uint8_t>(count + kBlockHeader));
    }
    case kMeasure: return MeasureRequest(LowByte(argument));
    case kServiceMode: return MakeRequest({kServiceMode, '7', '3', '1', '6'}, kServiceReplyLength);
    case kCorrections: {
      image_.StoreFloat(image_offset::kZeroReg, config_.ZeroReg);
      image_.StoreFloat(image_offset::kGainReg, config_.GainReg);
      const std::size_t address = NewLayout() ? kCorrectionsNewAddress : image_offset::kZeroReg;
      std::uint8_t data[1 + kBlockHeader + kCorrectionBytes] = {
          kCorrections, kCorrectionBytes, HighByte(static_cast<std::uint32_t>(address)),
          LowByte(static_cast<std::uint32_t>(address))};
      std::copy_n(image_.bytes.begin() + image_offset::kZeroReg, kCorrectionBytes,
                  data + 1 + kBlockHeader);
      return MakeRequest(data, 0);
    }
    case kValue:
      return MakeRequest({kValue, LowByte(argument), LowByte(argument >> 8),
                          LowByte(argument >> 16), LowByte(argument >> 24)},
                         kValueLength);
    default: return LinkBuffer{};
  }
}

LinkStatus CommandSet::SendCommand(std::uint8_t code, std::uint32_t argument) {
  return link_.SendCommand(PrepareCommand(code, argument));
}

QueueResult CommandSet::QueueCommand(std::uint8_t code, std::uint32_t argument) {
  return link_.QueueCommand(PrepareCommand(code, argument));
}

LinkStatus CommandSet::Identify() {
  LinkBuffer reply{};
  const LinkBuffer request = PrepareCommand(request_code::kRead, kIdentifyCount << 16);
  if (const LinkStatus status = link_.SendWithRetries(request, reply); !Succeeded(status)) {
    return status;
  }
  if (reply[0] != kIdentifierLength || reply[1] != 0 || reply[2] != 0) return LinkStatus::BadReply;
  std::string identifier;
  for (std::size_t i = 0; i < kIdentifierLength; ++i) {
    image_[image_offset::kModuleId + i] = reply[kBlockHeader + i];
    identifier.push_back(static_cast<char>(reply[kBlockHeader + i]));
  }
  identifiedId_ = Cp1250ToUtf8(identifier);
  config_.ModuleId = identifiedId_;
  newLayout_.store(reply[kBlockHeader] > '1');
  return LinkStatus::Success;
}

bool CommandSet::TakeSample(MeasurementSample& sample, DeviceStatus& status) {
  const std::optional<LinkBuffer> bytes = link_.TakeUnreadSample();
  if (!bytes) {
    status.ModelIndex = 16;
    return false;
  }
  sample = DecodeSample(bytes->data());
  DecodeDeviceStatus(sample.Status1, sample.Status2, AverageFlags::Keep, status);
  const LatchedStatus latched = UnpackLatch(link_.HeldStatus());
  status.NewAverage = latched.newAverage;
  status.LargeError = latched.largeError;
  wideCurrent_.store(status.CurrentFormat);
  return true;
}

LinkStatus CommandSet::PollDirect(std::uint8_t mode, MeasurementSample& sample,
                                  DeviceStatus& status) {
  if (const LinkStatus sent = SendCommand(request_code::kMeasure, mode); !Succeeded(sent)) {
    return sent;
  }
  const LinkBuffer& reply = link_.CommandReply();
  link_.SetLastSample(reply);
  sample = DecodeSample(reply.data());
  DecodeDeviceStatus(sample.Status1, sample.Status2, AverageFlags::Take, status);
  wideCurrent_.store(status.CurrentFormat);
  return LinkStatus::Success;
}

LinkStatus CommandSet::ReadValueDirect(std::uint32_t argument, MeasurementSample& sample) {
  if (const LinkStatus sent = SendCommand(request_code::kValue, argument); !Succeeded(sent)) {
    return sent;
  }
  sample = DecodeValueReply(link_.CommandReply().data(), wideCurrent_.load());
  return LinkStatus::Success;
}

LinkStatus CommandSet::EnterServiceMode() {
  const LinkStatus restart = SendCommand(request_code::kRestart);
  if (restart == LinkStatus::Aborted || restart == LinkStatus::PortLost) return restart;
  // A restart whose echo went wrong may well have reached the module, which
  // would then be out of service mode: it is asked back all the same.
  if (!link_.Pause(pauses_.serviceRestart)) return LinkStatus::Aborted;
  const LinkBuffer request = PrepareCommand(request_code::kServiceMode);
  LinkBuffer reply{};
  LinkStatus status = LinkStatus::Aborted;
  for (int attempt = 0; attempt < kServiceAttempts; ++attempt) {
    if (attempt > 0 && !link_.Pause(pauses_.serviceRetry)) return LinkStatus::Aborted;
    status = link_.Transact(request, reply);
    if (Succeeded(status) || status == LinkStatus::PortLost) break;
  }
  return Succeeded(restart) ? status : restart;
}

}  // namespace q5480
