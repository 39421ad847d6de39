// Shared helpers of the emulator tests: a module with a hand-made clock, the
// requests as the program builds them, and configurations written with them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "config/module_image.h"
#include "emulator/module_requests.h"

namespace q5480::test {

using Bytes = std::vector<std::uint8_t>;

inline constexpr const char* kOldId = "1.23";
inline constexpr const char* kNewId = "2104";

// 255 minus the 8-bit sum, computed here apart from the module's own.
inline std::uint8_t Check(const MemoryBytes& bytes, std::size_t first, std::size_t last) {
  int sum = 0;
  for (std::size_t i = first; i <= last; ++i) sum += bytes[i];
  return static_cast<std::uint8_t>(255 - sum % 256);
}

// What "L" confirms in the old layout: one check over bytes 0 to 7 and 68 to
// 1711 (the two part checks hold 255 twice).
inline std::uint8_t OldCheck(const MemoryBytes& bytes) {
  return static_cast<std::uint8_t>(Check(bytes, 0, 7) + Check(bytes, 68, 1711) + 1);
}

inline Bytes ReadRequest(std::size_t count, std::size_t address) {
  return {'s', static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(address >> 8),
          static_cast<std::uint8_t>(address)};
}

inline Bytes WriteRequest(std::size_t address, const MemoryBytes& from, std::size_t count) {
  Bytes request = ReadRequest(count, address);
  request[0] = 'D';
  for (std::size_t i = 0; i < count; ++i) request.push_back(from[address + i]);
  return request;
}

// What the module repeats of a read or write: count and address.
inline Bytes Echoed(const Bytes& request) {
  return Bytes(request.begin() + 1, request.begin() + 4);
}

// New layout "L": three checks, each followed by its complement.
inline Bytes NewStoreRequest(std::uint8_t step, std::uint8_t a, std::uint8_t b, std::uint8_t c) {
  const auto n = [](std::uint8_t v) { return static_cast<std::uint8_t>(~v); };
  return {'L', step, a, n(a), b, n(b), c, n(c)};
}

// "V": zero and gain, each a module float exponent first.
inline Bytes CorrectionsRequest(std::size_t address, double zero, double gain) {
  Bytes request = ReadRequest(8, address);
  request[0] = 'V';
  for (const double value : {zero, gain}) {
    for (const std::uint8_t byte : EncodeModuleFloat(value)) request.push_back(byte);
  }
  return request;
}

// A module whose simulated time moves only when a test says so. `change`
// sets what else than the identifier the module is made with.
struct ClockedModule {
  explicit ClockedModule(const char* identifier,
                         const std::function<void(ModuleOptions&)>& change = {}) {
    ModuleOptions options;
    options.factory.identifier = identifier;
    if (change) change(options);
    module =
        std::make_unique<EmulatedModule>(std::move(options), [clock = seconds] { return *clock; });
  }

  ModuleReply Send(const Bytes& request) { return module->Handle(request); }

  std::shared_ptr<double> seconds = std::make_shared<double>(0);
  std::unique_ptr<EmulatedModule> module;
};

inline void ExpectSilent(ClockedModule& module, std::initializer_list<Bytes> requests) {
  for (const Bytes& r : requests) EXPECT_FALSE(module.Send(r)) << testing::PrintToString(r);
}

// Runs a test once for each layout; the parameter is the identifier.
class EachLayout : public testing::TestWithParam<const char*> {
 protected:
  bool Old() const { return LayoutOfIdentifier(GetParam()) == MemoryLayout::Old; }
  const LayoutAddresses& At() const { return AddressesOf(LayoutOfIdentifier(GetParam())); }
};

// A configuration in the engineering terms that the module works with.
struct ModuleSetup {
  double signalLow = 0, signalHigh = 100;  // at the terminals
  double minInput = 0, maxInput = 1000;    // the result over that signal
  std::uint8_t typ = 16, unitsAndPoint = 8, inputCode = 0x40, filterLimit = 0;
  double zero = 0, gain = 0;             // corrections in percent
  std::array<double, 3> coldJunction{};  // at 68 in both layouts; only the old one uses it
};

// New layout: the four copies of the segment area's check.
inline void SealSegments(ModuleMemory& memory) {
  auto& bytes = memory.Bytes();
  if (memory.Layout() != MemoryLayout::New) return;
  std::fill(&bytes[2748], &bytes[2752], Check(bytes, 1088, 2747));
}

// The memory of `setup` with one linear segment f = (S - low) / (high - low)
// repeated over all 202 places, and texts that are not blank.
inline ModuleMemory LinearMemory(MemoryLayout layout, const ModuleSetup& setup) {
  ModuleMemory memory(layout);
  const auto& at = memory.Addresses();
  auto& bytes = memory.Bytes();
  bytes[at.inputCode] = setup.inputCode;
  bytes[at.unitsAndPoint] = setup.unitsAndPoint;
  bytes[at.filterLimit] = setup.filterLimit;
  bytes[at.typ] = setup.typ;
  const double span = setup.signalHigh - setup.signalLow;
  memory.SetFloat(at.signalLow, setup.signalLow);
  memory.SetFloat(at.signalStep, span / 200);
  memory.SetFloat(at.minInput, setup.minInput);
  memory.SetFloat(at.span, setup.maxInput - setup.minInput);
  for (std::size_t k = 0; k < 202; ++k) {
    memory.SetFloat(at.segments + 8 * k, -setup.signalLow / span);
    memory.SetFloat(at.segments + 8 * k + 4, 1 / span);
  }
  memory.SetFloat(at.corrections, setup.zero);
  memory.SetFloat(at.corrections + 4, setup.gain);
  for (std::size_t i = 0; i < 3; ++i) memory.SetFloat(68 + 4 * i, setup.coldJunction[i]);
  // No check covers the texts; a check that took them in would notice.
  std::fill(&bytes[at.textFirst], &bytes[at.textLast + 1], 'T');
  SealSegments(memory);
  return memory;
}

// The blocks of `wanted` from `first` to `end` as in an open configuration write.
inline bool SendBlocks(ClockedModule& module, const ModuleMemory& wanted, std::size_t first,
                       std::size_t end) {
  for (std::size_t address = first; address < end; address += 16) {
    const Bytes request =
        WriteRequest(address, wanted.Bytes(), std::min<std::size_t>(16, end - address));
    // The old layout acknowledges with an empty reply.
    const Bytes ack = wanted.Layout() == MemoryLayout::Old ? Bytes{} : Echoed(request);
    if (module.Send(request) != ack) return false;
  }
  return true;
}

// A whole configuration write of `wanted` as the program makes it; true when
// every request was answered as it should be.
inline bool WriteConfiguration(ClockedModule& module, const ModuleMemory& wanted) {
  if (module.Send({0xEF, 0, 0}) != Bytes{}) return false;
  const auto& bytes = wanted.Bytes();
  if (wanted.Layout() == MemoryLayout::New) {
    const std::uint8_t c = bytes[2751];
    return SendBlocks(module, wanted, 16, 208) && SendBlocks(module, wanted, 1088, 2752) &&
           module.Send(NewStoreRequest(1, c, c, c)) == Bytes{} &&
           module.Send(NewStoreRequest(2, Check(bytes, 16, 23), Check(bytes, 24, 95),
                                       Check(bytes, 96, 103))) == Bytes{};
  }
  // Bytes 0 to 1855 but the factory area, then the corrections block.
  const std::uint8_t c = OldCheck(bytes);
  return SendBlocks(module, wanted, 0, 16) && SendBlocks(module, wanted, 68, 1856) &&
         SendBlocks(module, wanted, 2016, 2032) && module.Send({'L', 1, c, c, c}) == Bytes{};
}

}  // namespace q5480::test
