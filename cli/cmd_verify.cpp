// q5480ctl verify: compares modules with a parameters file.
#include <algorithm>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "console_lines.h"
#include "file_to_module.h"
#include "service/machine_text.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "verify";
constexpr const char* kSummary = "compare one module or several with a parameters file";

constexpr const char* kHelp = R"(usage: q5480ctl verify FILE.par --port PORTS [--table FILE.dat]
                       [--log LOG] [--json]

Builds the module image of FILE.par as "write" does and compares it with
what the module on each port holds, by the rules of the desktop program's
Verify. The configuration date is left out: a write sets it to the day of
writing, which FILE.par does not know. The offsets of the image that differ
are printed on standard output, one a line, then the fingerprints of the
file and of the module ("fingerprint  file 3fa2c91b  module 3fa2c91b");
"q5480ctl diff" names the fields that differ. Progress ("Verifying... 40%")
goes to standard error.

options:
  --port PORTS      a COM number (see q5480ctl ports), a list "3,5,9" or a
                    range "1-8": the modules are compared at once, each
                    port's lines marked "COMn: ", then a table sums them up
  --table FILE.dat  the table file to use instead of the stored name
  --log LOG         append one line per module to the production log LOG (see
                    q5480ctl write --help)
  --json            one JSON object per port on standard output, with the keys
                    port, model, serial, identifier, file, fingerprint (the
                    module's), result ("ok", "differs", "failed"), reason,
                    seconds, fileFingerprint and differences (the offsets)
  -h, --help        show this text

exit status:
  0  every module holds the configuration ("Verification successful")
  1  a module differs ("Verification ended with errors"), or a port does not
     open, a module does not answer ("No communication with device!") or is
     of another model, the image cannot be built, or the read fails
     ("Transmission unsuccessful!")
  2  bad arguments, a file does not exist or the log cannot be written)";

bool IsConfigurationDate(std::size_t offset) {
  return offset == image_offset::kConfigDate || offset == image_offset::kConfigDate + 1;
}

PortOutcome OnPort(int port, const WritePlan& plan, bool json) {
  FileCheck check = CheckAgainstFile(kCommand, port, plan);
  PortOutcome& outcome = check.outcome;
  if (outcome.status != kExitOk) return outcome;
  std::vector<std::size_t>& differences = check.verify.differences;
  std::erase_if(differences, IsConfigurationDate);
  std::string offsets;
  for (std::size_t offset : differences) {
    if (!json) PrintOut(std::to_string(offset));
    offsets += (offsets.empty() ? "" : ",") + std::to_string(offset);
  }
  outcome.details.push_back({"differences", "[" + offsets + "]"});
  if (!json) {
    PrintOut("fingerprint  file " + check.fileFingerprint + "  module " +
             outcome.result.fingerprint);
  }
  if (differences.empty()) {
    outcome.result.result = kResultOk;
    return {outcome.result, ReportMessage("Verification successful", kExitOk), outcome.details};
  }
  outcome.result.result = kResultDiffers;
  outcome.result.reason = "Verification ended with errors";
  ReportMessage("Errors have been found!", kExitFailed);
  outcome.status = ReportMessage(outcome.result.reason, kExitFailed);
  return outcome;
}

const OptionSpec kOptions{{"--json"}, {"--port", "--table", "--log"}, 1, 1};

int Run(const ParsedArgs& parsed) { return RunFileOnPorts(kCommand, parsed, true, OnPort); }

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
