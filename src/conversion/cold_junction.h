// Cold-junction compensation data of a thermocouple configuration.
#pragma once

#include <array>
#include <optional>

#include "config/module_config.h"
#include "config/module_image.h"
#include "conversion/conversion_state.h"
#include "conversion/refusal.h"

namespace q5480 {

// c0 + c1*T + c2*T^2 (mV) fitted to the thermocouple voltage at every whole
// degree from the start (0, or -10 when the type's lower limit is below -10)
// to 60 degC. Types other than thermocouples give 0, 1, 0 without a fit. A
// fit that fails is refused with "No convergence!" or "Not enough rows!".
struct ColdJunctionResult {
  std::optional<Refusal> refusal;
  std::array<double, 3> c{0, 1, 0};
  int points = 0;  // number of temperatures fitted
};
ColdJunctionResult ColdJunctionFit(int typ, const ModuleConfig& config, const UserTable& table,
                                   const InputLimits& limits);

// Stores the three floats at image offsets 68, 72 and 76 for a thermocouple
// with `Tryb` 5 (all 0), 6 (the voltage at `RoomT`) or 7 (the fit). Nothing
// for other types and modes: those bytes are left as they are. Refused, with
// nothing stored, as the fit is refused.
std::optional<Refusal> StoreColdJunctionConstants(const ModuleConfig& config,
                                                  const UserTable& table, const InputLimits& limits,
                                                  ModuleImage& image);

}  // namespace q5480
