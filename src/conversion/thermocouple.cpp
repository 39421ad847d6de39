// Thermocouple characteristics: the ITS-90 reference functions of the letter
// types (coefficients in mV, digits as published) and the type C curve, each
// with the clamp range and sub-range split points of this program.
#include "conversion/thermocouple.h"

#include <algorithm>
#include <cmath>

#include "config/module_config.h"
#include "conversion/polynomial.h"

namespace q5480 {
namespace {

// The split points are compared as doubles: the temperature arrives as a
// double, and 630.615 typed by the user must select the lower B function.

// B, 0.000 to 630.615 degC.
constexpr long double kBLower[] = {
    0.000000000000E+00L, -0.246508183460E-03L, 0.590404211710E-05L, -0.132579316360E-08L,
    0.156682919010E-11L, -0.169445292400E-14L, 0.629903470940E-18L,
};

// B, 630.615 to 1820.000 degC.
constexpr long double kBUpper[] = {
    -0.389381686210E+01L, 0.285717474700E-01L,  -0.848851047850E-04L,
    0.157852801640E-06L,  -0.168353448640E-09L, 0.111097940130E-12L,
    -0.445154310330E-16L, 0.989756408210E-20L,  -0.937913302890E-24L,
};

// E, -270.000 to 0.000 degC.
constexpr long double kELower[] = {
    0.000000000000E+00L,  0.586655087080E-01L,  0.454109771240E-04L,  -0.779980486860E-06L,
    -0.258001608430E-07L, -0.594525830570E-09L, -0.932140586670E-11L, -0.102876055340E-12L,
    -0.803701236210E-15L, -0.439794973910E-17L, -0.164147763550E-19L, -0.396736195160E-22L,
    -0.558273287210E-25L, -0.346578420130E-28L,
};

// E, 0.000 to 1000.000 degC.
constexpr long double kEUpper[] = {
    0.000000000000E+00L,  0.586655087100E-01L,  0.450322755820E-04L,  0.289084072120E-07L,
    -0.330568966520E-09L, 0.650244032700E-12L,  -0.191974955040E-15L, -0.125366004970E-17L,
    0.214892175690E-20L,  -0.143880417820E-23L, 0.359608994810E-27L,
};

// J, -210.000 to 760.000 degC.
constexpr long double kJLower[] = {
    0.000000000000E+00L,  0.503811878150E-01L,  0.304758369300E-04L,
    -0.856810657200E-07L, 0.132281952950E-09L,  -0.170529583370E-12L,
    0.209480906970E-15L,  -0.125383953360E-18L, 0.156317256970E-22L,
};

// J, 760.000 to 1200.000 degC.
constexpr long double kJUpper[] = {
    0.296456256810E+03L,  -0.149761277860E+01L, 0.317871039240E-02L,
    -0.318476867010E-05L, 0.157208190040E-08L,  -0.306913690560E-12L,
};

// K, -270.000 to 0.000 degC.
constexpr long double kKLower[] = {
    0.000000000000E+00L,  0.394501280250E-01L,  0.236223735980E-04L,  -0.328589067840E-06L,
    -0.499048287770E-08L, -0.675090591730E-10L, -0.574103274280E-12L, -0.310888728940E-14L,
    -0.104516093650E-16L, -0.198892668780E-19L, -0.163226974860E-22L,
};

// K, 0.000 to 1372.000 degC.
constexpr long double kKUpper[] = {
    -0.176004136860E-01L, 0.389212049750E-01L,  0.185587700320E-04L, -0.994575928740E-07L,
    0.318409457190E-09L,  -0.560728448890E-12L, 0.560750590590E-15L, -0.320207200030E-18L,
    0.971511471520E-22L,  -0.121047212750E-25L,
};

// N, -270.000 to 0.000 degC.
constexpr long double kNLower[] = {
    0.000000000000E+00L,  0.261591059620E-01L,  0.109574842280E-04L,
    -0.938411115540E-07L, -0.464120397590E-10L, -0.263033577160E-11L,
    -0.226534380030E-13L, -0.760893007910E-16L, -0.934196678350E-19L,
};

// N, 0.000 to 1300.000 degC.
constexpr long double kNUpper[] = {
    0.000000000000E+00L,  0.259293946010E-01L, 0.157101418800E-04L,  0.438256272370E-07L,
    -0.252611697940E-09L, 0.643118193390E-12L, -0.100634715190E-14L, 0.997453389920E-18L,
    -0.608632456070E-21L, 0.208492293390E-24L, -0.306821961510E-28L,
};

// R, -50.000 to 1064.180 degC.
constexpr long double kRLow[] = {
    0.000000000000E+00L, 0.528961729765E-02L,  0.139166589782E-04L, -0.238855693017E-07L,
    0.356916001063E-10L, -0.462347666298E-13L, 0.500777441034E-16L, -0.373105886191E-19L,
    0.157716482367E-22L, -0.281038625251E-26L,
};

// R, 1064.180 to 1664.500 degC.
constexpr long double kRMiddle[] = {
    0.295157925316E+01L,  -0.252061251332E-02L, 0.159564501865E-04L,
    -0.764085947576E-08L, 0.205305291024E-11L,  -0.293359668173E-15L,
};

// R, 1664.500 to 1768.100 degC.
constexpr long double kRHigh[] = {
    0.152232118209E+03L,  -0.268819888545E+00L, 0.171280280471E-03L,
    -0.345895706453E-07L, -0.934633971046E-14L,
};

// S, -50.000 to 1064.180 degC.
constexpr long double kSLow[] = {
    0.000000000000E+00L,  0.540313308631E-02L,  0.125934289740E-04L,
    -0.232477968689E-07L, 0.322028823036E-10L,  -0.331465196389E-13L,
    0.255744251786E-16L,  -0.125068871393E-19L, 0.271443176145E-23L,
};

// S, 1064.180 to 1664.500 degC.
constexpr long double kSMiddle[] = {
    0.132900444085E+01L,  0.334509311344E-02L, 0.654805192818E-05L,
    -0.164856259209E-08L, 0.129989605174E-13L,
};

// S, 1664.500 to 1768.100 degC.
constexpr long double kSHigh[] = {
    0.146628232636E+03L,  -0.258430516752E+00L, 0.163693574641E-03L,
    -0.330439046987E-07L, -0.943223690612E-14L,
};

// T, -270.000 to 0.000 degC.
constexpr long double kTLower[] = {
    0.000000000000E+00L, 0.387481063640E-01L, 0.441944343470E-04L, 0.118443231050E-06L,
    0.200329735540E-07L, 0.901380195590E-09L, 0.226511565930E-10L, 0.360711542050E-12L,
    0.384939398830E-14L, 0.282135219250E-16L, 0.142515947790E-18L, 0.487686622860E-21L,
    0.107955392700E-23L, 0.139450270620E-26L, 0.797951539270E-30L,
};

// T, 0.000 to 400.000 degC.
constexpr long double kTUpper[] = {
    0.000000000000E+00L,  0.387481063640E-01L,  0.332922278800E-04L,
    0.206182434040E-06L,  -0.218822568460E-08L, 0.109968809280E-10L,
    -0.308157587720E-13L, 0.454791352900E-16L,  -0.275129016730E-19L,
};

using Series = std::span<const long double>;

// Type K above 0 degC adds a0 * exp(a1 * (t - a2)^2), a0 in mV.
constexpr long double kKExpA0 = 0.118597600000E+00L;
constexpr long double kKExpA1 = -0.118343200000E-03L;
constexpr long double kKExpA2 = 0.126968600000E+03L;

// Type C: E(mV) as a polynomial of the temperature in degrees Fahrenheit.
constexpr long double kTypeC[] = {
    -0.234471L, 0.007190027L, 3.956443e-06L, -1.842722e-09L, 3.471851e-13L, -2.616792e-17L,
};

}  // namespace

long double ThermocoupleMillivolts(int typ, long double t) {
  switch (typ) {
    case kTypThermocoupleB:
      t = std::clamp(t, 0.0L, 1820.0L);
      return EvaluatePolynomial(t <= 630.615 ? Series(kBLower) : Series(kBUpper), t);
    case kTypThermocoupleC:
      t = std::clamp(t, 0.0L, 2320.0L);
      return EvaluatePolynomial(kTypeC, 1.8L * t + 32.0L);
    case kTypThermocoupleE:
      t = std::clamp(t, -270.0L, 1000.0L);
      return EvaluatePolynomial(t < 0 ? Series(kELower) : Series(kEUpper), t);
    case kTypThermocoupleJ:
      t = std::clamp(t, -210.0L, 1200.0L);
      return EvaluatePolynomial(t < 760.0 ? Series(kJLower) : Series(kJUpper), t);
    case kTypThermocoupleK: {
      t = std::clamp(t, -270.0L, 1372.0L);
      if (t < 0) return EvaluatePolynomial(kKLower, t);
      const long double d = t - kKExpA2;
      return EvaluatePolynomial(kKUpper, t) + kKExpA0 * std::exp(kKExpA1 * d * d);
    }
    case kTypThermocoupleN:
      t = std::clamp(t, -270.0L, 1300.0L);
      return EvaluatePolynomial(t < 0 ? Series(kNLower) : Series(kNUpper), t);
    case kTypThermocoupleR:
      t = std::clamp(t, -50.0L, 1768.0L);
      if (t < 1064.18) return EvaluatePolynomial(kRLow, t);
      return EvaluatePolynomial(t < 1664.5 ? Series(kRMiddle) : Series(kRHigh), t);
    case kTypThermocoupleS:
      t = std::clamp(t, -50.0L, 1768.0L);
      if (t < 1064.18) return EvaluatePolynomial(kSLow, t);
      return EvaluatePolynomial(t < 1664.5 ? Series(kSMiddle) : Series(kSHigh), t);
    case kTypThermocoupleT:
      t = std::clamp(t, -270.0L, 400.0L);
      return EvaluatePolynomial(t < 0 ? Series(kTLower) : Series(kTUpper), t);
    default: return t;
  }
}

}  // namespace q5480
