// q5480ctl record: the module's result and output current logged to a data
// file, in the format of the desktop program's chart recording.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/path_text.h"
#include "device_session.h"
#include "service/measurement_recording.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "record";
constexpr const char* kSummary = "log the module's result and output current to a data file";

constexpr const char* kHelp =
    R"(usage: q5480ctl record --port N -o FILE [--interval S] [--count K | --duration S]
                       [--decimal-comma]

Logs the module on COM N to FILE as the desktop program's chart view records
it: a header with the start date and time and the column heads, then one
line a sample, tab-separated: "+" and the seconds since the start, the
result with 4 significant digits and the output current in mA, signed.
Windows-1250 text with CR LF line ends. A sample is taken every S whole
seconds (default 1; 0: every poll, about four a second). Progress goes to
standard error. Ctrl+C or SIGTERM ends the recording after a complete line.

options:
  --port N          the COM number (see q5480ctl ports)
  -o FILE           the data file, replaced by the header
  --interval S      seconds between samples, a whole number from 0 to 3600
  --count K         stop after K samples
  --duration S      stop after S seconds
  --decimal-comma   "," as the decimal separator of time and result
  -h, --help        show this text

exit status:
  0  the recording ended as asked (count, duration or interruption)
  1  the port does not open, the module stopped answering for 6 seconds
     ("No communication with device!"), or the file could not be written
     ("Cannot open file:"; a write-protected file stays as it was); the
     lines written so far stay complete
  2  bad arguments)";

// The desktop program gives a silent module this long before it reports it.
constexpr std::chrono::milliseconds kSilence{6000};
constexpr std::chrono::milliseconds kTick{250};  // the chart view's polling timer
constexpr long kIntervalMax = 3600;

// Reports the records written: rewritten in place on a terminal, else a line
// every tenth record.
void ShowProgress(long records, std::int64_t elapsedMs) {
  const bool terminal = StandardErrorIsTerminal();
  if (!terminal && records % 10 != 0) return;
  std::fprintf(stderr,
               terminal ? "\rrecorded %ld samples, %.1f s" : "recorded %ld samples, %.1f s\n",
               records, static_cast<double>(elapsedMs) * 0.001);
  std::fflush(stderr);
}

const OptionSpec kOptions{
    {"--decimal-comma"}, {"--port", "-o", "--interval", "--count", "--duration"}, 0, 0};

int Run(const ParsedArgs& parsed) {
  const std::optional<std::string> output = parsed.Value("-o");
  if (!output) return Fail(kCommand, "the data file is missing (-o FILE)", kExitUsage);
  long interval = 1;
  if (const auto text = parsed.Value("--interval")) {
    const std::optional<long> value = text == "0" ? std::optional<long>(0) : PositiveNumber(*text);
    if (!value || *value > kIntervalMax) {
      return Fail(kCommand, "bad interval: " + *text + " (whole seconds from 0 to 3600)",
                  kExitUsage);
    }
    interval = *value;
  }
  if (parsed.Value("--count") && parsed.Value("--duration")) {
    return Fail(kCommand, "give --count or --duration, not both", kExitUsage);
  }
  std::optional<long> count;
  std::optional<long> duration;
  for (const auto& [option, limit] :
       {std::pair{"--count", &count}, std::pair{"--duration", &duration}}) {
    if (const auto text = parsed.Value(option)) {
      *limit = PositiveNumber(*text);
      if (!*limit)
        return Fail(kCommand, std::string("bad ") + (option + 2) + ": " + *text, kExitUsage);
    }
  }
  const RegionalSettings regional = RegionalFromArgs(parsed);

  DeviceSession session(kCommand);
  if (int status = session.Connect(parsed); status != kExitOk) return status;
  const LanguageTable& texts = session.Texts();
  const auto cannotWrite = [&] {
    return ReportMessage(texts.Tr("Cannot open file") + ":\n" + *output, kExitFailed);
  };
  const RecordingTime start = RecordingNow();
  const RecordingHeads heads{texts.Tr("Time"), texts.Tr("Result"), texts.Tr("Output")};
  if (!WriteRecordingHeader(
          PathFromUtf8(*output),
          RecordingHeaderLines(start, session.Status().ResultUnit, heads, regional))) {
    return cannotWrite();
  }

  CatchInterrupts();
  Link& link = session.GetLink();
  MeasurementSample sample;
  DeviceStatus status;
  long records = 0;
  std::int64_t nextDue = 0;
  auto lastSample = std::chrono::steady_clock::now();
  auto tick = lastSample;
  while (!Interrupted() && (!count || records < *count)) {
    // The newest sample at every tick, as the desktop program's timer takes it.
    std::this_thread::sleep_until(tick);
    tick += kTick;
    const std::int64_t elapsed = ElapsedMs(start, RecordingNow());
    if (duration && elapsed >= *duration * 1000) break;
    if (!session.Service().Commands().TakeSample(sample, status)) {
      if (link.PollFault() || std::chrono::steady_clock::now() - lastSample > kSilence) {
        if (StandardErrorIsTerminal()) std::fputc('\n', stderr);
        return session.ReportLink("No communication with device", link.LastPollStatus());
      }
      continue;
    }
    lastSample = std::chrono::steady_clock::now();
    if (elapsed < nextDue) continue;
    if (!AppendRecord(PathFromUtf8(*output),
                      FormatRecord(elapsed, sample.Value, sample.Current, regional))) {
      return cannotWrite();
    }
    ShowProgress(++records, elapsed);
    // The next sample is due a whole interval on; after a stall it is due an
    // interval from now, not once for every interval missed.
    nextDue += interval * 1000;
    if (nextDue <= elapsed) nextDue = elapsed + interval * 1000;
  }
  if (StandardErrorIsTerminal()) std::fputc('\n', stderr);
  return kExitOk;
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
