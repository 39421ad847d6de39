// q5480ctl write: a parameters file into one module or several at once.
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "file_to_module.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "write";
constexpr const char* kSummary = "write a parameters file into one module or several at once";

constexpr const char* kHelp = R"(usage: q5480ctl write FILE.par --port PORTS [--table FILE.dat]
                      [--log LOG] [--json]

Writes the configuration of FILE.par into the module on each port with the
checks and image build of the desktop program's Write: the module's
serial number is read first, a table conversion
reads its table file again (the --table file, else the name stored in
FILE.par, looked for where "image build" looks for it), a power series is
sampled again, the module must be of the configuration's model, and the
configuration date becomes today's. Prints the fingerprint of what was
written ("fingerprint  3fa2c91b"), which identify, read and verify print
for the module and its file alike. Progress ("Writing data... 40%") goes to
standard error.

options:
  --port PORTS      a COM number (see q5480ctl ports), a list "3,5,9" or a
                    range "1-8": the modules are written at once, each
                    port's lines marked "COMn: ", then a table sums them up
                    (port, model, serial, result, seconds, reason)
  --table FILE.dat  the table file to use instead of the stored name
  --log LOG         append one line per module to the production log LOG
                    (CSV with the header time,command,port,model,serial,
                    identifier,file,fingerprint,result,reason; JSON lines with
                    --json); a log that cannot be written ends the command
                    before anything is sent
  --json            one JSON object per port on standard output, with the keys
                    port, model, serial, identifier, file, fingerprint, result
                    ("ok", "failed"), reason and seconds
  -h, --help        show this text

exit status:
  0  every module was programmed ("Device programmed")
  1  a port does not open, a module does not answer ("No communication
     with device!"), is of another model ("Type of panel meter
     inconsistency!"), the image cannot be built ("Transfer function is not
     monotonic!"), FILE.par or its table is refused, or the write fails
     ("Transmission unsuccessful!")
  2  bad arguments, a file does not exist or the log cannot be written)";

const OptionSpec kOptions{{"--json"}, {"--port", "--table", "--log"}, 1, 1};

int Run(const ParsedArgs& parsed) {
  return RunFileOnPorts(kCommand, parsed, true, [](int port, const WritePlan& plan, bool json) {
    return WriteOnPort(kCommand, port, plan, json);
  });
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
