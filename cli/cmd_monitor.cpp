// q5480ctl monitor: the decoded measurements of a module, one line a sample.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/numbers.h"
#include "config/text.h"
#include "console_lines.h"
#include "device_session.h"
#include "service/diagnostics_texts.h"
#include "service/display_format.h"
#include "service/machine_text.h"
#include "service/service_session.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "monitor";
constexpr const char* kSummary = "print the decoded measurements of a module";

constexpr const char* kHelp = R"(usage: q5480ctl monitor --port N [--count K] [--mode M] [--json]

Reads the configuration of the module on COM N (so that the result has the
decimals of the desktop program's display), then prints one line a
measurement sample, tab-separated:
  time      HH:MM:SS.mmm
  result    the measured value with the display's decimals, or with
            --mode the register's value as the diagnostics window shows it
  unit      the result unit the module reports ("%" for Wnorm, none for
            the signals)
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
  --mode M    read one of the module's inner values instead of the result,
              by its mode byte or the diagnostics window's register name:
                1  Iinpu   the signal at the terminals
                0  Meas    the signal after the zero and gain corrections
                2  Result  the result
                4  Wnorm   the position in the input range, in percent
                8  Aver    the averaged result
  --json      one JSON object a sample instead, with the keys time, result
              (the text above), value (the number as the module sent it),
              unit, current (mA) and status (a list of the words above)
  -h, --help  show this text

exit status:
  0  the samples were printed
  1  the port does not open, or no sample came within 3 seconds ("No
     communication with device!")
  2  bad arguments, or an unknown mode)";

constexpr std::chrono::milliseconds kSampleSilence{3000};
constexpr std::chrono::milliseconds kInterruptCheck{100};

std::vector<std::string> StatusWords(const DeviceStatus& status, const ModuleConfig& config,
                                     const LanguageTable& texts) {
  std::vector<std::string_view> words;
  if (status.CalMode) words.push_back("Cal mode");
  if (status.IndependentOutput) words.push_back("Independent output");
  if (status.SensorFault) {
    words.push_back(config.Typ == kTypLoopCurrent ? "Out of input range" : "Broken sensor");
  }
  if (status.EepromError) words.push_back("EEPROM error");
  if (status.NewAverage) words.push_back("New average");
  if (status.LargeError) words.push_back("Large error");
  if (status.OutOfRange) words.push_back("Out of range");
  std::vector<std::string> translated;
  for (std::string_view word : words) translated.push_back(TextOrKey(texts, word));
  return translated;
}

void PrintLine(const DeviceSession& session, const std::string& number, std::string_view unit,
               const MeasurementSample& sample, const DeviceStatus& status, bool json) {
  const std::vector<std::string> words = StatusWords(status, session.config, session.Texts());
  if (json) {
    std::string list = "[";
    for (const std::string& word : words) list += (list.size() > 1 ? "," : "") + JsonString(word);
    PrintOut(JsonObject({{"time", JsonString(TimeStamp())},
                         {"result", JsonString(number.substr(number.find_first_not_of(' ')))},
                         {"value", JsonNumber(sample.Value)},
                         {"unit", JsonString(unit)},
                         {"current", JsonNumber(sample.Current, 3)},
                         {"status", list + "]"}}));
    return;
  }
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : ", ") + word;
  PrintOut(TimeStamp() + "\t" + number + "\t" + std::string(unit) + "\t" +
           FormatCurrentNumber(sample.Current) + "\t" + (text.empty() ? "-" : text));
}

void PrintSample(const DeviceSession& session, const MeasurementSample& sample,
                 const DeviceStatus& status, bool configRead, bool json) {
  PrintLine(session, FormatResultNumber(sample.Value, configRead, session.config, session.limits),
            UnitName(status.ResultUnit), sample, status, json);
}

// The register of --mode: its mode byte or its name.
std::optional<std::size_t> RegisterOfMode(const std::string& text) {
  const RegisterLabels names = FormRegisterLabels();
  const std::optional<double> number = ParseNumber(text);
  for (std::size_t i = 0; i < kRegisterCount; ++i) {
    if (number ? *number == RegisterModeOf(i) : SameTextIgnoringCase(text, names[i])) return i;
  }
  return std::nullopt;
}

void PrintRegister(const DeviceSession& session, std::size_t index, const MeasurementSample& sample,
                   const DeviceStatus& status, bool json) {
  std::string_view unit;
  if (index == kResultRegister) unit = UnitName(status.ResultUnit);
  if (index == kWnormRegister) unit = "%";
  const std::string number = RegisterNumber(index, sample.Value);
  PrintLine(session, number.substr(number.find_first_not_of(' ')), unit, sample, status, json);
}

// The register read directly, polling stopped, as fast as the module answers.
int MonitorRegister(DeviceSession& session, std::size_t index, std::optional<long> count,
                    bool json) {
  ServiceSession direct(session.Service());
  MeasurementSample sample;
  DeviceStatus status = session.Status();
  long printed = 0;
  auto lastSample = std::chrono::steady_clock::now();
  while (!Interrupted() && (!count || printed < *count)) {
    const LinkStatus read = direct.Measure(RegisterModeOf(index), sample, status);
    if (Succeeded(read)) {
      PrintRegister(session, index, sample, status, json);
      lastSample = std::chrono::steady_clock::now();
      ++printed;
    } else if (read == LinkStatus::PortLost ||
               std::chrono::steady_clock::now() - lastSample > kSampleSilence) {
      return session.ReportLink("No communication with device", read);
    }
  }
  return kExitOk;
}

const OptionSpec kOptions{{"--json"}, {"--port", "--count", "--mode"}, 0, 0};

int Run(const ParsedArgs& parsed) {
  std::optional<long> count;
  if (const std::optional<std::string> countText = parsed.Value("--count")) {
    count = PositiveNumber(*countText);
    if (!count) return Fail(kCommand, "bad sample count: " + *countText, kExitUsage);
  }
  std::optional<std::size_t> registerIndex;
  if (const std::optional<std::string> mode = parsed.Value("--mode")) {
    registerIndex = RegisterOfMode(*mode);
    if (!registerIndex) return Fail(kCommand, "unknown mode: " + *mode, kExitUsage);
  }
  DeviceSession session(kCommand);
  if (int status = session.Connect(parsed); status != kExitOk) return status;

  bool configRead = false;
  ModuleService& service = session.Service();
  if (!session.Status().EepromError) {
    configRead = session.Transfer("Reading data...", [&service](const TransferObserver& observer) {
      return service.ReadConfiguration(observer);
    }) == kExitOk;
  }

  CatchInterrupts();
  const bool json = parsed.Has("--json");
  if (registerIndex) return MonitorRegister(session, *registerIndex, count, json);

  Link& link = session.GetLink();
  MeasurementSample sample;
  DeviceStatus status = session.Status();
  long printed = 0;
  auto lastSample = std::chrono::steady_clock::now();
  while (!Interrupted() && (!count || printed < *count)) {
    if (service.Commands().TakeSample(sample, status)) {
      PrintSample(session, sample, status, configRead, json);
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

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
