#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "config/numbers.h"

namespace q5480 {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Numbers, EntryRuleAndRoundingHalvesToEven) {
  const std::pair<const char*, std::optional<double>> texts[] = {
      {"12,6", 12.6},
      {"12.5", 12.5},
      {"  -3,25\t", -3.25},
      {"+7", 7.0},
      {"1e3", 1000.0},
      {"2,5E-3", 0.0025},
      {"-1.5e+2", -150.0},
      {".5", 0.5},
      {"5.", 5.0},
      {"0", 0.0},
      // With a "." present a "," is just a stray character.
      {"1,000.5", std::nullopt},
      {"1.000,5", std::nullopt},
      {"1.2.3", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {".", std::nullopt},
      {"e5", std::nullopt},
      {"1e", std::nullopt},
      {"inf", std::nullopt},
      {"-INF", std::nullopt},
      {"nan", std::nullopt},
      {"0x1A", std::nullopt},
      {"12abc", std::nullopt},
      {"1 2", std::nullopt},
      {"1e999", std::nullopt},
      {"--1", std::nullopt},
  };
  for (const auto& [text, value] : texts) EXPECT_EQ(ParseNumber(text), value) << text;
  // Halves go to the even neighbour; RoundToInt64 refuses what does not fit.
  const std::pair<double, double> values[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},
                                              {-2.5, -2}, {-3.5, -4}, {12.5, 12},
                                              {12.6, 13}, {-0.4, 0},  {1e15 + 0.5, 1e15}};
  for (const auto& [value, expected] : values) {
    EXPECT_EQ(RoundHalfEven(value), expected) << value;
    EXPECT_EQ(RoundToInt64(value), static_cast<std::int64_t>(expected)) << value;
  }
  EXPECT_EQ(RoundToInt64(-0x1p63), std::numeric_limits<std::int64_t>::min());
  for (double beyond : {0x1p63, std::nan(""), kInf}) EXPECT_EQ(RoundToInt64(beyond), std::nullopt);
}

// The 15-digit form is what the program's files hold: it must read back.
TEST(Formats, GeneralFixedAndExponent) {
  const std::tuple<double, int, char, const char*> cases[] = {
      {0.1, 15, '.', "0.1"},
      {1370, 15, '.', "1370"},
      {-0.5, 15, '.', "-0.5"},
      {0.5, 15, ',', "0,5"},
      {1e15, 15, '.', "1E15"},
      {0, 15, '.', "0"},
      {-0.0, 15, '.', "0"},
      {1e-10, 15, '.', "1E-10"},
      {1.5e20, 15, '.', "1.5E20"},
      {-2.5e-7, 15, ',', "-2,5E-7"},
      {0.00001, 15, '.', "0.00001"},
      {kInf, 15, '.', "INF"},
      {0.000123, 15, '.', "0.000123"},
      {2.0 / 3.0, 6, '.', "0.666667"},
      {-kInf, 15, '.', "-INF"},
      {999999.5, 6, '.', "1E6"},
      {123456.4, 6, '.', "123456"},
      {std::nan(""), 15, '.', "NAN"},
      {25.0001, 15, ',', "25,0001"},
      {123456789012345, 15, '.', "123456789012345"},
      {1.0 / 3.0, 15, '.', "0.333333333333333"},
  };
  for (const auto& [value, precision, separator, expected] : cases) {
    EXPECT_EQ(FormatGeneral(value, precision, separator), expected) << value;
  }
  for (double value : {1.0 / 7.0, -273.15, 1e-7, 6.02214076e23}) {
    const std::string text = FormatFloat(value, RegionalSettings{',', "hh:mm:ss"});
    EXPECT_NEAR(ParseNumber(text).value_or(0), value, std::fabs(value) * 1e-14) << text;
  }
  // Fixed point with a width, and exponent form.
  EXPECT_EQ(FormatFixed(1370, 7, 1), " 1370.0");
  EXPECT_EQ(FormatFixed(-2.345, 0, 2), "-2.35");  // -2.345 is stored just above
  EXPECT_EQ(FormatFixed(0.125, 6, 2), "  0.12");  // an exact half goes to even
  EXPECT_EQ(FormatFixed(12345.678, 3, 0), "12346");
  EXPECT_EQ(FormatFixed(-0.04, 5, 1), "  0.0");  // rounds to zero: no minus sign
  EXPECT_EQ(FormatFixed(-0.0, 0, 2), "0.00");
  EXPECT_EQ(FormatFixed(kInf, 5, 1), "  INF");
  EXPECT_EQ(FormatExponent(0.0005, 6, '.', 1), "5.00000E-4");
  EXPECT_EQ(FormatExponent(-123.456, 4, ',', 3), "-1,235E+002");
  EXPECT_EQ(FormatExponent(0, 3, '.', 2), "0.00E+00");
}

}  // namespace
}  // namespace q5480
