// q5480ctl as a child process against the emulated module: the
// production-line commands with their exit statuses and messages, and a
// measurement that travels from a parameters file through the module's
// memory to the monitor's display.
#include <sys/stat.h>

#include <cmath>
#include <tuple>

#include "config/parameters_file.h"
#include "ctl_runner.h"
#include "support/device_rig.h"

namespace q5480::device_test {
namespace {

class CtlTest : public ::testing::Test {
 protected:
  CtlTest() : ctl_(rig_.scratch / "ctl", rig_.emulator.SlavePath()) {
    SetPt100Configuration(rig_.config);
  }

  DeviceRig rig_{ModuleWith(kNewId, 5495)};
  CtlRunner ctl_;
  const std::string port_ = std::to_string(kPort);
};

TEST_F(CtlTest, WriteReadVerifyIdentifyAndResetOnTheProductionLine) {
  const std::string par = WriteParameters(rig_.scratch, rig_.config, "pt100.par");
  const Outcome written = ctl_.Run({"write", par, "--port", port_});
  ASSERT_EQ(written.status, 0) << written.err;
  EXPECT_TRUE(Contains(written.err, "Writing data... 100%"));
  EXPECT_TRUE(Contains(written.err, "Device programmed"));

  const Outcome verified = ctl_.Run({"verify", par, "--port", port_});
  EXPECT_EQ(verified.status, 0) << verified.err;
  EXPECT_TRUE(Contains(verified.err, "Verification successful"));

  const std::string readPath = (rig_.scratch / "read.par").string();
  const Outcome read = ctl_.Run({"read", "--port", port_, "-o", readPath});
  ASSERT_EQ(read.status, 0) << read.err;
  ModuleConfig back;
  InputLimits limits;
  std::string dataDir;
  ASSERT_TRUE(ReadParametersFile(readPath, back, limits, dataDir));
  EXPECT_EQ(std::tie(back.Device, back.Typ, back.Lin, back.MaxInput, back.kod),
            std::tie(rig_.config.Device, rig_.config.Typ, rig_.config.Lin, rig_.config.MaxInput,
                     rig_.config.kod));

  const Outcome identified = ctl_.Run({"identify", "--port", port_});
  ASSERT_EQ(identified.status, 0) << identified.err;
  EXPECT_EQ(identified.out.substr(0, identified.out.rfind("fingerprint")),
            "identifier   2104\nlayout       new\nmodel        Q5495\nserial       1234567\n");
  EXPECT_TRUE(Contains(written.out, identified.out.substr(identified.out.rfind("fingerprint"))))
      << "the module is known by the fingerprint of the file written into it";

  // A byte changed inside the module is found and named.
  rig_.module.PokeMemory(1500, static_cast<std::uint8_t>(rig_.module.Memory()[1500] + 1));
  const Outcome differs = ctl_.Run({"verify", par, "--port", port_});
  EXPECT_EQ(differs.status, 1);
  EXPECT_TRUE(Contains(differs.err, "Verification ended with errors"));
  EXPECT_FALSE(differs.out.empty());

  // A reset ends the held output.
  ASSERT_TRUE(rig_.module.Handle(Bytes{'o', 0x10, 0x00}).has_value());
  ASSERT_TRUE(rig_.module.IndependentOutput());
  const Outcome reset = ctl_.Run({"reset", "--port", port_});
  EXPECT_EQ(reset.status, 0) << reset.err;
  EXPECT_FALSE(rig_.module.IndependentOutput());
}

TEST_F(CtlTest, RefusalsAndFailuresGiveTheirStatusAndMessage) {
  const std::string par = WriteParameters(rig_.scratch, rig_.config, "pt100.par");
  ModuleConfig other = rig_.config;
  other.Device = "Q5491";
  const std::string otherModel = WriteParameters(rig_.scratch, other, "q5491.par");
  const std::string missing = (rig_.scratch / "missing.par").string();
  // An output file that someone protected.
  const std::string kept = (rig_.scratch / "kept.txt").string();
  WriteBytes(kept, "kept as it was");
  ASSERT_EQ(::chmod(kept.c_str(), 0444), 0);

  const struct {
    std::vector<std::string> args;
    int status;
    std::string message;
  } cases[] = {
      {{"write", otherModel, "--port", port_}, 1, "Type of panel meter inconsistency!"},
      {{"write", missing, "--port", port_}, 2, "no such file"},
      {{"write", par}, 2, "--port N is required"},
      {{"read", "--port", port_}, 2, "-o FILE.par is required"},
      {{"monitor", "--port", "x"}, 2, "bad port number"},
      {{"identify", "--port", "5-3"}, 2, "bad port list: 5-3"},
      {{"verify", par, "--port", "3,4,3"}, 2, "bad port list"},
      {{"read", "--port", "9,10", "-o", kept}, 2, "with several ports FILE.par must hold {port}"},
      {{"read", "--port", port_, "-o", kept}, 1, "Cannot open file: " + kept},
      {{"record", "--port", port_, "--count", "1", "-o", kept}, 1, "Cannot open file:\n" + kept},
  };
  for (const auto& c : cases) {
    const Outcome outcome = ctl_.Run(c.args);
    EXPECT_EQ(outcome.status, c.status) << c.message;
    EXPECT_TRUE(Contains(outcome.err, c.message)) << outcome.err;
  }
  EXPECT_EQ(rig_.interposer.CountOf('D'), 0) << "nothing was written";
  EXPECT_EQ(ReadBytes(kept), "kept as it was");

  // A store the module refuses fails the write after one restart.
  rig_.interposer.Override('L', Bytes{0});
  const Outcome refused = ctl_.Run({"write", par, "--port", port_});
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(Contains(refused.err, "Transmission unsuccessful! (bad reply from COM9)"))
      << refused.err;
  EXPECT_EQ(rig_.interposer.CountOf('r'), 1);

  rig_.emulator.Faults().SilenceFor(std::chrono::minutes(1));
  const Outcome silent = ctl_.Run({"write", par, "--port", port_});
  EXPECT_EQ(silent.status, 1);
  EXPECT_TRUE(Contains(silent.err, "No communication with device! (no echo from COM9)"))
      << silent.err;
}

// Type K at 500 degC (20.644 mV) from a parameters file through the memory of
// the older firmware, which adds the cold junction's voltage at its internal
// temperature (25 degC, 1.000 mV), to the monitor's display. The conversion,
// the image and the display are each tested on their own for every sensor.
TEST(CtlMeasurement, MonitorShowsTheValueOfTheSignalToTheDisplaysResolution) {
  DeviceRig rig(ModuleWith(kOldIdLate));
  CtlRunner ctl(rig.scratch / "ctl", rig.emulator.SlavePath());
  SetThermocoupleK(rig.config);
  const std::string port = std::to_string(kPort);
  const std::string par = WriteParameters(rig.scratch, rig.config, "k.par");
  const Outcome written = ctl.Run({"write", par, "--port", port});
  ASSERT_EQ(written.status, 0) << written.err;

  rig.module.SetSignal(SignalShape{SignalKind::Constant, 20.644 - 1.000, 0, 10});
  const Outcome monitored = ctl.Run({"monitor", "--port", port, "--count", "3"});
  ASSERT_EQ(monitored.status, 0) << monitored.err;
  const auto rows = MonitorLines(monitored.out);
  for (const std::vector<std::string>& columns : rows) {
    ASSERT_EQ(columns.size(), 5u) << monitored.out;
    const std::string number = columns[1].substr(columns[1].find_first_not_of(' '));
    // To one unit of the display's last digit.
    const std::size_t point = number.find('.');
    const double resolution =
        point == std::string::npos ? 1 : std::pow(10.0, -double(number.size() - point - 1));
    EXPECT_NEAR(std::stod(number), 500.0, resolution + 1e-9) << number;
    EXPECT_EQ(columns[2], "\u00B0C");
    const double fraction =
        (500.0 - rig.config.MinInput) / (rig.config.MaxInput - rig.config.MinInput);
    EXPECT_NEAR(std::stod(columns[3]), 4 + 16 * fraction, 0.02) << "output current";
    // The averaging flags may come and go; nothing may be wrong.
    for (const char* fault : {"Cal mode", "Broken sensor", "EEPROM error", "Out of range"}) {
      EXPECT_FALSE(Contains(columns[4], fault)) << columns[4];
    }
  }
  EXPECT_EQ(rows.size(), 3u) << monitored.out;
}

}  // namespace
}  // namespace q5480::device_test
