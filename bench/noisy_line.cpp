#include "noisy_line.h"

#include <chrono>

#include "config/dates.h"
#include "emulator/module_emulator.h"
#include "emulator/module_requests.h"
#include "link/link.h"
#include "module/measurement_polling.h"
#include "service/module_service.h"

namespace q5480::noisy {
namespace {

using std::chrono::milliseconds;

constexpr int kPort = 1;
constexpr int kFastLine = 115200;
constexpr int kSpeed4800 = 3;
// A byte inside the segments that every verify compares, in either layout.
constexpr std::size_t kSegmentByte = 1500;

void SetConfiguration(ModuleConfig& config, int variant) {
  config.Device = "Q5495";
  config.Typ = 10;  // thermocouple K, internal compensation, linearised
  config.Tryb = 7;
  config.Lin = kLinTable;
  config.MinInput = 0;
  config.MaxInput = 500 + variant % 500;
  config.Jednostki = 8;
  config.kod = "NOISE-" + std::to_string(variant % 1000);
  config.ogolne = "Transfers over a noisy line";
}

LinkSettings SettingsFor(const std::filesystem::path& ports) {
  LinkSettings settings;
  settings.ports = PortEnvironment::OnlyLinksIn(ports);
  settings.portSettleTime = milliseconds(1);
  return settings;
}

ModuleOptions OptionsFor(const std::string& identifier) {
  ModuleOptions options;
  options.factory.identifier = identifier;
  return options;
}

}  // namespace

const char* KindName(TransferKind kind) {
  switch (kind) {
    case TransferKind::Write: return "write";
    case TransferKind::Read: return "read";
    case TransferKind::Verify: return "verify";
  }
  return "";
}

struct NoisyLine::Rig {
  Rig(const std::string& identifier, const std::filesystem::path& folder)
      : module(OptionsFor(identifier)),
        emulator(module),
        link(MeasurementPolling(), SettingsFor(folder / "ports")),
        service(link, {config, limits, state}, image,
                CommandPauses{milliseconds(1), milliseconds(1), milliseconds(1)}) {
    std::filesystem::create_directories(folder / "ports");
    const auto name = folder / "ports" / ("com" + std::to_string(kPort));
    std::filesystem::remove(name);
    std::filesystem::create_symlink(emulator.SlavePath(), name);
    emulator.Start();
    ready = link.OpenLink(kPort, kSpeed4800);
    // Transfers back to back: no polling between them.
    link.StopPolling();
    ready = ready && link.ConfigurePort(kFastLine) && Build(0) && Succeeded(service.Write());
  }
  ~Rig() {
    link.StopLink();
    emulator.Stop();
  }

  bool Build(int variant) {
    SetConfiguration(config, variant);
    return !service.BuildForWrite(Today());
  }
  void Noise(const NoiseLevel& level, unsigned seed) {
    emulator.Faults().SetNoise(level.corruptShare, level.dropShare, seed);
  }
  void Quiet() { emulator.Faults().SetNoise(0, 0, 0); }

  // Each trial: the transfer on the noisy line, then its judge on a clean one.
  bool Trial(TransferKind kind, int index, const NoiseLevel& level, unsigned seed, Counts& counts);

  EmulatedModule module;
  ModuleEmulator emulator;
  ModuleConfig config;
  ModuleImage image;
  InputLimits limits;
  ConversionState state;
  Link link;
  ModuleService service;
  bool ready = false;
};

bool NoisyLine::Rig::Trial(TransferKind kind, int index, const NoiseLevel& level, unsigned seed,
                           Counts& counts) {
  bool succeeded = false;
  bool truthful = true;
  switch (kind) {
    case TransferKind::Write: {
      if (!Build(index + 1)) return false;
      Noise(level, seed);
      succeeded = Succeeded(service.Write());
      Quiet();
      // The module must hold what was sent.
      truthful = !succeeded || service.Verify().Matches();
      break;
    }
    case TransferKind::Read: {
      const ModuleImage before = image;
      Noise(level, seed);
      succeeded = Succeeded(service.ReadConfiguration());
      Quiet();
      const ModuleImage noisy = image;
      image = before;
      if (!Succeeded(service.ReadConfiguration())) return false;
      truthful = !succeeded || noisy.bytes == image.bytes;
      break;
    }
    case TransferKind::Verify: {
      // Every other module differs in one byte of its memory.
      const bool differs = index % 2 == 1;
      const std::uint8_t original = module.Memory()[kSegmentByte];
      if (differs) module.PokeMemory(kSegmentByte, static_cast<std::uint8_t>(original ^ 0x10));
      const ModuleImage expected = image;
      Noise(level, seed);
      const VerifyOutcome outcome = service.Verify();
      Quiet();
      succeeded = outcome.Matches();
      image = expected;
      truthful = !succeeded || service.Verify().Matches();
      image = expected;
      if (differs) module.PokeMemory(kSegmentByte, original);
      break;
    }
  }
  ++counts.transfers;
  if (!succeeded) ++counts.failures;
  if (succeeded && truthful) ++counts.successes;
  if (succeeded && !truthful) ++counts.falseSuccesses;
  return true;
}

NoisyLine::NoisyLine(const std::string& identifier, const std::filesystem::path& folder)
    : rig_(std::make_unique<Rig>(identifier, folder)) {}

NoisyLine::~NoisyLine() = default;

bool NoisyLine::Ready() const { return rig_->ready; }

Counts NoisyLine::Run(TransferKind kind, int count, const NoiseLevel& noise, unsigned seed) {
  Counts counts;
  // A write that failed on the noise may have left the module half written.
  if (!Succeeded(rig_->service.Write())) return counts;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) {
    if (!rig_->Trial(kind, i, noise, seed + static_cast<unsigned>(i), counts)) break;
  }
  counts.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return counts;
}

}  // namespace q5480::noisy
