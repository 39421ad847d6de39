// q5480ctl doctor: what keeps a serial port from working, and what mends it.
#include <cstdio>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/path_text.h"
#include "config/program_directory.h"
#include "config/settings_file.h"
#include "console_lines.h"
#include "device_session.h"
#include "link/port_doctor.h"
#include "service/machine_text.h"
#include "service/port_open_failure.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "doctor";
constexpr const char* kSummary = "tell what keeps a serial port from working";

constexpr const char* kHelp = R"(usage: q5480ctl doctor [--port N]

Lists the serial ports as q5480ctl ports does, then looks at COM N (without
--port, the port of the settings file, which q5480 opens at start) and tells
what keeps it from working, each cause with what mends it:
  - the port does not exist (an adapter not plugged in, a link comN in the
    ports folder that leads nowhere);
  - the port is the system console, which is never opened;
  - no permission on the device: its group and mode, and whether you are in
    that group;
  - another program has the port open (named with its process id);
  - ModemManager or brltty runs beside a USB adapter;
  - the FTDI adapter's latency timer is above 2 ms.
Nothing is opened: the port is judged by its name, owner and mode, sysfs and
the process table.

options:
  --port N    the COM number (see q5480ctl ports)
  --json      one JSON object instead, with the keys ports (the entries of
              q5480ctl ports), port, device, resolved (null when there is
              none), ready, findings (objects with reason, facts and remedies)
              and uninspectedProcesses
  -h, --help  show this text

exit status:
  0  the port is ready
  1  something stands in the way, or no port is chosen
  2  bad arguments)";

void PrintPorts(const std::vector<std::string>& entries) {
  if (entries.empty()) {
    std::printf("ports: none\n");
    return;
  }
  std::printf("ports:\n");
  for (const std::string& entry : entries) std::printf("  %s\n", entry.c_str());
}

std::string PortLine(const PortDiagnosis& diagnosis) {
  std::string line = "COM" + std::to_string(diagnosis.number) + "  ";
  if (!diagnosis.device) return line + "(no device)";
  line += diagnosis.device->string();
  if (!diagnosis.resolved.empty() && diagnosis.resolved != *diagnosis.device) {
    line += " -> " + Utf8FromPath(diagnosis.resolved);
  }
  return line;
}

void PrintDiagnosis(const PortDiagnosis& diagnosis) {
  const LanguageTable english;
  const std::string com = "COM" + std::to_string(diagnosis.number);
  std::printf("\n%s\n", PortLine(diagnosis).c_str());
  for (const PortFinding& finding : diagnosis.findings) {
    std::printf("%s\n", FindingSentence(finding, english).c_str());
    for (const std::string& fact : finding.facts) std::printf("  %s\n", fact.c_str());
    for (const std::string& remedy : finding.remedies) std::printf("  mend: %s\n", remedy.c_str());
  }
  if (!diagnosis.Ready()) {
    std::printf("%s is not ready.\n", com.c_str());
    return;
  }
  std::printf("%s is ready.\n", com.c_str());
  if (diagnosis.uninspectedProcesses > 0) {
    std::printf(
        "(%d processes of other users were not looked into: sudo q5480ctl doctor --port %d "
        "sees them too)\n",
        diagnosis.uninspectedProcesses, diagnosis.number);
  }
}

std::string JsonList(const std::vector<std::string>& texts) {
  std::string list = "[";
  for (const std::string& text : texts) list += (list.size() > 1 ? "," : "") + JsonString(text);
  return list + "]";
}

std::string DiagnosisJson(const std::vector<std::string>& ports, const PortDiagnosis& diagnosis) {
  const LanguageTable english;
  std::string findings = "[";
  for (const PortFinding& finding : diagnosis.findings) {
    if (findings.size() > 1) findings += ",";
    findings += JsonObject({{"reason", JsonString(FindingSentence(finding, english))},
                            {"facts", JsonList(finding.facts)},
                            {"remedies", JsonList(finding.remedies)}});
  }
  const auto path = [](const std::optional<std::filesystem::path>& p) {
    return p && !p->empty() ? JsonString(p->string()) : std::string("null");
  };
  return JsonObject({{"ports", JsonList(ports)},
                     {"port", std::to_string(diagnosis.number)},
                     {"device", path(diagnosis.device)},
                     {"resolved", path(diagnosis.resolved)},
                     {"ready", diagnosis.Ready() ? "true" : "false"},
                     {"findings", findings + "]"},
                     {"uninspectedProcesses", std::to_string(diagnosis.uninspectedProcesses)}});
}

const OptionSpec kOptions{{"--json"}, {"--port"}, 0, 0};

int Run(const ParsedArgs& parsed) {
  const bool json = parsed.Has("--json");
  int port = 0;
  if (parsed.Value("--port")) {
    if (int status = TakePortNumber(kCommand, parsed, port); status != kExitOk) return status;
  } else {
    ProgramSettings settings;
    ReadSettingsFile(ProgramDirectory(), settings, DesktopRect{});
    port = settings.ComPort;
  }
  const PortDoctorEnvironment env = PortDoctorEnvironment::ForThisUser(ProgramLinkSettings().ports);
  const std::vector<std::string> ports = ListPorts(env.ports);
  if (!json) PrintPorts(ports);
  if (port == 0) {
    if (json) return Fail(kCommand, "the settings file names no port", kExitFailed);
    PrintOut("\nThe settings file names no port: q5480ctl doctor --port N looks at COM N.");
    return kExitFailed;
  }
  const PortDiagnosis diagnosis = DiagnosePort(port, env);
  if (json) {
    PrintOut(DiagnosisJson(ports, diagnosis));
  } else {
    PrintDiagnosis(diagnosis);
  }
  std::fflush(stdout);
  return diagnosis.Ready() ? kExitOk : kExitFailed;
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
