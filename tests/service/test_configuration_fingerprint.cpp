// The fingerprint of a configuration: the same for a file and for the
// modules of either layout it was written to, whatever the decimal separator
// it was saved with; blind to what is each module's own, changed by every
// field that sets the measurement.
#include <functional>

#include "config/parameters_file.h"
#include "service/configuration_fingerprint.h"
#include "support/device_rig.h"

namespace q5480 {
namespace {

using namespace test_support;

std::string FingerprintOf(ModuleConfig config, std::uint16_t today = 46000) {
  InputLimits limits;
  ConversionState state;
  ModuleImage image;
  EXPECT_EQ(BuildModuleImage({config, limits, state}, image, today), std::nullopt);
  return ConfigurationFingerprint(image, ModelCode(config));
}

TEST(ConfigurationFingerprint, OfARecordWithoutAnImageIsThatOfItsBuildOrNothing) {
  ModuleConfig config;
  SetPt100Configuration(config);
  const ModuleConfig before = config;
  EXPECT_EQ(FingerprintOfConfiguration(config, InputLimits(), ConversionState()),
            FingerprintOf(config));
  EXPECT_EQ(config, before);
  config.Lin = kLinTable;
  config.Typ = kTypMillivolts;  // a table that was never loaded
  EXPECT_EQ(FingerprintOfConfiguration(config, InputLimits(), ConversionState()), std::nullopt);
}

TEST(ConfigurationFingerprint, IsEightHexDigitsThatAWriteAndAReadBackKeepOnEitherLayout) {
  ModuleConfig file;
  SetPt100Configuration(file);
  const std::string expected = FingerprintOf(file);
  ASSERT_EQ(expected.size(), kFingerprintLength);
  EXPECT_EQ(expected.find_first_not_of("0123456789abcdef"), std::string::npos);
  // kOldId has no fixed decimal point: the write clears it, the code stays.
  for (const char* id : {kOldId, kOldIdLate, kNewId}) {
    SCOPED_TRACE(id);
    DeviceRig rig(ModuleWith(id));
    ASSERT_TRUE(rig.OpenIdle());
    ASSERT_EQ(rig.service.Identify(), LinkStatus::Success);
    rig.config = file;
    ASSERT_TRUE(rig.Build());
    EXPECT_EQ(ConfigurationFingerprint(rig.image, ModelCode(rig.config)), expected);
    ASSERT_TRUE(rig.Write());
    rig.image = ModuleImage{};
    rig.config = ModuleConfig{};
    ASSERT_TRUE(rig.Read());
    EXPECT_EQ(ConfigurationFingerprint(rig.image, ModelCode(rig.config)), expected);
  }
}

TEST(ConfigurationFingerprint, IsTheSameForAFileSavedWithACommaOrAPoint) {
  ScratchDirectory scratch;
  ModuleConfig config;
  SetPt100Configuration(config);
  config.MinInput = -50.125;
  config.RoomT = 21.7;
  std::string fingerprints[2];
  int n = 0;
  for (char separator : {',', '.'}) {
    const auto path = scratch.Path() / (std::string("saved") + separator + "par");
    std::string dataDir;
    ASSERT_TRUE(WriteParametersFile(path, config, {separator, "hh:mm:ss"}, dataDir));
    ModuleConfig loaded;
    InputLimits limits;
    ASSERT_TRUE(ReadParametersFile(path, loaded, limits, dataDir));
    fingerprints[n++] = FingerprintOf(loaded);
  }
  EXPECT_EQ(fingerprints[0], fingerprints[1]);
  EXPECT_EQ(fingerprints[0], FingerprintOf(config));
}

TEST(ConfigurationFingerprint, IgnoresWhatEachModuleHoldsForItselfAndFollowsEveryMeasurementField) {
  ModuleConfig base;
  SetPt100Configuration(base);
  const std::string reference = FingerprintOf(base);
  using Change = std::function<void(ModuleConfig&)>;
  const std::pair<const char*, Change> own[] = {
      {"serial", [](ModuleConfig& c) { c.serial = "123456"; }},
      {"FactoryDate", [](ModuleConfig& c) { c.FactoryDate = "2020-01-01"; }},
      {"kod", [](ModuleConfig& c) { c.kod = "OTHER"; }},
      {"ogolne", [](ModuleConfig& c) { c.ogolne = "another line"; }},
      {"ModuleId", [](ModuleConfig& c) { c.ModuleId = "1.45"; }},
      {"LimitLow", [](ModuleConfig& c) { c.LimitLow = 3; }},
      {"LimitHigh", [](ModuleConfig& c) { c.LimitHigh = 150; }},
      {"RoomT", [](ModuleConfig& c) { c.RoomT = 23.6; }},
  };
  for (const auto& [name, change] : own) {
    ModuleConfig config = base;
    change(config);
    EXPECT_EQ(FingerprintOf(config), reference) << name;
  }
  EXPECT_EQ(FingerprintOf(base, 47000), reference) << "configuration date";

  const std::pair<const char*, Change> measurement[] = {
      {"Device", [](ModuleConfig& c) { c.Device = "Q5497"; }},
      {"Typ", [](ModuleConfig& c) { c.Typ = kTypNi100; }},
      {"Tryb", [](ModuleConfig& c) { c.Tryb = kTrybFourWire; }},
      {"Lin", [](ModuleConfig& c) { c.Lin = kLinNone; }},
      {"MinInput", [](ModuleConfig& c) { c.MinInput = -49; }},
      {"MaxInput", [](ModuleConfig& c) { c.MaxInput = 251; }},
      {"ZeroReg", [](ModuleConfig& c) { c.ZeroReg = 0.5; }},
      {"GainReg", [](ModuleConfig& c) { c.GainReg = 0.125; }},
      {"FiltrZakres", [](ModuleConfig& c) { c.FiltrZakres = 30; }},
      {"FiltrCzas", [](ModuleConfig& c) { c.FiltrCzas = 64; }},
      {"FiltrLimit", [](ModuleConfig& c) { c.FiltrLimit = 8; }},
      {"Burnout", [](ModuleConfig& c) { c.Burnout = 0; }},
      {"Siec", [](ModuleConfig& c) { c.Siec = 50; }},
      {"Jednostki", [](ModuleConfig& c) { c.Jednostki = 5; }},
      {"Kropka", [](ModuleConfig& c) { c.Kropka = 1; }},
  };
  for (const auto& [name, change] : measurement) {
    ModuleConfig config = base;
    change(config);
    EXPECT_NE(FingerprintOf(config), reference) << name;
  }
}

}  // namespace
}  // namespace q5480
