// A module that answers with arbitrary bytes, played through the real link
// on a pseudo-terminal: identify, read, verify, write and polling run
// against it. Whatever it sends, nothing breaks, a read that fails leaves
// the configuration and the image as they were, and one that succeeds
// gives a finite record within its consistency rules.
//
// Input: one byte choosing the operation and the memory layout, then the
// script of the module's answers, one chunk for each request frame it
// takes: a length byte below 0xF0 and that many bytes sent raw in place of
// the reply; 0xF0 the module's own answer; 0xF1 no reply, and neither echo
// nor reply for the frame after it. Past the script
// the module answers as the emulated module does, so that transfers end.
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "emulator/frame_collector.h"
#include "emulator/module_requests.h"
#include "emulator/pty_line.h"
#include "fuzz_support.h"
#include "link/link.h"
#include "module/command_set.h"
#include "module/measurement_polling.h"
#include "service/module_service.h"

namespace q5480::fuzz {
namespace {

using std::chrono::milliseconds;

constexpr int kPort = 1;
constexpr int kFastLine = 115200;
constexpr std::uint8_t kOwnAnswer = 0xF0;
constexpr std::uint8_t kSilence = 0xF1;

class ScriptedModule {
 public:
  ScriptedModule(const std::uint8_t* script, std::size_t size, const char* identifier)
      : module_(Options(identifier)),
        script_(script, script + size),
        stopFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (stopFd_ < 0) Fail("no eventfd");
    thread_ = std::thread([this] { Run(); });
  }
  ~ScriptedModule() {
    std::uint64_t one = 1;
    [[maybe_unused]] auto written = ::write(stopFd_, &one, sizeof one);
    thread_.join();
    ::close(stopFd_);
  }
  const std::string& SlavePath() const { return line_.SlavePath(); }
  bool ScriptUsed() const { return used_.load(); }

 private:
  static ModuleOptions Options(const char* identifier) {
    ModuleOptions options;
    options.factory.identifier = identifier;
    return options;
  }

  void Run() {
    FrameCollector collector;
    for (;;) {
      const std::optional<std::uint8_t> byte = line_.Receive(milliseconds(100), stopFd_);
      if (!byte) {
        std::uint64_t value = 0;
        if (::read(stopFd_, &value, sizeof value) > 0) return;
        collector.Reset();
        continue;
      }
      if (silent_) {
        if (collector.Feed(*byte) != FrameCollector::Result::Incomplete) silent_ = false;
        continue;
      }
      if (!line_.Send(*byte, stopFd_)) return;
      if (collector.Feed(*byte) == FrameCollector::Result::Accepted && !Answer(collector.Data()))
        return;
    }
  }

  // The next chunk of the script for a frame that came whole.
  bool Answer(const std::vector<std::uint8_t>& request) {
    if (next_ >= script_.size()) {
      used_.store(true);
      return SendOwnAnswer(request);
    }
    const std::uint8_t header = script_[next_++];
    if (header == kOwnAnswer) return SendOwnAnswer(request);
    if (header == kSilence) {
      silent_ = true;  // until the next frame has gone by
      return true;
    }
    const std::size_t end = std::min(script_.size(), next_ + header);
    for (; next_ < end; ++next_) {
      if (!line_.Send(script_[next_], stopFd_)) return false;
    }
    return true;
  }

  bool SendOwnAnswer(const std::vector<std::uint8_t>& request) {
    const ModuleReply reply = module_.Handle(request);
    if (!reply) return true;
    std::vector<std::uint8_t> frame{0x31, static_cast<std::uint8_t>(reply->size())};
    frame.insert(frame.end(), reply->begin(), reply->end());
    frame.push_back(reply->empty() ? 0 : FrameCheck(*reply));
    for (std::uint8_t byte : frame) {
      if (!line_.Send(byte, stopFd_)) return false;
    }
    return true;
  }

  EmulatedModule module_;
  PtyLine line_;
  std::vector<std::uint8_t> script_;
  std::size_t next_ = 0;
  bool silent_ = false;
  std::atomic<bool> used_{false};
  int stopFd_;
  std::thread thread_;
};

LinkSettings Settings(const std::filesystem::path& ports) {
  LinkSettings settings;
  settings.ports = PortEnvironment::OnlyLinksIn(ports);
  settings.portSettleTime = milliseconds(1);
  settings.workerSilenceBound = std::chrono::seconds(5);
  settings.progressAckBound = std::chrono::seconds(3);
  return settings;
}

void CheckRecord(const ModuleConfig& config, const InputLimits& limits) {
  Check(AllFinite(config), "a value that is not finite reached the record");
  ModuleConfig ruled = config;
  ApplyConsistencyRules(ruled, limits);
  Check(FirstDifference(config, ruled).empty(), "the record breaks its consistency rules");
}

// A configuration and its image as the program holds them before a read.
void HeldBefore(ModuleConfig& config, ModuleImage& image) {
  config.Device = "Q5495";
  config.Typ = 10;
  config.Tryb = 7;
  config.Lin = kLinTable;
  config.MaxInput = 1000;
  config.kod = "HELD";
  StoreRecordInImage(config, image, 45000);
}

void Poll(Link& link, CommandSet& commands, const ScriptedModule& module) {
  link.StartPolling();
  const auto end = std::chrono::steady_clock::now() + milliseconds(300);
  while (!module.ScriptUsed() && !link.PollFault() && std::chrono::steady_clock::now() < end) {
    link.NewSampleEvent().WaitFor(milliseconds(10));
  }
  link.StopPolling();
  MeasurementSample sample;
  DeviceStatus status;
  if (commands.TakeSample(sample, status)) {
    Check(std::isfinite(sample.Value) && sample.Current >= 0 && sample.Current <= 25,
          "a sample out of bounds");
  }
}

}  // namespace
}  // namespace q5480::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q5480;
  using namespace q5480::fuzz;
  if (size == 0) return 0;
  const std::uint8_t operation = data[0];
  ScriptedModule module(data + 1, size - 1, (operation & 0x80) != 0 ? "2104" : "1.45");
  const std::filesystem::path ports = ScratchFolder() / "ports";
  std::filesystem::create_directories(ports);
  std::filesystem::remove(ports / "com1");
  std::filesystem::create_symlink(module.SlavePath(), ports / "com1");

  ModuleConfig config;
  ModuleImage image;
  InputLimits limits;
  ConversionState state;
  HeldBefore(config, image);
  Link link(MeasurementPolling(), Settings(ports));
  const CommandPauses pauses{milliseconds(1), milliseconds(1), milliseconds(1)};
  ModuleService service(link, {config, limits, state}, image, pauses);
  if (!link.OpenLink(kPort, 3)) Fail("the link does not open");
  link.StopPolling();
  if (!link.ConfigurePort(kFastLine)) Fail("the line cannot be set");

  switch (operation % 5) {
    case 0: service.Identify(); break;
    case 1: {
      const ModuleConfig configBefore = config;
      const ModuleImage imageBefore = image;
      if (Succeeded(service.ReadConfiguration())) {
        CheckRecord(config, limits);
      } else {
        Check(FirstDifference(config, configBefore).empty() &&
                  config.ModuleId == configBefore.ModuleId,
              "a failed read changed the configuration: " + FirstDifference(config, configBefore));
        Check(image.bytes == imageBefore.bytes, "a failed read changed the image");
      }
      break;
    }
    case 2: {
      const ModuleImage imageBefore = image;
      if (!service.Verify().Matches())
        Check(image.bytes == imageBefore.bytes, "a failed verify changed the image");
      break;
    }
    case 3: service.Write(); break;
    default: Poll(link, service.Commands(), module); break;
  }
  link.StopLink();
  return 0;
}
