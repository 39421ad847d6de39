// The power series conversion: result = a + b*x + ... + j*x^8 of the signal
// x over the signal range held in coefficients 10 and 11.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "config/module_config.h"
#include "conversion/conversion_messages.h"
#include "conversion/conversion_state.h"
#include "conversion/range_rules.h"

namespace q5480 {

inline constexpr int kSeriesTerms = 9;
inline constexpr int kSeriesSamples = 801;

// c1 + c2*x + ... + cn*x^(n-1) over the first n coefficients (n cut to 2 to
// 9), in extended precision. Throws ConversionError on overflow.
double SeriesValue(int n, double x, const std::array<double, 11>& coefficients);

// Samples the series at 801 points of its signal range: every sample must be
// finite, strictly monotonic and inside the allowed values of `tableType`.
// A refusal names the first fault as its key, the focus on the first
// coefficient.
std::optional<Refusal> CheckSeries(const ModuleConfig& config, int tableType,
                                   const InputLimits& limits);

// CheckSeries, then the samples become the user table: point k = (P(x), x),
// 801 points. Nothing is stored when the check refuses.
std::optional<Refusal> SampleSeriesToTable(const ModuleConfig& config, ConversionState& state,
                                           const InputLimits& limits);

// The result range of the series: the results at both signal ends truncated
// to tenths.
struct ResultRange {
  double resMin = 0;
  double resMax = 0;
};
ResultRange SeriesResultRange(const ModuleConfig& config);

// The check button of the series dialog: the signal range rules, the series
// itself and the width of the result range. `range` receives the result range
// once the series passed.
std::optional<Refusal> CheckSeriesDefinition(const ModuleConfig& config, int tableType,
                                             const InputLimits& limits, ResultRange& range);

// A typed coefficient: refused above 1e40 in magnitude ("Out of range!").
std::optional<Refusal> CheckCoefficient(double value);

// A coefficient as its field shows it: 6 significant digits, in exponent
// format below 0.001 (but not 0).
std::string FormatCoefficient(double value, char decimalSeparator);

// Leaving a signal field of the series dialog (`field` InMin or InMax): the
// value must lie inside the limits of `tableType` and leave at least the
// minimum signal span to the other end (coefficients 10 and 11).
std::optional<Refusal> CheckSeriesSignalField(DialogField field, double value,
                                              const ModuleConfig& config, int tableType,
                                              const InputLimits& limits);

}  // namespace q5480
