// q5480-module: a stand-in measuring module on a pseudo-terminal.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "config/program_directory.h"
#include "emulator/module_command_line.h"
#include "emulator/module_emulator.h"
#include "emulator/module_requests.h"

namespace {

namespace fs = std::filesystem;

int Usage(const std::string& problem) {
  std::fprintf(stderr, "q5480-module: %s\n\n%s", problem.c_str(), q5480::kModuleProgramHelp);
  return 2;
}

// Standard input, one command a line, until it ends.
class CommandInput {
 public:
  explicit CommandInput(q5480::EmulatedModule& module) : module_(module) {}

  // False once standard input has ended.
  bool Read() {
    char buffer[256];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) return count < 0 && errno == EINTR;
    pending_.append(buffer, static_cast<std::size_t>(count));
    for (std::size_t end = pending_.find('\n'); end != std::string::npos;
         end = pending_.find('\n')) {
      const std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      std::string error;
      if (!line.empty() && !q5480::ApplyModuleCommand(line, module_, error)) {
        std::fprintf(stderr, "q5480-module: %s\n", error.c_str());
      }
    }
    return true;
  }

 private:
  q5480::EmulatedModule& module_;
  std::string pending_;
};

}  // namespace

int main(int argc, char** argv) {
  std::string problem;
  const std::optional<q5480::ModuleProgramOptions> options =
      q5480::ParseModuleCommandLine(std::vector<std::string>(argv + 1, argv + argc), problem);
  if (!options) return Usage(problem);
  if (options->help) {
    std::fputs(q5480::kModuleProgramHelp, stdout);
    return 0;
  }

  // Signals are taken synchronously so that the link is removed on the way out.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  int signalFd = signalfd(-1, &signals, SFD_CLOEXEC);

  try {
    q5480::EmulatedModule module(options->module);
    q5480::ApplyStartSettings(*options, module);
    q5480::ModuleEmulator emulator(module, options->baud);
    fs::path link;
    if (options->com > 0) {
      link = q5480::PortsDirectory() / ("com" + std::to_string(options->com));
      std::error_code error;
      fs::create_directories(link.parent_path(), error);
      fs::remove(link, error);  // a stale link of an earlier run
      fs::create_symlink(emulator.SlavePath(), link, error);
      if (error) {
        std::fprintf(stderr, "q5480-module: cannot create %s: %s\n", link.c_str(),
                     error.message().c_str());
        return 1;
      }
    }
    emulator.Start();
    std::printf("%s\n", emulator.SlavePath().c_str());
    std::fflush(stdout);

    CommandInput input(module);
    pollfd waits[2] = {{signalFd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    nfds_t watched = 2;
    for (;;) {
      if (::poll(waits, watched, -1) < 0) {
        if (errno == EINTR) continue;
        break;
      }
      if (waits[0].revents != 0) break;
      if (watched == 2 && waits[1].revents != 0 && !input.Read()) watched = 1;
    }
    emulator.Stop();
    if (!link.empty()) {
      std::error_code error;
      // Only our own link: another instance may have taken the name since.
      if (fs::read_symlink(link, error) == fs::path(emulator.SlavePath())) fs::remove(link, error);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "q5480-module: %s\n", error.what());
    return 1;
  }
  return 0;
}
