// What the diagnostics window (DiagnosticsDialog) and q5480ctl monitor show, as plain
// functions: the register list with its labels and mode bytes, the register
// values in their formats, the output current, the status lines and the
// parameters summary. Its texts are the maker's and never translated.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/module_config.h"
#include "module/measurement.h"

namespace q5480 {

// "Iinpu", three inputs named by the model, "Meas", "Result", "Wnorm", "Aver".
inline constexpr std::size_t kRegisterCount = 8;
inline constexpr std::size_t kMeasRegister = 4;
inline constexpr std::size_t kResultRegister = 5;
inline constexpr std::size_t kWnormRegister = 6;

using RegisterLabels = std::array<std::string, kRegisterCount>;

// The labels of the form, before a model is known.
RegisterLabels FormRegisterLabels();
// The labels for the model of `Device` (its 4th and 5th characters): the
// three inputs emptied for Q5491; the form's own labels when `Device` names
// no model number.
RegisterLabels RegisterLabelsFor(const ModuleConfig& config);

// The mode byte of the measurement read for a register.
std::uint8_t RegisterModeOf(std::size_t index);

// A register's number with its rounding, width and decimals.
std::string RegisterNumber(std::size_t index, double value);
// A register's panel: the number, the unit where the register has one
// ("Result" the reading's unit, "Wnorm" " %"), three spaces.
std::string RegisterText(std::size_t index, double value, int resultUnit);

// The output current panel: three decimals, width 6, " mA   ".
std::string DiagnosticOutputText(double current);

// One line for each flag that is set, each ending with a line break but
// "Large error", the last.
std::string StatusLines(const DeviceStatus& status, const ModuleConfig& config);

// The summary of the configuration under " Parameters ".
std::string ParametersSummary(const ModuleConfig& config);

}  // namespace q5480
