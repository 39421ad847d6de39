// q5480ctl record against the emulated module: the data file it writes, its
// end on a count, on SIGTERM and when the module falls silent, and its
// refusals of bad arguments.
#include <cstdlib>
#include <regex>

#include "ctl_runner.h"
#include "support/device_rig.h"

namespace q5480::device_test {

using namespace test_support;
namespace {

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(bytes.substr(start, end - start));
  }
  EXPECT_EQ(start, bytes.size()) << "the file ends with a complete line";
  return lines;
}

// Every line after the header is a record as the chart view writes it.
void ExpectRecords(const std::vector<std::string>& lines, char separator) {
  const std::string s(1, separator);
  const std::regex record("\\+\\d+\\" + s + "\\d\\d\\t[+-]\\d+(\\" + s +
                          "\\d+)?\\t\\+\\d+\\.\\d\\d");
  for (std::size_t i = 4; i < lines.size(); ++i)
    EXPECT_TRUE(std::regex_match(lines[i], record)) << lines[i];
}

class RecordCommand : public ::testing::Test {
 protected:
  RecordCommand()
      : rig_(ModuleWith(kNewId)), ctl_(rig_.scratch / "ctl", rig_.emulator.SlavePath()) {}
  std::string Port() const { return std::to_string(kPort); }
  std::filesystem::path Data() const { return rig_.scratch / "log.txt"; }

  DeviceRig rig_;
  CtlRunner ctl_;
};

TEST_F(RecordCommand, WritesTheHeaderAndOneRecordASampleUpToTheCount) {
  const Outcome run = ctl_.Run({"record", "--port", Port(), "--interval", "0", "--count", "5",
                                "--decimal-comma", "-o", Data().string()});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(ReadBytes(Data()));
  ASSERT_EQ(lines.size(), 4u + 5u);
  EXPECT_EQ(lines[0], "Q5480 series module measurements");
  EXPECT_TRUE(
      std::regex_match(lines[1], std::regex(R"(Date: \d\d\.\d\d\.\d{4}   Time: \d\d:\d\d:\d\d)")));
  EXPECT_EQ(lines[2], "");
  EXPECT_TRUE(
      std::regex_match(lines[3], std::regex("Time \\[s\\]\tResult \\[.*\\]\tOutput \\[mA\\]")));
  ExpectRecords(lines, ',');
}

TEST_F(RecordCommand, EndsWithACompleteFileOnSigterm) {
  const std::string command = "'" + (rig_.scratch / "ctl" / "q5480ctl").string() +
                              "' record --port " + Port() + " --interval 0 -o '" + Data().string() +
                              "' 2>/dev/null & pid=$!; sleep 1; kill -TERM $pid; wait $pid";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const std::vector<std::string> lines = Lines(ReadBytes(Data()));
  ASSERT_GE(lines.size(), 4u);
  ExpectRecords(lines, '.');
}

TEST_F(RecordCommand, FailsWithTheProgramsMessageWhenTheModuleFallsSilent) {
  rig_.interposer.SilentAfter(12);
  const Outcome run =
      ctl_.Run({"record", "--port", Port(), "--interval", "0", "-o", Data().string()});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("No communication with device!"), std::string::npos) << run.err;
  ExpectRecords(Lines(ReadBytes(Data())), '.');
}

TEST_F(RecordCommand, RefusesBadArgumentsBeforeTouchingTheModule) {
  const std::vector<std::vector<std::string>> refused = {
      {"record", "--port", Port()},
      {"record", "--port", Port(), "-o", Data().string(), "--count", "3", "--duration", "3"},
      {"record", "--port", Port(), "-o", Data().string(), "--interval", "-1"},
      {"record", "--port", Port(), "-o", Data().string(), "--interval", "3601"},
      {"record", "--port", Port(), "-o", Data().string(), "--count", "0"},
  };
  for (const auto& args : refused) {
    const Outcome run = ctl_.Run(args);
    EXPECT_EQ(run.status, 2) << args.back();
  }
  EXPECT_FALSE(std::filesystem::exists(Data()));
  EXPECT_EQ(rig_.interposer.Requests().size(), 0u);
}

}  // namespace
}  // namespace q5480::device_test
