// Thermocouple voltage, referred to a cold junction at 0 degC.
#pragma once

namespace q5480 {

// The voltage in mV of thermocouple type `typ` (6 to 14) at `t` degC. The
// temperature is first clamped to the type's range; other types give `t`.
long double ThermocoupleMillivolts(int typ, long double t);

}  // namespace q5480
