// Sensor characteristics, the cold-junction fit and the least-squares fitter.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "config/conversion_error.h"
#include "conversion/cold_junction.h"
#include "conversion/polynomial_fit.h"
#include "conversion/power_series.h"
#include "conversion/sensor_signal.h"
#include "its90_reference.h"

namespace q5480 {
namespace {

struct ClampRange {
  int typ;
  double low;
  double high;
};
constexpr ClampRange kThermocoupleRanges[] = {
    {6, 0, 1820}, {8, -270, 1000}, {9, -210, 1200}, {10, -270, 1372},
    {11, -270, 1300}, {12, -50, 1768}, {13, -50, 1768}, {14, -270, 400},
};

class CharacteristicsTest : public ::testing::Test {
 protected:
  double Signal(int typ, double x) { return SensorSignal(typ, x, config, state.Table); }

  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
};

TEST_F(CharacteristicsTest, ThermocouplesFollowTheReferenceFunctionsEverywhere) {
  for (const ClampRange& range : kThermocoupleRanges) {
    SCOPED_TRACE(range.typ);
    double worst = 0;
    for (double t = range.low; t <= range.high; t += 0.5) {
      worst = std::max(worst, std::fabs(Signal(range.typ, t) -
                                        static_cast<double>(testing::ReferenceMillivolts(range.typ, t))));
    }
    EXPECT_LT(worst, 1e-9);
  }
}

TEST_F(CharacteristicsTest, ThermocouplesMatchPublishedTableValues) {
  struct Point {
    int typ;
    double t;
    double mV;
  };
  const Point points[] = {
      {10, 100, 4.096},   {10, 500, 20.644},  {10, 1000, 41.276}, {10, 1372, 54.886},
      {10, -100, -3.554}, {10, -200, -5.891}, {10, -270, -6.458}, {9, 100, 5.269},
      {9, 1000, 57.953},  {14, 100, 4.279},   {8, 100, 6.319},    {8, 1000, 76.373},
      {11, 100, 2.774},   {11, 1000, 36.256}, {12, 100, 0.647},   {12, 1000, 10.506},
      {13, 100, 0.646},   {13, 1000, 9.587},  {6, 100, 0.033},    {6, 1000, 4.834},
  };
  for (const Point& point : points) {
    SCOPED_TRACE(::testing::Message() << "type " << point.typ << " at " << point.t);
    EXPECT_NEAR(Signal(point.typ, point.t), point.mV, 0.0005);
  }
}

TEST_F(CharacteristicsTest, ThermocouplesClampToTheirRanges) {
  for (const ClampRange& range : kThermocoupleRanges) {
    SCOPED_TRACE(range.typ);
    EXPECT_EQ(Signal(range.typ, range.high + 150), Signal(range.typ, range.high));
    EXPECT_EQ(Signal(range.typ, range.low - 150), Signal(range.typ, range.low));
  }
  EXPECT_EQ(Signal(10, 1500), Signal(10, 1372));
  EXPECT_NEAR(Signal(10, 0), 0, 0.00001);  // upper K function with its exponential term
  EXPECT_EQ(Signal(12, 1768.1), Signal(12, 1768));
}

TEST_F(CharacteristicsTest, SubRangeSplitPoints) {
  // The split point itself belongs to the function the program names.
  const auto lower = [](int typ, long double t) {
    for (const auto& range : testing::ReferenceRanges()) {
      if (range.typ == typ) {
        long double e = 0;
        for (auto it = range.c.rbegin(); it != range.c.rend(); ++it) e = e * t + *it;
        return static_cast<double>(e);
      }
    }
    return 0.0;
  };
  EXPECT_NEAR(Signal(6, 630.615), lower(6, 630.615), 1e-12);
  EXPECT_NEAR(Signal(6, 630.6), lower(6, 630.6), 1e-12);
  EXPECT_NEAR(Signal(6, 630.62), static_cast<double>(testing::ReferenceMillivolts(6, 630.62)), 1e-12);
}

TEST_F(CharacteristicsTest, TypeCFollowsItsFahrenheitPolynomial) {
  for (double t : {0.0, 100.0, 500.0, 1000.0, 2000.0, 2320.0}) {
    const long double f = 1.8L * t + 32;
    const long double expected = -0.234471L + 0.007190027L * f + 3.956443e-06L * f * f -
                                 1.842722e-09L * f * f * f + 3.471851e-13L * f * f * f * f -
                                 2.616792e-17L * f * f * f * f * f;
    EXPECT_NEAR(Signal(7, t), static_cast<double>(expected), 1e-12) << t;
  }
  EXPECT_EQ(Signal(7, 2500), Signal(7, 2320));
  EXPECT_EQ(Signal(7, -20), Signal(7, 0));
}

TEST_F(CharacteristicsTest, ResistanceThermometers) {
  EXPECT_NEAR(Signal(1, 0), 100.00272, 1e-12);
  EXPECT_NEAR(Signal(4, 100), 142.599985, 1e-9);
  // The temperature coefficients that name the platinum types.
  EXPECT_NEAR((Signal(1, 100) - Signal(1, 0)) / (100 * Signal(1, 0)), 0.00385, 0.00001);
  EXPECT_NEAR((Signal(2, 100) - Signal(2, 0)) / (100 * Signal(2, 0)), 0.00392, 0.00001);
  EXPECT_NEAR(Signal(2, 0), 100.00086, 1e-12);
  // Not clamped: the range rules keep x inside the limits.
  EXPECT_GT(Signal(4, 400), Signal(4, 180));
}

TEST_F(CharacteristicsTest, PlainInputsFollowTheConversion) {
  config.Lin = kLinNone;
  EXPECT_EQ(Signal(16, 5.5), 5.5);
  config.Lin = kLinLinear;
  config.Coefficients[0] = 1;
  config.Coefficients[1] = 2;
  EXPECT_EQ(Signal(16, 5.5), 12);
  EXPECT_EQ(Signal(20, 5.5), 5.5);
  EXPECT_EQ(Signal(0, -3.25), -3.25);
  EXPECT_EQ(ThermocoupleSignal(1, 100, config, state.Table), 0);
  EXPECT_EQ(ThermocoupleSignal(10, 100, config, state.Table), Signal(10, 100));
}

TEST_F(CharacteristicsTest, FloatingPointErrorsAreRaised) {
  config.Lin = kLinLinear;
  config.Coefficients[0] = 0;
  config.Coefficients[1] = 1e308;
  EXPECT_THROW(Signal(17, 10), ConversionError);
  config.Coefficients = {1e300, 1e300, 1e300, 1e300, 1e300, 1e300, 1e300, 1e300, 1e300, 0, 0};
  EXPECT_THROW(SeriesValue(9, 1e10, config.Coefficients), ConversionError);
}

// Least squares through the normal equations, for comparison with the fitter.
std::array<long double, 3> NormalEquationsFit(const std::vector<long double>& x, const std::vector<long double>& y) {
  long double m[3][4] = {};
  for (std::size_t i = 0; i < x.size(); ++i) {
    const long double p[3] = {1, x[i], x[i] * x[i]};
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) m[r][c] += p[r] * p[c];
      m[r][3] += p[r] * y[i];
    }
  }
  for (int k = 0; k < 3; ++k) {
    for (int r = k + 1; r < 3; ++r) {
      const long double f = m[r][k] / m[k][k];
      for (int c = k; c < 4; ++c) m[r][c] -= f * m[k][c];
    }
  }
  std::array<long double, 3> result{};
  for (int k = 2; k >= 0; --k) {
    long double s = m[k][3];
    for (int c = k + 1; c < 3; ++c) s -= m[k][c] * result[c];
    result[k] = s / m[k][k];
  }
  return result;
}

TEST(PolynomialFitTest, RecoversAnExactQuadraticAndCutsTermsAndPoints) {
  std::vector<long double> x, y;
  for (int i = -5; i <= 20; ++i) {
    x.push_back(i);
    y.push_back(0.5L - 2 * i + 0.25L * i * i);
  }
  FitResult fit = PolynomialFit(x, y, 5);  // cut to 3 terms
  ASSERT_EQ(fit.status, FitStatus::Ok);
  EXPECT_NEAR(static_cast<double>(fit.coefficients[0]), 0.5, 1e-12);
  EXPECT_NEAR(static_cast<double>(fit.coefficients[1]), -2, 1e-12);
  EXPECT_NEAR(static_cast<double>(fit.coefficients[2]), 0.25, 1e-12);
  EXPECT_LT(fit.chiSquare, 1e-20L);

  // Points beyond the 100th are ignored, however wild.
  std::vector<long double> many, values;
  for (int i = 0; i < 150; ++i) {
    many.push_back(i);
    values.push_back(i < 100 ? 3 + 0.5L * i : 1e6L);
  }
  fit = PolynomialFit(many, values, 2);
  ASSERT_EQ(fit.status, FitStatus::Ok);
  EXPECT_NEAR(static_cast<double>(fit.coefficients[0]), 3, 1e-10);
  EXPECT_NEAR(static_cast<double>(fit.coefficients[1]), 0.5, 1e-12);
}

TEST(PolynomialFitTest, AgreesWithTheNormalEquationsOnNoisyData) {
  std::vector<long double> x, y;
  for (int i = 0; i < 40; ++i) {
    x.push_back(i * 0.7L);
    y.push_back(std::sin(static_cast<long double>(i)) + 0.1L * i);
  }
  const FitResult fit = PolynomialFit(x, y, 3);
  ASSERT_EQ(fit.status, FitStatus::Ok);
  const auto expected = NormalEquationsFit(x, y);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(static_cast<double>(fit.coefficients[i]), static_cast<double>(expected[i]), 1e-12);
  }
}

TEST(PolynomialFitTest, TooFewPointsAreReportedNotShown) {
  const std::vector<long double> x{1, 2};
  const std::vector<long double> y{3, 4};
  EXPECT_EQ(PolynomialFit(x, y, 3).status, FitStatus::NotEnoughRows);
  EXPECT_EQ(PolynomialFit(x, y, 2).status, FitStatus::Ok);
}

TEST_F(CharacteristicsTest, ColdJunctionFitRunsOverTheStatedPoints) {
  struct Case {
    int typ;
    int start;
  };
  for (const Case& c : {Case{6, 0}, Case{10, -10}, Case{9, -10}, Case{12, 0}, Case{14, -10}}) {
    SCOPED_TRACE(c.typ);
    const ColdJunctionResult result = ColdJunctionFit(c.typ, config, state.Table, limits);
    ASSERT_EQ(result.status, FitStatus::Ok);
    EXPECT_EQ(result.points, 61 - c.start);
    std::vector<long double> x, y;
    for (int t = c.start; t <= 60; ++t) {
      x.push_back(t);
      y.push_back(static_cast<long double>(testing::ReferenceMillivolts(c.typ, t)));
    }
    const auto expected = NormalEquationsFit(x, y);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_NEAR(result.c[i], static_cast<double>(expected[i]), 1e-9 * (1 + std::fabs(static_cast<double>(expected[i]))));
    }
    // A quadratic follows the curve within a few microvolts near room temperature.
    for (int t = c.start; t <= 60; t += 5) {
      EXPECT_NEAR(result.c[0] + result.c[1] * t + result.c[2] * t * t, Signal(c.typ, t), 0.005);
    }
  }
  const ColdJunctionResult rtd = ColdJunctionFit(1, config, state.Table, limits);
  EXPECT_EQ(rtd.points, 0);
  EXPECT_EQ(rtd.c, (std::array<double, 3>{0, 1, 0}));
}

TEST_F(CharacteristicsTest, ColdJunctionConstantsByMode) {
  config.Typ = 9;
  config.RoomT = 25.0;
  config.Tryb = 6;
  ColdJunctionConstantsResult result = ColdJunctionConstants(config, state.Table, limits);
  ASSERT_TRUE(result.constants);
  EXPECT_NEAR((*result.constants)[0], 1.277, 0.0005);  // type J at 25 degC
  EXPECT_EQ((*result.constants)[1], 0);
  EXPECT_EQ((*result.constants)[2], 0);

  config.Tryb = 5;
  result = ColdJunctionConstants(config, state.Table, limits);
  EXPECT_EQ(result.constants, (std::array<double, 3>{0, 0, 0}));

  config.Tryb = 7;
  result = ColdJunctionConstants(config, state.Table, limits);
  ASSERT_TRUE(result.constants);
  EXPECT_EQ(*result.constants, ColdJunctionFit(9, config, state.Table, limits).c);

  config.Tryb = 3;
  EXPECT_FALSE(ColdJunctionConstants(config, state.Table, limits).constants);
  config.Typ = 1;
  config.Tryb = 7;
  EXPECT_FALSE(ColdJunctionConstants(config, state.Table, limits).constants);
}

}  // namespace
}  // namespace q5480
