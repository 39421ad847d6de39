#include "service/transfer_simulation.h"

#include <algorithm>
#include <cmath>

#include "config/conversion_error.h"
#include "config/numbers.h"
#include "conversion/conversion_messages.h"
#include "conversion/transfer_table.h"

namespace q5480 {
namespace {

constexpr int kLastGridPoint = kTransferGridPoints - 1;
constexpr double kSymmetryTolerance = 0.000001;

}  // namespace

TransferSimulation::TransferSimulation(double signalLow, double signalHigh, double minInput,
                                       double maxInput, const TransferFractionTable& fractions)
    : signalLow_(signalLow),
      signalHigh_(signalHigh),
      signalSpan_(signalHigh - signalLow),
      signalStep_((signalHigh - signalLow) / kLastGridPoint),
      minInput_(minInput),
      maxInput_(maxInput),
      fractions_(fractions) {}

double TransferSimulation::GridSignal(int k) const { return signalLow_ + k * signalStep_; }

double TransferSimulation::FractionAt(double signal) const {
  int k = 0;
  if (signalStep_ > 0) {
    while (k < kLastGridPoint && GridSignal(k) < signal) ++k;
  } else {
    while (k < kLastGridPoint && GridSignal(k) > signal) ++k;
  }
  k = std::max(k, 1);
  const double before = fractions_[static_cast<std::size_t>(k - 1)];
  const double after = fractions_[static_cast<std::size_t>(k)];
  const double s0 = GridSignal(k - 1);
  const double s1 = GridSignal(k);
  if (s1 == s0) return before;  // no signal range to interpolate over
  return before + (signal - s0) * (after - before) / (s1 - s0);
}

double TransferSimulation::SignalAt(double fraction) const {
  const bool rising = fractions_.front() < fractions_.back();
  int k = 0;
  while (k < kLastGridPoint && (rising ? fractions_[static_cast<std::size_t>(k)] < fraction
                                       : fractions_[static_cast<std::size_t>(k)] > fraction)) {
    ++k;
  }
  k = std::max(k, 1);
  const double before = fractions_[static_cast<std::size_t>(k - 1)];
  const double after = fractions_[static_cast<std::size_t>(k)];
  const double s0 = GridSignal(k - 1);
  if (after == before) return s0;
  return s0 + (fraction - before) * (GridSignal(k) - s0) / (after - before);
}

SimulationPoint TransferSimulation::AtInput(double percent) const {
  SimulationPoint point;
  point.percent = percent;
  point.signal = signalLow_ + signalSpan_ * percent / 100;
  point.fraction = FractionAt(point.signal);
  point.result = minInput_ + (maxInput_ - minInput_) * point.fraction;
  point.outputMa = 4 + 16 * point.fraction;
  return point;
}

SimulationPoint TransferSimulation::AtOutput(double fraction) const {
  SimulationPoint point;
  point.fraction = fraction;
  point.outputMa = 16 * fraction + 4;
  point.result = minInput_ + (maxInput_ - minInput_) * fraction;
  point.signal = SignalAt(fraction);
  point.percent = signalSpan_ != 0 ? (point.signal - signalLow_) / signalSpan_ * 100 : 0;
  return point;
}

bool TransferSimulation::Bipolar() const {
  return std::fabs(signalLow_ + signalHigh_) <
         kSymmetryTolerance * std::max(std::fabs(signalLow_), std::fabs(signalHigh_));
}

std::string SimulatedSignalUnit(int typ) {
  if (IsResistanceInput(typ)) return "Ohm";
  if (IsThermocouple(typ) || typ == kTypMillivolts) return "mV";
  if (IsCurrentInput(typ)) return "mA";
  return typ == kTypVoltage ? "V" : "";
}

std::string FormatSimulatedSignal(double signal) {
  const double magnitude = std::fabs(signal);
  if (magnitude > 1000) return FormatFixed(signal, 4, 0);
  if (magnitude > 100) return FormatFixed(RoundHalfEven(10 * signal) / 10, 0, 1);
  return FormatFixed(RoundHalfEven(100 * signal) / 100, 0, 2);
}

SimulationSetup PrepareSimulation(const ConversionContext& context, const ModuleImage& image) {
  const ModuleConfig& config = context.config;
  const UserTable& table = context.state.Table;
  SimulationSetup setup;
  ModuleImage built = image;
  // The copy is only measured, never written: its date does not matter.
  setup.refusal = BuildModuleImage(context, built, 0);
  if (!setup.refusal) {
    setup.simulation.emplace(config.SignalLow, config.SignalHigh, config.MinInput, config.MaxInput,
                             context.state.TransferFractions);
    try {
      setup.accuracy = MeasureTableAccuracy(config, table, built);
    } catch (const ConversionError& error) {
      // Only the accuracy goes untold; the table itself was built.
      setup.accuracyError = error.what();
    }
    return setup;
  }
  if (setup.refusal->key == kNoDataAvailable) return setup;
  // The build keeps nothing of a failed table; the window shows what the
  // computation made of it.
  const SignalBounds bounds = SignalRange(config, table);
  const TransferTable computed = BuildTransferTable(config, table, bounds, {});
  setup.simulation.emplace(bounds.low, bounds.high, config.MinInput, config.MaxInput,
                           computed.fractions);
  return setup;
}

}  // namespace q5480
