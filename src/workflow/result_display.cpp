#include "workflow/result_display.h"

#include <string_view>

#include "service/display_format.h"

namespace q5480 {
namespace {

constexpr int kSmallPointSize = 12;
constexpr int kLargePointSize = 18;

}  // namespace

ResultView ComposeResult(double value, const DeviceStatus& status, bool configRead,
                         const ModuleConfig& config, const InputLimits& limits,
                         const LanguageTable& language) {
  if (ModelCodeAt(status.ModelIndex) == kSpareModelCode) return {};
  if (status.SensorFault || status.EepromError || status.CalMode || status.OutOfRange) {
    std::string_view word = "Out of range!";
    if (status.CalMode) {
      word = "Cal mode";
    } else if (status.EepromError) {
      word = "EEPROM error";
    } else if (status.SensorFault && ModelCode(config) != kQ5491ModelCode &&
               config.Typ != kTypLoopCurrent) {
      word = "Broken sensor";
    }
    return {TextOrKey(language, word), kSmallPointSize, true};
  }
  return {ResultWithUnit(FormatResultNumber(value, configRead, config, limits),
                         UnitName(status.ResultUnit)),
          kLargePointSize, false};
}

}  // namespace q5480
