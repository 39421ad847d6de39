// Two configurations compared field by field: every field of the record,
// tables and series included, worded for a person; the rounding of the
// module's formats and what one layout does not keep never count as a
// difference.
#include <functional>

#include "conversion/power_series.h"
#include "conversion/user_table.h"
#include "service/configuration_comparison.h"
#include "support/device_rig.h"

namespace q5480 {
namespace {

using namespace test_support;

struct Built {
  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
  ModuleImage image;
};

// A millivolt input converted to 0 to 100 by a table named `file` of three
// points, the middle one at `middle` mV.
void SetTableConversion(Built& b, const std::string& file, int middle) {
  b.state.TableType = kTypMillivolts;
  ASSERT_EQ(ParseTable({"0 0", "50 " + std::to_string(middle), "100 100"}, b.state, b.limits),
            std::nullopt);
  SetUserRange(b.state.Table, b.limits);
  b.config.Typ = kTypMillivolts;
  b.config.Tryb = kTrybDifferential;
  b.config.Lin = kLinTable;
  b.config.MinInput = 0;
  b.config.MaxInput = 100;
  b.config.File = file;
  b.config.TableLoaded = true;
}

ComparedConfiguration FileSide(Built& b) {
  EXPECT_EQ(BuildModuleImage({b.config, b.limits, b.state}, b.image, 46000), std::nullopt);
  return ConfigurationOfFile(b.image, b.config);
}

std::vector<std::string> Described(const std::vector<FieldDifference>& differences) {
  std::vector<std::string> lines;
  for (const FieldDifference& d : differences)
    lines.push_back(DescribeDifference(d, "file", "module"));
  return lines;
}

TEST(CompareConfigurations, NamesEachFieldThatDiffersInAPersonsTerms) {
  using Change = std::function<void(Built&)>;
  struct Case {
    const char* name;
    Change change;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"nothing", [](Built&) {}, {}},
      {"model", [](Built& b) { b.config.Device = "Q5497"; }, {"Model: file Q5495, module Q5497"}},
      {"sensor",
       [](Built& b) {
         SetThermocoupleK(b.config);
         b.config.Tryb = kTrybCompensation;
       },
       {"Sensor: file Pt100 (0.00385), 3-wire, linearization, module Thermocouple K, CJC, "
        "linearization",
        "MinInput: file -50, module 0", "MaxInput: file 250, module 1000", "SignalLow: file 80.30",
        "SignalHigh: file 194.07", "Transfer table: 202 of 202",
        "ID Tag: file \"TAG-7\", module \"TI-101\""}},
      {"range",
       [](Built& b) { b.config.MaxInput = 850; },
       {"MaxInput: file 250, module 850", "SignalHigh: file 194.07", "Transfer table"}},
      {"room temperature",
       [](Built& b) { b.config.RoomT = 21; },
       {"CJ temp.: file 23.5 \u00B0C, module 21 \u00B0C"}},
      {"corrections",
       [](Built& b) {
         b.config.ZeroReg = -0.5;
         b.config.GainReg = 1;
       },
       {"Zero: file 0.25 %, module -0.5 %", "Gain: file -0.125 %, module 1 %"}},
      {"filter",
       [](Built& b) {
         b.config.FiltrZakres = 20;
         b.config.FiltrCzas = 64;
         b.config.FiltrLimit = 9;
       },
       {"Filtration range: file 1.2 %, module 2 %", "Time constant: file 3.2 s, module 6.4 s",
        "Spurious error threshold: file 7 %, module 9 %"}},
      {"limits",
       [](Built& b) {
         b.config.LimitLow = 10;
         b.config.LimitHigh = 190;
       },
       {"LimitLow: file 20, module 10", "LimitHigh: file 180, module 190"}},
      {"burnout, mains, units, point",
       [](Built& b) {
         b.config.Burnout = 0;
         b.config.Siec = 50;
         b.config.Jednostki = 5;
         b.config.Kropka = 1;
       },
       {"Output reaction to sensor burnout: file above 20mA, module below 4mA",
        "Frequency: file 60 Hz, module 50 Hz", "Units: file \u00B0C, module Ohm",
        "Decimal point: file 2, module 1"}},
      {"texts",
       [](Built& b) {
         b.config.kod = "TAG-8";
         b.config.ogolne = "Boiler 4";
       },
       {"ID Tag: file \"TAG-7\", module \"TAG-8\"",
        "User info: file \"Boiler 3, return line\", module \"Boiler 4\""}},
      {"what each module keeps for itself",
       [](Built& b) {
         b.config.serial = "99";
         b.config.FactoryDate = "2001-01-01";
         b.config.ModuleId = "1.45";
       },
       {}},
  };
  Built base;
  SetPt100Configuration(base.config);
  const ComparedConfiguration first = FileSide(base);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Built other;
    SetPt100Configuration(other.config);
    c.change(other);
    const std::vector<std::string> lines =
        Described(CompareConfigurations(first, FileSide(other), LanguageTable()));
    // A changed range or sensor also moves the signal range and the transfer
    // table: the expected lines are checked as prefixes, in order.
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    SCOPED_TRACE(all);
    std::size_t at = 0;
    for (const std::string& expected : c.expected) {
      while (at < lines.size() && lines[at].rfind(expected, 0) != 0) ++at;
      EXPECT_LT(at, lines.size()) << "missing: " << expected;
    }
    if (c.expected.empty()) { EXPECT_EQ(lines, std::vector<std::string>{}); }
  }
}

TEST(CompareConfigurations, NamesTheTableAndTheCoefficientsOfAConversion) {
  Built first, second;
  SetTableConversion(first, "furnace.dat", 40);
  SetTableConversion(second, "furnace2.dat", 60);
  auto lines = Described(CompareConfigurations(FileSide(first), FileSide(second), LanguageTable()));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Table file: file furnace.dat, module furnace2.dat");
  EXPECT_EQ(lines[1].rfind("Transfer table: ", 0), 0u) << lines[1];
  EXPECT_NE(lines[1].find(" of 202 segments differ"), std::string::npos) << lines[1];

  // 4 to 20 mA read as 0 to 100 by a power series, sampled as a file load
  // samples it; the other series bends it a little.
  Built series, other;
  for (Built* b : {&series, &other}) {
    b->config.Device = "Q5495";
    b->config.Typ = kTypLoopCurrent;
    b->config.Tryb = kTrybDifferential;
    b->config.Lin = kLinSeries;
    b->config.MinInput = 0;
    b->config.MaxInput = 100;
    b->config.Coefficients = {-25, 6.25, 0, 0, 0, 0, 0, 0, 0, 4, 20};
    b->state.TableType = kTypLoopCurrent;
  }
  other.config.Coefficients[2] = 0.001;
  for (Built* b : {&series, &other}) {
    b->config.TableLoaded = !SampleSeriesToTable(b->config, b->state, b->limits);
  }
  lines = Described(CompareConfigurations(FileSide(series), FileSide(other), LanguageTable()));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "Coefficient 3: file 0, module 0.001");
}

TEST(CompareConfigurations, FindsAWrittenModuleLikeItsFileOnEitherLayout) {
  for (const char* id : {kOldId, kOldIdLate, kNewId}) {
    SCOPED_TRACE(id);
    DeviceRig rig(ModuleWith(id));
    ASSERT_TRUE(rig.OpenIdle());
    ASSERT_EQ(rig.service.Identify(), LinkStatus::Success);
    SetPt100Configuration(rig.config);
    rig.config.MinInput = -49.9;  // not held exactly by the module's format
    rig.config.FiltrCzas = 33;    // held in steps of 1.6
    ASSERT_TRUE(rig.Build());
    const ComparedConfiguration file = ConfigurationOfFile(rig.image, rig.config);
    ASSERT_TRUE(rig.Write());
    const VerifyOutcome verify = rig.service.Verify();
    ASSERT_TRUE(verify.Matches());
    const ComparedConfiguration module =
        ConfigurationOfModule(rig.image, 95, rig.commands.NewLayout(), id);
    EXPECT_EQ(Described(CompareConfigurations(file, module, LanguageTable())),
              std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace q5480
