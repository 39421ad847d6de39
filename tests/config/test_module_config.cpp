#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

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
}

// The kinds of input, as the table of input types gives them, one letter a
// code from -1 to 22: resistance thermometer, Resistance, built-in
// Thermocouple, X (user thermocouple), Voltage, current (I), "-" no input,
// and a blank outside the table.
TEST(ModuleConfigTables, EachInputTypeIsOfItsKinds) {
  const std::string kinds = "  PPPPRTTTTTTTTTXVIVI-  ";
  for (int typ = -1; typ <= 22; ++typ) {
    const char kind = kinds[static_cast<std::size_t>(typ + 1)];
    const auto is = [kind](std::string_view of) { return of.find(kind) != std::string_view::npos; };
    SCOPED_TRACE(typ);
    EXPECT_EQ(IsInputType(typ), kind != ' ');
    EXPECT_EQ(IsResistanceThermometer(typ), is("P"));
    EXPECT_EQ(IsResistanceInput(typ), is("PR"));
    EXPECT_EQ(IsThermocouple(typ), is("TX"));
    EXPECT_EQ(IsBuiltInThermocouple(typ), is("T"));
    EXPECT_EQ(IsPlainInput(typ), is("RVI-"));
    EXPECT_EQ(IsVoltageOrCurrent(typ), is("VI"));
    EXPECT_EQ(IsVoltageInput(typ), is("V"));
    EXPECT_EQ(IsCurrentInput(typ), is("I"));
    EXPECT_EQ(IsSensorless(typ), is("VI-"));
  }
}

// Only the wire connections are wire connections; only a linear conversion
// and a power series (or a code past them that a file brings) keep
// coefficients.
TEST(ModuleConfigTables, WireConnectionsAndCoefficientConversions) {
  for (int tryb = 0; tryb <= 12; ++tryb) {
    EXPECT_EQ(IsWireConnection(tryb), tryb == 2 || tryb == 3 || tryb == 4) << tryb;
  }

  for (int lin : {kLinUnset, kLinNone, kLinTable}) EXPECT_FALSE(HoldsCoefficients(lin)) << lin;
  for (int lin : {3, int{kLinLinear}, int{kLinSeries}}) EXPECT_TRUE(HoldsCoefficients(lin)) << lin;
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
