// The direct exchanges of the service windows and of q5480ctl's service
// commands: while a session lasts, polling stands still and no transfer may
// start, so that one thread alone talks to the module.
#pragma once

#include <chrono>
#include <cstdint>

#include "link/link_status.h"
#include "module/command_set.h"
#include "module/measurement.h"
#include "service/module_service.h"

namespace q5480 {

// The module keeps zero and gain corrections, in percent, inside this.
inline constexpr double kCorrectionLimit = 1.9999;

class ServiceSession {
 public:
  // Stops polling. Inactive while a transfer or another session holds the
  // link: every exchange then gives Busy.
  explicit ServiceSession(ModuleService& service);
  // Polling runs again when it ran before.
  ~ServiceSession();
  ServiceSession(const ServiceSession&) = delete;
  ServiceSession& operator=(const ServiceSession&) = delete;

  bool Active() const { return active_; }

  // "m" with a mode byte of register_mode.
  LinkStatus Measure(std::uint8_t mode, MeasurementSample& sample, DeviceStatus& status);
  // "Z": the result and output current that the module gives for a
  // corrected signal, in the current format of the last sample.
  LinkStatus Simulate(double signal, MeasurementSample& sample);
  // "V": the corrections, held inside kCorrectionLimit, into the record,
  // the image and the module's non-volatile memory. A store that fails
  // leaves the record and the image as they were.
  LinkStatus StoreCorrections(double zero, double gain);
  // "o": the output held at a code of OutputCodeFor until a restart.
  LinkStatus ForceOutput(std::uint16_t code);
  // "r": ends a forced output and service mode; no answer is awaited.
  LinkStatus Restart();
  // One 0x40.
  LinkStatus EnterServiceMode();
  // "r", a pause, then 0x40 until one is answered, also when "r" failed;
  // the failure of either is returned.
  LinkStatus RestartIntoServiceMode();

 private:
  ModuleService& service_;
  CommandSet& commands_;
  bool active_ = false;
  bool polling_ = false;
};

}  // namespace q5480
