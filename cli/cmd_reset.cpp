// q5480ctl reset: restarts a module.
#include <chrono>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "device_session.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "reset";

constexpr const char* kHelp = R"(usage: q5480ctl reset --port N

Restarts the module on COM N as the desktop program's Reset does (the
restart request goes out between two measurements). A module in service
mode or with its output held leaves that state.

options:
  --port N    the COM number (see q5480ctl ports)
  -h, --help  show this text

exit status:
  0  the restart was sent
  1  the port does not open, the module does not answer ("No communication
     with device!") or the request failed ("Command failed!")
  2  bad arguments)";

constexpr std::chrono::milliseconds kCommandBound{3000};

int Run(const std::vector<std::string>& args) {
  DeviceSession session(kCommand);
  if (int status = session.ConnectPortOnly(args); status != kExitOk) return status;
  Link& link = session.GetLink();
  link.CommandDoneEvent().Reset();
  // The queue takes a command once the polling thread is ready for one.
  const auto end = std::chrono::steady_clock::now() + kCommandBound;
  while (session.Service().Commands().QueueCommand(request_code::kRestart) != QueueResult::Queued) {
    if (std::chrono::steady_clock::now() >= end) {
      return session.Report("Command failed", "!", kExitFailed);
    }
    link.NewSampleEvent().WaitFor(std::chrono::milliseconds(100));
    link.NewSampleEvent().Reset();
  }
  if (!link.CommandDoneEvent().WaitFor(kCommandBound)) {
    return session.Report("Command failed", "!", kExitFailed);
  }
  return kExitOk;
}

const Registration kRegistration(Command{kCommand, "restart a module", kHelp, Run});

}  // namespace
}  // namespace q5480::cli
