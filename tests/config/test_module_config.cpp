#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "config/module_config.h"

namespace q5480 {
namespace {

// The groups of the codes are tested with the input code they decide.
TEST(ModuleConfigTables, ModelCodesAndLookUps) {
  // Each listed model's code sits at its list index in the code table.
  ModuleConfig config;
  for (int i = 0; i < kMeterModelCount; ++i) {
    config.Device = MeterModels()[static_cast<std::size_t>(i)].name;
    EXPECT_EQ(ModelCode(config), ModelCodeAt(i)) << config.Device;
  }
  for (int i : {-1, 17}) EXPECT_EQ(ModelCodeAt(i), 0) << i;
  EXPECT_EQ(ModelDisplayName("Q5496"), "?");  // not offered
  EXPECT_EQ(ModelDisplayName("Q5490"), "");
  // From the name's 4th and 5th characters; without a name, from the index.
  const std::tuple<const char*, int, int> codes[] = {
      {"Q5494", 16, 94}, {"Q54x1", 16, 0}, {"Q54", 16, 0}, {"Ł5493", 16, 93},
      {"", 8, 91},       {"", 16, 0},      {"", 200, 0}};
  for (const auto& [device, index, code] : codes) {
    config.Device = device;
    config.ModelIndex = static_cast<std::uint8_t>(index);
    EXPECT_EQ(ModelCode(config), code) << device << " " << index;
  }
  // Look-ups outside a table give its empty entry.
  const InputLimits limits;
  for (int outside : {-1, 0, 21, 99}) {
    EXPECT_STREQ(InputType(outside).name, InputType(kTypNone).name) << outside;
    EXPECT_EQ(limits.LowerTenths(outside), 0);
    EXPECT_EQ(limits.UpperTenths(outside), 0);
  }
  EXPECT_EQ(std::tuple(ConnectionName(12), UnitName(kUnitCount), UnitName(-1)),
            std::tuple("", "", ""));
  EXPECT_TRUE(IsThermocouple(6) && IsThermocouple(15) && !IsThermocouple(5) && !IsThermocouple(16));
  EXPECT_TRUE(IsResistanceThermometer(1) && IsResistanceThermometer(4));
  EXPECT_FALSE(IsResistanceThermometer(0) || IsResistanceThermometer(5));
  EXPECT_TRUE(IsPlainInput(5) && IsPlainInput(16) && IsPlainInput(20) && !IsPlainInput(15));
}

TEST(ConsistencyRules, InputRangeAndFieldBounds) {
  // Typ, Lin, MinInput and MaxInput, and the range after the rules.
  const std::tuple<int, int, double, double, double, double> cases[] = {
      {10, 1, 10, 5, -150, 1370},       // reversed: whole range
      {10, 1, -200, 100, -150, 100},    // below the lower limit
      {10, 1, 0, 2000, 0, 1370},        // above the upper limit
      {10, 1, 1370, 1370, -150, 1370},  // empty range
      {10, 1, NAN, 100, -150, 100},     // not a number
      {1, 1, -100, 850, -100, 850},     // exactly the limits
      {16, 1, -20, 100, -10, 100},      // plain input without conversion
      {10, 4, -200, 100, -150, 100},    // a thermocouple is never converted
      {16, 4, -20, 5000, -20, 5000},    // converted plain input: user range
      {19, 2, 0, 50, 0, 50},            // a table conversion is one too
      {15, 0, -1e6, 1e6, -1e6, 1e6},    // user characteristic
      {20, 1, 3, 4, 0, 0},              // no input type
  };
  for (const auto& [typ, lin, min, max, expectedMin, expectedMax] : cases) {
    ModuleConfig config;
    std::tie(config.Typ, config.Lin, config.MinInput, config.MaxInput) =
        std::tuple(typ, lin, min, max);
    ApplyConsistencyRules(config, InputLimits());
    EXPECT_EQ(std::tie(config.MinInput, config.MaxInput), std::tie(expectedMin, expectedMax))
        << typ << " " << lin << " " << min << " " << max;
  }
  // Each field on both sides of its bounds: a value inside stays, one outside
  // is replaced.
  const auto check = [](auto field, auto inside, auto outside, auto replacement) {
    ModuleConfig config;
    config.*field = inside;
    ApplyConsistencyRules(config, InputLimits());
    EXPECT_EQ(config.*field, inside);
    config.*field = outside;
    ApplyConsistencyRules(config, InputLimits());
    EXPECT_EQ(config.*field, replacement) << outside;
  };
  using M = ModuleConfig;
  const std::tuple<std::int32_t M::*, int, int> integers[] = {
      {&M::FiltrZakres, 250, 0}, {&M::FiltrCzas, 400, 0}, {&M::FiltrLimit, 100, 0},
      {&M::LimitHigh, 200, 200}, {&M::Jednostki, 9, 0},   {&M::Burnout, 2, 0}};
  for (auto [field, top, topReplacement] : integers) {
    check(field, top, top + 1, topReplacement);
    check(field, 0, -1, topReplacement);
  }
  check(&M::Siec, 60, 55, 50);
  check(&M::RoomT, -0.0001, -0.00011, 25.0);
  check(&M::RoomT, 50.0001, 50.0002, 25.0);
  check(&M::ZeroReg, 1.99991, 1.99992, 0.0);
  check(&M::ZeroReg, -1.99991, -2.0, 0.0);
  check(&M::GainReg, -1.99991, -1.99992, 0.0);
  check(&M::GainReg, 1.5, double{NAN}, 0.0);
  check(&M::Typ, 1, 0, kTypNone);
  check(&M::Typ, 20, 21, kTypNone);
  check(&M::Tryb, 8, 9, 0);
  for (int lin : {2, 4, 8}) check(&M::Lin, lin, lin + 1, 0);
  check(&M::LimitLow, 200, 201, 0);
  ModuleConfig config;  // the low limit is never above the high one
  config.LimitLow = 150;
  config.LimitHigh = 100;
  ApplyConsistencyRules(config, InputLimits());
  EXPECT_EQ(config.LimitLow, 100);
}

}  // namespace
}  // namespace q5480
