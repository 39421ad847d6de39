// Power series and linear conversions with the range rules they share.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>

#include "conversion/linear_conversion.h"
#include "conversion/power_series.h"
#include "conversion/range_rules.h"
#include "conversion/user_table.h"

namespace q5480 {
namespace {

// The key of a refusal, "" when accepted.
std::string KeyOf(const std::optional<Refusal>& refusal) { return refusal ? refusal->key : ""; }

class ConversionRulesTest : public ::testing::Test {
 protected:
  void Series(int typ, double inMin, double inMax, std::array<double, 9> c) {
    config.Typ = static_cast<std::uint8_t>(typ);
    config.Lin = kLinSeries;
    std::copy(c.begin(), c.end(), config.Coefficients.begin());
    config.Coefficients[9] = inMin;
    config.Coefficients[10] = inMax;
    state.TableType = static_cast<std::uint8_t>(typ);
  }

  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
  ConversionContext context{config, limits, state};
};

TEST_F(ConversionRulesTest, SeriesSamplingCheck) {
  struct Case {
    const char* name;
    int typ;
    double inMin, inMax;
    std::array<double, 9> c;
    const char* reason;
  };
  const Case cases[] = {
      {"identity", 19, 4, 20, {0, 1}, ""},
      {"constant", 19, 4, 20, {5, 0}, "Transfer function is not monotonic"},
      {"rises then falls", 19, 4, 20, {0, 20, -1}, "Transfer function is not monotonic"},
      {"falling", 19, 4, 20, {100, -1}, ""},
      {"10000 at the top", 19, 4, 20, {0, 500}, "Value out of range"},
      {"9999 at the top", 19, 4, 20, {0, 499.95}, ""},
      {"signal beyond the type", 19, 3, 20, {0, 1}, "Value out of range"},
      {"overflow", 17, -22, 22, {0, 1, 0, 0, 0, 0, 0, 0, 1e300}, "Power series calculation error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Series(c.typ, c.inMin, c.inMax, c.c);
    const std::optional<Refusal> refusal = CheckSeries(config, state.TableType, limits);
    EXPECT_EQ(KeyOf(refusal), c.reason);
    EXPECT_TRUE(!refusal || refusal->focus == DialogField::FirstCoefficient);
  }
}

TEST_F(ConversionRulesTest, SeriesDialogChecks) {
  Series(19, 4, 20, {-0.07, 1.3333});  // 5.2632 and 26.596, truncated
  ResultRange range;
  EXPECT_EQ(CheckSeriesDefinition(config, 19, limits, range), std::nullopt);
  EXPECT_NEAR(range.resMin, 5.2, 1e-12);
  EXPECT_NEAR(range.resMax, 26.5, 1e-12);
  SetUserLimitsFromResults(range.resMin, range.resMax, limits);
  EXPECT_EQ(std::pair(limits.LowerTenths(15), limits.UpperTenths(15)), std::pair(52, 265));
  struct Case {
    DialogField field;
    double value;
    const char* key;
  };
  for (const Case& c : {Case{DialogField::InMin, 3.9, "Minimum out of range!"},
                        {DialogField::InMin, 19.5, "Input range too small!"},
                        {DialogField::InMax, 20.5, "Maximum out of range!"},
                        {DialogField::InMax, 4.5, "Input range too small!"},
                        {DialogField::InMax, 5.0, ""}}) {
    EXPECT_EQ(KeyOf(CheckSeriesSignalField(c.field, c.value, config, 19, limits)), c.key)
        << c.value;
  }

  Series(18, 0, 1, {0, 0.05});  // 0 to 0.05 truncates to an empty range
  const auto refusal = CheckSeriesDefinition(config, 18, limits, range);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(std::tuple(refusal->key, refusal->exclamation, refusal->focus),
            std::tuple("Range too small", true, DialogField::FirstCoefficient));
  Series(19, 4, 4.5, {0, 1});  // span below the minimum of the type
  EXPECT_EQ(KeyOf(CheckSeriesDefinition(config, 19, limits, range)), "Input range too small!");

  EXPECT_EQ(KeyOf(CheckCoefficient(2e40)), "Out of range!");
  EXPECT_EQ(CheckCoefficient(-1e40), std::nullopt);
  EXPECT_EQ(FormatCoefficient(0.0005, '.'), "5.00000E-4");
  EXPECT_EQ(FormatCoefficient(0.5, '.'), "0.5");
  EXPECT_EQ(FormatCoefficient(0, ','), "0");
  EXPECT_EQ(FormatCoefficient(-1234567, '.'), "-1.23457E6");
}

TEST_F(ConversionRulesTest, LinearCoefficientsAndUserLimits) {
  struct Case {
    LinearDefinition definition;
    int tableType, unit;
    double a0, a1;
    int lowerTenths, upperTenths;
  };
  for (const Case& c : {Case{{-10, 150, 0, 1600}, 16, 2, -10, 0.1, 0, 16000},
                        Case{{4, 20, 100, 0}, 19, 9, 20, -0.16, 0, 1000}}) {
    EXPECT_EQ(ValidateLinear(c.definition, c.tableType, limits), std::nullopt);
    ApplyLinear(c.definition, c.unit, context);
    EXPECT_DOUBLE_EQ(config.Coefficients[0], c.a0);
    EXPECT_DOUBLE_EQ(config.Coefficients[1], c.a1);
    EXPECT_EQ(std::pair(limits.LowerTenths(15), limits.UpperTenths(15)),
              std::pair(c.lowerTenths, c.upperTenths));
    EXPECT_EQ(std::pair(config.Jednostki, state.ConversionConfirmed),
              std::pair(c.unit, std::uint8_t{1}));
  }
}

TEST_F(ConversionRulesTest, LinearFieldChecks) {
  // Against 0 to 100 mV and 0 to 1000: refused (the definition unchanged), or accepted and stored
  // as `stored`.
  struct Case {
    const char* name;
    DialogField field;
    double value;
    const char* key;
    bool exclamation;
    double stored;
  };
  const Case cases[] = {
      {"span 3.9 mV", DialogField::InMax, 3.9, "Input range too small!", false, 100},
      {"span just under 4 mV", DialogField::InMax, 3.9999995, "", false, 3.9999995},
      {"maximum above the type", DialogField::InMax, 150.1, "Maximum out of range!", false, 100},
      {"minimum below the type", DialogField::InMin, -10.1, "Minimum out of range!", false, 0},
      {"minimum above maximum", DialogField::InMin, 120, "Values should rise", false, 0},
      {"minimum close to maximum", DialogField::InMin, 97, "Input range too small!", false, 0},
      {"result minimum far out", DialogField::ResMin, 12345.6, "Minimum out of range!", false, 0},
      {"result minimum truncated", DialogField::ResMin, -12.34, "", false, -12.3},
      {"result maximum 0.3 stays 0.3", DialogField::ResMax, 0.3, "", false, 0.3},
      {"result maximum equal to minimum", DialogField::ResMax, 0.05, "Range too small", true, 1000},
      {"result maximum far out", DialogField::ResMax, 10000.4, "Maximum out of range!", false,
       1000},
      {"result maximum truncated", DialogField::ResMax, 250.06, "", false, 250},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LinearDefinition definition{0, 100, 0, 1000};
    const auto refusal = CheckLinearField(c.field, c.value, definition, 16, limits);
    EXPECT_EQ(KeyOf(refusal), c.key);
    if (refusal) {
      EXPECT_EQ(std::pair(refusal->exclamation, refusal->focus), std::pair(c.exclamation, c.field));
    }
    const double got[] = {definition.inMin, definition.inMax, definition.resMin, definition.resMax};
    double want[] = {0, 100, 0, 1000};
    want[static_cast<int>(c.field)] = c.stored;  // fields in the order of DialogField
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], want[i], 1e-9) << i;
  }
}

TEST_F(ConversionRulesTest, LinearOkChecksInOrder) {
  struct Case {
    const char* name;
    LinearDefinition definition;
    const char* key;
    DialogField focus;
  };
  const Case cases[] = {
      {"minimum below", {-10.1, 100, 0, 100}, "Minimum out of range!", DialogField::InMin},
      {"maximum above", {0, 150.1, 0, 100}, "Maximum out of range!", DialogField::InMax},
      {"span too small, room below",
       {50, 53, 0, 100},
       "Input range too small!",
       DialogField::InMin},
      {"span too small at the bottom",
       {-10, -7, 0, 100},
       "Input range too small!",
       DialogField::InMax},
      {"result minimum out", {0, 100, -2000, 100}, "Minimum out of range!", DialogField::ResMin},
      {"result maximum out", {0, 100, 0, 10000}, "Maximum out of range!", DialogField::ResMax},
      {"result range 0.05", {0, 100, 10, 10.05}, "Range too small", DialogField::ResMin},
  };
  for (const Case& c : cases) {
    const auto refusal = ValidateLinear(c.definition, 16, limits);
    ASSERT_TRUE(refusal) << c.name;
    EXPECT_EQ(std::pair(refusal->key, refusal->focus), std::pair(std::string(c.key), c.focus))
        << c.name;
  }
}

TEST_F(ConversionRulesTest, LinearStartValuesAndUserRange) {
  state.TableType = 17;
  LinearDefinition start = LinearStartValues(context);
  EXPECT_EQ(std::tuple(start.inMin, start.inMax, start.resMin, start.resMax),
            std::tuple(-22.0, 22.0, -1999.0, 9999.0));
  config.Typ = 17;
  config.Lin = kLinLinear;
  ApplyLinear({0, 20, 0, 500}, 9, context);
  state.ConversionConfirmed = 0;
  start = LinearStartValues(context);
  EXPECT_NEAR(start.inMin, 0, 1e-12);
  EXPECT_NEAR(start.inMax, 20, 1e-12);
  EXPECT_EQ(start.resMax, 500);
  state.ConversionConfirmed = 1;  // confirmed since the selection opened: start afresh
  EXPECT_EQ(LinearStartValues(context).resMax, 9999);

  config.Typ = 16;
  ApplyLinear({-10, 150, 0, 1600}, 2, context);
  EXPECT_TRUE(UserRangeFits(16, config, state.Table, limits));
  ApplyLinear({-10, 160, 0, 1600}, 2, context);  // the top maps beyond 150 mV
  EXPECT_FALSE(UserRangeFits(16, config, state.Table, limits));
  ApplyLinear({0, 3.9, 0, 1600}, 2, context);  // narrower than the minimum span
  EXPECT_FALSE(UserRangeFits(16, config, state.Table, limits));
}

TEST_F(ConversionRulesTest, SignalSpanAndFilterSuggestion) {
  struct Case {
    int typ, lin;
    double maxInput;
    int filtrZakres, filtrCzas;
    bool spanOk;
  };
  for (const Case& c : {Case{1, kLinTable, 100, 1, 26, true},
                        {1, kLinTable, 30, 4, 47, false},
                        {10, kLinTable, 1000, 1, 20, true},
                        {16, kLinNone, 0.05, 250, 375, false},
                        {5, kLinNone, 20, 2, 36, true}}) {  // a resistance counts 0.4 of its span
    config.Typ = static_cast<std::uint8_t>(c.typ);
    config.Lin = static_cast<std::uint8_t>(c.lin);
    config.MinInput = 0;
    config.MaxInput = c.maxInput;
    const FilterSuggestion filter = SuggestFilter(config, state.Table);
    EXPECT_EQ(std::tuple(filter.FiltrZakres, filter.FiltrCzas, CheckSignalSpan(config, state)),
              std::tuple(c.filtrZakres, c.filtrCzas, c.spanOk))
        << c.typ << " " << c.maxInput;
  }
  config.Typ = 15;  // user data not loaded: nothing to check
  config.TableLoaded = false;
  EXPECT_TRUE(CheckSignalSpan(config, state));
}

TEST(DisplayRulesTest, SignalAndResultValues) {
  for (const auto& [value, text] : {std::pair{12.3456, "12.346"},
                                    {-10.0, "-10.000"},
                                    {1234.567, "1234.57"},
                                    {1000.0, "1000.00"},
                                    {-1000.0, "-1000.00"},
                                    {999.5, "999.500"}}) {
    EXPECT_EQ(FormatSignalValue(value), text);
  }
  for (const auto& [value, text] : {std::pair{12.0, "12"},
                                    {12.39, "12.3"},
                                    {0.3, "0.3"},
                                    {-1999.0, "-1999"},
                                    {-0.36, "-0.3"}}) {
    EXPECT_EQ(FormatResultValue(value), text);
  }
}

}  // namespace
}  // namespace q5480
