// q5480ctl write: a parameters file into a module.
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "device_session.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "write";

constexpr const char* kHelp = R"(usage: q5480ctl write FILE.par --port N [--table FILE.dat]

Writes the configuration of FILE.par into the module on COM N with the
checks and image build of the desktop program's Write: a table conversion
reads its table file again (the --table file, else the name stored in
FILE.par, looked for where "image build" looks for it), a power series is
sampled again, the module must be of the configuration's model, and the
configuration date becomes today's.
Progress ("Writing data... 40%") goes to standard error.

options:
  --port N          the COM number (see q5480ctl ports)
  --table FILE.dat  the table file to use instead of the stored name
  -h, --help        show this text

exit status:
  0  the module was programmed ("Device programmed")
  1  the port does not open, the module does not answer ("No communication
     with device!"), is of another model ("Type of panel meter
     inconsistency!"), the image cannot be built ("Transfer function is not
     monotonic!"), FILE.par or its table is refused, or the write fails
     ("Transmission unsuccessful!")
  2  bad arguments, or a file does not exist)";

int Run(const std::vector<std::string>& args) {
  DeviceSession session(kCommand);
  if (int status = session.ConnectAndBuild(args); status != kExitOk) return status;
  ModuleService& service = session.Service();
  if (int status = session.Transfer(
          "Writing data...",
          [&service](const TransferObserver& observer) { return service.Write(observer); });
      status != kExitOk) {
    return status;
  }
  return session.Report("Device programmed", "", kExitOk);
}

const Registration kRegistration(Command{kCommand, "write a parameters file into a module", kHelp,
                                         Run});

}  // namespace
}  // namespace q5480::cli
