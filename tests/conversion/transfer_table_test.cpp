// The transfer table: inversion of every characteristic, the window search of
// the inverse and the accuracy a module obtains from it; failed builds, and
// images of every kind of configuration decoding back to the record.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "config/conversion_error.h"
#include "config/module_image.h"
#include "conversion/build_image.h"
#include "conversion/cold_junction.h"
#include "conversion/power_series.h"
#include "conversion/sensor_signal.h"
#include "conversion/transfer_table.h"
#include "conversion/user_table.h"
#include "its90_reference.h"

namespace q5480 {
namespace {

// A build without the user data its selection needs.
const Refusal kNoUserData{.key = "No data available", .exclamation = true};

class TransferTest : public ::testing::Test {
 protected:
  void Select(int typ, int lin, double minInput, double maxInput) {
    config.Typ = static_cast<std::uint8_t>(typ);
    config.Tryb = IsThermocouple(typ) ? 7 : 3;
    config.Lin = static_cast<std::uint8_t>(lin);
    config.MinInput = minInput;
    config.MaxInput = maxInput;
  }
  bool Build() { return !BuildModuleImage(context, image, 46000); }
  double Signal(double x) const { return SensorSignal(config.Typ, x, config, state.Table); }
  Segment StoredSegment(int k) const {
    return {image.LoadFloat(image_offset::kSegments + 8 * k),
            image.LoadFloat(image_offset::kSegments + 8 * k + 4)};
  }
  // The input value of signal s, found by bisection on the characteristic.
  double ExactInverse(double s) const {
    double lo = config.MinInput, hi = config.MaxInput;
    const bool rising = Signal(hi) > Signal(lo);
    for (int i = 0; i < 200; ++i) {
      const double mid = 0.5 * (lo + hi);
      ((Signal(mid) < s) == rising ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
  }
  // What a module computes: the segment of s from the stored signal low and
  // step, then f = a*s + b with the stored floats.
  double ModuleValue(double s) const {
    const double low = image.LoadFloat(image_offset::kSignalLow);
    const double step = image.LoadFloat(image_offset::kSignalStep);
    const int k =
        std::clamp(static_cast<int>(std::floor((s - low) / step)) + 1, 0, kSegmentCount - 1);
    const Segment segment = StoredSegment(k);
    const double minInput = image.LoadFloat(image_offset::kMinInput);
    return minInput + (segment.slope * s + segment.offset) * image.LoadFloat(image_offset::kSpan);
  }

  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
  ConversionContext context{config, limits, state};
  ModuleImage image;
};

TEST(MonotonicAtTest, NeedsAMarginOnBothSides) {
  EXPECT_TRUE(MonotonicAt(0, 1, 2));
  EXPECT_TRUE(MonotonicAt(2, 1, 0));
  EXPECT_FALSE(MonotonicAt(0, 1, 1));
  EXPECT_FALSE(MonotonicAt(0, 2, 1));
  EXPECT_FALSE(MonotonicAt(0, 1, 1.00009));  // the second step below 1% of the first
  EXPECT_TRUE(MonotonicAt(0, 1, 1.0002));
}

TEST(InverseSampleTest, BridgesLocalTurnsAndFailsOnlyWithoutAnyMonotonicWindow) {
  SampleTable table;
  table.x0 = 0;
  table.h = 1;
  for (int j = 0; j < kSampleCount; ++j) table.samples[j] = j;
  bool ok = true;
  EXPECT_NEAR(InverseSample(table, 300, 299.5, ok), 299.5, 1e-9);
  table.samples[301] = table.samples[300];  // a flat step is bridged by a wider window
  EXPECT_NEAR(InverseSample(table, 301, 300, ok), 300, 1.0);
  for (int j = 0; j < kSampleCount; ++j)
    table.samples[j] = 400 - std::fabs(j - 400.0);  // rises, then falls
  EXPECT_NEAR(InverseSample(table, 100, 99.5, ok), 99.5, 1e-9);
  EXPECT_TRUE(ok);
  table.samples.fill(5);
  EXPECT_EQ(InverseSample(table, 100, 5, ok), 800);
  EXPECT_FALSE(ok);
}

TEST(InverseTableTest, ParabolaOnlyOnLongTablesWithAlikeSlopes) {
  // Result x = y^2 of the signal y = 0, 1, 2, ...; or x = 0, 1, 2, ... with a kink after y = 0.5.
  const auto table = [](int n, bool kinked) {
    UserTable t;
    t[0].x = n;
    for (int i = 1; i <= n; ++i) {
      const double y = kinked ? (i <= 6 ? 0.1 * (i - 1) : 5.0 * (i - 6) + 0.5) : i - 1.0;
      t[i] = {kinked ? i - 1.0 : y * y, y};
    }
    return t;
  };
  struct Case {
    const char* name;
    int n;
    bool kinked;
    int j;
    double s, expected;
  };
  for (const Case& c : {Case{"parabola", 11, false, 4, 2.5, 6.25},
                        {"ten points are linear", 10, false, 4, 2.5, 6.5},
                        {"last segment", 10, false, 10, 8.5, 72.5},
                        {"last parabola", 11, false, 11, 9.5, 90.25},
                        {"kink keeps the line", 11, true, 6, 0.45, 4.5}}) {
    EXPECT_NEAR(InverseTable(table(c.n, c.kinked), c.j, c.s), c.expected, 1e-9) << c.name;
  }
}

TEST_F(TransferTest, LinearCharacteristicsGiveOneSegmentThroughout) {
  // No conversion; a falling linear one (4 mA at 100, 20 mA at 0); a series that is a line (4 mA at
  // 0).
  struct Case {
    int typ, lin;
    std::array<double, 11> coefficients;
    double low, high;
    bool falling;
  };
  for (const Case& c : {Case{16, kLinNone, {}, 0, 100, false},
                        {19, kLinLinear, {20, -0.16, 0, 0, 0, 0, 0, 0, 0, 100, 0}, 4, 20, true},
                        {19, kLinSeries, {-25, 6.25, 0, 0, 0, 0, 0, 0, 0, 4, 20}, 4, 20, false}}) {
    SCOPED_TRACE(c.lin);
    Select(c.typ, c.lin, 0, 100);
    config.Coefficients = c.coefficients;
    state.TableType = static_cast<std::uint8_t>(c.typ);
    config.TableLoaded = c.lin == kLinSeries && !SampleSeriesToTable(config, state, limits);
    ASSERT_TRUE(Build());
    EXPECT_NEAR(config.SignalLow, c.low, 1e-9);
    EXPECT_NEAR(config.SignalHigh, c.high, 1e-9);
    EXPECT_FLOAT_EQ(image.LoadFloat(image_offset::kSignalStep), (c.high - c.low) / 200);
    const double a = 1 / (c.high - c.low), b = -c.low * a;
    for (int k = 0; k < kSegmentCount; ++k) {
      EXPECT_NEAR(StoredSegment(k).offset, c.falling ? 1 - b : b, 1e-7) << k;
      EXPECT_NEAR(StoredSegment(k).slope, c.falling ? -a : a, 1e-9) << k;
    }
    for (int k = 0; k < kTransferGridPoints; ++k) {
      EXPECT_NEAR(state.TransferFractions[k], c.falling ? 1 - k / 200.0 : k / 200.0, 1e-9) << k;
    }
  }
}

// bound: the largest module error accepted, in the input unit. These are the
// largest errors seen when the segments were introduced, with room for
// rounding: a few times the observed figure, so a regression shows.
struct AccuracyCase {
  int typ;
  double minInput, maxInput, bound;
};
const AccuracyCase kAccuracyCases[] = {
    {1, -100, 850, 0.005},  {1, 0, 100, 0.0001},     {2, -100, 850, 0.006},  {2, 0, 100, 0.0001},
    {3, -60, 180, 0.004},   {3, 0, 100, 0.0003},     {4, -50, 180, 0.00004}, {4, 0, 100, 0.00005},
    {6, 200, 1820, 2.0},    {6, 1000, 1200, 0.0005}, {7, 0, 2300, 0.2},      {7, 500, 700, 0.0003},
    {8, -100, 1000, 0.1},   {8, 0, 100, 0.0002},     {9, -100, 1200, 0.1},   {9, 0, 200, 0.0006},
    {10, -150, 1370, 0.35}, {10, 0, 100, 0.00015},   {11, -100, 1300, 0.2},  {11, 0, 200, 0.0007},
    {12, 0, 1700, 0.6},     {12, 500, 700, 0.0003},  {13, 0, 1700, 0.45},    {13, 500, 700, 0.0003},
    {14, -100, 400, 0.03},  {14, 0, 100, 0.00025},
};

TEST_F(TransferTest, StandardCharacteristicsAreInvertedAccurately) {
  for (const AccuracyCase& c : kAccuracyCases) {
    SCOPED_TRACE(::testing::Message()
                 << "type " << c.typ << " " << c.minInput << " to " << c.maxInput);
    Select(c.typ, kLinTable, c.minInput, c.maxInput);
    ASSERT_TRUE(Build());
    const double span = c.maxInput - c.minInput;
    const double step = (config.SignalHigh - config.SignalLow) / 200;
    double worstFraction = 0;
    for (int k = 0; k < kTransferGridPoints; ++k) {
      const double exact = (ExactInverse(config.SignalLow + k * step) - c.minInput) / span;
      worstFraction = std::max(worstFraction, std::fabs(state.TransferFractions[k] - exact));
    }
    EXPECT_LT(worstFraction, 1e-6);
    // Signals beyond either end continue the outer segments.
    for (const auto& [outer, inner] : {std::pair{0, 1}, {201, 200}}) {
      EXPECT_EQ(StoredSegment(outer).offset, StoredSegment(inner).offset);
      EXPECT_EQ(StoredSegment(outer).slope, StoredSegment(inner).slope);
    }
    double worst = 0;
    for (int i = 0; i <= 4000; ++i) {
      const double x = c.minInput + span * i / 4000;
      worst = std::max(worst, std::fabs(ModuleValue(Signal(x)) - x));
    }
    EXPECT_LT(worst, c.bound);
  }
}

TEST_F(TransferTest, FallingUserTableStartsAtTheTop) {
  // A falling user table on the millivolt input: read linearly at 10 points,
  // so the inverse is exact. At 21 points the look-up bends y(x) and the
  // inverse bends x(y); the two parabolas part most on the first, most curved
  // segment.
  state.TableType = 16;
  config.TableLoaded = true;
  for (int points : {10, 21}) {
    SCOPED_TRACE(points);
    std::vector<std::string> lines;
    for (int i = 0; i < points; ++i) {
      lines.push_back(std::to_string(1000 - 50 * i) + " " + std::to_string(i * i * 0.25 + i));
    }
    ASSERT_EQ(ParseTable(lines, state, limits), std::nullopt);
    SetUserRange(state.Table, limits);
    const double top = 1000 - 50 * (points - 1);
    Select(16, kLinTable, top, 1000);
    ASSERT_TRUE(Build());
    const double step = (config.SignalHigh - config.SignalLow) / 200;
    for (int k = 0; k < kTransferGridPoints; ++k) {
      const double exact = (ExactInverse(config.SignalLow + k * step) - top) / (1000 - top);
      EXPECT_NEAR(state.TransferFractions[k], exact, points == 10 ? 1e-9 : 2e-3) << k;
    }
    EXPECT_NEAR(state.TransferFractions[0], 1, 1e-12);
    EXPECT_NEAR(state.TransferFractions[200], 0, 1e-9);
  }
}

TEST_F(TransferTest, LeftoverUserTableNeverChangesAStandardSensor) {
  Select(1, kLinTable, 0, 400);
  ASSERT_TRUE(Build());
  const ModuleImage clean = image;
  // A short falling table from an earlier selection, still marked loaded.
  state.TableType = 16;
  ASSERT_EQ(ParseTable({"100 0", "50 10", "0 20"}, state, limits), std::nullopt);
  config.TableLoaded = true;
  image = ModuleImage{};
  ASSERT_TRUE(Build());
  EXPECT_EQ(image.bytes, clean.bytes);
  // Nor does it stand in for the table of a selection that never loaded one.
  Select(16, kLinTable, 0, 100);
  config.TableLoaded = false;
  EXPECT_EQ(BuildModuleImage(context, image, 46000), kNoUserData);
}

TEST_F(TransferTest, FailedBuildsLeaveEverythingAsItWas) {
  Select(1, kLinTable, 0, 100);
  ASSERT_TRUE(Build());
  const ModuleImage built = image;
  const auto signals = std::pair(config.SignalLow, config.SignalHigh);
  const auto builtFractions = state.TransferFractions;
  Select(6, kLinTable, 1900, 2000);  // type B clamps at 1820 degC: every sample alike
  const std::optional<Refusal> refusal = BuildModuleImage(context, image, 46000);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(RefusalMessage(*refusal), "Transfer function is not monotonic!");
  EXPECT_FALSE(state.TransferOk);
  EXPECT_EQ(image.bytes, built.bytes);
  EXPECT_EQ(std::pair(config.SignalLow, config.SignalHigh), signals);
  EXPECT_EQ(state.TransferFractions, builtFractions);

  Select(16, kLinTable, 0, 100);  // a table conversion without a loaded table
  config.TableLoaded = false;
  image[500] = 0x5A;
  config.SignalLow = 1.5;
  EXPECT_EQ(BuildModuleImage(context, image, 46000), kNoUserData);
  EXPECT_FALSE(state.TransferOk);
  EXPECT_EQ(image[500], 0x5A);
  EXPECT_EQ(config.SignalLow, 1.5);

  // An empty signal range divides by zero: raised, nothing stored.
  Select(16, kLinNone, 50, 50);
  const ModuleImage before = image;
  EXPECT_THROW(BuildModuleImage(context, image, 46000), ConversionError);
  EXPECT_EQ(image.bytes, before.bytes);
  EXPECT_EQ(config.SignalLow, 1.5);

  // A flat characteristic cannot be inverted.
  Select(16, kLinLinear, 0, 100);
  config.Coefficients = {3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 100};
  EXPECT_THROW(BuildModuleImage(context, image, 46000), ConversionError);
  EXPECT_EQ(image.bytes, before.bytes);

  // A record field that has no module float fails after the transfer data
  // was computed: that data goes back too.
  Select(1, kLinTable, 0, 100);
  config.RoomT = std::nan("");
  const auto fractions = state.TransferFractions;
  EXPECT_THROW(BuildModuleImage(context, image, 46000), ConversionError);
  EXPECT_EQ(image.bytes, before.bytes);
  EXPECT_EQ(config.SignalLow, 1.5);
  EXPECT_EQ(state.TransferFractions, fractions);
  EXPECT_FALSE(state.TransferOk);
}

using UserData = std::function<void(ModuleConfig&, ConversionState&, InputLimits&)>;

struct ImageCase {
  const char* name;
  int typ, tryb, lin;
  double minInput, maxInput;
  UserData userData =
      nullptr;  // what the conversion needs loaded; nothing for the built-in characteristics
};

// A failing case is named, not dumped as bytes.
void PrintTo(const ImageCase& c, std::ostream* os) { *os << c.name; }

UserData Table(std::vector<std::string> lines) {
  return [lines](ModuleConfig& config, ConversionState& state, InputLimits& limits) {
    state.TableType = config.Typ;
    ASSERT_EQ(ParseTable(lines, state, limits), std::nullopt);
    SetUserRange(state.Table, limits);
    config.File = "pressure.dat";
    config.TableLoaded = true;
  };
}

std::vector<std::string> ThermocoupleTableLines() {
  std::vector<std::string> lines{"; type K copy"};
  for (int t = 0; t <= 1000; t += 10) {
    const double mV = static_cast<double>(testing::ReferenceMillivolts(10, t));
    lines.push_back(std::to_string(t) + "\t" + std::to_string(mV));
  }
  return lines;
}

UserData Linear(std::array<double, 11> coefficients) {
  return [coefficients](ModuleConfig& c, ConversionState&, InputLimits&) {
    c.Coefficients = coefficients;
  };
}

const UserData kTable = Table({"0 0", "500 5", "1000 10"});
const UserData kSeries = [](ModuleConfig& c, ConversionState& s, InputLimits& l) {
  c.Coefficients = {-1, 0.5, 0.001, 0, 0, 0, 0, 0, 0, c.MinInput, c.MaxInput};
  s.TableType = c.Typ;
  ASSERT_EQ(SampleSeriesToTable(c, s, l), std::nullopt);
  SetUserRange(s.Table, l);
  c.MinInput = l.Lower(15);
  c.MaxInput = l.Upper(15);
  c.TableLoaded = true;
};

// The fields of the record that an image carries, floats apart.
auto Fields(const ModuleConfig& c) {
  return std::tie(c.Typ, c.Tryb, c.Lin, c.FiltrZakres, c.FiltrCzas, c.FiltrLimit, c.Jednostki,
                  c.Kropka, c.Burnout, c.Siec, c.kod, c.ogolne);
}
std::vector<double> Floats(const ModuleConfig& c) {
  std::vector<double> floats{c.MinInput, c.MaxInput, c.SignalLow, c.SignalHigh,
                             c.RoomT,    c.ZeroReg,  c.GainReg};
  if (c.Lin == kLinLinear || c.Lin == kLinSeries) {
    floats.insert(floats.end(), c.Coefficients.begin(), c.Coefficients.end());
  }
  return floats;
}

const ImageCase kImageCases[] = {
    {"KDifference", 10, 5, kLinTable, 0, 1000},
    {"KExternalJunction", 10, 6, kLinTable, 0, 1000},
    {"KCompensated", 10, 7, kLinTable, -100, 1200},
    {"KThreeWire", 10, 3, kLinTable, 0, 1000},
    {"RCompensatedNotLinearized", 12, 7, kLinNone, 0, 1600},
    {"BCompensated", 6, 7, kLinTable, 300, 1800},
    {"UserThermocouple", 15, 7, kLinTable, 0, 1000, Table(ThermocoupleTableLines())},
    {"Pt100ThreeWire", 1, 3, kLinTable, -50, 200},
    {"Cu100TwoWire", 4, 2, kLinNone, 0, 150},
    {"ResistanceNone", 5, 4, kLinNone, 0, 400},
    {"ResistanceTable", 5, 4, kLinTable, 0, 1000, Table({"0 100", "500 150", "1000 300"})},
    {"MillivoltNone", 16, 5, kLinNone, -10, 150},
    {"MillivoltTable", 16, 5, kLinTable, 0, 1000, kTable},
    {"MillivoltLinear", 16, 5, kLinLinear, 100, 600,
     Linear({-2, 0.02, 0, 0, 0, 0, 0, 0, 0, 100, 600})},
    {"MillivoltSeries", 16, 5, kLinSeries, 0, 100, kSeries},
    {"CurrentNone", 17, 5, kLinNone, -20, 20},
    {"CurrentTable", 17, 5, kLinTable, 0, 1000, kTable},
    {"CurrentSeries", 17, 5, kLinSeries, 0, 20, kSeries},
    {"CurrentLinear", 17, 5, kLinLinear, 100, 600,
     Linear({-2, 0.02, 0, 0, 0, 0, 0, 0, 0, 100, 600})},
    {"VoltNone", 18, 5, kLinNone, -10, 10},
    {"VoltTable", 18, 5, kLinTable, 0, 1000, kTable},
    {"VoltLinearFalling", 18, 5, kLinLinear, 100, 600,
     Linear({-1, 0.02, 0, 0, 0, 0, 0, 0, 0, 600, 100})},
    {"VoltSeries", 18, 5, kLinSeries, 0, 10, kSeries},
    {"LoopNone", 19, 5, kLinNone, 4, 20},
    {"LoopSeries", 19, 5, kLinSeries, 4, 20, kSeries},
    {"LoopTable", 19, 5, kLinTable, 0, 1000, Table({"0 4", "1000 20"})},
    {"LoopLinear", 19, 5, kLinLinear, 100, 600,
     Linear({-0.8, 0.032, 0, 0, 0, 0, 0, 0, 0, 150, 650})},
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
  std::tie(config.RoomT, config.ZeroReg, config.GainReg) = std::tuple(23.5, 0.25, -0.5);
  std::tie(config.FiltrZakres, config.FiltrCzas, config.FiltrLimit, config.Jednostki) =
      std::tuple(12, 32, 7, 8);
  std::tie(config.Kropka, config.Burnout, config.Siec) = std::tuple(2, 1, 60);
  std::tie(config.kod, config.ogolne) = std::tuple("TAG-7", "Boiler 3, return line");
  if (c.userData) c.userData(config, state, limits);

  ModuleImage image;
  for (std::size_t i = 0; i < 12; ++i)
    image[image_offset::kColdJunction + i] = 0x11;  // left alone unless set
  ASSERT_EQ(BuildModuleImage({config, limits, state}, image, 46000), std::nullopt);
  EXPECT_EQ(image[image_offset::kCheckByte], image.ComputeCheckByte());
  // The module float keeps 24 bits of mantissa.
  const double step = (config.SignalHigh - config.SignalLow) / 200;
  EXPECT_NEAR(image.LoadFloat(image_offset::kSignalLow), config.SignalLow,
              1.2e-7 * std::fabs(config.SignalLow));
  EXPECT_NEAR(image.LoadFloat(image_offset::kSignalStep), step, 1.2e-7 * step);
  for (int k = 0; k < kSegmentCount; ++k) {
    EXPECT_TRUE(std::isfinite(image.LoadFloat(image_offset::kSegments + 8 * k))) << k;
  }

  // Cold-junction constants by mode; other types and modes leave the bytes alone.
  if (!IsThermocouple(c.typ) || c.tryb < 5 || c.tryb > 7) {
    for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(image[image_offset::kColdJunction + i], 0x11);
  } else {
    std::array<double, 3> expected{0, 0, 0};
    if (c.tryb == 6) expected[0] = static_cast<double>(testing::ReferenceMillivolts(c.typ, 23.5));
    if (c.tryb == 7) expected = ColdJunctionFit(c.typ, config, state.Table, limits).c;
    for (std::size_t i = 0; i < 3; ++i) {
      const double stored = image.LoadFloat(image_offset::kColdJunction + 4 * i);
      EXPECT_NEAR(stored, expected[i],
                  expected[i] == 0 ? 0 : 1.2e-7 * std::fabs(expected[i]) + 1e-12)
          << i;
    }
  }

  // What a module would hand back after a write.
  image[image_offset::kModelNumber] = 5495 >> 8;
  image[image_offset::kModelNumber + 1] = 5495 & 0xFF;
  ModuleConfig decoded;
  InputLimits decodedLimits;
  DecodeModuleImage(image, decoded, decodedLimits);
  EXPECT_EQ(Fields(decoded), Fields(config));
  const std::vector<double> got = Floats(decoded), want = Floats(config);
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_NEAR(got[i], want[i], 2e-6 * std::max(1.0, std::fabs(want[i]))) << i;
  }
  EXPECT_EQ(decoded.File, c.lin == kLinTable && config.TableLoaded ? config.File : "");
}

INSTANTIATE_TEST_SUITE_P(Kinds, BuildImageTest, ::testing::ValuesIn(kImageCases),
                         [](const ::testing::TestParamInfo<ImageCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace q5480
