#include <gtest/gtest.h>

#include <cmath>

#include "config/module_image.h"
#include "module_fixture.h"

namespace q5480::test {
namespace {

struct Reading {
  double value;
  std::uint16_t current;
  std::uint8_t status1;
  std::uint8_t status2;
};

Reading Measure(ClockedModule& module, std::uint8_t mode) {
  const auto reply = module.Send({'m', mode});
  EXPECT_TRUE(reply.has_value());
  if (!reply || reply->size() != 8) return {};
  const auto& r = *reply;
  return {DecodeModuleFloat(r.data()), static_cast<std::uint16_t>(r[4] << 8 | r[5]), r[6], r[7]};
}

// A module of `layout` configured with `setup` and fed a constant signal.
ClockedModule Configured(MemoryLayout layout, const ModuleSetup& setup, double signal,
                         bool wideCurrent = false) {
  ModuleOptions options = ClockedModule::OptionsWithId(layout == MemoryLayout::New ? kNewId : kOldId);
  options.wideCurrent = wideCurrent;
  ClockedModule module(options);
  EXPECT_TRUE(WriteConfiguration(module, LinearMemory(layout, setup)));
  module.module->SetSignal({.level = signal});
  return module;
}

class BothLayouts : public ::testing::TestWithParam<MemoryLayout> {};
INSTANTIATE_TEST_SUITE_P(Module, BothLayouts, ::testing::Values(MemoryLayout::Old, MemoryLayout::New));

TEST_P(BothLayouts, ModesGiveTheStagesOfALinearCharacteristic) {
  // 0..100 mV over 0..1000: 25 mV is a quarter of the range.
  ClockedModule module = Configured(GetParam(), ModuleSetup{}, 25.0);
  EXPECT_NEAR(Measure(module, 1).value, 25.0, 1e-5);
  EXPECT_NEAR(Measure(module, 0).value, 25.0, 1e-5);
  EXPECT_NEAR(Measure(module, 4).value, 0.25, 1e-6);
  const Reading result = Measure(module, 2);
  EXPECT_NEAR(result.value, 250.0, 1e-3);
  EXPECT_EQ(result.current, 2048) << "8 mA is 4 mA above the start, 512 steps a milliampere";
}

TEST_P(BothLayouts, TheSegmentComesFromSignalLowAndTheStep) {
  // Signal 10..110, step 0.5; segment k answers the fraction k.
  ModuleMemory memory = LinearMemory(GetParam(), ModuleSetup{.signalLow = 10, .signalHigh = 110});
  for (std::size_t k = 0; k < 202; ++k) {
    memory.SetFloat(memory.Addresses().segments + 8 * k, static_cast<double>(k));
    memory.SetFloat(memory.Addresses().segments + 8 * k + 4, 0.0);
  }
  SealSegments(memory);
  ClockedModule module(GetParam() == MemoryLayout::New ? kNewId : kOldId);
  ASSERT_TRUE(WriteConfiguration(module, memory));
  const struct {
    double signal;
    int segment;
  } cases[] = {{10.0, 1}, {10.49, 1}, {10.5, 2}, {9.99, 0}, {-1000, 0},
               {60.2, 101}, {109.99, 200}, {110.0, 201}, {1e6, 201}};
  for (const auto& c : cases) {
    module.module->SetSignal({.level = c.signal});
    EXPECT_NEAR(Measure(module, 4).value, c.segment, 1e-9) << "signal " << c.signal;
  }
}

TEST_P(BothLayouts, CorrectionsActOnTheSignalBeforeTheSegments) {
  // Zero 1 % of the 100 mV span adds 1 mV; gain 2 % scales by 1.02.
  ClockedModule module = Configured(GetParam(), ModuleSetup{.zero = 1.0, .gain = 2.0}, 50.0);
  EXPECT_NEAR(Measure(module, 1).value, 50.0, 1e-5);
  EXPECT_NEAR(Measure(module, 0).value, 52.0, 1e-4);
  EXPECT_NEAR(Measure(module, 2).value, 520.0, 1e-3);
}

TEST_P(BothLayouts, ValueRequestMeasuresAGivenCorrectedSignal) {
  ClockedModule module = Configured(GetParam(), ModuleSetup{.zero = 1.0}, 0.0);
  // 75 as a module float, least significant byte first.
  const auto f = EncodeModuleFloat(75.0);
  const auto reply = module.Send({'Z', f[3], f[2], f[1], f[0]});
  ASSERT_TRUE(reply.has_value());
  ASSERT_EQ(reply->size(), 6u);
  EXPECT_NEAR(DecodeModuleFloat(reply->data()), 750.0, 1e-3) << "no correction applied again";
  EXPECT_EQ((*reply)[4] << 8 | (*reply)[5], 6144) << "16 mA";
}

TEST_P(BothLayouts, CurrentFormatsAndOutputLimits) {
  const struct {
    double signal;
    bool wide;
    std::uint16_t code;
  } cases[] = {
      {50.0, false, 4096},     // 12 mA
      {50.0, true, 24000},     // 12 mA in 0.5 uA steps
      {0.0, true, 8000},       // 4 mA
      {500.0, false, 9088},    // held at 21.75 mA
      {500.0, true, 44000},    // held at 22 mA
      {-50.0, false, 0xFF80},  // held at 3.75 mA, -128 as two's complement
      {-50.0, true, 6000},     // held at 3 mA
  };
  for (const auto& c : cases) {
    ClockedModule module = Configured(GetParam(), ModuleSetup{}, c.signal, c.wide);
    const Reading reading = Measure(module, 2);
    EXPECT_EQ(reading.current, c.code) << c.signal << (c.wide ? " wide" : " standard");
    EXPECT_EQ((reading.status2 & 0x10) != 0, c.wide);
  }
}

TEST_P(BothLayouts, BrokenSensorDrivesTheChosenReaction) {
  const struct {
    std::uint8_t inputCode;
    std::uint16_t code;
  } cases[] = {{0x40, 0xFF80}, {0xC0, 9088}, {0x50, 0}};
  for (const auto& c : cases) {
    ClockedModule module = Configured(GetParam(), ModuleSetup{.inputCode = c.inputCode}, 50.0);
    EXPECT_EQ(Measure(module, 2).status1 & 0x40, 0);
    module.module->SetSensorBroken(true);
    const Reading reading = Measure(module, 2);
    EXPECT_EQ(reading.current, c.code) << "input code " << int(c.inputCode);
    EXPECT_NE(reading.status1 & 0x40, 0);
  }
}

TEST_P(BothLayouts, StatusBytesCarryUnitModelAndFlagsOnDemand) {
  ClockedModule module = Configured(GetParam(), ModuleSetup{.unitsAndPoint = 0xB5}, 50.0);
  Reading reading = Measure(module, 2);
  EXPECT_EQ(reading.status1, 0x05) << "unit 5, nothing else";
  EXPECT_EQ(reading.status2, 0x00) << "model 5495 is the first of the table";

  module.module->SetCalibrationMode(true);
  module.module->SetEepromError(true);
  module.module->SetSensorBroken(true);
  reading = Measure(module, 2);
  EXPECT_EQ(reading.status1, 0x05 | 0x10 | 0x40 | 0x80);

  module.module->SetCalibrationMode(false);
  module.module->SetEepromError(false);
  module.module->SetSensorBroken(false);
  EXPECT_EQ(Measure(module, 2).status1, 0x05);
}

TEST_P(BothLayouts, IndependentOutputHoldsTheCodeUntilRestart) {
  ClockedModule module = Configured(GetParam(), ModuleSetup{}, 50.0);
  EXPECT_EQ(module.Send({'o', 0x12, 0x34}), Bytes{});
  Reading reading = Measure(module, 2);
  EXPECT_EQ(reading.current, 0x1234);
  EXPECT_NE(reading.status1 & 0x20, 0);
  EXPECT_NEAR(reading.value, 500.0, 1e-3) << "the measurement goes on";
  EXPECT_FALSE(module.Send({'r'}).has_value());
  reading = Measure(module, 2);
  EXPECT_EQ(reading.current, 4096);
  EXPECT_EQ(reading.status1 & 0x20, 0);
}

TEST_P(BothLayouts, OutOfRangeBeyondTheMargin) {
  const struct {
    double signal;
    bool outside;
  } cases[] = {{50, false}, {104, false}, {-4, false}, {106, true}, {-6, true}};
  for (const auto& c : cases) {
    ClockedModule module = Configured(GetParam(), ModuleSetup{}, c.signal);
    EXPECT_EQ((Measure(module, 2).status2 & 0x80) != 0, c.outside) << c.signal;
  }
}

TEST_P(BothLayouts, AverageCompletesEveryWindowOfReadings) {
  ClockedModule module = Configured(GetParam(), ModuleSetup{}, 0.0);
  // A ramp of 1 mV a second, read once a second: results 0, 10, 20, ...
  module.module->SetSignal({.kind = SignalKind::Ramp, .level = 0, .extent = 100, .periodSeconds = 100});
  double sum = 0;
  for (int i = 0; i < kAverageWindow; ++i) {
    module.SetTime(i);
    const Reading reading = Measure(module, 2);
    sum += reading.value;
    EXPECT_EQ((reading.status2 & 0x20) != 0, i == kAverageWindow - 1) << "reading " << i;
  }
  module.SetTime(kAverageWindow);
  const Reading average = Measure(module, 8);
  EXPECT_NEAR(average.value, sum / kAverageWindow, 1e-3);
  EXPECT_EQ(average.status2 & 0x20, 0);
}

TEST_P(BothLayouts, LargeErrorWhenAReadingJumpsBeyondTheThreshold) {
  ClockedModule module = Configured(GetParam(), ModuleSetup{.filterLimit = 5}, 50.0);
  EXPECT_EQ(Measure(module, 2).status2 & 0x40, 0);
  module.module->SetSignal({.level = 54.0});  // 4 % of the range
  EXPECT_EQ(Measure(module, 2).status2 & 0x40, 0);
  module.module->SetSignal({.level = 60.0});  // 6 %
  EXPECT_NE(Measure(module, 2).status2 & 0x40, 0);
  EXPECT_EQ(Measure(module, 2).status2 & 0x40, 0) << "a steady reading after the jump";
}

TEST(ModuleMeasurement, OldLayoutAddsTheColdJunctionForThermocouplesOnly) {
  // c0 + c1 T + c2 T^2 at 25 degrees: 1 + 1 + 0.0625.
  const ModuleSetup thermocouple{.typ = 10, .coldJunction = {1.0, 0.04, 0.0001}};
  ClockedModule old = Configured(MemoryLayout::Old, thermocouple, 20.0);
  EXPECT_NEAR(Measure(old, 0).value, 20.0, 1e-5) << "the corrected signal leaves it out";
  EXPECT_NEAR(Measure(old, 2).value, 220.625, 1e-3);
  old.module->SetInternalTemperature(0.0);
  EXPECT_NEAR(Measure(old, 2).value, 210.0, 1e-3);

  ModuleSetup voltage = thermocouple;
  voltage.typ = 16;
  ClockedModule plain = Configured(MemoryLayout::Old, voltage, 20.0);
  EXPECT_NEAR(Measure(plain, 2).value, 200.0, 1e-3);
}

TEST(ModuleMeasurement, NewLayoutHoldsNoCompensation) {
  ClockedModule fresh = Configured(MemoryLayout::New, ModuleSetup{.typ = 10}, 20.0);
  EXPECT_NEAR(Measure(fresh, 2).value, 200.0, 1e-3);
}

TEST(ModuleMeasurement, ModelIndexFollowsTheCodeTable) {
  const struct {
    std::uint16_t model;
    std::uint8_t index;
  } cases[] = {{5495, 0}, {5496, 1}, {5492, 3}, {5499, 7}, {5491, 8}, {5490, 9}, {5400, 9}};
  for (const auto& c : cases) {
    ModuleOptions options = ClockedModule::OptionsWithId(kNewId);
    options.factory.modelNumber = c.model;
    ClockedModule module(options);
    EXPECT_EQ(Measure(module, 2).status2 & 0x0F, c.index) << c.model;
  }
}

TEST(ModuleMeasurement, BlankModuleAnswersWithoutNumbersFromNowhere) {
  for (const char* id : {kOldId, kNewId}) {
    ClockedModule module(id);
    module.module->SetSignal({.level = 12.0});
    const Reading reading = Measure(module, 2);
    EXPECT_EQ(reading.value, 0.0) << id;
    EXPECT_TRUE(std::isfinite(reading.value));
  }
}

}  // namespace
}  // namespace q5480::test
