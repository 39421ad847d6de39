// Number layouts of the range fields, the absolute limits and the result and
// output displays, each with its number of decimals taken from the input
// type's absolute limits: the windows and q5480ctl show numbers through them.
#pragma once

#include <string>
#include <string_view>

#include "config/module_config.h"

namespace q5480 {

// The input type whose limits govern the range fields: the user
// characteristic (15) when a plain input carries a conversion.
int RangeLimitType(const ModuleConfig& config);

// Decimals from a pair of limits: the larger sets the start, a negative
// smaller one takes decimals away.
int DecimalsForLimits(double lo, double hi);

// Format A: a range value when a whole configuration is shown.
std::string FormatRangeA(double value, const ModuleConfig& config, const InputLimits& limits);

// Format B: a range value after the check of a range field.
std::string FormatRangeB(double value, const ModuleConfig& config, const InputLimits& limits);

// The absolute limits beside the range fields ("lo .." and ".. hi").
struct AbsoluteLimitTexts {
  std::string lower;
  std::string upper;
};
AbsoluteLimitTexts FormatAbsoluteLimits(const ModuleConfig& config, const InputLimits& limits);

// The number of the result display (width 7) before the unit: decimals from
// the value alone until a configuration was read, then from the input type.
std::string FormatResultNumber(double value, bool configRead, const ModuleConfig& config,
                               const InputLimits& limits);

// The number of the result display, a blank and the unit, then blanks that
// bring a short text to the display's width.
std::string ResultWithUnit(const std::string& number, std::string_view unit);

// The output display: the current in mA with two decimals, width 5.
std::string FormatCurrentNumber(double current);

}  // namespace q5480
