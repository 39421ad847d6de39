// Power series and linear conversions with the range rules they share.
#include <gtest/gtest.h>

#include <string>

#include "conversion/linear_conversion.h"
#include "conversion/power_series.h"
#include "conversion/range_rules.h"
#include "conversion/user_table.h"

namespace q5480 {
namespace {

class ConversionRulesTest : public ::testing::Test {
 protected:
  void Series(int typ, double inMin, double inMax, std::array<double, 9> c) {
    config.Typ = static_cast<std::uint8_t>(typ);
    config.Lin = kLinSeries;
    for (std::size_t i = 0; i < 9; ++i) config.Coefficients[i] = c[i];
    config.Coefficients[9] = inMin;
    config.Coefficients[10] = inMax;
    state.TableType = static_cast<std::uint8_t>(typ);
  }
  bool Check(std::string& reason) { return CheckSeries(config, state.TableType, limits, reason); }

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
    bool ok;
    const char* reason;
  };
  const Case cases[] = {
      {"identity", 19, 4, 20, {0, 1}, true, ""},
      {"constant", 19, 4, 20, {5, 0}, false, "Transfer function is not monotonic"},
      {"rises then falls", 19, 4, 20, {0, 20, -1}, false, "Transfer function is not monotonic"},
      {"falling", 19, 4, 20, {100, -1}, true, ""},
      {"10000 at the top", 19, 4, 20, {0, 500}, false, "Value out of range"},
      {"9999 at the top", 19, 4, 20, {0, 499.95}, true, ""},
      {"signal beyond the type", 19, 3, 20, {0, 1}, false, "Value out of range"},
      {"overflow", 17, -22, 22, {0, 1, 0, 0, 0, 0, 0, 0, 1e300}, false, "Power series calculation error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Series(c.typ, c.inMin, c.inMax, c.c);
    std::string reason = "stale";
    EXPECT_EQ(Check(reason), c.ok);
    EXPECT_EQ(reason, c.reason);
  }
}

TEST_F(ConversionRulesTest, SeriesFailsAtTheFirstFallingSample) {
  Series(19, 4, 20, {0, 20, -1});  // peak at 10 mA
  std::string reason;
  state.Table[0].x = 7;  // an earlier table stays when sampling fails
  EXPECT_FALSE(SampleSeriesToTable(config, state, limits, reason));
  EXPECT_EQ(state.Table.Count(), 7);
}

TEST_F(ConversionRulesTest, SeriesSamplesBecomeTheUserTable) {
  Series(17, -20, 20, {1, 2, 0.01});
  std::string reason;
  ASSERT_TRUE(SampleSeriesToTable(config, state, limits, reason));
  ASSERT_EQ(state.Table.Count(), 801);
  for (int k : {1, 400, 801}) {
    const double x = -20 + (k - 1) * 0.05;
    EXPECT_NEAR(state.Table[k].y, x, 1e-12);
    EXPECT_NEAR(state.Table[k].x, 1 + 2 * x + 0.01 * x * x, 1e-12);
  }
  EXPECT_NEAR(TableValue(1 + 2 * 3.3 + 0.01 * 3.3 * 3.3, state.Table), 3.3, 1e-9);
}

TEST_F(ConversionRulesTest, SeriesResultRangeIsTruncatedToTenths) {
  Series(19, 4, 20, {0, 1});
  ResultRange range;
  EXPECT_EQ(CheckSeriesDefinition(config, 19, limits, range), std::nullopt);
  EXPECT_DOUBLE_EQ(range.resMin, 4);
  EXPECT_DOUBLE_EQ(range.resMax, 20);

  Series(19, 4, 20, {-0.07, 1.3333});  // 5.2632 and 26.596
  range = SeriesResultRange(config);
  EXPECT_NEAR(range.resMin, 5.2, 1e-12);
  EXPECT_NEAR(range.resMax, 26.5, 1e-12);
  SetUserLimitsFromResults(range.resMin, range.resMax, limits);
  EXPECT_EQ(limits.LowerTenths(15), 52);
  EXPECT_EQ(limits.UpperTenths(15), 265);

  Series(18, 0, 1, {0, 0.05});  // 0 to 0.05 truncates to an empty range
  const auto refusal = CheckSeriesDefinition(config, 18, limits, range);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->key, "Range too small");
  EXPECT_TRUE(refusal->exclamation);
  EXPECT_EQ(refusal->focus, DialogField::FirstCoefficient);

  Series(19, 4, 4.5, {0, 1});  // span below the minimum of the type
  const auto narrow = CheckSeriesDefinition(config, 19, limits, range);
  ASSERT_TRUE(narrow);
  EXPECT_EQ(narrow->key, "Input range too small!");
  EXPECT_EQ(CheckCoefficient(2e40)->key, "Out of range!");
  EXPECT_EQ(CheckCoefficient(-1e40), std::nullopt);
}

TEST_F(ConversionRulesTest, LinearCoefficientsAndUserLimits) {
  state.TableType = 16;
  const LinearDefinition definition{-10, 150, 0, 1600};
  EXPECT_EQ(ValidateLinear(definition, 16, limits), std::nullopt);
  ApplyLinear(definition, 2, context);
  EXPECT_DOUBLE_EQ(config.Coefficients[1], 0.1);
  EXPECT_DOUBLE_EQ(config.Coefficients[0], -10);
  EXPECT_EQ(config.Coefficients[9], 0);
  EXPECT_EQ(config.Coefficients[10], 1600);
  EXPECT_EQ(limits.LowerTenths(15), 0);
  EXPECT_EQ(limits.UpperTenths(15), 16000);
  EXPECT_EQ(config.Jednostki, 2);
  EXPECT_EQ(state.ConversionConfirmed, 1);

  const LinearDefinition reversed{4, 20, 100, 0};
  EXPECT_EQ(ValidateLinear(reversed, 19, limits), std::nullopt);
  ApplyLinear(reversed, 9, context);
  EXPECT_DOUBLE_EQ(config.Coefficients[1], -0.16);
  EXPECT_DOUBLE_EQ(config.Coefficients[0], 20);
  EXPECT_EQ(limits.LowerTenths(15), 0);
  EXPECT_EQ(limits.UpperTenths(15), 1000);
}

TEST_F(ConversionRulesTest, LinearFieldChecks) {
  struct Case {
    const char* name;
    DialogField field;
    double value;
    const char* key;  // nullptr: accepted
    bool exclamation;
  };
  const Case cases[] = {
      {"span 3.9 mV", DialogField::InMax, 3.9, "Input range too small!", false},
      {"span just under 4 mV", DialogField::InMax, 3.9999995, nullptr, false},
      {"maximum above the type", DialogField::InMax, 150.1, "Maximum out of range!", false},
      {"minimum below the type", DialogField::InMin, -10.1, "Minimum out of range!", false},
      {"minimum above maximum", DialogField::InMin, 120, "Values should rise", false},
      {"minimum close to maximum", DialogField::InMin, 97, "Input range too small!", false},
      {"result minimum far out", DialogField::ResMin, 12345.6, "Minimum out of range!", false},
      {"result maximum equal to minimum", DialogField::ResMax, 0.05, "Range too small", true},
      {"result maximum far out", DialogField::ResMax, 10000.4, "Maximum out of range!", false},
      {"result maximum", DialogField::ResMax, 250.06, nullptr, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LinearDefinition definition{0, 100, 0, 1000};
    const LinearDefinition before = definition;
    const auto refusal = CheckLinearField(c.field, c.value, definition, 16, limits);
    if (c.key == nullptr) {
      EXPECT_EQ(refusal, std::nullopt);
      continue;
    }
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->key, c.key);
    EXPECT_EQ(refusal->exclamation, c.exclamation);
    EXPECT_EQ(refusal->focus, c.field);
    EXPECT_EQ(definition.inMin, before.inMin);
    EXPECT_EQ(definition.inMax, before.inMax);
    EXPECT_EQ(definition.resMin, before.resMin);
    EXPECT_EQ(definition.resMax, before.resMax);
  }
  LinearDefinition definition{0, 100, 0, 1000};
  ASSERT_EQ(CheckLinearField(DialogField::ResMax, 250.06, definition, 16, limits), std::nullopt);
  EXPECT_NEAR(definition.resMax, 250.0, 1e-9);
  ASSERT_EQ(CheckLinearField(DialogField::ResMin, -12.34, definition, 16, limits), std::nullopt);
  EXPECT_NEAR(definition.resMin, -12.3, 1e-9);
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
      {"span too small, room below", {50, 53, 0, 100}, "Input range too small!", DialogField::InMin},
      {"span too small at the bottom", {-10, -7, 0, 100}, "Input range too small!", DialogField::InMax},
      {"result minimum out", {0, 100, -2000, 100}, "Minimum out of range!", DialogField::ResMin},
      {"result maximum out", {0, 100, 0, 10000}, "Maximum out of range!", DialogField::ResMax},
      {"result range 0.05", {0, 100, 10, 10.05}, "Range too small", DialogField::ResMin},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto refusal = ValidateLinear(c.definition, 16, limits);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->key, c.key);
    EXPECT_EQ(refusal->focus, c.focus);
  }
}

TEST_F(ConversionRulesTest, LinearStartValues) {
  state.TableType = 17;
  LinearDefinition start = LinearStartValues(context);
  EXPECT_EQ(start.inMin, -22);
  EXPECT_EQ(start.inMax, 22);
  EXPECT_EQ(start.resMin, -1999);
  EXPECT_EQ(start.resMax, 9999);

  config.Typ = 17;
  ApplyLinear({0, 20, 0, 500}, 9, context);
  config.Lin = kLinLinear;
  state.ConversionConfirmed = 0;
  start = LinearStartValues(context);
  EXPECT_NEAR(start.inMin, 0, 1e-12);
  EXPECT_NEAR(start.inMax, 20, 1e-12);
  EXPECT_EQ(start.resMax, 500);
  state.ConversionConfirmed = 1;  // confirmed since the selection opened: start afresh
  EXPECT_EQ(LinearStartValues(context).resMax, 9999);
}

TEST_F(ConversionRulesTest, UserRangeFitsTheInputType) {
  config.Typ = 16;
  config.Lin = kLinLinear;
  ApplyLinear({-10, 150, 0, 1600}, 2, context);
  EXPECT_TRUE(UserRangeFits(16, config, state.Table, limits));
  ApplyLinear({-10, 160, 0, 1600}, 2, context);  // the top maps beyond 150 mV
  EXPECT_FALSE(UserRangeFits(16, config, state.Table, limits));
  ApplyLinear({0, 3.9, 0, 1600}, 2, context);  // narrower than the minimum span
  EXPECT_FALSE(UserRangeFits(16, config, state.Table, limits));
}

TEST_F(ConversionRulesTest, SignalSpanAndFilterSuggestion) {
  config.Typ = 1;
  config.Lin = kLinTable;
  config.MinInput = 0;
  config.MaxInput = 100;
  FilterSuggestion filter = SuggestFilter(config, state.Table);
  EXPECT_EQ(filter.FiltrZakres, 1);
  EXPECT_EQ(filter.FiltrCzas, 26);
  EXPECT_TRUE(CheckSignalSpan(config, state));
  config.MaxInput = 30;  // about 11.7 ohm
  EXPECT_FALSE(CheckSignalSpan(config, state));

  config.Typ = 10;
  config.MaxInput = 1000;
  filter = SuggestFilter(config, state.Table);
  EXPECT_EQ(filter.FiltrZakres, 1);
  EXPECT_EQ(filter.FiltrCzas, 20);

  config.Typ = 16;
  config.Lin = kLinNone;
  config.MinInput = 0;
  config.MaxInput = 0.05;
  filter = SuggestFilter(config, state.Table);
  EXPECT_EQ(filter.FiltrZakres, 250);
  EXPECT_EQ(filter.FiltrCzas, 375);

  config.Typ = 15;  // user data not loaded: nothing to check
  config.TableLoaded = false;
  EXPECT_TRUE(CheckSignalSpan(config, state));
}

TEST(DisplayRulesTest, SignalAndResultValues) {
  EXPECT_EQ(FormatSignalValue(12.3456), "12.346");
  EXPECT_EQ(FormatSignalValue(-10), "-10.000");
  EXPECT_EQ(FormatSignalValue(1234.567), "1234.57");
  EXPECT_EQ(FormatResultValue(12.0), "12");
  EXPECT_EQ(FormatResultValue(12.39), "12.3");
  EXPECT_EQ(FormatResultValue(0.3), "0.3");
  EXPECT_EQ(FormatResultValue(-1999), "-1999");
  EXPECT_EQ(FormatResultValue(-0.36), "-0.3");
}

}  // namespace
}  // namespace q5480
