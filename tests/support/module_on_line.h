// An emulated module on a pseudo-terminal that the program finds as COM N
// through a ports folder of the test's own, with an interposer between the
// line and the module that records every request and spoils, overrides or
// silences frames on demand.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "emulator/module_emulator.h"
#include "emulator/module_requests.h"
#include "link/link.h"
#include "module/command_set.h"

namespace q5480::test_support {

using Bytes = std::vector<std::uint8_t>;

inline constexpr const char* kOldId = "1.23";      // older firmware, no fixed point
inline constexpr const char* kOldIdLate = "1.45";  // older firmware with a fixed point
inline constexpr const char* kNewId = "2104";

class Interposer : public RequestHandler {
 public:
  Interposer(EmulatedModule& module, FaultInjector& faults) : module_(module), faults_(faults) {}

  std::optional<Bytes> Handle(const Bytes& data) override;

  // Requests of `code` (flagged or not) get `reply`; nothing: silence.
  void Override(std::uint8_t code, std::optional<Bytes> reply);
  // After the first `count` requests the line goes dead.
  void SilentAfter(long count);
  // After every `count`-th request, up to the `until`-th, the module takes
  // up the next frame late.
  void LateAfterEvery(long count, long until);
  // A share of the frames is spoiled on the line, at random from `seed`.
  void SpoilAtRandom(double share, unsigned seed);

  std::vector<Bytes> Requests() const;
  void ClearRequests();
  // Requests of `code`, flagged or not.
  long CountOf(std::uint8_t code) const;

 private:
  EmulatedModule& module_;
  FaultInjector& faults_;
  mutable std::mutex mutex_;
  std::vector<Bytes> requests_;
  std::map<std::uint8_t, std::optional<Bytes>> overrides_;
  long silentAfter_ = -1;
  long lateEvery_ = 0;
  long lateUntil_ = 0;
  double spoilShare_ = 0;
  std::mt19937 random_;
};

// The float the module holds at `address` of its newer layout, its bytes reversed there.
double HeldFloat(const EmulatedModule& module, std::size_t address);

ModuleOptions ModuleWith(const std::string& identifier = kNewId, std::uint16_t model = 5495);

// Short bounds, and a port tree that leads nowhere but to the ports folder:
// never a real serial device.
LinkSettings TestLinkSettings(const std::filesystem::path& portsFolder);

// Pauses of the command sequences short enough for tests.
inline constexpr CommandPauses kShortPauses{
    std::chrono::milliseconds(1), std::chrono::milliseconds(1), std::chrono::milliseconds(1)};

class ModuleOnLine {
 public:
  // The module starts at once; `baud` paces its line (0: no pacing).
  ModuleOnLine(ModuleOptions options, const std::filesystem::path& portsFolder, int port,
               int baud = 0);
  ~ModuleOnLine();
  ModuleOnLine(const ModuleOnLine&) = delete;
  ModuleOnLine& operator=(const ModuleOnLine&) = delete;

  // Waits until the line has been quiet for a moment (polls on their way
  // have arrived), then counts and records from zero.
  bool Settle();

  // The module pulled off the line: its pseudo-terminal closed and its COM
  // name gone, as a device node goes with its adapter. Replug puts it back
  // under the same name on a new line.
  void Unplug();
  void Replug();

  EmulatedModule module;
  ModuleEmulator emulator;
  Interposer interposer;

 private:
  std::filesystem::path link_;  // comN in the ports folder
};

}  // namespace q5480::test_support
