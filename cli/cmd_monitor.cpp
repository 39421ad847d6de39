// q5480ctl monitor: the decoded measurements of a module, one line a sample.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "device_session.h"
#include "workflow/display_format.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "monitor";

constexpr const char* kHelp = R"(usage: q5480ctl monitor --port N [--count K]

Reads the configuration of the module on COM N (so that the result has the
decimals of the desktop program's display), then prints one line a
measurement sample, tab-separated:
  time      HH:MM:SS.mmm
  result    the measured value with the display's decimals
  unit      the result unit the module reports
  output    the output current in mA, two decimals
  status    the module's flags in words, separated by ", " ("-": none):
            Cal mode, Independent output, Broken sensor (Out of input range
            for a 4-20 mA input), EEPROM error, New average, Large error,
            Out of range
Stops after K samples, or when interrupted. When the configuration cannot
be read the decimals follow the value alone, as the display's do.

options:
  --port N    the COM number (see q5480ctl ports)
  --count K   the number of samples to print (default: until interrupted)
  -h, --help  show this text

exit status:
  0  the samples were printed
  1  the port does not open, or no sample came within 3 seconds ("No
     communication with device!")
  2  bad arguments)";

constexpr std::chrono::milliseconds kSampleSilence{3000};
constexpr std::chrono::milliseconds kInterruptCheck{100};
constexpr int kCurrentLoopTyp = 19;

std::string StatusWords(const DeviceStatus& status, const ModuleConfig& config,
                        const LanguageTable& texts) {
  std::vector<std::string_view> words;
  if (status.CalMode) words.push_back("Cal mode");
  if (status.IndependentOutput) words.push_back("Independent output");
  if (status.SensorFault) {
    words.push_back(config.Typ == kCurrentLoopTyp ? "Out of input range" : "Broken sensor");
  }
  if (status.EepromError) words.push_back("EEPROM error");
  if (status.NewAverage) words.push_back("New average");
  if (status.LargeError) words.push_back("Large error");
  if (status.OutOfRange) words.push_back("Out of range");
  std::string text;
  for (std::string_view word : words) {
    if (!text.empty()) text += ", ";
    const std::string translated = texts.Tr(word);
    text += translated.empty() ? std::string(word) : translated;
  }
  return text.empty() ? "-" : text;
}

void PrintSample(const DeviceSession& session, const MeasurementSample& sample,
                 const DeviceStatus& status, bool configRead) {
  const std::string unit =
      status.ResultUnit < kUnitCount ? std::string(UnitName(status.ResultUnit)) : std::string();
  std::printf("%s\t%s\t%s\t%s\t%s\n", TimeStamp().c_str(),
              FormatResultNumber(sample.Value, configRead, session.config, session.limits).c_str(),
              unit.c_str(), FormatCurrentNumber(sample.Current).c_str(),
              StatusWords(status, session.config, session.Texts()).c_str());
  std::fflush(stdout);
}

int Run(const std::vector<std::string>& args) {
  std::string error;
  const std::optional<ParsedArgs> parsed =
      ParseArguments(args, OptionSpec{{}, {"--port", "--count"}, 0, 0}, error);
  if (!parsed) return Fail(kCommand, error, kExitUsage);
  std::optional<long> count;
  if (const std::optional<std::string> countText = parsed->Value("--count")) {
    count = PositiveNumber(*countText);
    if (!count) return Fail(kCommand, "bad sample count: " + *countText, kExitUsage);
  }
  DeviceSession session(kCommand);
  if (int status = session.Connect(*parsed); status != kExitOk) return status;

  bool configRead = false;
  ModuleService& service = session.Service();
  if (!session.Status().EepromError) {
    configRead = session.Transfer("Reading data...", [&service](const TransferObserver& observer) {
      return service.ReadConfiguration(observer);
    }) == kExitOk;
  }

  CatchInterrupts();

  Link& link = session.GetLink();
  MeasurementSample sample;
  DeviceStatus status = session.Status();
  long printed = 0;
  auto lastSample = std::chrono::steady_clock::now();
  while (!Interrupted() && (!count || printed < *count)) {
    if (service.Commands().TakeSample(sample, status)) {
      PrintSample(session, sample, status, configRead);
      lastSample = std::chrono::steady_clock::now();
      ++printed;
      continue;
    }
    if (link.PollFault() || std::chrono::steady_clock::now() - lastSample > kSampleSilence) {
      return session.ReportLink("No communication with device", link.LastPollStatus());
    }
    link.NewSampleEvent().WaitFor(kInterruptCheck);
    link.NewSampleEvent().Reset();
  }
  return kExitOk;
}

const Registration kRegistration(Command{
    kCommand, "print the decoded measurements of a module", kHelp, Run});

}  // namespace
}  // namespace q5480::cli
