// Number layouts of the range fields, the absolute limits and the result
// display.
#include <gtest/gtest.h>

#include "workflow/display_format.h"

namespace q5480 {
namespace {

ModuleConfig Config(int typ, int lin, bool tableLoaded = false) {
  ModuleConfig config;
  config.Typ = static_cast<std::uint8_t>(typ);
  config.Lin = static_cast<std::uint8_t>(lin);
  config.TableLoaded = tableLoaded;
  return config;
}

struct RangeCase {
  int typ;
  int lin;
  double value;
  const char* formatA;
  const char* formatB;
};

TEST(RangeFormats, DecimalsFollowTheInputTypesLimits) {
  const RangeCase cases[] = {
      {10, 2, 1370, " 1370.0", "   1370"},   // K: -150 takes a decimal back
      {10, 2, -150, " -150.0", "   -150"},
      {1, 2, 100, "  100.0", "  100.0"},     // Pt100 -100..850
      {6, 2, 1820, "   1820", "   1820"},    // B 0..1820
      {19, 1, 12, "  12.00", "  12.00"},     // 4..20 mA
      {17, 1, -5, "   -5.0", "  -5.00"},     // -22..22 mA: -20 or lower
      {18, 1, 1.5, "   1.50", "   1.50"},    // -11..11 V: -2 or lower
      {14, 2, 25.25, "   25.2", "   25.2"},  // T -100..400, halves to even
  };
  const InputLimits limits;
  for (const RangeCase& c : cases) {
    SCOPED_TRACE("Typ " + std::to_string(c.typ) + " value " + std::to_string(c.value));
    const ModuleConfig config = Config(c.typ, c.lin);
    EXPECT_EQ(FormatRangeA(c.value, config, limits), c.formatA);
    EXPECT_EQ(FormatRangeB(c.value, config, limits), c.formatB);
  }
}

TEST(RangeFormats, ConvertedInputsUseTheUserLimits) {
  InputLimits limits;
  limits.SetUserTenths(-500, 50);  // -50.0 .. 5.0
  // Format A switches a plain input to type 15 from Lin 2 on.
  EXPECT_EQ(FormatRangeA(100, Config(16, 2), limits), "  100.0");
  EXPECT_EQ(FormatRangeA(100, Config(16, 1), limits), " 100.00");
  // Format B only with a table in memory or a computed conversion.
  EXPECT_EQ(FormatRangeB(100, Config(16, 2, false), limits), "  100.0");
  EXPECT_EQ(FormatRangeB(100, Config(16, 2, true), limits), " 100.00");
  EXPECT_EQ(FormatRangeB(100, Config(16, 4), limits), " 100.00");
  // Narrow user limits give three decimals.
  limits.SetUserTenths(0, 50);
  EXPECT_EQ(FormatRangeA(2.34567, Config(5, 2), limits), "  2.346");
}

TEST(RangeFormats, EqualLimitsCountAsTen) {
  // Type 20 has 0..0: format B takes 10 as the magnitude, so two decimals.
  EXPECT_EQ(FormatRangeB(0, Config(20, 1), InputLimits{}), "   0.00");
}

TEST(AbsoluteLimits, WidthThreeWithTheirMarks) {
  const InputLimits limits;
  const AbsoluteLimitTexts k = FormatAbsoluteLimits(Config(10, 2), limits);
  EXPECT_EQ(k.lower, "-150 ..");
  EXPECT_EQ(k.upper, ".. 1370");
  const AbsoluteLimitTexts pt = FormatAbsoluteLimits(Config(1, 2), limits);
  EXPECT_EQ(pt.lower, "-100.0 ..");
  EXPECT_EQ(pt.upper, ".. 850.0");
  const AbsoluteLimitTexts ma = FormatAbsoluteLimits(Config(19, 1), limits);
  EXPECT_EQ(ma.lower, "4.00 ..");
  EXPECT_EQ(ma.upper, ".. 20.00");
}

struct ResultCase {
  double value;
  const char* text;
};

TEST(ResultNumber, BeforeAReadTheValueChoosesItsDecimals) {
  const ResultCase cases[] = {
      {23.456, "  23.46"}, {123.456, "  123.5"}, {1234.5, "   1234"},
      {-5, "  -5.00"},     {-25.5, "  -25.5"},   {-250, "   -250"},
      {99.999, " 100.00"},  // rounded to hundredths first, decimals from the raw value
  };
  const ModuleConfig config = Config(10, 2);
  for (const ResultCase& c : cases) {
    EXPECT_EQ(FormatResultNumber(c.value, false, config, InputLimits{}), c.text) << c.value;
  }
}

TEST(ResultNumber, AfterAReadTheInputTypeChoosesItsDecimals) {
  struct TypeCase {
    int typ;
    int lin;
    const char* text;
  };
  const TypeCase cases[] = {
      {10, 2, "   23.5"},  // K
      {6, 2, "     24"},   // B: no decimals; 23.5 after the first rounding
      {3, 2, "   23.5"},   // Ni100 -60..180
      {19, 1, "  23.46"},  // 4..20 mA
      {18, 1, "  23.46"},  // -11..11 V
      {16, 1, "  23.46"},  // -10..150 V: 150 gives one, -10 gives two back
  };
  for (const TypeCase& c : cases) {
    SCOPED_TRACE("Typ " + std::to_string(c.typ));
    EXPECT_EQ(FormatResultNumber(23.4561, true, Config(c.typ, c.lin), InputLimits{}), c.text);
  }
}

TEST(ResultDisplay, StatusWordsByPriority) {
  const LanguageTable english;
  const ModuleConfig config = [] {
    ModuleConfig c = Config(10, 2);
    c.Device = "Q5495";
    return c;
  }();
  const auto word = [&](auto set, const ModuleConfig& cfg = ModuleConfig{}) {
    DeviceStatus status;
    status.ModelIndex = 0;
    set(status);
    return ComposeResult(1, status, true, cfg.Device.empty() ? config : cfg, InputLimits{},
                         english);
  };
  const ResultView cal = word([](DeviceStatus& s) { s.CalMode = s.EepromError = s.SensorFault = true; });
  EXPECT_EQ(cal.text, "Cal mode");
  EXPECT_EQ(cal.pointSize, 12);
  EXPECT_TRUE(cal.centred);
  EXPECT_EQ(word([](DeviceStatus& s) { s.EepromError = s.SensorFault = s.OutOfRange = true; }).text,
            "EEPROM error");
  EXPECT_EQ(word([](DeviceStatus& s) { s.SensorFault = s.OutOfRange = true; }).text,
            "Broken sensor");
  EXPECT_EQ(word([](DeviceStatus& s) { s.OutOfRange = true; }).text, "Out of range!");

  // A current loop input and the Q5491 report a fault as out of range.
  ModuleConfig loop = Config(19, 1);
  loop.Device = "Q5495";
  EXPECT_EQ(word([](DeviceStatus& s) { s.SensorFault = true; }, loop).text, "Out of range!");
  ModuleConfig q5491 = Config(10, 2);
  q5491.Device = "Q5491";
  EXPECT_EQ(word([](DeviceStatus& s) { s.SensorFault = true; }, q5491).text, "Out of range!");
}

TEST(ResultDisplay, UnitAndTrailingBlanksMakeOneWidth) {
  const LanguageTable english;
  struct UnitCase {
    int unit;
    const char* text;
  };
  const UnitCase cases[] = {
      {8, "   23.5 °C  "},  // ten characters (the degree sign is one)
      {4, "   23.5 mA  "},
      {5, "   23.5 Ohm "},
      {6, "   23.5 kOhm"},
      {1, "   23.5 V   "},
      {15, "   23.5    "},  // no unit reported
  };
  for (const UnitCase& c : cases) {
    DeviceStatus status;
    status.ModelIndex = 0;
    status.ResultUnit = static_cast<std::uint8_t>(c.unit);
    const ResultView view = ComposeResult(23.456, status, true, Config(10, 2), InputLimits{}, english);
    EXPECT_EQ(view.text, c.text) << c.unit;
    EXPECT_EQ(view.pointSize, 18);
    EXPECT_FALSE(view.centred);
  }
}

TEST(ResultDisplay, SpareModelCodeShowsNothing) {
  DeviceStatus status;
  status.ModelIndex = 9;  // the spare code 90
  status.CalMode = true;
  EXPECT_EQ(ComposeResult(1, status, true, Config(10, 2), InputLimits{}, LanguageTable{}).text, "");
}

TEST(OutputDisplay, TwoDecimalsWidthFive) {
  EXPECT_EQ(FormatCurrentNumber(4), " 4.00");
  EXPECT_EQ(FormatCurrentNumber(12.346), "12.35");
  EXPECT_EQ(FormatCurrentNumber(20.004), "20.00");
}

}  // namespace
}  // namespace q5480
