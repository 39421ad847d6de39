// q5480ctl ports: the serial ports as the port selection window lists them.
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "device_session.h"
#include "link/port_list.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "ports";

constexpr const char* kHelp = R"(usage: q5480ctl ports

Lists the serial ports one per line, as the port selection window shows them:
"COM 1  /dev/ttyUSB0  FTDI 0403:6001". COM1-32 are /dev/ttyUSB0-31, COM33-64
/dev/ttyACM0-31, COM65-96 /dev/ttyS0-31; a link comN in the ports folder (as
q5480-module --com N places it) names COM N and wins. The system console is
never listed.

exit status:
  0  the list was printed (it may be empty)
  2  bad arguments)";

int Run(const std::vector<std::string>& args) {
  std::string error;
  if (!ParseArguments(args, OptionSpec{}, error)) return Fail(kCommand, error, kExitUsage);
  PrintLines(ListPorts(ProgramLinkSettings().ports));
  return kExitOk;
}

const Registration kRegistration(Command{kCommand, "list the serial ports", kHelp, Run});

}  // namespace
}  // namespace q5480::cli
