// q5480ctl output: forces a module's output current for a loop check, or
// ends the forcing.
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/numbers.h"
#include "device_session.h"
#include "port_runs.h"
#include "service/output_codes.h"
#include "service/service_session.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "output";
constexpr const char* kSummary = "force the output current of modules, or end the forcing";

constexpr const char* kHelp = R"(usage: q5480ctl output --port PORTS --set MA
       q5480ctl output --port PORTS --release

Forces the output of the module on each port to MA milliamperes, as the
desktop program's corrections window does, until --release (or a reset, or
the module's restart) hands the output back to the measurement. The module
shows the forced output as "Independent output".

The current must lie inside what the module's current format drives:
3.75 to 21.75 mA in the standard format, 3.00 to 22.00 mA in the wide one.
"." or "," is the decimal separator.

options:
  --port PORTS  a COM number (see q5480ctl ports), a list "3,5,9" or a range
                "1-8": the modules are set at once, each port's lines marked
                "COMn: ", then a table sums them up
  --set MA      the current to force, in mA
  --release     end the forcing (the module restarts)
  --json        one JSON object per port on standard output (keys as for
                q5480ctl identify --help)
  -h, --help    show this text

exit status:
  0  every output was forced or released
  1  a port does not open, a module does not answer ("No communication
     with device!") or refuses the request ("Command failed!")
  2  bad arguments, or a current outside the module's range)";

// `milliamperes` forced on COM `port`, or the forcing ended when there is none.
PortOutcome OnPort(int port, const std::optional<double>& milliamperes,
                   const std::string& setText) {
  PortOutcome outcome;
  DeviceSession session(kCommand);
  outcome.status = session.ConnectTo(port);
  session.DescribeModule(outcome.result);
  if (outcome.status != kExitOk) return outcome;
  ServiceSession direct(session.Service());
  LinkStatus status = LinkStatus::Success;
  if (!milliamperes) {
    status = direct.Restart();
  } else {
    const bool wide = session.Status().CurrentFormat;
    const OutputCode code = OutputCodeFor(*milliamperes, wide, OutputLimits::Corrections);
    if (code.verdict != OutputVerdict::Accepted) {
      const OutputRange range = OutputRangeOf(wide, OutputLimits::Corrections);
      outcome.status = Fail(kCommand,
                            setText + " mA is outside " + FormatFixed(range.low, 4, 2) + " to " +
                                FormatFixed(range.high, 4, 2) + " mA, the range of the module's " +
                                (wide ? "wide" : "standard") + " current format",
                            kExitUsage);
      return outcome;
    }
    status = direct.ForceOutput(code.code);
  }
  outcome.status = Succeeded(status) ? kExitOk : session.ReportLink("Command failed", status);
  if (outcome.status == kExitOk) outcome.result.result = kResultOk;
  return outcome;
}

const OptionSpec kOptions{{"--release", "--json"}, {"--port", "--set"}, 0, 0};

int Run(const ParsedArgs& parsed) {
  const std::optional<std::string> setText = parsed.Value("--set");
  const bool release = parsed.Has("--release");
  if (setText.has_value() == release) {
    return Fail(kCommand, "give either --set MA or --release", kExitUsage);
  }
  std::optional<double> milliamperes;
  if (setText) {
    milliamperes = ParseNumber(*setText);
    if (!milliamperes) return Fail(kCommand, "bad current: " + *setText, kExitUsage);
  }
  return RunOnPortArgument(kCommand, parsed, false, [&](int port, bool) {
    return OnPort(port, milliamperes, setText.value_or(""));
  });
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
