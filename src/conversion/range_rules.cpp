#include "conversion/range_rules.h"

#include <algorithm>
#include <cmath>

#include "config/numbers.h"
#include "conversion/conversion_messages.h"
#include "conversion/sensor_signal.h"
#include "conversion/transfer_table.h"

namespace q5480 {
namespace {

constexpr double kTolerance = 0.000001;

std::int32_t TruncatedTenths(double v) {
  return static_cast<std::int32_t>(std::trunc(v * 10 * 1.000001));
}

}  // namespace

double TruncateToTenths(double v) { return std::trunc(v * 10 * 1.000001) * 0.1; }

void SetUserLimitsFromResults(double resMin, double resMax, InputLimits& limits) {
  const std::int32_t first = TruncatedTenths(resMin);
  const std::int32_t second = TruncatedTenths(resMax);
  limits.SetUserTenths(std::min(first, second), std::max(first, second));
}

std::optional<Refusal> CheckSignalRange(double inMin, double inMax, int tableType,
                                        const InputLimits& limits) {
  const double lower = limits.Lower(tableType);
  const double upper = limits.Upper(tableType);
  const double minSpan = MinimumSignalSpan(tableType);
  if (!(inMin >= lower - kTolerance && inMin < upper)) {
    return Refusal{.key = kMinimumOutOfRange, .focus = DialogField::InMin};
  }
  if (!(inMax > lower && inMax <= upper + kTolerance)) {
    return Refusal{.key = kMaximumOutOfRange, .focus = DialogField::InMax};
  }
  if (inMax - inMin < minSpan - kTolerance) {
    const DialogField focus = lower < inMin - minSpan ? DialogField::InMin : DialogField::InMax;
    return Refusal{.key = kInputRangeTooSmall, .focus = focus};
  }
  return std::nullopt;
}

const char* SignalUnitLabel(int tableType) {
  if (tableType == kTypResistance) return "Ohm";
  if (IsCurrentInput(tableType)) return "mA";
  return tableType == kTypVoltage ? "V" : "mV";
}

int DefaultResultUnit(int tableType) {
  if (tableType == kTypResistance) return kUnitOhm;
  if (tableType == kTypMillivolts) return kUnitMillivolt;
  if (IsCurrentInput(tableType)) return kUnitMilliampere;
  return tableType == kTypVoltage ? kUnitVolt : kUnitCelsius;
}

std::string FormatSignalValue(double value) {
  return FormatFixed(value, 0, std::fabs(value) >= 1000 ? 2 : 3);
}

std::string FormatResultValue(double value) {
  const double tenths = std::trunc(value * 10 * 1.000001);
  if (std::fmod(tenths, 10.0) == 0) return FormatFixed(tenths / 10, 0, 0);
  return FormatFixed(tenths / 10, 0, 1);
}

bool CheckSignalSpan(const ModuleConfig& config, const ConversionState& state) {
  if (UsesUserTable(config) && !config.TableLoaded) return true;
  const SignalBounds bounds = SignalRange(config, state.Table);
  return !(bounds.high - bounds.low < MinimumSignalSpan(config.Typ) + kTolerance);
}

bool UserRangeFits(int typ, const ModuleConfig& config, const UserTable& table,
                   const InputLimits& limits) {
  const double s1 =
      SensorSignal(typ, limits.LowerTenths(kTypUserThermocouple) * 0.1, config, table);
  const double s2 =
      SensorSignal(typ, limits.UpperTenths(kTypUserThermocouple) * 0.1, config, table);
  const double lowerTenths = limits.LowerTenths(typ);
  const double upperTenths = limits.UpperTenths(typ);
  const double low = lowerTenths * (lowerTenths < 0 ? 1.000001 : 0.999999) - 0.00001;
  const double high = upperTenths * (upperTenths > 0 ? 1.000001 : 0.999999) + 0.00001;
  const auto inside = [&](double s) { return s * 10 > low && s * 10 < high; };
  return inside(s1) && inside(s2) &&
         std::fabs(s2 - s1) * 10 > 0.99999 * 10 * MinimumSignalSpan(typ);
}

FilterSuggestion SuggestFilter(const ModuleConfig& config, const UserTable& table) {
  FilterSuggestion suggestion;
  const SignalBounds bounds = SignalRange(config, table);
  const int typ = config.Typ;
  double classSpan = 180;
  if (IsThermocouple(typ)) classSpan = 86;
  if (typ == kTypMillivolts) classSpan = 160;
  double r = (bounds.high - bounds.low) / classSpan;
  if (IsResistanceInput(typ)) r *= 0.4;
  if (r < 0.0004) {
    suggestion.FiltrZakres = 250;
    suggestion.FiltrCzas = 375;
  } else if (r < 0.11) {
    suggestion.FiltrZakres = static_cast<std::int32_t>(RoundHalfEven(0.1 / r));
    suggestion.FiltrCzas = static_cast<std::int32_t>(RoundHalfEven(7.5 / std::sqrt(r)));
  }
  return suggestion;
}

}  // namespace q5480
