// q5480ctl poll: runs the polling thread on a port and prints each sample.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/language_table.h"
#include "device_session.h"
#include "link/link.h"
#include "module/measurement.h"
#include "module/measurement_polling.h"
#include "service/port_open_failure.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "poll";
constexpr const char* kSummary = "print the measurement samples of a module";

constexpr const char* kHelp = R"(usage: q5480ctl poll --port N [--count K]

Opens COM N at 4800 baud, runs the polling thread and prints each new
measurement sample as a time stamp and its eight data bytes in hex:
"12:04:31.250  83 48 00 00 10 00 01 00" (value, current, two status bytes).
Stops after K samples, or when interrupted.

options:
  --port N    the COM number (see q5480ctl ports)
  --count K   the number of samples to print (default: until interrupted)

exit status:
  0  the samples were printed
  1  the port does not open ("COM N initialization failed!" and the reason;
     q5480ctl doctor tells more), or no sample came within 3 seconds
     ("No communication with device!")
  2  bad arguments)";

constexpr std::chrono::milliseconds kSampleSilence{3000};
constexpr std::chrono::milliseconds kInterruptCheck{100};

void PrintSample(const LinkBuffer& sample) {
  std::string line = TimeStamp() + " ";
  for (std::size_t i = 0; i < kSampleSize; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02X", sample[i]);
    line += hex;
  }
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

const OptionSpec kOptions{{}, {"--port", "--count"}, 0, 0};

int Run(const ParsedArgs& parsed) {
  std::optional<std::string> portText = parsed.Value("--port");
  if (!portText) return Fail(kCommand, "--port N is required", kExitUsage);
  std::optional<long> port = PositiveNumber(*portText);
  if (!port || *port > 255) return Fail(kCommand, "bad port number: " + *portText, kExitUsage);
  std::optional<long> count;
  if (std::optional<std::string> countText = parsed.Value("--count")) {
    count = PositiveNumber(*countText);
    if (!count) return Fail(kCommand, "bad sample count: " + *countText, kExitUsage);
  }

  LanguageTable texts;
  Link link(MeasurementPolling(), ProgramLinkSettings());
  if (!link.OpenLink(static_cast<int>(*port), 3)) {
    return ReportMessage(
        PortOpenFailureMessage(static_cast<int>(*port),
                               PortDoctorEnvironment::ForThisUser(ProgramLinkSettings().ports),
                               texts),
        kExitFailed);
  }
  CatchInterrupts();

  int status = kExitOk;
  long printed = 0;
  auto lastSample = std::chrono::steady_clock::now();
  while (!Interrupted() && (!count || printed < *count)) {
    if (!link.NewSampleEvent().WaitFor(kInterruptCheck)) {
      if (link.PollFault() || std::chrono::steady_clock::now() - lastSample > kSampleSilence) {
        status = ReportMessage(texts.Tr("No communication with device") + "! (" +
                                   LinkReason(link.LastPollStatus(), static_cast<int>(*port)) + ")",
                               kExitFailed);
        break;
      }
      continue;
    }
    link.NewSampleEvent().Reset();
    PrintSample(link.LastSample());
    link.SetSampleRead();
    lastSample = std::chrono::steady_clock::now();
    ++printed;
  }
  link.StopLink();
  return status;
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
