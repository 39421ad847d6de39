// Images of every kind of configuration decode back to the record.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "config/module_image.h"
#include "conversion/build_image.h"
#include "conversion/cold_junction.h"
#include "conversion/power_series.h"
#include "conversion/sensor_signal.h"
#include "conversion/user_table.h"

namespace q5480 {
namespace {

struct ImageCase {
  const char* name;
  int typ;
  int tryb;
  int lin;
  double minInput;
  double maxInput;
  std::function<void(ModuleConfig&, ConversionState&, InputLimits&)> userData;
};

// A failing case is named, not dumped as bytes.
void PrintTo(const ImageCase& c, std::ostream* os) { *os << c.name; }

void LoadTable(ModuleConfig& config, ConversionState& state, InputLimits& limits,
               const std::vector<std::string>& lines) {
  state.TableType = config.Typ;
  std::string reason;
  ASSERT_TRUE(ParseTable(lines, state, limits, reason)) << reason;
  SetUserRange(state.Table, limits);
  config.File = "pressure.dat";
  config.TableLoaded = true;
}

std::vector<std::string> ThermocoupleTableLines() {
  ModuleConfig plain;
  UserTable none;
  std::vector<std::string> lines{"; type K copy"};
  for (int t = 0; t <= 1000; t += 10) {
    lines.push_back(std::to_string(t) + "\t" + std::to_string(SensorSignal(10, t, plain, none)));
  }
  return lines;
}

const auto kTable = [](ModuleConfig& c, ConversionState& s, InputLimits& l) {
  LoadTable(c, s, l, {"0 0", "500 5", "1000 10"});
};
const auto kLinear = [](ModuleConfig& c, ConversionState&, InputLimits&) {
  c.Coefficients = {-2, 0.02, 0, 0, 0, 0, 0, 0, 0, 100, 600};
};
const auto kSeries = [](ModuleConfig& c, ConversionState& s, InputLimits& l) {
  c.Coefficients = {-1, 0.5, 0.001, 0, 0, 0, 0, 0, 0, c.MinInput, c.MaxInput};
  s.TableType = c.Typ;
  std::string reason;
  ASSERT_TRUE(SampleSeriesToTable(c, s, l, reason)) << reason;
  SetUserRange(s.Table, l);
  c.MinInput = l.Lower(15);
  c.MaxInput = l.Upper(15);
  c.TableLoaded = true;
};

class BuildImageTest : public ::testing::TestWithParam<ImageCase> {};

TEST_P(BuildImageTest, EveryFieldDecodesBackToTheRecord) {
  const ImageCase& c = GetParam();
  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
  config.Device = "Q5495";
  config.Typ = static_cast<std::uint8_t>(c.typ);
  config.Tryb = static_cast<std::uint8_t>(c.tryb);
  config.Lin = static_cast<std::uint8_t>(c.lin);
  config.MinInput = c.minInput;
  config.MaxInput = c.maxInput;
  config.RoomT = 23.5;
  config.ZeroReg = 0.25;
  config.GainReg = -0.5;
  config.FiltrZakres = 12;
  config.FiltrCzas = 32;
  config.FiltrLimit = 7;
  config.Jednostki = 8;
  config.Kropka = 2;
  config.Burnout = 1;
  config.Siec = 60;
  config.kod = "TAG-7";
  config.ogolne = "Boiler 3, return line";
  if (c.userData) c.userData(config, state, limits);

  ModuleImage image;
  for (std::size_t i = 0; i < 12; ++i) image[image_offset::kColdJunction + i] = 0x11;  // left alone unless set
  BuildFailure failure = BuildFailure::None;
  ASSERT_TRUE(BuildModuleImage({config, limits, state}, image, 46000, failure));
  EXPECT_EQ(image[image_offset::kCheckByte], image.ComputeCheckByte());
  // The module float keeps 24 bits of mantissa.
  EXPECT_NEAR(image.LoadFloat(image_offset::kSignalLow), config.SignalLow, 1.2e-7 * std::fabs(config.SignalLow));
  EXPECT_NEAR(image.LoadFloat(image_offset::kSignalStep), (config.SignalHigh - config.SignalLow) / 200,
              1.2e-7 * (config.SignalHigh - config.SignalLow) / 200);

  // Cold-junction constants by mode.
  const double c0 = image.LoadFloat(image_offset::kColdJunction);
  const double c1 = image.LoadFloat(image_offset::kColdJunction + 4);
  const double c2 = image.LoadFloat(image_offset::kColdJunction + 8);
  if (!IsThermocouple(c.typ)) {
    for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(image[image_offset::kColdJunction + i], 0x11);
  } else if (c.tryb == 5) {
    EXPECT_EQ(c0, 0);
    EXPECT_EQ(c1, 0);
    EXPECT_EQ(c2, 0);
  } else if (c.tryb == 6) {
    EXPECT_NEAR(c0, ThermocoupleSignal(c.typ, 23.5, config, state.Table), 1e-6);
    EXPECT_EQ(c1, 0);
  } else {
    const ColdJunctionResult fit = ColdJunctionFit(c.typ, config, state.Table, limits);
    EXPECT_NEAR(c0, fit.c[0], 1e-7 * std::fabs(fit.c[0]) + 1e-12);
    EXPECT_NEAR(c1, fit.c[1], 1e-7 * std::fabs(fit.c[1]));
    EXPECT_NEAR(c2, fit.c[2], 1e-7 * std::fabs(fit.c[2]));
  }
  for (int k = 0; k < kSegmentCount; ++k) {
    EXPECT_TRUE(std::isfinite(image.LoadFloat(image_offset::kSegments + 8 * k))) << k;
  }

  // What a module would hand back after a write.
  image[image_offset::kModelNumber] = 5495 >> 8;
  image[image_offset::kModelNumber + 1] = 5495 & 0xFF;
  ModuleConfig decoded;
  InputLimits decodedLimits;
  DecodeModuleImage(image, decoded, decodedLimits);
  const auto near = [](double a, double b) { return std::fabs(a - b) <= 2e-6 * std::max(1.0, std::fabs(b)); };
  EXPECT_EQ(decoded.Typ, config.Typ);
  EXPECT_EQ(decoded.Tryb, config.Tryb);
  EXPECT_EQ(decoded.Lin, config.Lin);
  EXPECT_TRUE(near(decoded.MinInput, config.MinInput)) << decoded.MinInput;
  EXPECT_TRUE(near(decoded.MaxInput, config.MaxInput)) << decoded.MaxInput;
  EXPECT_TRUE(near(decoded.SignalLow, config.SignalLow)) << decoded.SignalLow;
  EXPECT_TRUE(near(decoded.SignalHigh, config.SignalHigh)) << decoded.SignalHigh;
  EXPECT_TRUE(near(decoded.RoomT, 23.5));
  EXPECT_TRUE(near(decoded.ZeroReg, 0.25));
  EXPECT_TRUE(near(decoded.GainReg, -0.5));
  EXPECT_EQ(decoded.FiltrZakres, 12);
  EXPECT_EQ(decoded.FiltrCzas, 32);
  EXPECT_EQ(decoded.FiltrLimit, 7);
  EXPECT_EQ(decoded.Jednostki, 8);
  EXPECT_EQ(decoded.Kropka, 2);
  EXPECT_EQ(decoded.Burnout, 1);
  EXPECT_EQ(decoded.Siec, 60);
  EXPECT_EQ(decoded.kod, config.kod);
  EXPECT_EQ(decoded.ogolne, config.ogolne);
  if (c.lin == kLinLinear || c.lin == kLinSeries) {
    for (std::size_t n = 0; n < 11; ++n) {
      EXPECT_TRUE(near(decoded.Coefficients[n], config.Coefficients[n])) << n;
    }
    EXPECT_TRUE(decoded.File.empty());
  } else {
    EXPECT_EQ(decoded.File, config.TableLoaded ? config.File : "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BuildImageTest,
    ::testing::Values(
        ImageCase{"KDifference", 10, 5, kLinTable, 0, 1000, nullptr},
        ImageCase{"KExternalJunction", 10, 6, kLinTable, 0, 1000, nullptr},
        ImageCase{"KCompensated", 10, 7, kLinTable, -100, 1200, nullptr},
        ImageCase{"RCompensatedNotLinearized", 12, 7, kLinNone, 0, 1600, nullptr},
        ImageCase{"BCompensated", 6, 7, kLinTable, 300, 1800, nullptr},
        ImageCase{"UserThermocouple", 15, 7, kLinTable, 0, 1000,
                  [](ModuleConfig& c, ConversionState& s, InputLimits& l) { LoadTable(c, s, l, ThermocoupleTableLines()); }},
        ImageCase{"Pt100ThreeWire", 1, 3, kLinTable, -50, 200, nullptr},
        ImageCase{"Cu100TwoWire", 4, 2, kLinNone, 0, 150, nullptr},
        ImageCase{"ResistanceNone", 5, 4, kLinNone, 0, 400, nullptr},
        ImageCase{"ResistanceTable", 5, 4, kLinTable, 0, 1000,
                  [](ModuleConfig& c, ConversionState& s, InputLimits& l) { LoadTable(c, s, l, {"0 100", "500 150", "1000 300"}); }},
        ImageCase{"MillivoltNone", 16, 5, kLinNone, -10, 150, nullptr},
        ImageCase{"MillivoltTable", 16, 5, kLinTable, 0, 1000, kTable},
        ImageCase{"MillivoltLinear", 16, 5, kLinLinear, 100, 600, kLinear},
        ImageCase{"MillivoltSeries", 16, 5, kLinSeries, 0, 100, kSeries},
        ImageCase{"CurrentNone", 17, 5, kLinNone, -20, 20, nullptr},
        ImageCase{"CurrentTable", 17, 5, kLinTable, 0, 1000, kTable},
        ImageCase{"CurrentLinear", 17, 5, kLinLinear, 100, 600, kLinear},
        ImageCase{"CurrentSeries", 17, 5, kLinSeries, 0, 20, kSeries},
        ImageCase{"VoltNone", 18, 5, kLinNone, -10, 10, nullptr},
        ImageCase{"VoltTable", 18, 5, kLinTable, 0, 1000, kTable},
        ImageCase{"VoltLinear", 18, 5, kLinLinear, 100, 600,
                  [](ModuleConfig& c, ConversionState&, InputLimits&) {
                    c.Coefficients = {-1, 0.02, 0, 0, 0, 0, 0, 0, 0, 600, 100};  // falling
                  }},
        ImageCase{"VoltSeries", 18, 5, kLinSeries, 0, 10, kSeries},
        ImageCase{"LoopNone", 19, 5, kLinNone, 4, 20, nullptr},
        ImageCase{"LoopTable", 19, 5, kLinTable, 0, 1000,
                  [](ModuleConfig& c, ConversionState& s, InputLimits& l) { LoadTable(c, s, l, {"0 4", "1000 20"}); }},
        ImageCase{"LoopLinear", 19, 5, kLinLinear, 100, 600,
                  [](ModuleConfig& c, ConversionState&, InputLimits&) {
                    c.Coefficients = {-0.8, 0.032, 0, 0, 0, 0, 0, 0, 0, 150, 650};
                  }},
        ImageCase{"LoopSeries", 19, 5, kLinSeries, 4, 20, kSeries}),
    [](const ::testing::TestParamInfo<ImageCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace q5480
