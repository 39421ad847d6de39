// What the module measures, from the simulated signal at its terminals on.
#include <algorithm>

#include "emulator/module_signal.h"
#include "module_fixture.h"

namespace q5480::test {
namespace {

struct Reading {
  double value = 0;
  std::uint16_t current = 0;
  std::uint8_t status1 = 0, status2 = 0;
};

Reading Measure(ClockedModule& module, std::uint8_t mode) {
  const ModuleReply r = module.Send({'m', mode});
  EXPECT_TRUE(r && r->size() == 8);
  if (!r || r->size() != 8) return {};
  const auto& b = *r;
  return {DecodeModuleFloat(b.data()), static_cast<std::uint16_t>(b[4] << 8 | b[5]), b[6], b[7]};
}

// A module configured with `setup` and fed a constant signal.
ClockedModule Configured(const char* id, const ModuleSetup& setup, double signal,
                         bool wide = false) {
  ClockedModule module(id, [&](ModuleOptions& options) { options.wideCurrent = wide; });
  EXPECT_TRUE(WriteConfiguration(module, LinearMemory(module.module->Layout(), setup)));
  module.module->SetSignal({.level = signal});
  return module;
}

class BothLayouts : public EachLayout {};
INSTANTIATE_TEST_SUITE_P(Module, BothLayouts, testing::Values(kOldId, kNewId));

TEST_P(BothLayouts, ModesGiveTheStagesFromTerminalsToResult) {
  // 0..100 mV over 0..1000. Zero 1 % of the span adds 1 mV, gain 2 % scales by 1.02.
  const ModuleSetup plain{}, corrected{.zero = 1.0, .gain = 2.0};
  const struct {
    const ModuleSetup& setup;
    double signal;
    std::uint8_t mode;
    double value;
  } cases[] = {{plain, 25, 1, 25},       {plain, 25, 0, 25},     {plain, 25, 4, 0.25},
               {plain, 25, 2, 250},      {corrected, 50, 1, 50}, {corrected, 50, 0, 52},
               {corrected, 50, 4, 0.52}, {corrected, 50, 2, 520}};
  for (const auto& c : cases) {
    ClockedModule module = Configured(GetParam(), c.setup, c.signal);
    EXPECT_NEAR(Measure(module, c.mode).value, c.value, 1e-5 * std::max(1.0, c.value))
        << "mode " << int(c.mode) << ", zero " << c.setup.zero;
  }
  // "Z" takes a corrected signal, least significant byte first, and corrects it no more.
  ClockedModule module = Configured(GetParam(), corrected, 0.0);
  const auto f = EncodeModuleFloat(75.0);
  const ModuleReply reply = module.Send({'Z', f[3], f[2], f[1], f[0]});
  ASSERT_TRUE(reply && reply->size() == 6);
  EXPECT_NEAR(DecodeModuleFloat(reply->data()), 750.0, 1e-3);
  EXPECT_EQ((*reply)[4] << 8 | (*reply)[5], 6144) << "16 mA";
}

TEST_P(BothLayouts, TheSegmentComesFromSignalLowAndTheStep) {
  // Signal 10..110, step 0.5; segment k answers the fraction k.
  const ModuleSetup setup{.signalLow = 10, .signalHigh = 110};
  ModuleMemory memory = LinearMemory(LayoutOfIdentifier(GetParam()), setup);
  for (std::size_t k = 0; k < 202; ++k) {
    memory.SetFloat(At().segments + 8 * k, static_cast<double>(k));
    memory.SetFloat(At().segments + 8 * k + 4, 0.0);
  }
  SealSegments(memory);
  ClockedModule module(GetParam());
  ASSERT_TRUE(WriteConfiguration(module, memory));
  const std::pair<double, int> cases[] = {{10.0, 1},     {10.49, 1},   {10.5, 2},
                                          {9.99, 0},     {-1000, 0},   {60.2, 101},
                                          {109.99, 200}, {110.0, 201}, {1e6, 201}};
  for (const auto& [signal, segment] : cases) {
    module.module->SetSignal({.level = signal});
    EXPECT_NEAR(Measure(module, 4).value, segment, 1e-9) << "signal " << signal;
  }
}

TEST_P(BothLayouts, CurrentFormatsLimitsSensorFaultsAndRange) {
  // 0..100 mV gives 4..20 mA; a reading may leave the range by 5 % before it is out.
  // `broken`: the input code of a module whose sensor broke, 0 for a sound one.
  const struct {
    double signal;
    bool wide;
    std::uint8_t broken;
    std::uint16_t code;
    bool out;
  } cases[] = {
      {50, false, 0, 4096, false},    // 12 mA, 1/512 mA above 4 mA
      {50, true, 0, 24000, false},    // 12 mA in 0.5 uA steps
      {104, false, 0, 8520, false},   // 20.64 mA
      {106, false, 0, 8684, true},    // 20.96 mA
      {500, false, 0, 9088, true},    // held at 21.75 mA
      {500, true, 0, 44000, true},    // held at 22 mA
      {-4, false, 0, 0xFF80, false},  // held at 3.75 mA, -128 as two's complement
      {-6, false, 0, 0xFF80, true},     {-50, true, 0, 6000, true},  // held at 3 mA
      {50, false, 0x40, 0xFF80, false},  // a broken sensor drives below the range,
      {50, true, 0xC0, 44000, false},    // above it
      {50, false, 0x50, 0, false},       // or holds 4 mA
  };
  for (const auto& c : cases) {
    const std::uint8_t input = c.broken ? c.broken : 0x40;
    ClockedModule module = Configured(GetParam(), {.inputCode = input}, c.signal, c.wide);
    module.module->SetSensorBroken(c.broken != 0);
    const Reading reading = Measure(module, 2);
    EXPECT_EQ(reading.current, c.code)
        << c.signal << ", wide " << c.wide << ", input " << int(input);
    EXPECT_EQ(reading.status2 & 0x90, (c.out ? 0x80 : 0) | (c.wide ? 0x10 : 0)) << c.signal;
    EXPECT_EQ(reading.status1 & 0x40, c.broken ? 0x40 : 0);
  }
}

TEST_P(BothLayouts, StatusFlagsOnDemandAndWhatARestartEnds) {
  ClockedModule module = Configured(GetParam(), {.unitsAndPoint = 0xB5}, 50.0);
  EXPECT_EQ(Measure(module, 2).status1, 0x05) << "unit 5, nothing else";
  module.module->SetCalibrationMode(true);
  module.module->SetEepromError(true);
  EXPECT_EQ(module.Send({'o', 0x12, 0x34}), Bytes{});
  ExpectSilent(module, {{0x40, '7', '3', '1', '7'}});
  EXPECT_EQ(module.Send({0x40, '7', '3', '1', '6'}), Bytes(GetParam(), GetParam() + 4))
      << "service mode";
  EXPECT_TRUE(module.module->InServiceMode());
  Reading reading = Measure(module, 2);
  EXPECT_EQ(reading.status1, 0x05 | 0x10 | 0x20 | 0x80);
  EXPECT_EQ(reading.current, 0x1234) << "the independent output";
  EXPECT_NEAR(reading.value, 500.0, 1e-3) << "the measurement goes on";
  ExpectSilent(module, {{'r'}});
  EXPECT_FALSE(module.module->InServiceMode());
  reading = Measure(module, 2);
  EXPECT_EQ(reading.status1, 0x05 | 0x10 | 0x80) << "a restart ends the independent output";
  EXPECT_EQ(reading.current, 4096);
}

TEST_P(BothLayouts, AveragesOverAWindowAndFlagsLargeSteps) {
  // A ramp of 1 mV (1 % of the range) a second, read once a second; the limit is 5 %.
  ClockedModule module = Configured(GetParam(), {.filterLimit = 5}, 0.0);
  module.module->SetSignal(
      {.kind = SignalKind::Ramp, .level = 0, .extent = 100, .periodSeconds = 100});
  double sum = 0;
  for (int i = 0; i < kAverageWindow; ++i) {
    *module.seconds = i;
    const Reading reading = Measure(module, 2);
    sum += reading.value;
    EXPECT_EQ(reading.status2 & 0x60, i == kAverageWindow - 1 ? 0x20 : 0) << "reading " << i;
  }
  const Reading average = Measure(module, 8);
  EXPECT_NEAR(average.value, sum / kAverageWindow, 1e-3);
  EXPECT_EQ(average.status2 & 0x20, 0);
  for (const auto& [seconds, large] :
       {std::pair{11, false}, {17, true}, {17, false}}) {  // 4, 6, 0 %
    *module.seconds = seconds;
    EXPECT_EQ((Measure(module, 2).status2 & 0x40) != 0, large) << seconds;
  }
  module.Send({'r'});
  EXPECT_NEAR(Measure(module, 8).value, 170.0, 1e-3) << "a restart starts the average again";
}

TEST_P(BothLayouts, OnlyTheOldLayoutAddsTheColdJunctionOfAThermocouple) {
  // c0 + c1 T + c2 T^2 at 25 degrees: 1 + 1 + 0.0625 mV; thermocouples are types 6 to 15.
  for (const auto& [typ, thermocouple] :
       {std::pair{5, false}, {6, true}, {15, true}, {16, false}}) {
    ModuleSetup setup{.coldJunction = {1.0, 0.04, 0.0001}};
    setup.typ = static_cast<std::uint8_t>(typ);
    ClockedModule module = Configured(GetParam(), setup, 20.0);
    const bool added = Old() && thermocouple;
    EXPECT_NEAR(Measure(module, 0).value, 20.0, 1e-5) << "the corrected signal leaves it out";
    EXPECT_NEAR(Measure(module, 2).value, added ? 220.625 : 200.0, 1e-3) << typ;
    module.module->SetInternalTemperature(0.0);
    EXPECT_NEAR(Measure(module, 2).value, added ? 210.0 : 200.0, 1e-3) << typ;
  }
}

TEST(ModuleMeasurement, ABlankModuleReadsZeroWithItsModelIndex) {
  const std::pair<std::uint16_t, int> models[] = {{5495, 0}, {5496, 1}, {5492, 3}, {5499, 7},
                                                  {5491, 8}, {5490, 9}, {5400, 9}};
  for (const auto& [model, index] : models) {
    ClockedModule module(kNewId,
                         [&](ModuleOptions& options) { options.factory.modelNumber = model; });
    const Bytes reading{0, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(index)};  // 0 at 4 mA
    EXPECT_EQ(module.Send({'m', 2}), reading) << model;
  }
}

TEST(SimulatedSignal, ParsedShapesOverTime) {
  const struct {
    const char* text;
    double seconds, expected;
  } cases[] = {
      {"const:-1.25", 1e6, -1.25}, {"ramp:10:30:4", 0, 10},
      {"ramp:10:30:4", 1, 15},     {"ramp:10:30:4", 3.999, 29.995},
      {"ramp:10:30:4", 4, 10},     {"ramp:10:30:4", 9, 15},
      {"sine:1:2:8", 0, 1},        {"sine:1:2:8", 2, 3},
      {"sine:1:2:8", 6, -1},       {"sine:1:2:8", 8, 1},
      {"sine:1:0.5:8", 2, 1.5},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto shape = ParseSignalShape(c.text, error);
    ASSERT_TRUE(shape) << c.text << ": " << error;
    EXPECT_NEAR(SignalAt(*shape, c.seconds), c.expected, 1e-9) << c.text << " at " << c.seconds;
  }
  // Without a period above 0 a ramp or sine holds its level.
  EXPECT_EQ(SignalAt({.kind = SignalKind::Ramp, .level = 2, .extent = 5, .periodSeconds = 0}, 3),
            2);
  EXPECT_EQ(SignalAt({.kind = SignalKind::Sine, .level = 2, .extent = 5, .periodSeconds = -1}, 3),
            2);
  SimulatedSignal signal;
  signal.Set({.kind = SignalKind::Ramp, .level = 0, .extent = 10, .periodSeconds = 10}, 100.0);
  EXPECT_NEAR(signal.ValueAt(103.0), 3.0, 1e-12) << "counted from the moment it was set";
}

TEST(SimulatedSignal, RefusedFormsSayWhy) {
  const struct {
    const char* text;
    const char* words;
  } cases[] = {
      {"const", "const:LEVEL"},  {"const:1:2", "const:LEVEL"}, {"square:1:2:3", "square"},
      {"ramp:1:2", "ramp:FROM"}, {"ramp:1:2:0", "period"},     {"sine:1:2:-3", "period"},
      {"const:1,5", "\"1,5\""},  {"const:", "\"\""},           {"const:nan", "\"nan\""},
      {"ramp:1:x:3", "\"x\""},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(ParseSignalShape(c.text, error)) << c.text;
    EXPECT_NE(error.find(c.words), std::string::npos) << c.text << ": " << error;
  }
}

}  // namespace
}  // namespace q5480::test
