#include "conversion/linear_conversion.h"

#include <cmath>

#include "config/numbers.h"
#include "conversion/conversion_messages.h"
#include "conversion/finite.h"
#include "conversion/sensor_signal.h"

namespace q5480 {
namespace {

constexpr double kTolerance = 0.000001;
constexpr double kResultLow = -1999.000001;
constexpr double kResultHigh = 9999.000001;
constexpr double kMinResultSpan = 0.0999999;

bool ResultAllowed(double v) { return v >= kResultLow && v <= kResultHigh; }

// The refusal of a signal value whose span is too small: which of the two
// messages depends on whether the range is merely narrow or reversed.
Refusal SpanRefusal(const LinearDefinition& candidate, DialogField field) {
  if (candidate.inMax >= candidate.inMin) return {.key = kInputRangeTooSmall, .focus = field};
  return {.key = kReasonValuesRise, .focus = field};
}

}  // namespace

LinearCoefficients LinearCoefficientsOf(const LinearDefinition& definition) {
  const long double a1 = (static_cast<long double>(definition.inMax) - definition.inMin) /
                         (static_cast<long double>(definition.resMax) - definition.resMin);
  return {Finite(definition.inMin - a1 * definition.resMin), Finite(a1)};
}

LinearDefinition LinearStartValues(const ConversionContext& context) {
  const ModuleConfig& config = context.config;
  const ConversionState& state = context.state;
  LinearDefinition definition;
  if (config.Lin == kLinLinear && config.Typ == state.TableType &&
      UserRangeFits(config.Typ, config, state.Table, context.limits) &&
      state.ConversionConfirmed == 0) {
    definition.resMin = config.Coefficients[9];
    definition.resMax = config.Coefficients[10];
    definition.inMin = SensorSignal(config.Typ, definition.resMin, config, state.Table);
    definition.inMax = SensorSignal(config.Typ, definition.resMax, config, state.Table);
    return definition;
  }
  definition.inMin = context.limits.Lower(state.TableType);
  definition.inMax = context.limits.Upper(state.TableType);
  return definition;
}

std::optional<Refusal> CheckLinearField(DialogField field, double value,
                                        LinearDefinition& definition, int tableType,
                                        const InputLimits& limits) {
  LinearDefinition candidate = definition;
  const double minSpan = MinimumSignalSpan(tableType) - kTolerance;
  switch (field) {
    case DialogField::InMin:
    case DialogField::InMax: {
      const bool isMin = field == DialogField::InMin;
      (isMin ? candidate.inMin : candidate.inMax) = value;
      const bool spanOk = candidate.inMax - candidate.inMin >= minSpan;
      const bool inside = isMin ? value >= limits.Lower(tableType) - kTolerance
                                : value <= limits.Upper(tableType) + kTolerance;
      if (inside && spanOk) break;
      if (spanOk)
        return Refusal{.key = isMin ? kMinimumOutOfRange : kMaximumOutOfRange, .focus = field};
      return SpanRefusal(candidate, field);
    }
    case DialogField::ResMin:
    case DialogField::ResMax: {
      const bool isMin = field == DialogField::ResMin;
      const double tenfold = 10 * value;
      value = (tenfold < kResultLow || tenfold > kResultHigh) ? RoundHalfEven(value)
                                                              : TruncateToTenths(value);
      (isMin ? candidate.resMin : candidate.resMax) = value;
      const double resultSpan = std::fabs(candidate.resMax - candidate.resMin);
      if (isMin) {
        if (ResultAllowed(value)) break;
        if (resultSpan < kMinResultSpan) {
          return Refusal{.key = kRangeTooSmall, .exclamation = true, .focus = field};
        }
        return Refusal{.key = kMinimumOutOfRange, .focus = field};
      }
      if (ResultAllowed(value) && resultSpan >= kMinResultSpan) break;
      if (resultSpan < 1.0)
        return Refusal{.key = kRangeTooSmall, .exclamation = true, .focus = field};
      return Refusal{.key = kMaximumOutOfRange, .focus = field};
    }
    case DialogField::FirstCoefficient: return std::nullopt;
  }
  definition = candidate;
  return std::nullopt;
}

std::optional<Refusal> ValidateLinear(const LinearDefinition& definition, int tableType,
                                      const InputLimits& limits) {
  if (auto refusal = CheckSignalRange(definition.inMin, definition.inMax, tableType, limits)) {
    return refusal;
  }
  if (!(definition.resMin >= kResultLow && definition.resMin < kResultHigh)) {
    return Refusal{.key = kMinimumOutOfRange, .focus = DialogField::ResMin};
  }
  if (!(definition.resMax > kResultLow && definition.resMax <= kResultHigh)) {
    return Refusal{.key = kMaximumOutOfRange, .focus = DialogField::ResMax};
  }
  if (std::fabs(definition.resMax - definition.resMin) < kMinResultSpan) {
    const DialogField focus =
        definition.resMin > kResultLow ? DialogField::ResMin : DialogField::ResMax;
    return Refusal{.key = kRangeTooSmall, .exclamation = true, .focus = focus};
  }
  return std::nullopt;
}

void ApplyLinear(const LinearDefinition& definition, int jednostki,
                 const ConversionContext& context) {
  const LinearCoefficients coefficients = LinearCoefficientsOf(definition);
  SetUserLimitsFromResults(definition.resMin, definition.resMax, context.limits);
  ModuleConfig& config = context.config;
  config.Coefficients[0] = coefficients.a0;
  config.Coefficients[1] = coefficients.a1;
  config.Coefficients[9] = definition.resMin;
  config.Coefficients[10] = definition.resMax;
  config.Jednostki = jednostki;
  context.state.ConversionConfirmed = 1;
}

}  // namespace q5480
