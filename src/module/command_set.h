// The module's command set over the one link: requests built from their
// codes, identification with the memory layout it reveals, the measurement
// samples and the service commands.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

#include "config/module_config.h"
#include "config/module_image.h"
#include "link/link.h"
#include "module/measurement.h"

namespace q5480 {

// Request codes.
namespace request_code {
inline constexpr std::uint8_t kMeasure = 'm';
inline constexpr std::uint8_t kRead = 's';
inline constexpr std::uint8_t kWrite = 'D';
inline constexpr std::uint8_t kStore = 'L';
inline constexpr std::uint8_t kOpenWrite = 0xEF;
inline constexpr std::uint8_t kRestart = 'r';
inline constexpr std::uint8_t kServiceMode = 0x40;
inline constexpr std::uint8_t kCorrections = 'V';
inline constexpr std::uint8_t kValue = 'Z';
inline constexpr std::uint8_t kOutput = 'o';
}  // namespace request_code

// Mode bytes of the measurement request: which of the module's inner
// quantities the sample's value carries. Polling asks for the result.
namespace register_mode {
inline constexpr std::uint8_t kCorrected = 0;  // the signal after the corrections
inline constexpr std::uint8_t kTerminals = 1;  // the signal at the terminals
inline constexpr std::uint8_t kResult = 2;     // what the display shows
inline constexpr std::uint8_t kFraction = 4;   // position in the input range, 0 to 1
inline constexpr std::uint8_t kAverage = 8;    // the averaged result
}  // namespace register_mode

inline constexpr std::uint8_t kIdentifyCount = 0x80;
inline constexpr std::size_t kMaxBlock = 16;
// A memory block's request and reply begin with its count, then its address.
inline constexpr std::uint8_t kBlockHeader = 3;
// The "V" request carries zero and gain, a module float each.
inline constexpr std::size_t kCorrectionBytes = 8;

// Requests carry 16-bit values (addresses, output codes) high byte first.
inline std::uint8_t HighByte(std::uint32_t value) { return static_cast<std::uint8_t>(value >> 8); }
inline std::uint8_t LowByte(std::uint32_t value) { return static_cast<std::uint8_t>(value); }

// "m" with a mode byte of register_mode, awaiting a sample.
LinkBuffer MeasureRequest(std::uint8_t mode);

// The waits of the command sequences; tests shorten them.
struct CommandPauses {
  std::chrono::milliseconds afterWrite{300};       // before and after the final 100 %
  std::chrono::milliseconds serviceRestart{1500};  // "r" to the first 0x40
  std::chrono::milliseconds serviceRetry{500};     // between 0x40 attempts
};

class CommandSet {
 public:
  CommandSet(Link& link, ModuleConfig& config, ModuleImage& image, CommandPauses pauses = {});

  // The request for `code`: "o" (argument: the 16-bit output value), "r",
  // "s" (argument: count * 65536 + address), "m" (argument: mode), 0x40,
  // "V" (zero and gain from the record, also stored into the image) and "Z"
  // (argument: the 32-bit value). Any other code gives an empty request,
  // which the link refuses without touching the line.
  LinkBuffer PrepareCommand(std::uint8_t code, std::uint32_t argument = 0);

  // Direct exchanges while polling is stopped, and the queue while it runs.
  LinkStatus SendCommand(std::uint8_t code, std::uint32_t argument = 0);
  QueueResult QueueCommand(std::uint8_t code, std::uint32_t argument = 0);

  // Reads the identifier into the image (2048 to 2051) and `ModuleId` and
  // decides the memory layout. Sent with retries: only inside a transfer.
  LinkStatus Identify();
  bool NewLayout() const { return newLayout_.load(); }
  // The `ModuleId` that the last identification read, for the thread that
  // runs the transfer (the record is the window thread's).
  const std::string& IdentifiedId() const { return identifiedId_; }

  // The newest unread sample of the polling thread; "new average" and
  // "large error" as the polling thread holds them. False (and model index
  // 16) when there is none.
  bool TakeSample(MeasurementSample& sample, DeviceStatus& status);
  // "m" sent directly; the reply becomes the last sample.
  LinkStatus PollDirect(std::uint8_t mode, MeasurementSample& sample, DeviceStatus& status);
  // "Z": a value and the current for it, in the current format of the last
  // sample.
  LinkStatus ReadValueDirect(std::uint32_t argument, MeasurementSample& sample);

  // "r", a pause, then 0x40 until one is answered (at most 5 attempts),
  // also when "r" failed. The failure of "r" when it failed, else the
  // outcome of the last 0x40.
  LinkStatus EnterServiceMode();

  Link& GetLink() { return link_; }
  ModuleConfig& Config() { return config_; }
  const ModuleConfig& Config() const { return config_; }
  ModuleImage& Image() { return image_; }
  const CommandPauses& Pauses() const { return pauses_; }

 private:
  Link& link_;
  ModuleConfig& config_;
  ModuleImage& image_;
  const CommandPauses pauses_;
  std::atomic<bool> newLayout_{false};
  std::string identifiedId_;
  std::atomic<bool> wideCurrent_{false};
};

}  // namespace q5480
