// How the emulated module turns its input signal into a result and an output
// current, from nothing but the configuration in its memory.
#pragma once

#include <cstdint>

#include "emulator/module_memory.h"

namespace q5480 {

// The loop current that the output stage can drive, per current format.
inline constexpr double kStandardOutputLow = 3.75;
inline constexpr double kStandardOutputHigh = 21.75;
inline constexpr double kWideOutputLow = 3.0;
inline constexpr double kWideOutputHigh = 22.0;
// How far the position in the input range may leave 0..1 before the module
// reports the reading out of range.
inline constexpr double kRangeMargin = 0.05;

struct MeasuringConditions {
  double internalTemperature = 25.0;  // degrees Celsius, the cold junction
  bool sensorBroken = false;
  bool wideCurrent = false;
};

struct Measurement {
  double raw = 0;        // the signal at the terminals
  double corrected = 0;  // after the user's zero and gain corrections
  double fraction = 0;   // position in the input range
  double result = 0;     // in the result unit
  double current = 4.0;  // milliamperes
  bool outOfRange = false;
};

// (1 + gain / 100) * raw + zero / 100 * signal span.
double CorrectedSignal(const ModuleMemory& memory, double raw);

// The cold-junction voltage c0 + c1 T + c2 T^2 that an old-layout module adds
// for a thermocouple; 0 for every other input and for the new layout.
double ColdJunctionSignal(const ModuleMemory& memory, double internalTemperature);

// f = a S + b with the segment k = floor((S - SignalLow) / step) + 1, 0..201.
double TransferFraction(const ModuleMemory& memory, double signal);

// The current for a fraction (4 to 20 mA over the input range), held inside
// the output range of the format; with a broken sensor the reaction that the
// input code asks for: below the range, above it, or 4 mA.
double OutputCurrent(const ModuleMemory& memory, double fraction,
                     const MeasuringConditions& conditions);

// The 16-bit output code: standard, signed 1/512 mA above 4 mA; wide,
// unsigned 0.5 uA steps.
std::uint16_t CurrentCode(double milliamperes, bool wideCurrent);

// From a corrected signal on (the path of the service windows' value request).
Measurement MeasureCorrected(const ModuleMemory& memory, double corrected,
                             const MeasuringConditions& conditions);

// The whole path from the terminals.
Measurement Measure(const ModuleMemory& memory, double raw, const MeasuringConditions& conditions);

}  // namespace q5480
