// q5480ctl verify: compares a module with a parameters file.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "device_session.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "verify";

constexpr const char* kHelp = R"(usage: q5480ctl verify FILE.par --port N [--table FILE.dat]

Builds the module image of FILE.par as "write" does and compares it with
what the module on COM N holds, by the rules of the desktop program's
Verify. The configuration date is left out: a write sets it to the day of
writing, which FILE.par does not know. The offsets of the image that differ
are printed on standard output, one a line; progress ("Verifying... 40%")
goes to standard error.

options:
  --port N          the COM number (see q5480ctl ports)
  --table FILE.dat  the table file to use instead of the stored name
  -h, --help        show this text

exit status:
  0  the module holds the configuration ("Verification successful")
  1  it differs ("Verification ended with errors"), or the port does not
     open, the module does not answer ("No communication with device!") or
     is of another model, the image cannot be built, or the read fails
     ("Transmission unsuccessful!")
  2  bad arguments, or a file does not exist)";

bool IsConfigurationDate(std::size_t offset) {
  return offset == image_offset::kConfigDate || offset == image_offset::kConfigDate + 1;
}

int Run(const std::vector<std::string>& args) {
  DeviceSession session(kCommand);
  if (int status = session.ConnectAndBuild(args); status != kExitOk) return status;
  VerifyOutcome outcome;
  if (int status = session.Transfer("Verifying...",
                                    [&](const TransferObserver& observer) {
                                      outcome = session.Service().Verify(observer);
                                      return outcome.status;
                                    });
      status != kExitOk) {
    return status;
  }
  std::erase_if(outcome.differences, IsConfigurationDate);
  if (outcome.differences.empty()) return session.Report("Verification successful", "", kExitOk);
  for (std::size_t offset : outcome.differences) std::printf("%zu\n", offset);
  session.Report("Errors have been found!", "", kExitFailed);
  return session.Report("Verification ended with errors", "", kExitFailed);
}

const Registration kRegistration(Command{kCommand, "compare a module with a parameters file", kHelp,
                                         Run});

}  // namespace
}  // namespace q5480::cli
