#include "emulator/module_measurement.h"

#include <algorithm>
#include <cmath>

#include "config/module_config.h"

namespace q5480 {

namespace {

constexpr int kLastSegment = 201;
constexpr std::uint8_t kBurnoutHigh = 0x80;
constexpr std::uint8_t kBurnoutHold = 0x10;
constexpr double kHeldCurrent = 4.0;

double SignalSpan(const ModuleMemory& memory) {
  return 200.0 * memory.Float(memory.Addresses().signalStep);
}

}  // namespace

double CorrectedSignal(const ModuleMemory& memory, double raw) {
  const auto& at = memory.Addresses();
  const double zero = memory.Float(at.corrections);
  const double gain = memory.Float(at.corrections + 4);
  return (1.0 + gain / 100.0) * raw + zero / 100.0 * SignalSpan(memory);
}

double ColdJunctionSignal(const ModuleMemory& memory, double internalTemperature) {
  if (memory.Layout() == MemoryLayout::New) return 0;
  if (!IsThermocouple(memory.Bytes()[memory.Addresses().typ])) return 0;
  const double c0 = memory.Float(68);
  const double c1 = memory.Float(72);
  const double c2 = memory.Float(76);
  return c0 + c1 * internalTemperature + c2 * internalTemperature * internalTemperature;
}

double TransferFraction(const ModuleMemory& memory, double signal) {
  const auto& at = memory.Addresses();
  const double low = memory.Float(at.signalLow);
  const double step = memory.Float(at.signalStep);
  int segment = 1;  // a blank module has no usable step
  if (step > 0) {
    const double position = std::floor((signal - low) / step) + 1;
    segment = static_cast<int>(std::clamp(position, 0.0, static_cast<double>(kLastSegment)));
  }
  const std::size_t address = at.segments + 8 * static_cast<std::size_t>(segment);
  const double offset = memory.Float(address);
  const double slope = memory.Float(address + 4);
  return slope * signal + offset;
}

double OutputCurrent(const ModuleMemory& memory, double fraction,
                     const MeasuringConditions& conditions) {
  const double low = conditions.wideCurrent ? kWideOutputLow : kStandardOutputLow;
  const double high = conditions.wideCurrent ? kWideOutputHigh : kStandardOutputHigh;
  if (conditions.sensorBroken) {
    const std::uint8_t code = memory.Bytes()[memory.Addresses().inputCode];
    if (code & kBurnoutHold) return kHeldCurrent;
    return (code & kBurnoutHigh) ? high : low;
  }
  return std::clamp(4.0 + 16.0 * fraction, low, high);
}

std::uint16_t CurrentCode(double milliamperes, bool wideCurrent) {
  if (wideCurrent) {
    return static_cast<std::uint16_t>(std::clamp(std::lround(milliamperes / 0.0005), 0L, 65535L));
  }
  const long steps = std::clamp(std::lround((milliamperes - 4.0) * 512.0), -32768L, 32767L);
  return static_cast<std::uint16_t>(static_cast<std::int16_t>(steps));
}

Measurement MeasureCorrected(const ModuleMemory& memory, double corrected,
                             const MeasuringConditions& conditions) {
  const auto& at = memory.Addresses();
  Measurement m;
  m.raw = corrected;
  m.corrected = corrected;
  const double signal = corrected + ColdJunctionSignal(memory, conditions.internalTemperature);
  m.fraction = TransferFraction(memory, signal);
  m.result = memory.Float(at.minInput) + m.fraction * memory.Float(at.span);
  if (!std::isfinite(corrected) || !std::isfinite(m.fraction) || !std::isfinite(m.result)) {
    // Garbage in the memory: report it as out of range, never as a number.
    m.raw = m.corrected = 0;
    m.fraction = 0;
    m.result = 0;
    m.outOfRange = true;
  } else {
    m.outOfRange = m.fraction < -kRangeMargin || m.fraction > 1.0 + kRangeMargin;
  }
  m.current = OutputCurrent(memory, m.fraction, conditions);
  return m;
}

Measurement Measure(const ModuleMemory& memory, double raw, const MeasuringConditions& conditions) {
  Measurement m = MeasureCorrected(memory, CorrectedSignal(memory, raw), conditions);
  m.raw = raw;
  return m;
}

}  // namespace q5480
