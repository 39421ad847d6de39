// The emulated module: answers every request of the command set from its own
// memory and its simulated input.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "emulator/module_measurement.h"
#include "emulator/module_memory.h"
#include "emulator/module_options.h"
#include "emulator/module_signal.h"
#include "emulator/module_status.h"
#include "emulator/request_handler.h"

namespace q5480 {

using ModuleReply = std::optional<std::vector<std::uint8_t>>;

class EmulatedModule : public RequestHandler {
 public:
  // `clock` gives seconds for the simulated signal (a steady clock when
  // empty). Loads the memory file when one is named and exists; throws
  // std::runtime_error when it cannot be used.
  explicit EmulatedModule(ModuleOptions options, std::function<double()> clock = {});

  ModuleReply Handle(const std::vector<std::uint8_t>& data) override;

  // Settable from any thread while the line runs.
  void SetSignal(const SignalShape& shape);
  void SetSensorBroken(bool broken) { sensorBroken_ = broken; }
  void SetEepromError(bool error) { eepromError_ = error; }
  void SetCalibrationMode(bool on) { calMode_ = on; }
  void SetInternalTemperature(double celsius);

  MemoryLayout Layout() const { return layout_; }
  MemoryBytes Memory() const;
  // Changes one stored byte, as a fault inside the module would.
  void PokeMemory(std::size_t address, std::uint8_t value);
  bool InServiceMode() const { return serviceMode_; }
  bool IndependentOutput() const { return independentOutput_; }
  bool WriteOpen() const;

 private:
  ModuleReply Measure(std::uint8_t mode);
  ModuleReply Read(const std::vector<std::uint8_t>& data);
  ModuleReply Write(const std::vector<std::uint8_t>& data);
  ModuleReply Store(const std::vector<std::uint8_t>& data);
  ModuleReply StoreOld(const std::vector<std::uint8_t>& data);
  ModuleReply StoreNew(const std::vector<std::uint8_t>& data);
  ModuleReply WriteCorrections(const std::vector<std::uint8_t>& data);
  ModuleReply Value(const std::vector<std::uint8_t>& data);
  ModuleReply SetOutput(const std::vector<std::uint8_t>& data);
  ModuleReply EnterServiceMode(const std::vector<std::uint8_t>& data);
  void Restart();
  // Makes `candidate` the stored memory when the memory file (if any) took
  // it; false leaves everything as it was.
  bool Commit(const ModuleMemory& candidate);
  MeasuringConditions Conditions() const;
  StatusFlags Flags(const Measurement& reading) const;

  const ModuleOptions options_;
  const MemoryLayout layout_;
  const std::function<double()> clock_;
  SimulatedSignal signal_;
  std::atomic<bool> sensorBroken_{false};
  std::atomic<bool> eepromError_{false};
  std::atomic<bool> calMode_{false};
  std::atomic<double> internalTemperature_;
  std::atomic<bool> serviceMode_{false};
  std::atomic<bool> independentOutput_{false};

  mutable std::mutex mutex_;  // everything below
  ModuleMemory stored_;
  std::optional<ModuleMemory> pending_;  // an open configuration write
  bool segmentsConfirmed_ = false;       // new layout: the first "L" matched
  std::uint16_t outputCode_ = 0;
  AveragingWindow averaging_;
};

}  // namespace q5480
