// Polls a q5480-module child process that emulates a 4800 baud line, and
// prints the poll rate against the line's limit and the CPU time this
// program spends per second of polling. The emulator runs in its own process
// so that getrusage(RUSAGE_SELF) measures the program alone.
//
// usage: bench_polling [SECONDS] [PATH-TO-q5480-module]
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "config/program_directory.h"
#include "link/link.h"
#include "module/measurement_polling.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kBaud = 4800;
constexpr double kBytesPerPoll = 16;  // 5 request bytes, 11 reply bytes
constexpr double kBitsPerByte = 10;

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Starts the module and reads the pseudo-terminal path it prints.
pid_t StartModule(const fs::path& program, std::string& slavePath) {
  int out[2];
  if (pipe(out) != 0) return -1;
  pid_t child = fork();
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    std::string baud = std::to_string(kBaud);
    execl(program.c_str(), program.c_str(), "--baud", baud.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  char buffer[256];
  ssize_t got = read(out[0], buffer, sizeof buffer - 1);
  close(out[0]);
  if (got <= 0) return -1;
  buffer[got] = '\0';
  slavePath = buffer;
  while (!slavePath.empty() && (slavePath.back() == '\n' || slavePath.back() == '\r'))
    slavePath.pop_back();
  return child;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  fs::path program =
      argc > 2 ? fs::path(argv[2]) : q5480::ExecutableDirectory() / "../bin/q5480-module";
  std::string slavePath;
  pid_t child = StartModule(program, slavePath);
  if (child <= 0 || slavePath.empty()) {
    std::fprintf(stderr, "bench_polling: cannot start %s\n", program.c_str());
    return 1;
  }
  fs::path ports = fs::temp_directory_path() / ("q5480-bench-" + std::to_string(getpid()));
  fs::create_directories(ports);
  fs::create_symlink(slavePath, ports / "com1");

  q5480::LinkSettings settings;
  settings.ports.portsDirectory = ports;
  int status = 0;
  {
    q5480::Link link(q5480::MeasurementPolling(), settings);
    if (!link.OpenLink(1, 3)) {
      std::fprintf(stderr, "bench_polling: the link does not open\n");
      status = 1;
    } else {
      // Measure from the first sample on, so that start-up does not count.
      while (link.SamplesTaken() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      std::uint64_t firstSamples = link.SamplesTaken();
      double firstCpu = CpuSeconds();
      Clock::time_point start = Clock::now();
      std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
      std::uint64_t samples = link.SamplesTaken() - firstSamples;
      double cpu = CpuSeconds() - firstCpu;
      double wall = std::chrono::duration<double>(Clock::now() - start).count();
      link.StopLink();

      double limit = kBaud / (kBytesPerPoll * kBitsPerByte);
      double rate = static_cast<double>(samples) / wall;
      std::printf("line: %d baud, %.0f bytes a poll exchange, limit %.2f polls/s\n", kBaud,
                  kBytesPerPoll, limit);
      std::printf("polls: %llu in %.2f s = %.2f polls/s (%.1f %% of the line's limit)\n",
                  static_cast<unsigned long long>(samples), wall, rate, 100.0 * rate / limit);
      std::printf("cpu: %.1f ms per second of polling (%.2f %% of one core)\n", 1000.0 * cpu / wall,
                  100.0 * cpu / wall);
    }
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  std::error_code error;
  fs::remove_all(ports, error);
  return status;
}
