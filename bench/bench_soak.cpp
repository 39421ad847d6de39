// A night of polling: polls an emulated module on a line paced at 4800 baud
// for SECONDS (an hour by default) while its input moves along a sine and
// the line fails now and then (a spoiled, cut, late or missing answer every
// one to three seconds, a silence of 1.5 s every fifteenth time). Prints the
// poll rate against the line's limit, the failed exchanges, the share of a
// core and the resident memory at the start and the end, every minute and
// at the end. Goals: memory flat, between faults the rate of bench_polling
// (95 % of the line's limit), every fault recovered within 3 s.
//
// The module runs in a child process, so that the figures are the
// program's alone.
//
// usage: bench_soak [SECONDS]
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "config/dates.h"
#include "emulator/module_emulator.h"
#include "emulator/module_requests.h"
#include "link/link.h"
#include "module/measurement.h"
#include "module/measurement_polling.h"
#include "service/module_service.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kBaud = 4800;
constexpr double kLimit = kBaud / (16 * 10.0);  // polls a second: 16 bytes of 10 bits
constexpr int kPort = 1;
constexpr auto kRecoveryBound = std::chrono::seconds(3);
constexpr long kMemoryTolerance = 256;  // KiB of growth still counted as flat
// A wait for a sample longer than this is the time a fault took.
constexpr auto kSteadyGap = milliseconds(100);
constexpr double kRateGoal = 0.95;  // of the line's limit, as bench_polling reaches
constexpr q5480::Fault kLineFaults[] = {
    q5480::Fault::NoReply,     q5480::Fault::CorruptEcho, q5480::Fault::CorruptReplyCheck,
    q5480::Fault::WrongLength, q5480::Fault::WrongStart,  q5480::Fault::TruncatedReply,
    q5480::Fault::SlowByte,    q5480::Fault::LateAnswer};

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The child: the module, and a fault now and then until the parent closes
// `control`; then the number of faults and silences on `toParent`.
[[noreturn]] void RunModule(int toParent, int control) {
  q5480::ModuleOptions options;
  options.factory.modelNumber = 5497;
  q5480::EmulatedModule module(options);
  // A Pt100 from about 10 to 30 degC and back every two minutes.
  module.SetSignal({q5480::SignalKind::Sine, 107.79, 3.9, 120});
  q5480::ModuleEmulator emulator(module, kBaud);
  emulator.Start();
  const std::string path = emulator.SlavePath() + "\n";
  if (write(toParent, path.data(), path.size()) < 0) _exit(1);
  std::mt19937 random(5480);
  long faults = 0, silences = 0;
  for (;;) {
    pollfd wait{control, POLLIN, 0};
    if (poll(&wait, 1, std::uniform_int_distribution<>(1000, 3000)(random)) != 0) break;
    if ((faults + silences + 1) % 15 == 0) {
      emulator.Faults().SilenceFor(milliseconds(1500));
      ++silences;
    } else {
      emulator.Faults().Arm(kLineFaults[std::uniform_int_distribution<std::size_t>(0, 7)(random)]);
      ++faults;
    }
  }
  emulator.Stop();
  dprintf(toParent, "%ld %ld\n", faults, silences);
  _exit(0);
}

void SetPt100(q5480::ModuleConfig& config) {
  config.Device = "Q5497";
  config.Typ = 1;
  config.Tryb = 3;
  config.Lin = q5480::kLinTable;
  config.MinInput = -50;
  config.MaxInput = 150;
  config.Jednostki = 8;
}

struct Figures {
  std::uint64_t samples;
  std::uint64_t failed;
  double cpu;
  long residentKiB;
  Clock::time_point at;
};

Figures Take(const q5480::Link& link) {
  return {link.SamplesTaken(), link.PollExchangesFailed(), CpuSeconds(), ResidentKiB(),
          Clock::now()};
}

void PrintSince(const char* label, const Figures& from, const Figures& to) {
  const double wall = std::chrono::duration<double>(to.at - from.at).count();
  const double rate = static_cast<double>(to.samples - from.samples) / wall;
  std::printf(
      "%-6s %7.0f s  %6.2f polls/s (%5.1f %% of %.0f)  %5llu failed exchanges  cpu %5.2f %%  "
      "resident %ld KiB\n",
      label, wall, rate, 100 * rate / kLimit, kLimit,
      static_cast<unsigned long long>(to.failed - from.failed), 100 * (to.cpu - from.cpu) / wall,
      to.residentKiB);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 3600;
  int fromModule[2], control[2];
  if (pipe(fromModule) != 0 || pipe(control) != 0) return 1;
  // Forked before any thread of this process starts.
  const pid_t child = fork();
  if (child == 0) {
    close(fromModule[0]);
    close(control[1]);
    RunModule(fromModule[1], control[0]);
  }
  close(fromModule[1]);
  close(control[0]);
  FILE* module = fdopen(fromModule[0], "r");
  char line[256] = {};
  if (child < 0 || !fgets(line, sizeof line, module)) return 1;
  std::string slave = line;
  slave.pop_back();

  const fs::path ports = fs::temp_directory_path() / ("q5480-soak-" + std::to_string(getpid()));
  fs::create_directories(ports);
  fs::create_symlink(slave, ports / ("com" + std::to_string(kPort)));
  q5480::LinkSettings settings;
  settings.ports = q5480::PortEnvironment::OnlyLinksIn(ports);

  int status = 1;
  {
    q5480::ModuleConfig config;
    q5480::ModuleImage image;
    q5480::InputLimits limits;
    q5480::ConversionState state;
    SetPt100(config);
    q5480::Link link(q5480::MeasurementPolling(), settings);
    q5480::ModuleService service(link, {config, limits, state}, image);
    // The module measures with a configuration of its own, as after a write.
    const bool ready = link.OpenLink(kPort, 3) && !service.BuildForWrite(q5480::Today()) &&
                       q5480::Succeeded(service.Write());
    if (!ready) {
      std::fprintf(stderr, "bench_soak: the module cannot be set up\n");
      close(control[1]);
    } else {
      while (link.SamplesTaken() == 0) link.NewSampleEvent().WaitFor(milliseconds(100));
      std::printf("line: %d baud, limit %.0f polls/s; polling for %.0f s\n", kBaud, kLimit,
                  seconds);
      const Figures start = Take(link);
      Figures minute = start;
      Clock::duration longestGap{};
      Clock::time_point lastSample = start.at;
      std::uint64_t samplesSeen = start.samples;
      std::uint64_t steadySamples = 0;
      Clock::duration steadyTime{};
      double lowest = 1e300, highest = -1e300;
      const Clock::time_point end = start.at + std::chrono::duration_cast<Clock::duration>(
                                                   std::chrono::duration<double>(seconds));
      while (Clock::now() < end) {
        link.NewSampleEvent().WaitFor(milliseconds(100));
        link.NewSampleEvent().Reset();
        if (const auto sample = link.TakeUnreadSample()) {
          const double value = q5480::DecodeSample(sample->data()).Value;
          lowest = std::min(lowest, value);
          highest = std::max(highest, value);
          const Clock::time_point now = Clock::now();
          const std::uint64_t taken = link.SamplesTaken();
          if (now - lastSample <= kSteadyGap) {
            steadyTime += now - lastSample;
            steadySamples += taken - samplesSeen;
          }
          samplesSeen = taken;
          lastSample = now;
        }
        longestGap = std::max(longestGap, Clock::now() - lastSample);
        if (Clock::now() - minute.at >= std::chrono::minutes(1)) {
          const Figures now = Take(link);
          PrintSince("minute", minute, now);
          minute = now;
        }
      }
      const Figures last = Take(link);
      const bool polling = link.PollRunning() && !link.PollFault();
      link.StopLink();
      close(control[1]);
      long faults = 0, silences = 0;
      if (fscanf(module, "%ld %ld", &faults, &silences) != 2) faults = silences = -1;

      std::printf("start  resident %ld KiB\n", start.residentKiB);
      PrintSince("all", start, last);
      const double rate = static_cast<double>(last.samples - start.samples) /
                          std::chrono::duration<double>(last.at - start.at).count();
      const double gap = std::chrono::duration<double>(longestGap).count();
      std::printf(
          "faults: %ld on single exchanges, %ld silences of 1.5 s; longest wait for a sample "
          "%.2f s; polling %s\n",
          faults, silences, gap, polling ? "still running" : "STOPPED");
      std::printf("signal: results from %.2f to %.2f\n", lowest, highest);
      const bool flat = last.residentKiB - start.residentKiB <= kMemoryTolerance;
      const bool recovered = polling && longestGap <= kRecoveryBound;
      const double steadyRate =
          static_cast<double>(steadySamples) / std::chrono::duration<double>(steadyTime).count();
      const bool fast = steadyRate >= kRateGoal * kLimit;
      std::printf("between faults: %.2f polls/s (%.1f %% of the line's limit, goal %.0f %%)\n",
                  steadyRate, 100 * steadyRate / kLimit, 100 * kRateGoal);
      std::printf("memory %s (%+ld KiB); rate %.1f %% of the line's limit in all; every fault %s\n",
                  flat ? "flat" : "GROWS", last.residentKiB - start.residentKiB,
                  100 * rate / kLimit, recovered ? "recovered" : "NOT recovered");
      status = flat && recovered && fast ? 0 : 1;
    }
  }
  fclose(module);
  waitpid(child, nullptr, 0);
  std::error_code error;
  fs::remove_all(ports, error);
  return status;
}
