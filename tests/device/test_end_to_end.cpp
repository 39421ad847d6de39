// q5480ctl against the emulated module: the production-line commands with
// their exit statuses, and measurements that travel from a parameters file
// through the module's memory to the monitor's display.
#include <cmath>
#include <sstream>

#include "config/parameters_file.h"
#include "ctl_runner.h"
#include "device_fixture.h"

namespace q5480::device_test {
namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The tab-separated columns of the monitor's lines.
std::vector<std::vector<std::string>> MonitorLines(const std::string& out) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream stream(out);
  std::string line;
  while (std::getline(stream, line)) {
    std::vector<std::string> columns;
    std::istringstream fields(line);
    std::string field;
    while (std::getline(fields, field, '\t')) columns.push_back(field);
    lines.push_back(columns);
  }
  return lines;
}

// One unit of the last digit of a number text ("500.0" gives 0.1).
double Resolution(const std::string& number) {
  const std::size_t point = number.find('.');
  if (point == std::string::npos) return 1;
  return std::pow(10.0, -static_cast<double>(number.size() - point - 1));
}

class CtlTest : public ::testing::Test {
 protected:
  explicit CtlTest(const char* id = kNewId, std::uint16_t model = 5495)
      : rig_(ModuleWith(id, model)),
        ctl_(rig_.scratch / "ctl", rig_.emulator.SlavePath(), kPort) {}

  std::string WriteParameters(const ModuleConfig& config, const std::string& name) {
    const std::string path = (rig_.scratch / name).string();
    std::string dataDir;
    EXPECT_TRUE(WriteParametersFile(path, config, RegionalSettings{}, dataDir));
    return path;
  }
  std::string Port() const { return std::to_string(kPort); }

  DeviceRig rig_;
  CtlRunner ctl_;
};

TEST_F(CtlTest, WriteReadVerifyAndIdentifyOnTheProductionLine) {
  SetPt100Configuration(rig_.config);
  const std::string par = WriteParameters(rig_.config, "pt100.par");

  const CtlOutcome written = ctl_.Run({"write", par, "--port", Port()});
  ASSERT_EQ(written.status, 0) << written.err;
  EXPECT_TRUE(Contains(written.err, "Writing data... 100%"));
  EXPECT_TRUE(Contains(written.err, "Device programmed"));

  const CtlOutcome verified = ctl_.Run({"verify", par, "--port", Port()});
  EXPECT_EQ(verified.status, 0) << verified.err;
  EXPECT_TRUE(Contains(verified.err, "Verification successful"));

  const std::string readPath = (rig_.scratch / "read.par").string();
  const CtlOutcome read = ctl_.Run({"read", "--port", Port(), "-o", readPath});
  ASSERT_EQ(read.status, 0) << read.err;
  ModuleConfig back;
  InputLimits limits;
  std::string dataDir;
  ASSERT_TRUE(ReadParametersFile(readPath, back, limits, dataDir));
  EXPECT_EQ(back.Typ, rig_.config.Typ);
  EXPECT_EQ(back.Lin, rig_.config.Lin);
  EXPECT_DOUBLE_EQ(back.MaxInput, rig_.config.MaxInput);
  EXPECT_EQ(back.kod, rig_.config.kod);
  EXPECT_EQ(back.Device, "Q5495");

  const CtlOutcome identified = ctl_.Run({"identify", "--port", Port()});
  ASSERT_EQ(identified.status, 0) << identified.err;
  EXPECT_EQ(identified.out, "identifier  2104\nlayout      new\nmodel       Q5495\n");

  // A byte changed inside the module is found and named.
  rig_.module.PokeMemory(1500, static_cast<std::uint8_t>(rig_.module.Memory()[1500] + 1));
  const CtlOutcome differs = ctl_.Run({"verify", par, "--port", Port()});
  EXPECT_EQ(differs.status, 1);
  EXPECT_TRUE(Contains(differs.err, "Verification ended with errors"));
  EXPECT_FALSE(differs.out.empty());
}

TEST_F(CtlTest, RefusalsAndFailuresGiveTheirStatusAndMessage) {
  SetPt100Configuration(rig_.config);
  const std::string par = WriteParameters(rig_.config, "pt100.par");
  // A port that names a line which is not there.
  std::filesystem::create_symlink(rig_.scratch / "no-such-line", rig_.scratch / "ctl" / "ports" / "com31");
  ModuleConfig other = rig_.config;
  other.Device = "Q5491";
  const std::string otherModel = WriteParameters(other, "q5491.par");

  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"write", otherModel, "--port", Port()}, 1, "Type of panel meter inconsistency!"},
      {{"write", (rig_.scratch / "missing.par").string(), "--port", Port()}, 2, "no such file"},
      {{"write", par}, 2, "--port N is required"},
      {{"read", "--port", Port()}, 2, "-o FILE.par is required"},
      {{"monitor", "--port", "x"}, 2, "bad port number"},
      {{"reset", "--port", "31"}, 1, "COM31 initialization failed!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.message);
    const CtlOutcome outcome = ctl_.Run(c.args);
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_TRUE(Contains(outcome.err, c.message)) << outcome.err;
  }
  EXPECT_EQ(rig_.interposer.CountOf('D'), 0) << "nothing was written";

  rig_.emulator.Faults().SilenceFor(std::chrono::minutes(1));
  const CtlOutcome silent = ctl_.Run({"write", par, "--port", Port()});
  EXPECT_EQ(silent.status, 1);
  EXPECT_TRUE(Contains(silent.err, "No communication with device! (no echo from COM9)")) << silent.err;
}

TEST_F(CtlTest, WriteThatTheModuleRefusesToStoreFails) {
  SetPt100Configuration(rig_.config);
  const std::string par = WriteParameters(rig_.config, "pt100.par");
  rig_.interposer.Override('L', Bytes{0});
  const CtlOutcome outcome = ctl_.Run({"write", par, "--port", Port()});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_TRUE(Contains(outcome.err, "Transmission unsuccessful! (bad reply from COM9)")) << outcome.err;
  EXPECT_EQ(rig_.interposer.CountOf('r'), 1);
}

TEST_F(CtlTest, ResetEndsTheHeldOutput) {
  ASSERT_TRUE(rig_.module.Handle(Bytes{'o', 0x10, 0x00}).has_value());
  ASSERT_TRUE(rig_.module.IndependentOutput());
  const CtlOutcome outcome = ctl_.Run({"reset", "--port", Port()});
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_FALSE(rig_.module.IndependentOutput());
}

struct MeasurementCase {
  const char* name;
  const char* id;
  std::function<void(ModuleConfig&)> configure;
  double signal;    // at the terminals, in the characteristic's unit
  double expected;  // what the display must show
  const char* unit;
};

// Reference values: type K 500 degC 20.644 mV and 25 degC 1.000 mV; Pt100
// (0.00385) 100 degC 138.5055 ohms.
const auto kThermocoupleK = [](ModuleConfig& c) {
  c.Device = "Q5495";
  c.Typ = 10;
  c.Tryb = 7;  // internal compensation
  c.Lin = kLinTable;
  c.MinInput = 0;
  c.MaxInput = 1000;
  c.Jednostki = 8;
};
const auto kPt100 = [](ModuleConfig& c) {
  SetPt100Configuration(c);
  c.ZeroReg = 0;
  c.GainReg = 0;
};
const auto kCurrentLoop = [](ModuleConfig& c) {
  c.Device = "Q5495";
  c.Typ = 19;
  c.Tryb = 1;
  c.Lin = kLinNone;
  c.MinInput = 4;
  c.MaxInput = 20;
  c.Jednostki = 4;
};

class MeasurementTest : public ::testing::TestWithParam<MeasurementCase> {};

TEST_P(MeasurementTest, MonitorShowsTheValueOfTheSignalToTheDisplaysResolution) {
  const MeasurementCase& c = GetParam();
  DeviceRig rig(ModuleWith(c.id));
  CtlRunner ctl(rig.scratch / "ctl", rig.emulator.SlavePath(), kPort);
  c.configure(rig.config);
  const std::string par = (rig.scratch / "config.par").string();
  std::string dataDir;
  ASSERT_TRUE(WriteParametersFile(par, rig.config, RegionalSettings{}, dataDir));
  const CtlOutcome written = ctl.Run({"write", par, "--port", std::to_string(kPort)});
  ASSERT_EQ(written.status, 0) << written.err;

  rig.module.SetSignal(SignalShape{SignalKind::Constant, c.signal, 0, 10});
  const CtlOutcome monitored = ctl.Run({"monitor", "--port", std::to_string(kPort), "--count", "3"});
  ASSERT_EQ(monitored.status, 0) << monitored.err;
  const auto lines = MonitorLines(monitored.out);
  ASSERT_EQ(lines.size(), 3u) << monitored.out;
  for (const auto& columns : lines) {
    ASSERT_EQ(columns.size(), 5u);
    const std::string number = columns[1].substr(columns[1].find_first_not_of(' '));
    EXPECT_NEAR(std::stod(number), c.expected, Resolution(number) + 1e-9) << number;
    EXPECT_EQ(columns[2], c.unit);
    // The averaging flags may come and go; nothing may be wrong.
    for (const char* fault : {"Cal mode", "Broken sensor", "EEPROM error", "Out of range"}) {
      EXPECT_EQ(columns[4].find(fault), std::string::npos) << columns[4];
    }
  }
  const double fraction = (c.expected - rig.config.MinInput) /
                           (rig.config.MaxInput - rig.config.MinInput);
  EXPECT_NEAR(std::stod(lines[0][3]), 4 + 16 * fraction, 0.02) << "output current";
}

INSTANTIATE_TEST_SUITE_P(
    Sensors, MeasurementTest,
    ::testing::Values(
        // The older firmware adds the cold junction's voltage at its internal
        // temperature (25 degC); the newer one needs none from the terminals.
        MeasurementCase{"ThermocoupleKOld", kOldIdLate, kThermocoupleK, 20.644 - 1.000, 500.0, "°C"},
        MeasurementCase{"ThermocoupleKNew", kNewId, kThermocoupleK, 20.644, 500.0, "°C"},
        MeasurementCase{"Pt100", kNewId, kPt100, 138.5055, 100.0, "°C"},
        MeasurementCase{"CurrentLoop", kOldIdLate, kCurrentLoop, 12.34, 12.34, "mA"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace q5480::device_test
