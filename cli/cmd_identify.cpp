// q5480ctl identify: the identifier, memory layout, model, serial number and
// fingerprint of a module.
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "console_lines.h"
#include "device_session.h"
#include "port_runs.h"
#include "service/machine_text.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "identify";
constexpr const char* kSummary = "identify the modules on one or more ports";

constexpr const char* kHelp = R"(usage: q5480ctl identify --port PORTS [--json]

Asks the module on each port for its identifier and reads its configuration,
then prints:
  identifier   the four characters the module reports
  layout       "new" or "old" memory layout (from the first character)
  model        the model the module reports in its measurements, e.g. Q5495
  serial       the module's serial number
  fingerprint  eight hexadecimal digits that name the configuration it holds:
               the fingerprint of the parameters file it was written from

options:
  --port PORTS  a COM number (see q5480ctl ports), a list "3,5,9" or a range
                "1-8": several ports are asked at once, their lines marked
                "COMn: ", and a table sums them up (port, model, serial,
                result, seconds, reason)
  --json        one JSON object per port on standard output instead, with the
                keys port, model, serial, identifier, file (empty), fingerprint,
                result ("ok", "failed"), reason, seconds and layout
  -h, --help    show this text

exit status:
  0  every module answered
  1  a port does not open, or a module does not answer ("No communication
     with device!", "Transmission unsuccessful!")
  2  bad arguments)";

PortOutcome OnPort(int port, bool json) {
  PortOutcome outcome;
  DeviceSession session(kCommand);
  outcome.status = session.ConnectTo(port);
  if (outcome.status != kExitOk) return outcome;
  ModuleService& service = session.Service();
  outcome.status = session.Transfer(
      "", [&service](const TransferObserver& observer) { return service.Identify(observer); });
  if (outcome.status == kExitOk) {
    outcome.status = session.Transfer("", [&service](const TransferObserver& observer) {
      return service.ReadConfiguration(observer);
    });
  }
  session.DescribeModule(outcome.result);
  if (outcome.status != kExitOk) return outcome;
  const std::string layout = service.Commands().NewLayout() ? "new" : "old";
  outcome.result.fingerprint = session.ModuleFingerprint();
  outcome.result.result = kResultOk;
  outcome.details = {{"layout", JsonString(layout)}};
  if (!json) {
    PrintOut("identifier   " + outcome.result.identifier);
    PrintOut("layout       " + layout);
    PrintOut("model        " + outcome.result.model);
    PrintOut("serial       " + outcome.result.serial);
    PrintOut("fingerprint  " + outcome.result.fingerprint);
  }
  return outcome;
}

const OptionSpec kOptions{{"--json"}, {"--port"}, 0, 0};

int Run(const ParsedArgs& parsed) { return RunOnPortArgument(kCommand, parsed, false, OnPort); }

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
