// q5480-module: a stand-in measuring module on a pseudo-terminal.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "config/program_directory.h"
#include "emulator/module_emulator.h"
#include "emulator/sample_handler.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kHelp =
    "usage: q5480-module [--com N] [--baud B]\n"
    "\n"
    "A stand-in measuring module on a pseudo-terminal. Prints the path of the\n"
    "pseudo-terminal on one line and runs until interrupted (SIGINT, SIGTERM).\n"
    "\n"
    "  --com N    place the link comN in the ports folder so that the programs\n"
    "             find the module as COM N (1 to 255); the link is removed at exit\n"
    "  --baud B   emulate the line speed: each byte takes 10 bit times at B baud\n"
    "             (default: no pacing)\n"
    "  --help     show this text\n";

bool ParseNumber(const char* text, int low, int high, int& value) {
  char* end = nullptr;
  long parsed = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || parsed < low || parsed > high) return false;
  value = static_cast<int>(parsed);
  return true;
}

int Usage(const char* problem) {
  std::fprintf(stderr, "q5480-module: %s\n\n%s", problem, kHelp);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int com = 0;
  int baud = 0;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if ((arg == "--com" || arg == "--baud") && i + 1 < argc) {
      bool ok = arg == "--com" ? ParseNumber(argv[++i], 1, 255, com)
                               : ParseNumber(argv[++i], 50, 1000000, baud);
      if (!ok) return Usage(("bad value for " + arg).c_str());
      continue;
    }
    return Usage(("unknown argument \"" + arg + "\"").c_str());
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
    q5480::SampleHandler handler;
    q5480::ModuleEmulator emulator(handler, baud);
    fs::path link;
    if (com > 0) {
      link = q5480::PortsDirectory() / ("com" + std::to_string(com));
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

    pollfd wait{signalFd, POLLIN, 0};
    while (::poll(&wait, 1, -1) < 0 && errno == EINTR) {
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
