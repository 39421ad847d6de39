// Number layouts of the main window: the range fields, the absolute limits
// and the result display, each with its number of decimals taken from the
// input type's absolute limits.
#pragma once

#include <string>
#include <string_view>

#include "config/language_table.h"
#include "config/module_config.h"
#include "module/measurement.h"

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

// The result display for one sample: a status word in 12 points, centred,
// or the number with its unit in 18 points, right-aligned. An empty text for
// a module with the spare model code.
struct ResultView {
  std::string text;
  int pointSize = 18;
  bool centred = false;
};
ResultView ComposeResult(double value, const DeviceStatus& status, bool configRead,
                         const ModuleConfig& config, const InputLimits& limits,
                         const LanguageTable& language);

}  // namespace q5480
