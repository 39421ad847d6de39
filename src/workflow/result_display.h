// The main window's result display for one sample: a status word in 12
// points, centred, or the number with its unit in 18 points, right-aligned.
#pragma once

#include <string>

#include "config/language_table.h"
#include "config/module_config.h"
#include "module/measurement.h"

namespace q5480 {

// What the display shows; an empty text for a module with the spare model
// code.
struct ResultView {
  std::string text;
  int pointSize = 18;
  bool centred = false;
};
ResultView ComposeResult(double value, const DeviceStatus& status, bool configRead,
                         const ModuleConfig& config, const InputLimits& limits,
                         const LanguageTable& language);

}  // namespace q5480
