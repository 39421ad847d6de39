// The accuracy of the table that a module is given, against an evaluation
// that shares nothing with the program: the module emulator's reading of
// the image and the thermocouple reference functions typed in for the tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "conversion/build_image.h"
#include "conversion/its90_reference.h"
#include "emulator/module_measurement.h"
#include "emulator/module_memory.h"
#include "service/table_accuracy.h"

namespace q5480 {
namespace {

struct Sensor {
  int typ;
  double low, high;
};

class TableAccuracyTest : public ::testing::Test {
 protected:
  void Select(const Sensor& s) {
    config = ModuleConfig{};
    config.Device = "Q5495";
    config.Typ = static_cast<std::uint8_t>(s.typ);
    config.Tryb = IsThermocouple(s.typ) ? 7 : 3;
    config.Lin = kLinTable;
    config.MinInput = s.low;
    config.MaxInput = s.high;
    config.Jednostki = 8;
  }

  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
};

TEST_F(TableAccuracyTest, FiguresOfTheCommonSensors) {
  struct Case {
    Sensor sensor;
    double largestAbove, largestBelow, whereFrom, whereTo;
  };
  for (const Case& c :
       {Case{{10, -150, 1370}, 0.09, 0.13, -150, -135},     // K: steepest bend at the bottom
        Case{{12, 0, 1700}, 0.15, 0.25, 0, 20},             // R: its start
        Case{{1, -100, 850}, 0.0005, 0.003, -100, 850}}) {  // Pt100
    Select(c.sensor);
    const AccuracyOutcome outcome = TableAccuracyOf(config, limits, state);
    ASSERT_TRUE(outcome.accuracy) << c.sensor.typ;
    const TableAccuracy& a = *outcome.accuracy;
    EXPECT_GT(std::fabs(a.largest), c.largestAbove) << c.sensor.typ;
    EXPECT_LT(std::fabs(a.largest), c.largestBelow) << c.sensor.typ;
    EXPECT_GE(a.largestAt, c.whereFrom) << c.sensor.typ;
    EXPECT_LE(a.largestAt, c.whereTo) << c.sensor.typ;
    EXPECT_GT(a.rms, 0) << c.sensor.typ;
    EXPECT_LT(a.rms, std::fabs(a.largest) / 2) << c.sensor.typ;
  }
}

TEST_F(TableAccuracyTest, AgreesWithTheEmulatorAndTheReferenceFunctions) {
  for (const Sensor& sensor :
       {Sensor{10, -150, 1370}, Sensor{12, 0, 1700}, Sensor{9, -100, 1200}}) {
    Select(sensor);
    const AccuracyOutcome outcome = TableAccuracyOf(config, limits, state);
    ASSERT_TRUE(outcome.accuracy) << sensor.typ;

    ModuleConfig built = config;
    ConversionState builtState = state;
    ModuleImage image;
    ASSERT_EQ(BuildModuleImage({built, limits, builtState}, image, 46000), std::nullopt);
    ModuleMemory memory(MemoryLayout::Old);
    std::copy_n(image.bytes.begin(), 2048, memory.Bytes().begin());
    const LayoutAddresses& at = memory.Addresses();
    double largest = 0, where = 0, squares = 0;
    for (int i = 0; i < kAccuracySamples; ++i) {
      const double t = sensor.low + (sensor.high - sensor.low) * i / (kAccuracySamples - 1);
      const double signal = static_cast<double>(testing::ReferenceMillivolts(sensor.typ, t));
      const double shown =
          memory.Float(at.minInput) + TransferFraction(memory, signal) * memory.Float(at.span);
      if (std::fabs(shown - t) > std::fabs(largest)) {
        largest = shown - t;
        where = t;
      }
      squares += (shown - t) * (shown - t);
    }
    EXPECT_NEAR(outcome.accuracy->largest, largest, 1e-6) << sensor.typ;
    EXPECT_NEAR(outcome.accuracy->largestAt, where, 1e-6) << sensor.typ;
    EXPECT_NEAR(outcome.accuracy->rms, std::sqrt(squares / kAccuracySamples), 1e-7) << sensor.typ;
  }
}

TEST_F(TableAccuracyTest, LeavesTheProgramsStateAndTellsWhyItCannotBeMeasured) {
  Select({10, 0, 1000});
  config.SignalLow = 1.5;
  state.TransferFractions[7] = 0.25;
  EXPECT_TRUE(TableAccuracyOf(config, limits, state).accuracy);
  EXPECT_EQ(config.SignalLow, 1.5);
  EXPECT_EQ(state.TransferFractions[7], 0.25);

  Select({6, 1900, 2000});  // type B held at 1820 degC: every sample alike
  const AccuracyOutcome flat = TableAccuracyOf(config, limits, state);
  ASSERT_TRUE(flat.refusal);
  EXPECT_EQ(RefusalMessage(*flat.refusal), "Transfer function is not monotonic!");
  Select({16, 0, 100});
  config.Lin = kLinTable;  // a table conversion whose table was never loaded
  const AccuracyOutcome missing = TableAccuracyOf(config, limits, state);
  ASSERT_TRUE(missing.refusal);
  EXPECT_EQ(RefusalMessage(*missing.refusal), "No data available!");
  EXPECT_FALSE(missing.accuracy);
}

}  // namespace
}  // namespace q5480
