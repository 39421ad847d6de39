// Times a production plan of eight emulated modules at 4800 baud, written
// all at once by "q5480ctl batch", against one "q5480ctl write" alone, and
// the processor time q5480ctl takes for it (its own rusage, read as the
// child's). Then the same with one of the eight modules silent.
//
// usage: bench_production_line
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "config/parameters_file.h"
#include "emulator/module_emulator.h"
#include "emulator/module_requests.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kBaud = 4800;
constexpr int kModules = 8;
constexpr int kFirstPort = 21;

struct Station {
  std::vector<std::unique_ptr<q5480::EmulatedModule>> modules;
  std::vector<std::unique_ptr<q5480::ModuleEmulator>> lines;
};

struct Run {
  double seconds = 0;
  double cpuSeconds = 0;
  int status = -1;
};

double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

Run Timed(const fs::path& folder, const std::string& arguments) {
  const double cpuBefore = ChildCpuSeconds();
  const auto start = Clock::now();
  const int status =
      std::system(("'" + (folder / "q5480ctl").string() + "' " + arguments + " >'" +
                   (folder / "out.txt").string() + "' 2>'" + (folder / "err.txt").string() + "'")
                      .c_str());
  Run run;
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.cpuSeconds = ChildCpuSeconds() - cpuBefore;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

void Print(const char* what, const Run& run, double reference) {
  std::printf("%-34s %7.2f s  %5.2f x one write  %5.1f %% of one core  exit %d\n", what,
              run.seconds, run.seconds / reference, run.cpuSeconds / run.seconds * 100, run.status);
}

}  // namespace

int main() {
  std::string pattern = (fs::temp_directory_path() / "q5480-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path folder = pattern;
  fs::create_directories(folder / "ports");
  fs::copy_file(fs::path(Q5480_BIN_DIR) / "q5480ctl", folder / "q5480ctl");

  Station station;
  for (int i = 0; i < kModules; ++i) {
    q5480::ModuleOptions options;
    options.factory.identifier = i % 2 == 0 ? "2104" : "1.45";  // both layouts
    station.modules.push_back(std::make_unique<q5480::EmulatedModule>(options));
    station.lines.push_back(std::make_unique<q5480::ModuleEmulator>(*station.modules[i], kBaud));
    fs::create_symlink(station.lines[i]->SlavePath(),
                       folder / "ports" / ("com" + std::to_string(kFirstPort + i)));
    station.lines[i]->Start();
  }

  q5480::ModuleConfig config;
  config.Device = "Q5495";
  config.Typ = q5480::kTypThermocoupleK;
  config.Tryb = q5480::kTrybCompensation;
  config.Lin = q5480::kLinTable;
  config.MaxInput = 1000;
  config.Jednostki = q5480::kUnitCelsius;
  std::string dataDir;
  if (!q5480::WriteParametersFile(folder / "k.par", config, {}, dataDir)) return 1;
  std::ofstream plan(folder / "plan.csv");
  plan << "port,file,tag\n";
  for (int i = 0; i < kModules; ++i) { plan << kFirstPort + i << ",k.par,TT-" << 100 + i << "\n"; }
  plan.close();

  std::printf("%d emulated modules at %d baud, both memory layouts\n\n", kModules, kBaud);
  const Run one = Timed(
      folder, "write '" + (folder / "k.par").string() + "' --port " + std::to_string(kFirstPort));
  Print("one write", one, one.seconds);
  const std::string batch = "batch '" + (folder / "plan.csv").string() + "'";
  Print("batch of eight", Timed(folder, batch), one.seconds);
  station.lines[3]->Faults().SilenceFor(std::chrono::minutes(5));
  Print("batch of eight, one module silent", Timed(folder, batch), one.seconds);

  for (auto& line : station.lines) line->Stop();
  std::error_code error;
  fs::remove_all(folder, error);
  return one.status == 0 ? 0 : 1;
}
