#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "config/numbers.h"

namespace q5480 {
namespace {

TEST(ParseNumber, EntryRule) {
  struct Case {
    const char* text;
    std::optional<double> expected;
  };
  const Case cases[] = {
      {"12,6", 12.6},     {"12.5", 12.5},       {"  -3,25\t", -3.25}, {"+7", 7.0},
      {"1e3", 1000.0},    {"2,5E-3", 0.0025},   {"-1.5e+2", -150.0},  {".5", 0.5},
      {"5.", 5.0},        {"0", 0.0},           {"1,000.5", std::nullopt},
      {"1.000,5", std::nullopt},                {"1.2.3", std::nullopt},
      {"1,2,3", std::nullopt},                  {"", std::nullopt},   {"   ", std::nullopt},
      {"-", std::nullopt}, {".", std::nullopt}, {"e5", std::nullopt}, {"1e", std::nullopt},
      {"inf", std::nullopt}, {"-INF", std::nullopt}, {"nan", std::nullopt},
      {"0x1A", std::nullopt}, {"12abc", std::nullopt}, {"1 2", std::nullopt},
      {"1e999", std::nullopt}, {"--1", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<double> result = ParseNumber(c.text);
    ASSERT_EQ(result.has_value(), c.expected.has_value()) << '"' << c.text << '"';
    if (result) {
      EXPECT_DOUBLE_EQ(*result, *c.expected) << '"' << c.text << '"';
    }
  }
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, double> cases[] = {
      {0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {-3.5, -4}, {12.5, 12}, {12.6, 13},
      {-0.4, 0}, {1e15 + 0.5, 1e15},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(RoundHalfEven(value), expected) << value;
}

TEST(Rounding, ToInt64RefusesWhatDoesNotFit) {
  EXPECT_EQ(RoundToInt64(2.5), 2);
  EXPECT_EQ(RoundToInt64(-7.5), -8);
  EXPECT_EQ(RoundToInt64(-9223372036854775808.0), std::numeric_limits<std::int64_t>::min());
  EXPECT_FALSE(RoundToInt64(9223372036854775808.0));
  EXPECT_FALSE(RoundToInt64(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(RoundToInt64(std::numeric_limits<double>::infinity()));
}

TEST(FormatGeneral, ShortestTextUpToThePrecision) {
  struct Case {
    double value;
    int precision;
    char separator;
    const char* expected;
  };
  const Case cases[] = {
      {0.1, 15, '.', "0.1"},
      {1370, 15, '.', "1370"},
      {-0.5, 15, '.', "-0.5"},
      {0.5, 15, ',', "0,5"},
      {1e15, 15, '.', "1E15"},
      {123456789012345, 15, '.', "123456789012345"},
      {0, 15, '.', "0"},
      {-0.0, 15, '.', "0"},
      {1e-10, 15, '.', "1E-10"},
      {1.5e20, 15, '.', "1.5E20"},
      {-2.5e-7, 15, ',', "-2,5E-7"},
      {0.00001, 15, '.', "0.00001"},
      {0.000123, 15, '.', "0.000123"},
      {1.0 / 3.0, 15, '.', "0.333333333333333"},
      {2.0 / 3.0, 6, '.', "0.666667"},
      {999999.5, 6, '.', "1E6"},
      {123456.4, 6, '.', "123456"},
      {-150, 15, '.', "-150"},
      {25.0001, 15, ',', "25,0001"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatGeneral(c.value, c.precision, c.separator), c.expected) << c.value;
  }
}

TEST(FormatGeneral, RoundTripsThroughTheEntryRule) {
  const double values[] = {0.1, 1.0 / 7.0, -273.15, 1e-7, 6.02214076e23, 1234.5678, 0.3};
  for (char separator : {'.', ','}) {
    for (double value : values) {
      const std::string text = FormatFloat(value, RegionalSettings{separator, "hh:mm:ss"});
      const std::optional<double> back = ParseNumber(text);
      ASSERT_TRUE(back) << text;
      EXPECT_NEAR(*back, value, std::fabs(value) * 1e-14) << text;
    }
  }
}

TEST(FormatFixedAndExponent, WidthsDecimalsAndExponents) {
  EXPECT_EQ(FormatFixed(1370, 7, 1), " 1370.0");
  EXPECT_EQ(FormatFixed(-2.345, 0, 2), "-2.35");  // -2.345 is stored just above
  EXPECT_EQ(FormatFixed(0.125, 6, 2), "  0.12");
  EXPECT_EQ(FormatFixed(12345.678, 3, 0), "12346");
  EXPECT_EQ(FormatFixed(-0.04, 5, 1), "  0.0");  // rounds to zero: no minus sign
  EXPECT_EQ(FormatFixed(-0.0, 0, 2), "0.00");
  EXPECT_EQ(FormatExponent(0.0005, 6, '.', 1), "5.00000E-4");
  EXPECT_EQ(FormatExponent(-123.456, 4, ',', 3), "-1,235E+002");
  EXPECT_EQ(FormatExponent(0, 3, '.', 2), "0.00E+00");
  EXPECT_EQ(FormatInt(-42), "-42");
  EXPECT_EQ(FormatInt(2147483647), "2147483647");
}

TEST(Formats, NonFiniteValuesAreShownNotHidden) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(FormatGeneral(inf, 15, '.'), "INF");
  EXPECT_EQ(FormatGeneral(-inf, 15, '.'), "-INF");
  EXPECT_EQ(FormatGeneral(std::nan(""), 15, '.'), "NAN");
  EXPECT_EQ(FormatFixed(inf, 5, 1), "  INF");
}

}  // namespace
}  // namespace q5480
