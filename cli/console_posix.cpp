#include <signal.h>
#include <unistd.h>

#include <atomic>

#include "console.h"

namespace q5480::cli {
namespace {

std::atomic<bool> gInterrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int) { gInterrupted.store(true); }

}  // namespace

std::vector<std::string> PrepareConsole(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

void CatchInterrupts() {
  gInterrupted.store(false);
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() { return gInterrupted.load(); }

}  // namespace q5480::cli
