// The look-ups of the simulation on the 201 transfer fractions, and the
// simulated signal as it is shown.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "service/transfer_simulation.h"

namespace q5480 {
namespace {

// f = (k / 200)^2 over the signals 10 to 30: a bent, rising table.
TransferFractionTable Bent(bool falling = false) {
  TransferFractionTable f{};
  for (int k = 0; k < kTransferGridPoints; ++k) {
    const double r = (falling ? 200 - k : k) / 200.0;
    f[static_cast<std::size_t>(k)] = r * r;
  }
  return f;
}

TEST(TransferSimulation, ForwardLookUpInterpolatesBetweenGridSignals) {
  const TransferSimulation rising(10, 30, 0, 100, Bent());
  const TransferSimulation falling(10, 30, 0, 100, Bent(true));
  struct Case {
    const TransferSimulation& table;
    double signal, fraction;
  };
  const double f1 = 1 / 40000.0;  // the fraction at the first grid signal after 10
  for (const Case& c :
       {Case{rising, 10, 0}, Case{rising, 10.05, f1 / 2}, Case{rising, 20, 0.25},
        Case{rising, 30, 1},
        Case{rising, 9.9, -f1},  // below the range: the first segment, k raised to 1
        Case{rising, 30.1, 1 + (1 - 0.995 * 0.995)},  // above it: the last one
        Case{falling, 10, 1}, Case{falling, 20, 0.25}, Case{falling, 30, 0}}) {
    EXPECT_NEAR(c.table.FractionAt(c.signal), c.fraction, 1e-12) << c.signal;
  }
}

TEST(TransferSimulation, InverseLookUpFindsTheSignalOnRisingAndFallingTables) {
  for (bool falling : {false, true}) {
    const TransferSimulation table(10, 30, 0, 100, Bent(falling));
    for (double signal : {10.0, 10.05, 13.3, 20.0, 29.99, 30.0}) {
      EXPECT_NEAR(table.SignalAt(table.FractionAt(signal)), signal, 1e-9)
          << falling << " " << signal;
    }
  }
}

TEST(TransferSimulation, FlatStretchesAndAnEmptySignalRangeGiveNumbers) {
  TransferFractionTable flatEnds = Bent();
  for (int k = 0; k <= 10; ++k) flatEnds[static_cast<std::size_t>(k)] = 0;
  for (int k = 190; k <= 200; ++k) flatEnds[static_cast<std::size_t>(k)] = 0.9;
  const TransferSimulation flat(10, 30, 0, 100, flatEnds);
  EXPECT_EQ(flat.SignalAt(0), 10);  // the flat start: where it begins
  EXPECT_EQ(flat.SignalAt(-0.5), 10);
  EXPECT_DOUBLE_EQ(flat.SignalAt(1), 29.9);  // beyond a flat end: where its last step starts
  EXPECT_NEAR(flat.SignalAt(flatEnds[100]), 20, 1e-9);

  const TransferSimulation empty(5, 5, 0, 100, TransferFractionTable{});
  for (const SimulationPoint& p : {empty.AtInput(50), empty.AtOutput(1), empty.AtOutput(0.5)}) {
    EXPECT_TRUE(std::isfinite(p.percent) && std::isfinite(p.signal) && std::isfinite(p.fraction) &&
                std::isfinite(p.result));
  }
  EXPECT_EQ(empty.AtOutput(1).percent, 0);
}

TEST(TransferSimulation, OperatingPointsAndTheBipolarRange) {
  TransferFractionTable linear{};
  for (int k = 0; k < kTransferGridPoints; ++k) linear[static_cast<std::size_t>(k)] = k / 200.0;
  const TransferSimulation table(0, 100, -50, 150, linear);
  const SimulationPoint input = table.AtInput(25);
  EXPECT_DOUBLE_EQ(input.signal, 25);
  EXPECT_DOUBLE_EQ(input.result, 0);
  EXPECT_DOUBLE_EQ(input.outputMa, 8);
  const SimulationPoint output = table.AtOutput(0.75);
  EXPECT_DOUBLE_EQ(output.percent, 75);
  EXPECT_DOUBLE_EQ(output.result, 100);
  EXPECT_DOUBLE_EQ(output.outputMa, 16);

  EXPECT_FALSE(table.Bipolar());
  EXPECT_TRUE(TransferSimulation(-22, 22, -22, 22, linear).Bipolar());
  EXPECT_FALSE(
      TransferSimulation(-22, 10, -22, 10, linear).Bipolar());  // below zero but not symmetric
}

TEST(SimulatedSignal, UnitOfTheInputTypeAndDecimalsByMagnitude) {
  const std::pair<int, const char*> units[] = {{1, "Ohm"}, {5, "Ohm"}, {6, "mV"}, {15, "mV"},
                                               {16, "mV"}, {17, "mA"}, {18, "V"}, {19, "mA"},
                                               {20, ""},   {0, ""}};
  for (const auto& [typ, unit] : units) EXPECT_EQ(SimulatedSignalUnit(typ), unit) << typ;
  const std::pair<double, const char*> signals[] = {
      {1234.56, "1235"}, {-1000.5, "-1000"},                      // above 1000 in magnitude: none
      {1000, "1000.0"},  {-250.25, "-250.2"}, {100.05, "100.0"},  // above 100: one, halves to even
      {100, "100.00"},   {0.125, "0.12"},     {-3.14159, "-3.14"}};
  for (const auto& [signal, text] : signals)
    EXPECT_EQ(FormatSimulatedSignal(signal), text) << signal;
}

}  // namespace
}  // namespace q5480
