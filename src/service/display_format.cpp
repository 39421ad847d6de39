#include "service/display_format.h"

#include <algorithm>
#include <cmath>

#include "config/numbers.h"
#include "config/text.h"

namespace q5480 {
namespace {

constexpr int kRangeWidth = 7;

double RoundToDecimals(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return RoundHalfEven(value * scale) / scale;
}

// Limits of format B and of the absolute limits: the user characteristic once
// user data or a computed conversion are in play.
int FormatBLimitType(const ModuleConfig& config) {
  return (config.TableLoaded || HoldsCoefficients(config.Lin)) ? kTypUserThermocouple : config.Typ;
}

double LargerMagnitude(double lo, double hi) {
  return lo == hi ? 10.0 : std::max(std::fabs(lo), std::fabs(hi));
}

}  // namespace

int RangeLimitType(const ModuleConfig& config) {
  return (IsPlainInput(config.Typ) && config.Lin >= kLinTable) ? kTypUserThermocouple : config.Typ;
}

int DecimalsForLimits(double lo, double hi) {
  const double larger = std::max(lo, hi);
  const double smaller = std::min(lo, hi);
  int d = larger >= 1000 ? 0 : larger >= 100 ? 1 : larger >= 10 ? 2 : 3;
  if (smaller <= -200) {
    d = 0;
  } else if (smaller <= -20) {
    d = 1;
  } else if (smaller <= -2) {
    d = 2;
  }
  return d;
}

namespace {

constexpr int kMostRangeDecimals = 3;

// A range value with `d` decimals, or more (up to three) when the value has
// them: the field never shows a value other than the one the record holds.
std::string FormatRangeValue(double value, int d) {
  int shown = d;
  while (shown < kMostRangeDecimals && std::fabs(RoundToDecimals(value, shown) - value) >
                                           1e-9 * std::max(1.0, std::fabs(value))) {
    ++shown;
  }
  return FormatFixed(RoundToDecimals(value, shown + 1), kRangeWidth, shown);
}

}  // namespace

std::string FormatRangeA(double value, const ModuleConfig& config, const InputLimits& limits) {
  const int type = RangeLimitType(config);
  return FormatRangeValue(value, DecimalsForLimits(limits.Lower(type), limits.Upper(type)));
}

std::string FormatRangeB(double value, const ModuleConfig& config, const InputLimits& limits) {
  const int type = FormatBLimitType(config);
  const double m = LargerMagnitude(limits.Lower(type), limits.Upper(type));
  return FormatRangeValue(value, m >= 1000 ? 0 : m >= 100 ? 1 : m >= 10 ? 2 : 3);
}

AbsoluteLimitTexts FormatAbsoluteLimits(const ModuleConfig& config, const InputLimits& limits) {
  const int type = FormatBLimitType(config);
  const double lo = limits.Lower(type);
  const double hi = limits.Upper(type);
  const double m = LargerMagnitude(lo, hi);
  const int d = m >= 1000 ? 0 : m >= 100 ? 1 : 2;
  return {FormatFixed(RoundToDecimals(lo, d + 1), 3, d) + " ..",
          ".. " + FormatFixed(RoundToDecimals(hi, d + 1), 3, d)};
}

std::string FormatResultNumber(double value, bool configRead, const ModuleConfig& config,
                               const InputLimits& limits) {
  if (!configRead) {
    int d = 2;
    if (value >= 1000) {
      d = 0;
    } else if (value >= 100) {
      d = 1;
    }
    if (value <= -200) {
      d = 0;
    } else if (value <= -20) {
      d = 1;
    }
    return FormatFixed(RoundToDecimals(value, 2), kRangeWidth, d);
  }
  // A measurement has the decimals of its input type, however many it has.
  const int type = RangeLimitType(config);
  const int d = DecimalsForLimits(limits.Lower(type), limits.Upper(type));
  return FormatFixed(RoundToDecimals(value, d + 1), kRangeWidth, d);
}

std::string FormatCurrentNumber(double current) {
  return FormatFixed(RoundToDecimals(current, 2), 5, 2);
}

std::string ResultWithUnit(const std::string& number, std::string_view unit) {
  std::string text = number + " " + std::string(unit);
  const std::size_t length = CharCount(text);
  if (length < 10) {
    text += "   ";
  } else if (length == 10) {
    text += "  ";
  } else if (length == 11) {
    text += " ";
  }
  return text;
}

}  // namespace q5480
