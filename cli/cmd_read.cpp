// q5480ctl read: the configuration of a module into a parameters file.
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/parameters_file.h"
#include "device_session.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "read";
constexpr const char* kSummary = "read the configuration of a module into a parameters file";

constexpr const char* kHelp = R"(usage: q5480ctl read --port N -o FILE.par [--decimal-comma]

Reads the configuration of the module on COM N, as the desktop program's
Read does, and saves it as the parameters file FILE.par. Progress
("Reading data... 40%") goes to standard error.

options:
  --port N          the COM number (see q5480ctl ports)
  -o FILE.par       the parameters file to write (replaced when it exists)
  --decimal-comma   write numbers with a decimal comma
  -h, --help        show this text

exit status:
  0  the configuration was read and saved
  1  the port does not open, the module does not answer ("No communication
     with device!"), reports an EEPROM error ("EEPROM error!"), the read
     fails ("Transmission unsuccessful!"), or FILE.par cannot be written
     ("Cannot open file: FILE.par"; a write-protected file stays as it was)
  2  bad arguments)";

const OptionSpec kOptions{{"--decimal-comma"}, {"--port", "-o"}, 0, 0};

int Run(const ParsedArgs& parsed) {
  std::string error;
  const std::optional<std::string> output = parsed.Value("-o");
  if (!output) return Fail(kCommand, "-o FILE.par is required", kExitUsage);
  DeviceSession session(kCommand);
  if (int status = session.Connect(parsed); status != kExitOk) return status;
  if (session.Status().EepromError) return session.Report("EEPROM error", "!", kExitFailed);

  ModuleService& service = session.Service();
  if (int status = session.Transfer("Reading data...",
                                    [&service](const TransferObserver& observer) {
                                      return service.ReadConfiguration(observer);
                                    });
      status != kExitOk) {
    return status;
  }
  std::string dataDir;
  if (!WriteParametersFile(*output, session.config, RegionalFromArgs(parsed), dataDir)) {
    return ReportCannotWrite(*output);
  }
  return kExitOk;
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
