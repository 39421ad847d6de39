// q5480ctl ports: the serial ports as the port selection window lists them.
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "console_lines.h"
#include "device_session.h"
#include "link/port_list.h"
#include "service/machine_text.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "ports";
constexpr const char* kSummary = "list the serial ports";

constexpr const char* kHelp = R"(usage: q5480ctl ports [--json]

Lists the serial ports one per line, as the port selection window shows them:
"COM 1  /dev/ttyUSB0  FTDI 0403:6001". COM1-32 are /dev/ttyUSB0-31, COM33-64
/dev/ttyACM0-31, COM65-96 /dev/ttyS0-31; a link comN in the ports folder (as
q5480-module --com N places it) names COM N and wins. The system console is
never listed.

options:
  --json      one JSON object a port instead, with the keys port (its COM
              number) and entry (the line above)
  -h, --help  show this text

exit status:
  0  the list was printed (it may be empty)
  2  bad arguments)";

const OptionSpec kOptions{{"--json"}, {}, 0, 0};

int Run(const ParsedArgs& parsed) {
  const std::vector<std::string> entries = ListPorts(ProgramLinkSettings().ports);
  if (!parsed.Has("--json")) {
    PrintLines(entries);
    return kExitOk;
  }
  for (const std::string& entry : entries) {
    PrintOut(JsonObject({{"port", std::to_string(EntryPortNumber(entry).value_or(0))},
                         {"entry", JsonString(entry)}}));
  }
  return kExitOk;
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
