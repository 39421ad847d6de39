// q5480ctl simulate: what a configuration would do, as the simulation window
// computes it, without a module.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/numbers.h"
#include "conversion/conversion_messages.h"
#include "service/display_format.h"
#include "service/transfer_simulation.h"
#include "stored_image.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "simulate";
constexpr const char* kSummary = "simulate a configuration without a module";

constexpr const char* kHelp = R"(usage: q5480ctl simulate FILE.par [--table FILE.dat]
                         (--input PERCENT | --output MA | --sweep N | --accuracy)

Builds the transfer table of the configuration in FILE.par (reading its
table file again or sampling its power series, as "image build" does) and
simulates it as the desktop program's simulation window does.

--input, --output and --sweep print a tab-separated table with a heading:
the input in percent of the signal range, the signal, the result and the
output current, each as the window shows it.

options:
  --table FILE.dat  the table file to use instead of the stored name
  --input PERCENT   the operating point for an input of 0 to 100 percent
  --output MA       the operating point for an output of 4 to 20 mA
  --sweep N         N + 1 inputs from 0 to 100 percent in equal steps
  --accuracy        the accuracy of the table: the largest difference between
                    what the module shows and the exact characteristic,
                    where it occurs, and the root mean square difference
  -h, --help        show this text

A characteristic that cannot be inverted ("Transfer function is not
monotonic!" on standard error) is simulated all the same, with the table as
far as it was computed; its accuracy cannot be told.

exit status:
  0  the simulation was printed
  1  the parameters file, the table or the series was refused, its
     conversion meets a floating-point error ("Floating point error in the
     conversion"), the value is out of range ("Out of range!"), or the
     accuracy cannot be told
  2  bad arguments, or a file does not exist)";

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string()
                                    : text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Heading(const std::string& name, const std::string& unit) {
  return unit.empty() ? name : name + " " + unit;
}

void PrintPoints(const std::vector<SimulationPoint>& points, const StoredImage& stored) {
  const ModuleConfig& config = stored.config;
  std::printf(
      "%s\t%s\t%s\t%s\n", "input %", Heading("signal", SimulatedSignalUnit(config.Typ)).c_str(),
      Heading("result", Trimmed(std::string(UnitName(config.Jednostki)))).c_str(), "output mA");
  for (const SimulationPoint& p : points) {
    // The window's result display, for a configuration opened from a file.
    const std::string result = FormatResultNumber(p.result, false, config, stored.limits);
    std::printf("%s\t%s\t%s\t%s\n", FormatFixed(p.percent, 0, 2).c_str(),
                FormatSimulatedSignal(p.signal).c_str(), Trimmed(result).c_str(),
                FormatFixed(p.outputMa, 0, 2).c_str());
  }
}

int PrintAccuracy(const SimulationSetup& setup, const ModuleConfig& config) {
  if (!setup.accuracy)
    return ReportMessage("the accuracy of this table cannot be told", kExitFailed);
  const std::string unit = Trimmed(std::string(UnitName(config.Jednostki)));
  const auto number = [&](double value) {
    const std::string text = FormatGeneral(value, 6, '.');
    return unit.empty() ? text : text + " " + unit;
  };
  std::printf("largest error: %s\n", number(setup.accuracy->largest).c_str());
  std::printf("at: %s\n", number(setup.accuracy->largestAt).c_str());
  std::printf("RMS error: %s\n", number(setup.accuracy->rms).c_str());
  return kExitOk;
}

// The value of the one option that chose what to print.
std::optional<double> OptionNumber(const ParsedArgs& args, const std::string& option) {
  const std::optional<std::string> text = args.Value(option);
  return text ? ParseNumber(*text) : std::nullopt;
}

const OptionSpec kOptions{{"--accuracy"}, {"--table", "--input", "--output", "--sweep"}, 1, 1};

int Run(const ParsedArgs& parsed) {
  const int modes = static_cast<int>(parsed.Has("--accuracy")) +
                    static_cast<int>(parsed.values.count("--input")) +
                    static_cast<int>(parsed.values.count("--output")) +
                    static_cast<int>(parsed.values.count("--sweep"));
  if (modes != 1)
    return Fail(kCommand, "give one of --input, --output, --sweep and --accuracy", kExitUsage);
  for (const char* option : {"--input", "--output"}) {
    if (parsed.Value(option) && !OptionNumber(parsed, option)) {
      return Fail(kCommand, std::string(option) + " takes a number", kExitUsage);
    }
  }
  std::optional<long> sweep;
  if (const auto text = parsed.Value("--sweep")) {
    sweep = PositiveNumber(*text);
    if (!sweep) return Fail(kCommand, "--sweep takes a whole number above zero", kExitUsage);
  }

  StoredImage stored;
  const ConversionContext context = stored.Context();
  if (int status =
          LoadStoredFile(kCommand, parsed.positionals[0], parsed.Value("--table"), context);
      status != kExitOk) {
    return status;
  }
  const SimulationSetup setup = PrepareSimulation(context, stored.image);
  if (setup.refusal) {
    const std::string message = RefusalMessage(*setup.refusal);
    if (!setup.simulation) return ReportMessage(message, kExitFailed);
    ReportMessage(message, kExitOk);  // the window opens all the same
  }
  if (parsed.Has("--accuracy")) return PrintAccuracy(setup, stored.config);

  const TransferSimulation& simulation = *setup.simulation;
  std::vector<SimulationPoint> points;
  if (sweep) {
    for (long i = 0; i <= *sweep; ++i)
      points.push_back(simulation.AtInput(100.0 * static_cast<double>(i) / *sweep));
  } else if (const std::optional<double> percent = OptionNumber(parsed, "--input")) {
    if (*percent < 0 || *percent > 100) return ReportMessage(kOutOfRange, kExitFailed);
    points.push_back(simulation.AtInput(*percent));
  } else {
    const double current = *OptionNumber(parsed, "--output");
    if (current < 4 || current > 20) return ReportMessage(kOutOfRange, kExitFailed);
    points.push_back(simulation.AtOutput((current - 4) / 16));
  }
  PrintPoints(points, stored);
  return kExitOk;
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
