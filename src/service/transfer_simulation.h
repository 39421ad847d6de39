// What a configuration would do, without a module: the operating point for
// an input in percent of the signal range or for an output current, read
// from the 201 transfer fractions of the table the module is given.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "config/module_config.h"
#include "config/module_image.h"
#include "conversion/build_image.h"
#include "conversion/conversion_state.h"
#include "service/table_accuracy.h"

namespace q5480 {

using TransferFractionTable = std::array<double, kTransferGridPoints>;

struct SimulationPoint {
  double percent = 0;   // the input in percent of the signal range
  double signal = 0;    // in the unit of the sensor characteristic
  double fraction = 0;  // of the input range
  double result = 0;    // in the result unit
  double outputMa = 4;  // 4 + 16 * fraction
};

class TransferSimulation {
 public:
  TransferSimulation(double signalLow, double signalHigh, double minInput, double maxInput,
                     const TransferFractionTable& fractions);

  const TransferFractionTable& Fractions() const { return fractions_; }
  // Grid signal k = signal low + k * the grid step, k = 0 to 200.
  double GridSignal(int k) const;

  // Forward look-up: the fraction of the input range for a signal,
  // interpolated between grid signals (extrapolated past the ends).
  double FractionAt(double signal) const;
  // Inverse look-up: the signal for a fraction, on a rising or a falling
  // table. Where the fraction falls on a flat step, the step's first signal.
  double SignalAt(double fraction) const;

  SimulationPoint AtInput(double percent) const;
  SimulationPoint AtOutput(double fraction) const;

  // A signal range symmetric about zero, plotted from -100 to 100.
  bool Bipolar() const;

 private:
  double signalLow_;
  double signalHigh_;
  double signalSpan_;
  double signalStep_;
  double minInput_;
  double maxInput_;
  TransferFractionTable fractions_;
};

// The unit of the signal of input type `typ`: "Ohm", "mV", "mA", "V" or "".
std::string SimulatedSignalUnit(int typ);

// The signal as the simulation window shows it (without its parentheses and
// unit): no decimals above 1000 in magnitude, one above 100, else two.
std::string FormatSimulatedSignal(double signal);

struct SimulationSetup {
  std::optional<Refusal> refusal;  // told to the person; the window opens all the same
  std::optional<TransferSimulation> simulation;
  std::optional<TableAccuracy> accuracy;  // of a table that was built
  std::string accuracyError;              // why the accuracy of that table cannot be told
};

// Builds the module image of the configuration (into a copy: the image that
// Verify compares stays as it is), which sets the signal range and the
// transfer fractions, and measures the table's accuracy. A characteristic
// that cannot be inverted is simulated with the table as far as it was
// computed; without its user data nothing is simulated. Throws
// ConversionError when the configuration meets a floating-point error:
// nothing can be simulated.
SimulationSetup PrepareSimulation(const ConversionContext& context, const ModuleImage& image);

}  // namespace q5480
