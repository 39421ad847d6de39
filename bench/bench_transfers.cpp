// Times a full write, read and verify of a configuration against the
// emulated module on a line paced at 4800 baud, for both memory layouts, and
// prints each beside the floor that the line sets: the bytes of every frame
// (request with its echo, and reply) at 10 bits a byte, plus the pauses of
// the write.
//
// usage: bench_transfers
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

#include "config/dates.h"
#include "emulator/module_emulator.h"
#include "emulator/module_requests.h"
#include "link/link.h"
#include "module/measurement_polling.h"
#include "service/module_service.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using q5480::Link;

constexpr int kBaud = 4800;
constexpr double kBitsPerByte = 10;
constexpr int kPort = 9;
constexpr double kWritePauses = 0.6;  // 300 ms before and after the final 100 %

// Counts the bytes each exchange puts on the line: the request frame (its
// echo comes back while it is sent) and the reply frame.
class CountingModule : public q5480::RequestHandler {
 public:
  explicit CountingModule(q5480::ModuleOptions options) : module_(std::move(options)) {}

  std::optional<std::vector<std::uint8_t>> Handle(const std::vector<std::uint8_t>& data) override {
    auto reply = module_.Handle(data);
    std::lock_guard lock(mutex_);
    bytes_ += static_cast<long>(data.size()) + 3;
    if (reply) bytes_ += static_cast<long>(reply->size()) + 3;
    return reply;
  }
  long TakeBytes() {
    std::lock_guard lock(mutex_);
    const long bytes = bytes_;
    bytes_ = 0;
    return bytes;
  }

 private:
  q5480::EmulatedModule module_;
  std::mutex mutex_;
  long bytes_ = 0;
};

void SetConfiguration(q5480::ModuleConfig& config) {
  config.Device = "Q5495";
  config.Typ = 10;  // thermocouple K, internal compensation, linearised
  config.Tryb = 7;
  config.Lin = q5480::kLinTable;
  config.MinInput = 0;
  config.MaxInput = 1000;
  config.Jednostki = 8;
  config.kod = "BENCH";
  config.ogolne = "Transfer timing";
}

void PrintRow(const char* layout, const char* transfer, double seconds, long bytes, double pauses,
              bool ok) {
  const double floor = static_cast<double>(bytes) * kBitsPerByte / kBaud + pauses;
  std::printf("%-6s %-8s %6ld %9.3f %9.3f %7.1f%%  %s\n", layout, transfer, bytes, floor, seconds,
              (seconds / floor - 1) * 100, ok ? "ok" : "FAILED");
}

bool Bench(const char* layoutName, const std::string& identifier, const fs::path& folder) {
  q5480::ModuleOptions options;
  options.factory.identifier = identifier;
  CountingModule module(options);
  q5480::ModuleEmulator emulator(module, kBaud);
  fs::create_directories(folder / "ports");
  fs::create_symlink(emulator.SlavePath(), folder / "ports" / ("com" + std::to_string(kPort)));
  emulator.Start();

  q5480::LinkSettings settings;
  settings.ports = q5480::PortEnvironment::OnlyLinksIn(folder / "ports");
  q5480::ModuleConfig config;
  q5480::ModuleImage image;
  q5480::InputLimits limits;
  q5480::ConversionState state;
  SetConfiguration(config);
  Link link(q5480::MeasurementPolling(), settings);
  q5480::ModuleService service(link, {config, limits, state}, image);
  if (service.BuildForWrite(q5480::Today())) {
    std::fprintf(stderr, "the image could not be built\n");
    return false;
  }
  if (!link.OpenLink(kPort, 3)) {
    std::fprintf(stderr, "the emulated module's line does not open\n");
    return false;
  }
  link.StopPolling();
  module.TakeBytes();

  auto timed = [](const std::function<bool()>& transfer) {
    const auto start = Clock::now();
    const bool ok = transfer();
    return std::make_pair(ok, std::chrono::duration<double>(Clock::now() - start).count());
  };
  const auto [written, writeSeconds] = timed([&] { return Succeeded(service.Write()); });
  PrintRow(layoutName, "write", writeSeconds, module.TakeBytes(), kWritePauses, written);
  const q5480::ModuleImage expected = image;
  const auto [read, readSeconds] = timed([&] { return Succeeded(service.ReadConfiguration()); });
  PrintRow(layoutName, "read", readSeconds, module.TakeBytes(), 0, read);
  image = expected;
  const auto [verified, verifySeconds] = timed([&] { return service.Verify().Matches(); });
  PrintRow(layoutName, "verify", verifySeconds, module.TakeBytes(), 0, verified);
  link.StopLink();
  emulator.Stop();
  return written && read && verified;
}

}  // namespace

int main() {
  std::string pattern = (fs::temp_directory_path() / "q5480-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path folder = pattern;
  std::printf("line: %d baud, %g bits a byte\n\n", kBaud, kBitsPerByte);
  std::printf("%-6s %-8s %6s %9s %9s %8s\n", "layout", "transfer", "bytes", "floor s", "took s",
              "over");
  const bool ok = Bench("old", "1.45", folder / "old") && Bench("new", "2104", folder / "new");
  std::error_code error;
  fs::remove_all(folder, error);
  return ok ? 0 : 1;
}
