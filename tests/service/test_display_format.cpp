// Number layouts of the range fields, the absolute limits and the result
// display.
#include <gtest/gtest.h>

#include "service/display_format.h"

namespace q5480 {
namespace {

ModuleConfig Config(int typ, int lin, bool tableLoaded = false) {
  ModuleConfig config;
  config.Typ = static_cast<std::uint8_t>(typ);
  config.Lin = static_cast<std::uint8_t>(lin);
  config.TableLoaded = tableLoaded;
  return config;
}

TEST(RangeFormats, DecimalsFollowTheLimitsOfTheInputType) {
  struct Case {
    int typ, lin;
    bool table;
    double value;
    const char* formatA;
    const char* formatB;
  };
  const Case cases[] = {
      {10, 2, false, 1370, " 1370.0", "   1370"},  // K: -150 takes a decimal back
      {10, 2, false, -150, " -150.0", "   -150"},
      {1, 2, false, 100, "  100.0", "  100.0"},   // Pt100 -100..850
      {6, 2, false, 1820, "   1820", "   1820"},  // B 0..1820
      {19, 1, false, 12, "  12.00", "  12.00"},   // 4..20 mA
      {17, 1, false, -5, "   -5.0", "  -5.00"},   // -22..22 mA: -20 or lower
      {18, 1, false, 1.5, "   1.50", "   1.50"},  // -11..11 V: -2 or lower
      // A value with more decimals than the limits give keeps them (up to 3).
      {14, 2, false, 25.25, "  25.25", "  25.25"},
      {10, 2, false, 100.5, "  100.5", "  100.5"},
      {20, 1, false, 0, "  0.000", "   0.00"},  // 0..0: format B counts it as 10
      // The user limits (-50.0..5.0): format A from Lin 2 on, format B only
      // with a table in memory or a computed conversion.
      {16, 1, false, 100, " 100.00", "  100.0"},
      {16, 2, false, 100, "  100.0", "  100.0"},
      {16, 2, true, 100, "  100.0", " 100.00"},
      {16, 4, false, 100, "  100.0", " 100.00"},
  };
  InputLimits limits;
  limits.SetUserTenths(-500, 50);
  for (const Case& c : cases) {
    SCOPED_TRACE("Typ " + std::to_string(c.typ) + " Lin " + std::to_string(c.lin) + " value " +
                 std::to_string(c.value));
    const ModuleConfig config = Config(c.typ, c.lin, c.table);
    EXPECT_EQ(FormatRangeA(c.value, config, limits), c.formatA);
    EXPECT_EQ(FormatRangeB(c.value, config, limits), c.formatB);
  }
  // User limits ending exactly on 1000, 100 and 10 take the fewer decimals.
  for (const auto& [upperTenths, text] : {std::pair{10000, "      2"},
                                          {9999, "    2.0"},
                                          {1000, "    2.0"},
                                          {999, "   2.00"},
                                          {100, "   2.00"},
                                          {99, "  2.000"}}) {
    limits.SetUserTenths(0, upperTenths);
    EXPECT_EQ(FormatRangeA(2, Config(5, 2), limits), text) << upperTenths;
  }
  // Narrow user limits give three decimals.
  limits.SetUserTenths(0, 50);
  EXPECT_EQ(FormatRangeA(2.34567, Config(5, 2), limits), "  2.346");

  // The absolute limits beside the range fields: width three.
  const auto absolute = [](int typ, int lin) {
    const AbsoluteLimitTexts texts = FormatAbsoluteLimits(Config(typ, lin), InputLimits{});
    return texts.lower + " " + texts.upper;
  };
  EXPECT_EQ(absolute(10, 2), "-150 .. .. 1370");
  EXPECT_EQ(absolute(1, 2), "-100.0 .. .. 850.0");
  EXPECT_EQ(absolute(19, 1), "4.00 .. .. 20.00");
}

TEST(ResultNumber, DecimalsFromTheValueUntilAReadThenFromTheInputType) {
  struct Case {
    bool read;
    int typ;
    double value;
    const char* text;
  };
  const Case cases[] = {
      {false, 10, 23.456, "  23.46"}, {false, 10, 123.456, "  123.5"},
      {false, 10, 1234.5, "   1234"}, {false, 10, -5, "  -5.00"},
      {false, 10, -25.5, "  -25.5"},  {false, 10, -250, "   -250"},
      {false, 10, 99.999, " 100.00"},  // rounded to hundredths first, decimals from the raw value
      {true, 10, 23.4561, "   23.5"},  // K
      {true, 6, 23.4561, "     24"},   // B: no decimals; 23.5 after the first rounding
      {true, 3, 23.4561, "   23.5"},   // Ni100 -60..180
      {true, 19, 23.4561, "  23.46"},  // 4..20 mA
      {true, 16, 23.4561, "  23.46"},  // -10..150 V: 150 gives one, -10 gives two back
  };
  for (const Case& c : cases) {
    const ModuleConfig config = Config(c.typ, c.typ >= 16 ? 1 : 2);
    EXPECT_EQ(FormatResultNumber(c.value, c.read, config, InputLimits{}), c.text)
        << c.read << " " << c.typ << " " << c.value;
  }
  EXPECT_EQ(FormatCurrentNumber(4), " 4.00");
  EXPECT_EQ(FormatCurrentNumber(12.346), "12.35");
}

}  // namespace
}  // namespace q5480
