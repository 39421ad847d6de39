// A link and the command set talking over a pseudo-terminal to the emulated
// module, with a handler in between that records every request and can make
// the module fall silent or spoil frames at random.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "support/scratch_directory.h"
#include "config/language_table.h"
#include "config/module_config.h"
#include "config/module_image.h"
#include "config/user_interface.h"
#include "conversion/build_image.h"
#include "emulator/module_emulator.h"
#include "emulator/module_requests.h"
#include "link/command_set.h"
#include "link/link.h"
#include "link/transfer_workers.h"

namespace q5480::device_test {

using Bytes = std::vector<std::uint8_t>;

inline constexpr const char* kOldId = "1.23";      // older firmware, no fixed point
inline constexpr const char* kOldIdLate = "1.45";  // older firmware with a fixed point
inline constexpr const char* kNewId = "2104";
inline constexpr int kPort = 9;
inline constexpr int kTestBaud = 9600;

class SilentUi : public UserInterface {
 public:
  MessageResult ShowMessage(const std::string&, const std::string&, MessageIcon,
                            MessageButtons) override {
    return MessageResult::Ok;
  }
  void Beep(BeepKind) override {}
};

// Stands between the line and the module: keeps every request, and on
// demand stays silent from a given request on or spoils frames at random.
class Interposer : public RequestHandler {
 public:
  Interposer(EmulatedModule& module, FaultInjector& faults) : module_(module), faults_(faults) {}

  std::optional<Bytes> Handle(const Bytes& data) override {
    std::lock_guard lock(mutex_);
    requests_.push_back(data);
    if (silentAfter_ >= 0 && static_cast<long>(requests_.size()) > silentAfter_) {
      // The whole line dies: no echo, no reply.
      faults_.SilenceFor(std::chrono::minutes(1));
      return std::nullopt;
    }
    if (lateEvery_ > 0 && static_cast<long>(requests_.size()) % lateEvery_ == 0) {
      faults_.Arm(Fault::LateAnswer);
    }
    const auto overridden = overrides_.find(static_cast<std::uint8_t>(data[0] & 0x7F));
    if (overridden != overrides_.end()) return overridden->second;
    if (spoilShare_ > 0 && std::uniform_real_distribution<>(0, 1)(random_) < spoilShare_) {
      // Bytes spoiled on the line; silence has tests of its own.
      static constexpr Fault kLineFaults[] = {Fault::CorruptEcho, Fault::CorruptReplyCheck,
                                              Fault::WrongLength, Fault::WrongStart};
      faults_.Arm(kLineFaults[std::uniform_int_distribution<std::size_t>(0, 3)(random_)]);
    }
    return module_.Handle(data);
  }

  // Requests of `code` (flagged or not) get `reply`; nothing: silence.
  void Override(std::uint8_t code, std::optional<Bytes> reply) {
    std::lock_guard lock(mutex_);
    overrides_[static_cast<std::uint8_t>(code & 0x7F)] = std::move(reply);
  }
  // After the first `count` requests the line goes dead.
  void SilentAfter(long count) {
    std::lock_guard lock(mutex_);
    silentAfter_ = count;
  }
  // After every `count`-th request the module takes up the next frame late.
  void LateAfterEvery(long count) {
    std::lock_guard lock(mutex_);
    lateEvery_ = count;
  }
  void SpoilAtRandom(double share, unsigned seed) {
    std::lock_guard lock(mutex_);
    spoilShare_ = share;
    random_.seed(seed);
  }
  std::vector<Bytes> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }
  void ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
  }
  long CountOf(std::uint8_t code) const {
    long count = 0;
    for (const Bytes& request : Requests()) count += (request[0] & 0x7F) == (code & 0x7F);
    return count;
  }

 private:
  EmulatedModule& module_;
  FaultInjector& faults_;
  mutable std::mutex mutex_;
  std::vector<Bytes> requests_;
  std::map<std::uint8_t, std::optional<Bytes>> overrides_;
  long silentAfter_ = -1;
  long lateEvery_ = 0;
  double spoilShare_ = 0;
  std::mt19937 random_;
};

inline LinkSettings TestLinkSettings(const std::filesystem::path& ports) {
  LinkSettings settings;
  settings.ports.portsDirectory = ports;
  settings.ports.sysfsRoot = ports / "no-sysfs";
  settings.ports.devRoot = ports / "no-dev";  // never a real serial device
  settings.portSettleTime = std::chrono::milliseconds(1);
  settings.threadStopBound = std::chrono::seconds(3);
  settings.workerSilenceBound = std::chrono::seconds(5);
  settings.progressAckBound = std::chrono::seconds(3);
  return settings;
}

inline ModuleOptions OptionsWithId(const std::string& identifier, std::uint16_t model = 5495) {
  ModuleOptions options;
  options.factory.identifier = identifier;
  options.factory.modelNumber = model;
  return options;
}

// Everything a transfer needs: a module on a line of its own, the link and
// the program's configuration with its image.
class DeviceRig {
 public:
  explicit DeviceRig(ModuleOptions options, int baud = 0,
                     CommandPauses pauses = {std::chrono::milliseconds(1),
                                             std::chrono::milliseconds(1),
                                             std::chrono::milliseconds(1)})
      : module(std::move(options)),
        emulator(interposer, baud),
        interposer(module, emulator.Faults()),
        link(ui, texts, TestLinkSettings(scratch.Path() / "ports")),
        commands(link, config, image, pauses) {
    std::filesystem::create_directories(scratch.Path() / "ports");
    std::filesystem::create_symlink(emulator.SlavePath(),
                                    scratch.Path() / "ports" / ("com" + std::to_string(kPort)));
    emulator.Start();
  }
  ~DeviceRig() {
    link.StopPolling();
    link.StopLink();
    emulator.Stop();
  }

  // The port open, polling stopped: the state a transfer starts from. The
  // line is set faster than a module's: the link lets the bytes of a frame
  // gather for their time on the line, which the unpaced emulator does not
  // need. Requests before that (polls while the link opened) are forgotten.
  bool OpenIdle() {
    if (!link.OpenLink(kPort, 3) || !link.StopPolling() || !link.ConfigurePort(kTestBaud)) {
      return false;
    }
    // A poll still on its way reaches the module after the stop.
    if (!emulator.SettleAndResetCounts(std::chrono::milliseconds(20), std::chrono::seconds(2))) {
      return false;
    }
    interposer.ClearRequests();
    return true;
  }

  bool Run(Link::Worker worker) { return RunTransfer(link, std::move(worker), {}); }
  bool Read(int kind = kReadKindConfiguration) {
    return Run([this, kind] { return ReadWorker(commands, kind); });
  }
  bool Write() {
    return Run([this] { return WriteWorker(commands); });
  }

  test_support::ScratchDirectory scratch;
  EmulatedModule module;
  ModuleEmulator emulator;
  Interposer interposer;
  SilentUi ui;
  LanguageTable texts;
  ModuleConfig config;
  ModuleImage image;
  Link link;
  CommandSet commands;
};

// A resistance thermometer configuration with every field set apart from
// its default.
inline void SetPt100Configuration(ModuleConfig& config) {
  config.Device = "Q5495";
  config.Typ = 1;
  config.Tryb = 3;
  config.Lin = kLinTable;  // linearised by the standard characteristic
  config.MinInput = -50;
  config.MaxInput = 250;
  config.RoomT = 23.5;
  config.ZeroReg = 0.25;
  config.GainReg = -0.125;
  config.FiltrZakres = 12;
  config.FiltrCzas = 32;
  config.FiltrLimit = 7;
  config.LimitLow = 20;
  config.LimitHigh = 180;
  config.Jednostki = 8;
  config.Kropka = 2;
  config.Burnout = 1;
  config.Siec = 60;
  config.kod = "TAG-7";
  config.ogolne = "Boiler 3, return line";
}

// Builds the rig's image from its record as a write does.
inline bool BuildRigImage(DeviceRig& rig, std::uint16_t today = 46000) {
  InputLimits limits;
  ConversionState state;
  BuildFailure failure = BuildFailure::None;
  return BuildModuleImage({rig.config, limits, state}, rig.image, today, failure);
}

// The part of an image that a module's memory holds (without the identifier).
inline std::vector<std::uint8_t> Held(const ModuleImage& image) {
  return std::vector<std::uint8_t>(image.bytes.begin(), image.bytes.begin() + 2048);
}

// Waits for a condition with a generous upper bound.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds bound = std::chrono::seconds(5)) {
  const auto end = std::chrono::steady_clock::now() + bound;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace q5480::device_test
