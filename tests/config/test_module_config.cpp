#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "config/module_config.h"

namespace q5480 {
namespace {

TEST(ModuleConfigTables, InputTypesAndLimits) {
  const InputLimits limits;
  EXPECT_STREQ(InputType(1).name, "Pt100 (0.00385)");
  EXPECT_STREQ(InputType(15).name, "X");
  EXPECT_STREQ(InputType(20).name, "");
  EXPECT_STREQ(InputType(0).name, "");
  EXPECT_STREQ(InputType(99).name, "");
  EXPECT_DOUBLE_EQ(limits.Lower(10), -150.0);
  EXPECT_DOUBLE_EQ(limits.Upper(10), 1370.0);
  EXPECT_DOUBLE_EQ(limits.Lower(19), 4.0);
  EXPECT_DOUBLE_EQ(limits.Upper(17), 22.0);
  EXPECT_EQ(limits.UpperTenths(20), 0);
  EXPECT_EQ(limits.UpperTenths(21), 0);
  for (int typ = 1; typ <= 19; ++typ) {
    if (typ == kTypUserThermocouple) continue;
    EXPECT_LT(limits.LowerTenths(typ), limits.UpperTenths(typ)) << typ;
  }
}

TEST(ModuleConfigTables, UserLimitsAreSettablePerObject) {
  InputLimits limits;
  limits.SetUserTenths(-50, 1234);
  EXPECT_DOUBLE_EQ(limits.Lower(15), -5.0);
  EXPECT_DOUBLE_EQ(limits.Upper(15), 123.4);
  EXPECT_EQ(InputLimits().UpperTenths(15), 0);  // a fresh world is untouched
}

TEST(ModuleConfigTables, NamesAndKinds) {
  EXPECT_EQ(ConnectionName(1), "");
  EXPECT_EQ(ConnectionName(2), "2-wire");
  EXPECT_EQ(ConnectionName(11), "min");
  EXPECT_EQ(ConnectionName(12), "");
  EXPECT_EQ(UnitName(8), "\xC2\xB0" "C");
  EXPECT_EQ(UnitName(0), " ");
  EXPECT_EQ(UnitName(10), "kg");
  EXPECT_EQ(UnitName(-1), "");
  EXPECT_TRUE(IsThermocouple(6) && IsThermocouple(15) && !IsThermocouple(16));
  EXPECT_TRUE(IsResistanceThermometer(4) && !IsResistanceThermometer(5));
  EXPECT_TRUE(IsPlainInput(5) && IsPlainInput(20) && !IsPlainInput(15));
}

TEST(MeterModels, ListCodesAndGroups) {
  const auto& models = MeterModels();
  for (int i = 0; i < kMeterModelCount; ++i) {
    // Each listed model's code sits at its list index in the code table.
    ModuleConfig config;
    config.Device = models[static_cast<std::size_t>(i)].name;
    EXPECT_EQ(ModelCode(config), ModelCodeAt(i)) << config.Device;
  }
  EXPECT_EQ(ModelCodeAt(9), kSpareModelCode);
  for (int i = 10; i <= 16; ++i) EXPECT_EQ(ModelCodeAt(i), 0);
  EXPECT_EQ(ModelCodeAt(17), 0);
  EXPECT_EQ(ModelDisplayName("Q5496"), "?");
  EXPECT_EQ(ModelDisplayName("Q5491"), "Q5491");
  EXPECT_EQ(ModelDisplayName("Q5490"), "");

  const std::pair<int, ModelGroup> groups[] = {
      {91, ModelGroup::A}, {94, ModelGroup::A}, {95, ModelGroup::B}, {97, ModelGroup::B},
      {98, ModelGroup::C}, {99, ModelGroup::C}, {90, ModelGroup::None}, {0, ModelGroup::None}};
  for (const auto& [code, group] : groups) EXPECT_EQ(GroupOfModelCode(code), group) << code;
}

TEST(MeterModels, ModelCodeFromDeviceOrIndex) {
  ModuleConfig config;
  config.Device = "Q5494";
  EXPECT_EQ(ModelCode(config), 94);
  config.Device = "Q54x1";
  EXPECT_EQ(ModelCode(config), 0);
  config.Device = "Q54";
  EXPECT_EQ(ModelCode(config), 0);
  config.Device = "Ł5493";  // characters, not bytes
  EXPECT_EQ(ModelCode(config), 93);
  config.Device.clear();
  config.ModelIndex = 8;
  EXPECT_EQ(ModelCode(config), 91);
  config.ModelIndex = 16;
  EXPECT_EQ(ModelCode(config), 0);
  config.ModelIndex = 200;
  EXPECT_EQ(ModelCode(config), 0);
}

TEST(ConsistencyRules, DefaultsOfANewConfigurationStay) {
  ModuleConfig config;
  ApplyConsistencyRules(config, InputLimits());
  EXPECT_EQ(config.Typ, 20);
  EXPECT_EQ(config.Tryb, 0);
  EXPECT_EQ(config.Lin, 0);
  EXPECT_EQ(config.RoomT, 25.0);
  EXPECT_EQ(config.LimitHigh, 200);
  EXPECT_EQ(config.Siec, 50);
  EXPECT_EQ(config.ModelIndex, 16);
  EXPECT_EQ(config.MinInput, 0);
  EXPECT_EQ(config.MaxInput, 0);
}

TEST(ConsistencyRules, InputRange) {
  const InputLimits limits;
  struct Case {
    int typ, lin;
    double min, max, expectedMin, expectedMax;
  };
  const Case cases[] = {
      {10, 1, 10, 5, -150, 1370},       // reversed: whole range
      {10, 1, -200, 100, -150, 100},    // below the lower limit
      {10, 1, 0, 2000, 0, 1370},        // above the upper limit
      {10, 1, 1370, 1370, -150, 1370},  // empty range
      {10, 1, NAN, 100, -150, 100},     // not a number
      {1, 1, -100, 850, -100, 850},     // exactly the limits
      {16, 1, -20, 100, -10, 100},      // plain input without conversion
      {16, 4, -20, 5000, -20, 5000},    // converted plain input: user range
      {15, 0, -1e6, 1e6, -1e6, 1e6},    // user characteristic
      {20, 1, 3, 4, 0, 0},              // no input type
  };
  for (const Case& c : cases) {
    ModuleConfig config;
    config.Typ = static_cast<std::uint8_t>(c.typ);
    config.Lin = static_cast<std::uint8_t>(c.lin);
    config.MinInput = c.min;
    config.MaxInput = c.max;
    ApplyConsistencyRules(config, limits);
    EXPECT_DOUBLE_EQ(config.MinInput, c.expectedMin) << c.typ << " " << c.min;
    EXPECT_DOUBLE_EQ(config.MaxInput, c.expectedMax) << c.typ << " " << c.max;
  }
}

// Each field on both sides of its bounds: a value inside stays, one outside
// is replaced.
TEST(ConsistencyRules, FieldBounds) {
  struct IntField {
    std::int32_t ModuleConfig::*field;
    std::int32_t inside, outside, replacement;
  };
  const IntField intFields[] = {
      {&ModuleConfig::FiltrZakres, 250, 251, 0}, {&ModuleConfig::FiltrZakres, 0, -1, 0},
      {&ModuleConfig::FiltrCzas, 400, 401, 0},   {&ModuleConfig::FiltrCzas, 0, -1, 0},
      {&ModuleConfig::FiltrLimit, 100, 101, 0},  {&ModuleConfig::FiltrLimit, 0, -1, 0},
      {&ModuleConfig::LimitHigh, 200, 201, 200}, {&ModuleConfig::LimitHigh, 0, -1, 200},
      {&ModuleConfig::Jednostki, 9, 10, 0},      {&ModuleConfig::Jednostki, 0, -1, 0},
      {&ModuleConfig::Burnout, 2, 3, 0},         {&ModuleConfig::Burnout, 0, -1, 0},
      {&ModuleConfig::Siec, 60, 55, 50},
  };
  for (const IntField& f : intFields) {
    ModuleConfig config;
    config.*f.field = f.inside;
    ApplyConsistencyRules(config, InputLimits());
    EXPECT_EQ(config.*f.field, f.inside);
    config.*f.field = f.outside;
    ApplyConsistencyRules(config, InputLimits());
    EXPECT_EQ(config.*f.field, f.replacement) << f.outside;
  }

  struct RealField {
    double ModuleConfig::*field;
    double inside, outside, replacement;
  };
  const RealField realFields[] = {
      {&ModuleConfig::RoomT, -0.0001, -0.00011, 25.0}, {&ModuleConfig::RoomT, 50.0001, 50.0002, 25.0},
      {&ModuleConfig::ZeroReg, 1.99991, 1.99992, 0},   {&ModuleConfig::ZeroReg, -1.99991, -2, 0},
      {&ModuleConfig::GainReg, -1.99991, -1.99992, 0}, {&ModuleConfig::GainReg, 1.5, NAN, 0},
  };
  for (const RealField& f : realFields) {
    ModuleConfig config;
    config.*f.field = f.inside;
    ApplyConsistencyRules(config, InputLimits());
    EXPECT_EQ(config.*f.field, f.inside);
    config.*f.field = f.outside;
    ApplyConsistencyRules(config, InputLimits());
    EXPECT_EQ(config.*f.field, f.replacement) << f.outside;
  }
}

TEST(ConsistencyRules, SelectionAndLimitPair) {
  ModuleConfig config;
  config.Typ = 0;
  config.Tryb = 9;
  config.Lin = 3;
  config.LimitLow = 150;
  config.LimitHigh = 100;
  ApplyConsistencyRules(config, InputLimits());
  EXPECT_EQ(config.Typ, 20);
  EXPECT_EQ(config.Tryb, 0);
  EXPECT_EQ(config.Lin, 0);
  EXPECT_EQ(config.LimitLow, 100);

  config.Typ = 21;
  config.Tryb = 8;
  config.Lin = 8;
  config.LimitLow = 201;
  ApplyConsistencyRules(config, InputLimits());
  EXPECT_EQ(config.Typ, 20);
  EXPECT_EQ(config.Tryb, 8);
  EXPECT_EQ(config.Lin, 8);
  EXPECT_EQ(config.LimitLow, 0);
}

}  // namespace
}  // namespace q5480
