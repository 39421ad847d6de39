// q5480ctl read: the configuration of a module into a parameters file.
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/parameters_file.h"
#include "config/path_text.h"
#include "console_lines.h"
#include "device_session.h"
#include "port_runs.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "read";
constexpr const char* kSummary = "read the configuration of modules into parameters files";

constexpr const char* kHelp =
    R"(usage: q5480ctl read --port PORTS -o FILE.par [--decimal-comma] [--json]

Reads the configuration of the module on each port, as the desktop
program's Read does, and saves it as the parameters file FILE.par; prints
its fingerprint ("fingerprint  3fa2c91b"), the same as that of the file it
was written from. Progress ("Reading data... 40%") goes to standard error.

options:
  --port PORTS      a COM number (see q5480ctl ports), a list "3,5,9" or a
                    range "1-8": the modules are read at once, each port's
                    lines marked "COMn: ", then a table sums them up; FILE.par
                    must then hold "{port}", which becomes each port's number
                    ("-o line4-{port}.par")
  -o FILE.par       the parameters file to write (replaced when it exists)
  --decimal-comma   write numbers with a decimal comma
  --json            one JSON object per port on standard output, with the keys
                    port, model, serial, identifier, file (the one written),
                    fingerprint, result ("ok", "failed"), reason and seconds
  -h, --help        show this text

exit status:
  0  every configuration was read and saved
  1  a port does not open, a module does not answer ("No communication
     with device!"), reports an EEPROM error ("EEPROM error!"), the read
     fails ("Transmission unsuccessful!"), or FILE.par cannot be written
     ("Cannot open file: FILE.par"; a write-protected file stays as it was)
  2  bad arguments)";

constexpr std::string_view kPortPlaceholder = "{port}";

// The file of COM `port`: "{port}" replaced by its number.
std::string OutputFileOf(std::string pattern, int port) {
  for (std::size_t at = pattern.find(kPortPlaceholder); at != std::string::npos;
       at = pattern.find(kPortPlaceholder, at)) {
    pattern.replace(at, kPortPlaceholder.size(), std::to_string(port));
  }
  return pattern;
}

PortOutcome OnPort(int port, const std::string& outputPattern, const RegionalSettings& regional,
                   bool json) {
  PortOutcome outcome;
  outcome.result.file = OutputFileOf(outputPattern, port);
  DeviceSession session(kCommand);
  outcome.status = session.ConnectTo(port);
  if (outcome.status != kExitOk) return outcome;
  if (session.Status().EepromError) {
    session.DescribeModule(outcome.result);
    outcome.status = session.Report("EEPROM error", "!", kExitFailed);
    return outcome;
  }
  ModuleService& service = session.Service();
  outcome.status = session.Transfer(
      "Reading data...",
      [&service](const TransferObserver& observer) { return service.ReadConfiguration(observer); });
  session.DescribeModule(outcome.result);
  if (outcome.status != kExitOk) return outcome;
  std::string dataDir;
  if (!WriteParametersFile(PathFromUtf8(outcome.result.file), session.config, regional, dataDir)) {
    outcome.status = ReportCannotWrite(outcome.result.file);
    return outcome;
  }
  outcome.result.fingerprint = session.ModuleFingerprint();
  outcome.result.result = kResultOk;
  if (!json) PrintOut("fingerprint  " + outcome.result.fingerprint);
  return outcome;
}

const OptionSpec kOptions{{"--decimal-comma", "--json"}, {"--port", "-o"}, 0, 0};

int Run(const ParsedArgs& parsed) {
  const std::optional<std::string> output = parsed.Value("-o");
  if (!output) return Fail(kCommand, "-o FILE.par is required", kExitUsage);
  const std::optional<std::vector<int>> ports = ParsePortList(parsed.Value("--port").value_or(""));
  if (ports && ports->size() > 1 && output->find(kPortPlaceholder) == std::string::npos) {
    return Fail(kCommand, "with several ports FILE.par must hold {port}", kExitUsage);
  }
  const RegionalSettings regional = RegionalFromArgs(parsed);
  return RunOnPortArgument(kCommand, parsed, false, [&](int port, bool json) {
    return OnPort(port, *output, regional, json);
  });
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
