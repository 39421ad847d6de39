#include "conversion/power_series.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "config/conversion_error.h"
#include "config/numbers.h"
#include "conversion/finite.h"
#include "conversion/sensor_signal.h"

namespace q5480 {
namespace {

constexpr double kTolerance = 0.000001;

bool SampleAllowed(double x, double y, int tableType, const InputLimits& limits) {
  if (tableType == kTypUserThermocouple) {
    return y >= -273.0 - kTolerance && y <= 9999.0 + kTolerance && x >= -5.0 - kTolerance &&
           x <= 75.0 + kTolerance;
  }
  return y >= -1999.0 - kTolerance && y <= 9999.0 + kTolerance &&
         x >= limits.Lower(tableType) - kTolerance && x <= limits.Upper(tableType) + kTolerance;
}

// The shared sampling check; `samples` receives (P(x), x) of every sample.
std::optional<Refusal> SampleSeries(const ModuleConfig& config, int tableType,
                                    const InputLimits& limits, std::vector<TablePoint>& samples) {
  const auto refused = [](const char* reason) {
    return Refusal{.key = reason, .focus = DialogField::FirstCoefficient};
  };
  const double inMin = config.Coefficients[9];
  const double inMax = config.Coefficients[10];
  const double step = (inMax - inMin) / (kSeriesSamples - 1);
  samples.clear();
  try {
    const bool rising = SeriesValue(kSeriesTerms, inMax, config.Coefficients) -
                            SeriesValue(kSeriesTerms, inMin, config.Coefficients) >
                        0;
    for (int k = 0; k < kSeriesSamples; ++k) {
      const double x = inMin + k * step;
      const double y = SeriesValue(kSeriesTerms, x, config.Coefficients);
      if (k > 0 && (rising ? !(y > samples.back().x) : !(y < samples.back().x))) {
        return refused(kReasonNotMonotonic);
      }
      if (!SampleAllowed(x, y, tableType, limits)) return refused(kReasonOutOfRange);
      samples.push_back({y, x});
    }
  } catch (const ConversionError&) { return refused(kReasonSeriesError); }
  return std::nullopt;
}

}  // namespace

double SeriesValue(int n, double x, const std::array<double, 11>& coefficients) {
  n = std::clamp(n, 2, kSeriesTerms);
  long double sum = coefficients[0];
  long double power = 1;
  for (int i = 1; i < n; ++i) {
    power *= x;
    sum += power * coefficients[static_cast<std::size_t>(i)];
  }
  return Finite(sum);
}

std::optional<Refusal> CheckSeries(const ModuleConfig& config, int tableType,
                                   const InputLimits& limits) {
  std::vector<TablePoint> samples;
  return SampleSeries(config, tableType, limits, samples);
}

std::optional<Refusal> SampleSeriesToTable(const ModuleConfig& config, ConversionState& state,
                                           const InputLimits& limits) {
  std::vector<TablePoint> samples;
  if (auto refusal = SampleSeries(config, state.TableType, limits, samples)) return refusal;
  std::copy(samples.begin(), samples.end(), state.Table.points.begin() + 1);
  state.Table[0] = {static_cast<double>(samples.size()), 0};
  return std::nullopt;
}

ResultRange SeriesResultRange(const ModuleConfig& config) {
  return {
      TruncateToTenths(SeriesValue(kSeriesTerms, config.Coefficients[9], config.Coefficients)),
      TruncateToTenths(SeriesValue(kSeriesTerms, config.Coefficients[10], config.Coefficients))};
}

std::optional<Refusal> CheckSeriesDefinition(const ModuleConfig& config, int tableType,
                                             const InputLimits& limits, ResultRange& range) {
  if (auto refusal =
          CheckSignalRange(config.Coefficients[9], config.Coefficients[10], tableType, limits)) {
    return refusal;
  }
  if (auto refusal = CheckSeries(config, tableType, limits)) return refusal;
  range = SeriesResultRange(config);
  if (std::fabs(range.resMax - range.resMin) <= 0.0999999) {
    return Refusal{
        .key = kRangeTooSmall, .exclamation = true, .focus = DialogField::FirstCoefficient};
  }
  return std::nullopt;
}

std::optional<Refusal> CheckCoefficient(double value) {
  if (std::fabs(value) > 1e40)
    return Refusal{.key = kOutOfRange, .focus = DialogField::FirstCoefficient};
  return std::nullopt;
}

std::string FormatCoefficient(double value, char decimalSeparator) {
  if (value != 0 && std::fabs(value) < 0.001) return FormatExponent(value, 6, decimalSeparator, 1);
  return FormatGeneral(value, 6, decimalSeparator);
}

std::optional<Refusal> CheckSeriesSignalField(DialogField field, double value,
                                              const ModuleConfig& config, int tableType,
                                              const InputLimits& limits) {
  const bool isMin = field == DialogField::InMin;
  const double inMin = isMin ? value : config.Coefficients[9];
  const double inMax = isMin ? config.Coefficients[10] : value;
  if (inMax - inMin < MinimumSignalSpan(tableType) - kTolerance) {
    return Refusal{.key = kInputRangeTooSmall, .focus = field};
  }
  if (isMin && value < limits.Lower(tableType) - kTolerance) {
    return Refusal{.key = kMinimumOutOfRange, .focus = field};
  }
  if (!isMin && value > limits.Upper(tableType) + kTolerance) {
    return Refusal{.key = kMaximumOutOfRange, .focus = field};
  }
  return std::nullopt;
}

}  // namespace q5480
