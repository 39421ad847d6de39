// q5480ctl output: forces a module's output current for a loop check, or
// ends the forcing.
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/numbers.h"
#include "device_session.h"
#include "service/output_codes.h"
#include "service/service_session.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "output";
constexpr const char* kSummary = "force the output current of a module, or end the forcing";

constexpr const char* kHelp = R"(usage: q5480ctl output --port N --set MA
       q5480ctl output --port N --release

Forces the output of the module on COM N to MA milliamperes, as the
desktop program's corrections window does, until --release (or a reset, or
the module's restart) hands the output back to the measurement. The module
shows the forced output as "Independent output".

The current must lie inside what the module's current format drives:
3.75 to 21.75 mA in the standard format, 3.00 to 22.00 mA in the wide one.
"." or "," is the decimal separator.

options:
  --port N    the COM number (see q5480ctl ports)
  --set MA    the current to force, in mA
  --release   end the forcing (the module restarts)
  -h, --help  show this text

exit status:
  0  the output was forced or released
  1  the port does not open, the module does not answer ("No communication
     with device!") or refuses the request ("Command failed!")
  2  bad arguments, or a current outside the module's range)";

const OptionSpec kOptions{{"--release"}, {"--port", "--set"}, 0, 0};

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

  DeviceSession session(kCommand);
  if (int status = session.Connect(parsed); status != kExitOk) return status;
  ServiceSession direct(session.Service());
  if (release) {
    const LinkStatus status = direct.Restart();
    return Succeeded(status) ? kExitOk : session.ReportLink("Command failed", status);
  }
  const bool wide = session.Status().CurrentFormat;
  const OutputCode code = OutputCodeFor(*milliamperes, wide, OutputLimits::Corrections);
  if (code.verdict != OutputVerdict::Accepted) {
    const OutputRange range = OutputRangeOf(wide, OutputLimits::Corrections);
    return Fail(kCommand,
                *setText + " mA is outside " + FormatFixed(range.low, 4, 2) + " to " +
                    FormatFixed(range.high, 4, 2) + " mA, the range of the module's " +
                    (wide ? "wide" : "standard") + " current format",
                kExitUsage);
  }
  const LinkStatus status = direct.ForceOutput(code.code);
  return Succeeded(status) ? kExitOk : session.ReportLink("Command failed", status);
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
