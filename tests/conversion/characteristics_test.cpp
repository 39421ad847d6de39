// Sensor characteristics against independent references, the least-squares
// fitter and the cold-junction fit.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "conversion/cold_junction.h"
#include "conversion/polynomial_fit.h"
#include "conversion/sensor_signal.h"
#include "its90_reference.h"

namespace q5480 {
namespace {

class CharacteristicsTest : public ::testing::Test {
 protected:
  double Signal(int typ, double x) { return SensorSignal(typ, x, config, state.Table); }

  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
};

TEST_F(CharacteristicsTest, ThermocouplesFollowTheReferenceFunctionsAndClamp) {
  // Type C is a polynomial of the temperature in degrees Fahrenheit.
  const long double typeC[] = {-0.234471L,     0.007190027L,  3.956443e-06L,
                               -1.842722e-09L, 3.471851e-13L, -2.616792e-17L};
  const auto reference = [&](int typ, double t) {
    if (typ != 7) return static_cast<double>(testing::ReferenceMillivolts(typ, t));
    long double e = 0;
    for (int i = 5; i >= 0; --i) e = e * (1.8L * t + 32) + typeC[i];
    return static_cast<double>(e);
  };
  struct Range {
    int typ;
    double low, high;
  };
  for (const Range& r : {Range{6, 0, 1820},
                         {7, 0, 2320},
                         {8, -270, 1000},
                         {9, -210, 1200},
                         {10, -270, 1372},
                         {11, -270, 1300},
                         {12, -50, 1768},
                         {13, -50, 1768},
                         {14, -270, 400}}) {
    double worst = 0;
    for (double t = r.low; t <= r.high; t += 0.5) {
      worst = std::max(worst, std::fabs(Signal(r.typ, t) - reference(r.typ, t)));
    }
    EXPECT_LT(worst, 1e-9) << r.typ;
    EXPECT_EQ(Signal(r.typ, r.high + 150), Signal(r.typ, r.high)) << r.typ;
    EXPECT_EQ(Signal(r.typ, r.low - 150), Signal(r.typ, r.low)) << r.typ;
  }
  // 630.615 typed by the user belongs to the lower B function.
  const std::vector<long double>& lowerB = testing::ReferenceRanges().front().c;
  long double e = 0;
  for (auto it = lowerB.rbegin(); it != lowerB.rend(); ++it) e = e * 630.615 + *it;
  EXPECT_NEAR(Signal(6, 630.615), static_cast<double>(e), 1e-12);
}

TEST_F(CharacteristicsTest, ThermocouplesMatchPublishedTableValues) {
  const double points[][3] = {
      {10, 100, 4.096},   {10, 500, 20.644},  {10, 1000, 41.276}, {10, 1372, 54.886},
      {10, -100, -3.554}, {10, -200, -5.891}, {10, -270, -6.458}, {9, 100, 5.269},
      {9, 1000, 57.953},  {14, 100, 4.279},   {8, 100, 6.319},    {8, 1000, 76.373},
      {11, 100, 2.774},   {11, 1000, 36.256}, {12, 100, 0.647},   {12, 1000, 10.506},
      {13, 100, 0.646},   {13, 1000, 9.587},  {6, 100, 0.033},    {6, 1000, 4.834}};
  for (const auto& p : points)
    EXPECT_NEAR(Signal(static_cast<int>(p[0]), p[1]), p[2], 0.0005) << p[0] << " " << p[1];
}

TEST_F(CharacteristicsTest, ResistanceThermometersFollowThePublishedCurves) {
  // Callendar-Van Dusen for platinum, the nickel curve, copper linear; the
  // program's polynomials are fits to these, good to the stated ohms.
  const auto reference = [](int typ, double t) {
    const double t2 = t * t, c = t < 0 ? (t - 100) * t2 * t : 0;
    if (typ == 1) return 100 * (1 + 3.9083e-3 * t - 5.775e-7 * t2 - 4.183e-12 * c);
    if (typ == 2) return 100 * (1 + 3.9848e-3 * t - 5.87e-7 * t2 - 4e-12 * c);
    if (typ == 3)
      return 100 * (1 + 5.485e-3 * t + 6.65e-6 * t2 + 2.805e-11 * t2 * t2 - 2e-17 * t2 * t2 * t2);
    return 100 * (1 + 4.26e-3 * t);
  };
  struct Case {
    int typ;
    double low, high, ohms;
  };
  for (const Case& c :
       {Case{1, -100, 850, 0.25}, {2, -100, 850, 0.4}, {3, -60, 180, 0.2}, {4, -50, 180, 0.001}}) {
    for (double t = c.low; t <= c.high; t += 5) {
      EXPECT_NEAR(Signal(c.typ, t), reference(c.typ, t), c.ohms) << c.typ << " " << t;
    }
  }
  // More tightly: R0 and the temperature coefficients that name the platinum types.
  EXPECT_NEAR(Signal(1, 0), 100, 0.003);
  EXPECT_NEAR((Signal(1, 100) - Signal(1, 0)) / (100 * Signal(1, 0)), 0.00385, 0.00001);
  EXPECT_NEAR((Signal(2, 100) - Signal(2, 0)) / (100 * Signal(2, 0)), 0.00392, 0.00001);
}

TEST_F(CharacteristicsTest, PlainInputsFollowTheirConversion) {
  config.Lin = kLinLinear;
  config.Coefficients[0] = 1;
  config.Coefficients[1] = 2;
  for (int typ : {5, 16, 17, 18, 19}) EXPECT_EQ(Signal(typ, 5.5), 12) << typ;
  for (int typ : {0, 20})
    EXPECT_EQ(Signal(typ, 5.5), 5.5) << typ;  // no input type: nothing to convert
  config.Lin = kLinNone;
  EXPECT_EQ(Signal(16, 5.5), 5.5);
}

TEST(PolynomialFitTest, ExactQuadraticCutToThreeTermsAndHundredPoints) {
  std::vector<long double> x, y;
  for (int i = 0; i < 150; ++i) {
    x.push_back(i);
    y.push_back(i < 100 ? 0.5L - 2 * i + 0.25L * i * i
                        : 1e6L);  // points beyond the 100th are ignored
  }
  const FitResult fit = PolynomialFit(x, y, 5);
  ASSERT_EQ(fit.status, FitStatus::Ok);
  EXPECT_NEAR(static_cast<double>(fit.coefficients[0]), 0.5, 1e-9);
  EXPECT_NEAR(static_cast<double>(fit.coefficients[1]), -2, 1e-10);
  EXPECT_NEAR(static_cast<double>(fit.coefficients[2]), 0.25, 1e-12);
  EXPECT_LT(fit.chiSquare, 1e-12L);
  const std::vector<long double> two{1, 2};
  EXPECT_EQ(PolynomialFit(two, two, 3).status, FitStatus::NotEnoughRows);
  EXPECT_EQ(PolynomialFit(two, two, 2).status, FitStatus::Ok);
}

TEST_F(CharacteristicsTest, ColdJunctionFitIsTheLeastSquaresQuadratic) {
  for (const auto& [typ, start] : {std::pair{6, 0}, {10, -10}, {9, -10}, {12, 0}, {14, -10}}) {
    const ColdJunctionResult result = ColdJunctionFit(typ, config, state.Table, limits);
    ASSERT_EQ(result.refusal, std::nullopt) << typ;
    EXPECT_EQ(result.points, 61 - start) << typ;
    // Least squares leaves residuals orthogonal to 1, t and t^2 (the normal equations).
    for (int power = 0; power < 3; ++power) {
      long double sum = 0, scale = 0;
      for (int t = start; t <= 60; ++t) {
        const long double fitted = result.c[0] + result.c[1] * t + result.c[2] * t * t;
        const long double r = fitted - testing::ReferenceMillivolts(typ, t);
        sum += r * std::pow(t, power);
        scale += std::fabs(r * std::pow(t, power));
      }
      EXPECT_LT(std::fabs(sum), 1e-9 * scale) << typ << " power " << power;
    }
  }
  const ColdJunctionResult rtd = ColdJunctionFit(1, config, state.Table, limits);
  EXPECT_EQ(rtd.points, 0);
  EXPECT_EQ(rtd.c, (std::array<double, 3>{0, 1, 0}));
}

}  // namespace
}  // namespace q5480
