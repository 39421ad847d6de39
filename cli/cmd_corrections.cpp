// q5480ctl corrections: stores the user's zero and gain corrections in a
// module's non-volatile memory.
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/numbers.h"
#include "device_session.h"
#include "service/service_session.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "corrections";
constexpr const char* kSummary = "store the zero and gain corrections in a module";

constexpr const char* kHelp = R"(usage: q5480ctl corrections --port N --zero Z --gain G

Stores the zero correction Z (in percent of the signal span) and the gain
correction G (in percent) in the non-volatile memory of the module on COM N,
as "Write" in the desktop program's corrections window does. The module
uses them at once. Both lie from -1.9999 to 1.9999; "." or "," is the
decimal separator.

options:
  --port N    the COM number (see q5480ctl ports)
  --zero Z    the zero correction, %
  --gain G    the gain correction, %
  -h, --help  show this text

exit status:
  0  the corrections were stored
  1  the port does not open, the module does not answer ("No communication
     with device!", "Transmission unsuccessful!") or refuses the store
     ("Command failed!")
  2  bad arguments, or a correction outside -1.9999 to 1.9999)";

// A correction given on the command line; nothing (the reason in `error`)
// when missing or outside what the module keeps.
std::optional<double> Correction(const ParsedArgs& args, const std::string& option,
                                 std::string& error) {
  const std::optional<std::string> text = args.Value(option);
  if (!text) {
    error = option + " is required";
    return std::nullopt;
  }
  const std::optional<double> value = ParseNumber(*text);
  if (!value || *value < -kCorrectionLimit || *value > kCorrectionLimit) {
    error = option + " takes -1.9999 to 1.9999: " + *text;
    return std::nullopt;
  }
  return value;
}

const OptionSpec kOptions{{}, {"--port", "--zero", "--gain"}, 0, 0};

int Run(const ParsedArgs& parsed) {
  std::string error;
  const std::optional<double> zero = Correction(parsed, "--zero", error);
  if (!zero) return Fail(kCommand, error, kExitUsage);
  const std::optional<double> gain = Correction(parsed, "--gain", error);
  if (!gain) return Fail(kCommand, error, kExitUsage);

  DeviceSession session(kCommand);
  if (int status = session.Connect(parsed); status != kExitOk) return status;
  // The module's memory layout decides where the corrections go.
  ModuleService& service = session.Service();
  if (int status = session.Identify(); status != kExitOk) return status;
  ServiceSession direct(service);
  const LinkStatus status = direct.StoreCorrections(*zero, *gain);
  return Succeeded(status) ? kExitOk : session.ReportLink("Command failed", status);
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
