// q5480ctl signal: the sensor characteristic at one value of the input.
#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/numbers.h"
#include "config/path_text.h"
#include "conversion/power_series.h"
#include "conversion/sensor_signal.h"
#include "conversion/table_file.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "signal";
constexpr const char* kSummary = "print the sensor signal at an input value";

constexpr const char* kHelp =
    R"(usage: q5480ctl signal TYPE X [--lin N] [--coef A,B,...] [--table FILE]

Prints the signal that input type TYPE (1 to 20) gives at the input value X:
ohms for resistance thermometers and the resistance input, mV for
thermocouples, the raw unit for the voltage and current inputs. The value
is printed with 15 significant digits.

options:
  --lin N        the result conversion: 1 none (default), 2 table,
                 4 linear, 8 power series
  --coef A,B,... up to 11 coefficients, separated by commas and written with
                 "." as the decimal point: the linear conversion's a0, a1
                 (and its result range as the 10th and 11th); the power
                 series' nine coefficients and its signal range as the 10th
                 and 11th (the series is sampled into the user table)
  --table FILE   a ".dat" table: the user thermocouple (type 15) or the
                 table conversion (--lin 2) of the other inputs
  -h, --help     show this text

exit status:
  0  the signal was printed
  1  the table or the series was refused, or a floating-point error
  2  bad arguments, or FILE does not exist)";

std::optional<std::array<double, 11>> ParseCoefficients(const std::string& text) {
  std::array<double, 11> coefficients{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  std::size_t index = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    const std::optional<double> value = ParseNumber(text.substr(start, end - start));
    if (!value || index >= coefficients.size()) return std::nullopt;
    coefficients[index++] = *value;
    start = end + 1;
  }
  return coefficients;
}

const OptionSpec kOptions{{}, {"--lin", "--coef", "--table"}, 2, 2};

int Run(const ParsedArgs& parsed) {
  const std::optional<double> typ = ParseNumber(parsed.positionals[0]);
  const std::optional<double> x = ParseNumber(parsed.positionals[1]);
  if (!typ || *typ != static_cast<int>(*typ) || !IsInputType(static_cast<int>(*typ))) {
    return Fail(kCommand, "TYPE must be a whole number from 1 to 20", kExitUsage);
  }
  if (!x) return Fail(kCommand, "X is not a number", kExitUsage);

  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
  config.Typ = static_cast<std::uint8_t>(*typ);
  config.Lin = kLinNone;
  state.TableType = config.Typ;
  if (const auto lin = parsed.Value("--lin")) {
    const std::optional<double> value = ParseNumber(*lin);
    if (!value || (*value != kLinNone && *value != kLinTable && *value != kLinLinear &&
                   *value != kLinSeries)) {
      return Fail(kCommand, "--lin must be 1, 2, 4 or 8", kExitUsage);
    }
    config.Lin = static_cast<std::uint8_t>(*value);
  }
  if (const auto coef = parsed.Value("--coef")) {
    const auto coefficients = ParseCoefficients(*coef);
    if (!coefficients)
      return Fail(kCommand, "--coef takes up to 11 numbers separated by commas", kExitUsage);
    config.Coefficients = *coefficients;
  }
  if (const auto table = parsed.Value("--table")) {
    if (int status = CheckInputFile(kCommand, *table); status != kExitOk) return status;
    if (const auto refusal = LoadTableFile(PathFromUtf8(*table), state, limits)) {
      return ReportMessage(RefusalMessage(*refusal), kExitFailed);
    }
  } else if (config.Lin == kLinSeries && IsPlainInput(config.Typ)) {
    if (const auto refusal = SampleSeriesToTable(config, state, limits)) {
      return ReportMessage(RefusalMessage(*refusal), kExitFailed);
    }
  } else if (UsesUserTable(config)) {
    return Fail(kCommand, "this characteristic is a user table: give it with --table FILE",
                kExitUsage);
  }
  const double signal = SensorSignal(config.Typ, *x, config, state.Table);
  std::printf("%s\n", FormatGeneral(signal, 15, '.').c_str());
  return kExitOk;
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
