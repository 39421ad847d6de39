// Range rules shared by every conversion: signal and result limits, the
// minimum signal span, the user limits, the display of edited values and the
// filter suggestion.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/module_config.h"
#include "conversion/conversion_state.h"
#include "conversion/refusal.h"

namespace q5480 {

// v truncated toward zero to tenths after a relative nudge of a millionth, so
// that 0.3 typed stays 0.3.
double TruncateToTenths(double v);

// The limits of type 15 from a result range: each end times 10, nudged and
// truncated to whole tenths; lower the smaller.
void SetUserLimitsFromResults(double resMin, double resMax, InputLimits& limits);

// The signal range rules of the conversion dialogs' OK: minimum and maximum
// inside the limits of `tableType`, span at least the minimum signal span.
std::optional<Refusal> CheckSignalRange(double inMin, double inMax, int tableType,
                                        const InputLimits& limits);

// The unit of the signal that the dialogs of `tableType` show ("Ohm", "mV",
// "mA", "V"), and the result unit (index of the unit table) they start with.
const char* SignalUnitLabel(int tableType);
int DefaultResultUnit(int tableType);

// Signal values with 3 decimals (2 from 1000 up); result values truncated to
// tenths, without decimals when whole.
std::string FormatSignalValue(double value);
std::string FormatResultValue(double value);

// False when the signals at the ends of the input range are closer than the
// minimum signal span of the type. True without a check while the user data
// that the selection needs is not loaded.
bool CheckSignalSpan(const ModuleConfig& config, const ConversionState& state);

// True when the user limits of type 15 still map inside the limits of `typ`
// with at least the minimum signal span between them.
bool UserRangeFits(int typ, const ModuleConfig& config, const UserTable& table,
                   const InputLimits& limits);

struct FilterSuggestion {
  std::int32_t FiltrZakres = 1;
  std::int32_t FiltrCzas = 20;
};
// Filter settings proposed from the signal span of the input range.
FilterSuggestion SuggestFilter(const ModuleConfig& config, const UserTable& table);

}  // namespace q5480
