// Shared helpers of the emulator tests: a module with a hand-made clock, and
// configurations written through the module's own requests.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "emulator/module_requests.h"

namespace q5480::test {

using Bytes = std::vector<std::uint8_t>;

// 255 minus the 8-bit sum, computed here apart from the module's own.
inline std::uint8_t Check(const MemoryBytes& bytes, std::size_t first, std::size_t last) {
  int sum = 0;
  for (std::size_t i = first; i <= last; ++i) sum += bytes[i];
  return static_cast<std::uint8_t>(255 - sum % 256);
}

inline FactoryData FactoryWithId(const char* identifier) {
  FactoryData factory;
  factory.identifier = identifier;
  return factory;
}

inline constexpr const char* kOldId = "1.23";
inline constexpr const char* kOldIdLate = "1.45";
inline constexpr const char* kNewId = "2104";

// A module whose simulated time moves only when a test says so.
struct ClockedModule {
  explicit ClockedModule(ModuleOptions options)
      : seconds(std::make_shared<double>(0)),
        module(std::make_unique<EmulatedModule>(std::move(options),
                                                [clock = seconds] { return *clock; })) {}
  explicit ClockedModule(const char* identifier) : ClockedModule(OptionsWithId(identifier)) {}

  static ModuleOptions OptionsWithId(const char* identifier) {
    ModuleOptions options;
    options.factory = FactoryWithId(identifier);
    return options;
  }

  std::optional<Bytes> Send(const Bytes& request) { return module->Handle(request); }

  void SetTime(double now) { *seconds = now; }

  std::shared_ptr<double> seconds;
  std::unique_ptr<EmulatedModule> module;
};

// A configuration in the engineering terms that the module works with.
struct ModuleSetup {
  double signalLow = 0;
  double signalHigh = 100;
  double minInput = 0;
  double maxInput = 1000;
  std::uint8_t typ = 16;
  std::uint8_t unitsAndPoint = 8;  // unit 8, no fixed point
  std::uint8_t inputCode = 0x40;
  std::uint8_t filterLimit = 0;
  double zero = 0;
  double gain = 0;
  std::array<double, 3> coldJunction{};  // old layout only
};

// The memory of `setup` with one linear segment f = (S - low) / (high - low)
// repeated over all 202 places.
ModuleMemory LinearMemory(MemoryLayout layout, const ModuleSetup& setup);

// New layout: sets the four check bytes of the segment area.
void SealSegments(ModuleMemory& memory);

// Opens a configuration write, sends every configuration block of `wanted`
// as the program does and stores it with the right check bytes. True when
// every request was answered as expected.
bool WriteConfiguration(ClockedModule& module, const ModuleMemory& wanted);

Bytes ReadRequest(std::size_t count, std::size_t address);
Bytes WriteRequest(std::size_t address, const MemoryBytes& from, std::size_t count);

}  // namespace q5480::test
