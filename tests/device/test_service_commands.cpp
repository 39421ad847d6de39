// q5480ctl's service commands against the emulated module: the forced
// output in both current formats and its release, the corrections, and the
// register modes of monitor, with their exit statuses.
#include <algorithm>

#include "config/module_image.h"
#include "ctl_runner.h"
#include "support/device_rig.h"

namespace q5480::device_test {

using namespace test_support;
namespace {

ModuleOptions WideModule() {
  ModuleOptions options = ModuleWith(kNewId);
  options.wideCurrent = true;
  return options;
}

// The codes themselves are tested with the service; here the format the
// module reports chooses them.
TEST(CtlOutput, ForcesWithTheCodeOfTheModulesFormatAndReleases) {
  const struct {
    bool wide;
    const char* current;
    Bytes request;
  } cases[] = {
      {false, "3,8", {'o', 0xFF, 0x9A}},  // -102 as its two's complement
      {true, "22", {'o', 0xAB, 0xE0}},    // 44000
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.current);
    DeviceRig rig(c.wide ? WideModule() : ModuleWith(kNewId));
    CtlRunner ctl(rig.scratch / "ctl", rig.emulator.SlavePath());
    const std::string port = std::to_string(kPort);
    const Outcome forced = ctl.Run({"output", "--port", port, "--set", c.current});
    ASSERT_EQ(forced.status, 0) << forced.err;
    std::vector<Bytes> outputs;
    for (const Bytes& request : rig.interposer.Requests()) {
      if (request[0] == 'o') outputs.push_back(request);
    }
    EXPECT_EQ(outputs, std::vector<Bytes>{c.request});
    EXPECT_TRUE(rig.module.IndependentOutput());

    const Outcome released = ctl.Run({"output", "--port", port, "--release"});
    EXPECT_EQ(released.status, 0) << released.err;
    EXPECT_FALSE(rig.module.IndependentOutput());
  }
}

TEST(CtlOutput, RefusalsSendNothing) {
  const struct {
    bool wide;
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {false, {"--set", "2.5"}, "2.5 mA is outside 3.75 to 21.75 mA"},
      {true, {"--set", "2.5"}, "outside 3.00 to 22.00 mA, the range of the module's wide"},
      {false, {"--set", "twelve"}, "bad current: twelve"},
      {false, {}, "give either --set MA or --release"},
      {false, {"--set", "12", "--release"}, "give either --set MA or --release"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    DeviceRig rig(c.wide ? WideModule() : ModuleWith(kNewId));
    CtlRunner ctl(rig.scratch / "ctl", rig.emulator.SlavePath());
    std::vector<std::string> args{"output", "--port", std::to_string(kPort)};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome outcome = ctl.Run(args);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_TRUE(Contains(outcome.err, c.message)) << outcome.err;
    EXPECT_EQ(rig.interposer.CountOf('o'), 0);
    EXPECT_EQ(rig.interposer.CountOf('r'), 0);
  }
}

// Where each layout keeps them is tested with the service.
TEST(CtlCorrections, AreStored) {
  DeviceRig rig(ModuleWith(kNewId));
  CtlRunner ctl(rig.scratch / "ctl", rig.emulator.SlavePath());
  const Outcome stored =
      ctl.Run({"corrections", "--port", std::to_string(kPort), "--zero", "0.5", "--gain", "-1,25"});
  ASSERT_EQ(stored.status, 0) << stored.err;
  const auto zero = EncodeModuleFloat(0.5), gain = EncodeModuleFloat(-1.25);
  Bytes expected{'V', 8, 0, 96};
  expected.insert(expected.end(), zero.begin(), zero.end());
  expected.insert(expected.end(), gain.begin(), gain.end());
  const std::vector<Bytes> requests = rig.interposer.Requests();
  EXPECT_NE(std::find(requests.begin(), requests.end(), expected), requests.end());
}

TEST(CtlCorrections, RefusalsAndAFailedStoreGiveTheirStatus) {
  DeviceRig rig(ModuleWith(kNewId));
  CtlRunner ctl(rig.scratch / "ctl", rig.emulator.SlavePath());
  const std::string port = std::to_string(kPort);
  const struct {
    std::vector<std::string> args;
    int status;
    std::string message;
  } cases[] = {
      {{"--zero", "2", "--gain", "0"}, 2, "--zero takes -1.9999 to 1.9999: 2"},
      {{"--zero", "0", "--gain", "-2.5"}, 2, "--gain takes -1.9999 to 1.9999"},
      {{"--zero", "0.1"}, 2, "--gain is required"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"corrections", "--port", port};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome outcome = ctl.Run(args);
    EXPECT_EQ(outcome.status, c.status) << c.message;
    EXPECT_TRUE(Contains(outcome.err, c.message)) << outcome.err;
  }
  EXPECT_EQ(rig.interposer.CountOf('V'), 0);

  rig.interposer.Override('V', std::nullopt);
  const Outcome refused = ctl.Run({"corrections", "--port", port, "--zero", "0", "--gain", "0"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(Contains(refused.err, "Command failed! (no answer in time from COM9)"))
      << refused.err;
}

TEST(CtlMonitor, RegisterModesReadTheModulesInnerValues) {
  DeviceRig rig(ModuleWith(kNewId));
  SetPt100Configuration(rig.config);
  rig.config.ZeroReg = 0;
  rig.config.GainReg = 0;
  ASSERT_TRUE(rig.Build());
  ASSERT_TRUE(rig.OpenIdle());
  ASSERT_TRUE(rig.Write());
  rig.link.StopLink();  // the line is the command's alone
  rig.module.SetSignal(SignalShape{SignalKind::Constant, 138.5055, 0, 10});  // 100 °C
  CtlRunner ctl(rig.scratch / "ctl", rig.emulator.SlavePath());

  const struct {
    const char* mode;
    std::uint8_t modeByte;
    double value;
    const char* unit;
  } cases[] = {
      {"Wnorm", 4, 50.0, "%"},  // 100 °C in -50 to 250 °C
      {"1", 1, 138.51, ""},     // the ohms at the terminals
      {"result", 2, 100.0, "\u00B0C"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    const Outcome outcome =
        ctl.Run({"monitor", "--port", std::to_string(kPort), "--count", "2", "--mode", c.mode});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<Bytes> requests = rig.interposer.Requests();
    EXPECT_NE(std::find(requests.begin(), requests.end(), Bytes{'m', c.modeByte}), requests.end());
    const auto rows = MonitorLines(outcome.out);
    for (const std::vector<std::string>& columns : rows) {
      ASSERT_EQ(columns.size(), 5u) << outcome.out;
      EXPECT_NEAR(std::stod(columns[1]), c.value, 0.02) << outcome.out;
      EXPECT_EQ(columns[2], c.unit);
    }
    EXPECT_EQ(rows.size(), 2u);
  }
  const Outcome unknown = ctl.Run({"monitor", "--port", std::to_string(kPort), "--mode", "3"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_TRUE(Contains(unknown.err, "unknown mode: 3")) << unknown.err;
}

}  // namespace
}  // namespace q5480::device_test
