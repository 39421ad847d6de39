// q5480ctl identify: the identifier, memory layout and model of a module.
#include <cstdio>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "device_session.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "identify";

constexpr const char* kHelp = R"(usage: q5480ctl identify --port N

Asks the module on COM N for its identifier and prints three lines:
  identifier  the four characters the module reports
  layout      "new" or "old" memory layout (from the first character)
  model       the model the module reports in its measurements, e.g. Q5495

options:
  --port N    the COM number (see q5480ctl ports)
  -h, --help  show this text

exit status:
  0  the module answered
  1  the port does not open, or the module does not answer ("No
     communication with device!", "Transmission unsuccessful!")
  2  bad arguments)";

int Run(const std::vector<std::string>& args) {
  DeviceSession session(kCommand);
  if (int status = session.ConnectPortOnly(args); status != kExitOk) return status;
  ModuleService& service = session.Service();
  if (int status = session.Identify(); status != kExitOk) return status;
  std::printf("identifier  %s\n", session.config.ModuleId.c_str());
  std::printf("layout      %s\n", service.Commands().NewLayout() ? "new" : "old");
  std::printf("model       Q54%02d\n", ReportedModelCode(session.Status()));
  return kExitOk;
}

const Registration kRegistration(Command{kCommand, "identify the module on a port", kHelp, Run});

}  // namespace
}  // namespace q5480::cli
