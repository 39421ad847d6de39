// q5480ctl on a production station: a plan written into several modules at
// once while one is silent and one of another model, its result file and
// production log read back; modules and files compared field by field; the
// JSON output of the commands parsed.
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

#include "config/parameters_file.h"
#include "ctl_runner.h"
#include "service/machine_text.h"
#include "support/device_rig.h"

namespace q5480::device_test {
namespace {

using nlohmann::json;

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    EXPECT_TRUE(SplitCsvLine(line, fields)) << line;
    rows.push_back(fields);
  }
  return rows;
}

std::vector<json> JsonLines(const std::string& text) {
  std::vector<json> objects;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) objects.push_back(json::parse(line));
  return objects;
}

class ProductionLine : public ::testing::Test {
 protected:
  ProductionLine() : ctl_(rig_.scratch / "ctl", rig_.emulator.SlavePath()) {
    SetPt100Configuration(config_);
    par_ = WriteParameters(rig_.scratch, config_, "pt100.par");
  }

  std::filesystem::path Ports() const { return rig_.scratch / "ctl" / "ports"; }

  DeviceRig rig_{ModuleWith(kNewId, 5495)};  // COM9
  CtlRunner ctl_;
  ModuleConfig config_;
  std::string par_;
};

TEST_F(ProductionLine, ABatchProgramsTheGoodModulesAndNamesTheSilentOneAndTheOtherModel) {
  ModuleOnLine older(ModuleWith(kOldIdLate, 5495), Ports(), 10);
  ModuleOnLine otherModel(ModuleWith(kNewId, 5491), Ports(), 11);
  ModuleOnLine silent(ModuleWith(kNewId, 5495), Ports(), 12);
  silent.emulator.Faults().SilenceFor(std::chrono::minutes(5));
  const std::filesystem::path plan = rig_.scratch / "plan.csv";
  WriteBytes(plan,
             "port,file,tag,info\n9,pt100.par,TT-9,\"Boiler 9, return\"\n10,pt100.par,TT-10,\n"
             "11,pt100.par,,\n12,pt100.par,,\n");
  const std::string log = (rig_.scratch / "station.csv").string();

  const Outcome batch = ctl_.Run({"batch", plan.string(), "--log", log});
  EXPECT_EQ(batch.status, 1) << batch.err;
  EXPECT_TRUE(Contains(batch.err, "COM11: Type of panel meter inconsistency!")) << batch.err;

  const auto result = CsvRows(ReadBytes(rig_.scratch / "plan.result.csv"));
  ASSERT_EQ(result.size(), 5u);
  EXPECT_EQ(result[0], (std::vector<std::string>{"port", "model", "serial", "result", "reason",
                                                 "fingerprint", "seconds"}));
  std::map<std::string, std::vector<std::string>> byPort;
  for (std::size_t i = 1; i < result.size(); ++i) {
    ASSERT_EQ(result[i].size(), 7u);
    byPort[result[i][0]] = result[i];
  }
  EXPECT_EQ(byPort["9"][3], "ok");
  EXPECT_EQ(byPort["10"][3], "ok");
  EXPECT_EQ(byPort["9"][2], "1234567");
  EXPECT_EQ(byPort["9"][5].size(), 8u);
  EXPECT_EQ(byPort["9"][5], byPort["10"][5]) << "one file, one fingerprint on either layout";
  EXPECT_EQ(byPort["11"][3], "failed");
  EXPECT_EQ(byPort["11"][4], "Type of panel meter inconsistency!");
  EXPECT_EQ(byPort["12"][3], "failed");
  EXPECT_TRUE(Contains(byPort["12"][4], "No communication with device!")) << byPort["12"][4];
  EXPECT_EQ(otherModel.interposer.CountOf('D'), 0);
  for (const char* port : {"COM9 ", "COM10 ", "COM11 ", "COM12 "}) {
    EXPECT_TRUE(Contains(batch.out, port)) << batch.out;
  }

  // The log: a header and one line per module (its format is the service's).
  const auto logRows = CsvRows(ReadBytes(log));
  ASSERT_EQ(logRows.size(), 5u);
  std::set<std::string> logged;
  for (std::size_t i = 1; i < logRows.size(); ++i) {
    ASSERT_EQ(logRows[i].size(), 10u);
    logged.insert(logRows[i][1] + ":" + logRows[i][2] + ":" + logRows[i][8]);
  }
  EXPECT_EQ(logged, (std::set<std::string>{"batch:9:ok", "batch:10:ok", "batch:11:failed",
                                           "batch:12:failed"}));

  // Read back as JSON: each module holds its own tag and the file's fingerprint.
  const Outcome read = ctl_.Run(
      {"read", "--port", "9-10", "-o", (rig_.scratch / "back-{port}.par").string(), "--json"});
  ASSERT_EQ(read.status, 0) << read.err;
  const std::vector<json> objects = JsonLines(read.out);
  ASSERT_EQ(objects.size(), 2u);
  for (const json& object : objects) {
    EXPECT_EQ(object["result"], "ok");
    EXPECT_EQ(object["fingerprint"], byPort["9"][5]);
    ModuleConfig back;
    InputLimits limits;
    std::string dataDir;
    ASSERT_TRUE(ReadParametersFile(object["file"].get<std::string>(), back, limits, dataDir));
    EXPECT_EQ(back.kod, "TT-" + std::to_string(object["port"].get<int>()));
  }
}

TEST_F(ProductionLine, DiffNamesWhatAWriteAndAChangeInsideTheModuleLeftAndComparesTwoFiles) {
  ModuleOnLine older(ModuleWith(kOldIdLate, 5495), Ports(), 10);
  ASSERT_EQ(ctl_.Run({"write", par_, "--port", "10"}).status, 0);
  const Outcome same = ctl_.Run({"diff", par_, "--port", "10"});
  EXPECT_EQ(same.status, 0) << same.out << same.err;
  EXPECT_TRUE(Contains(same.err, "Not compared: the configuration date")) << same.err;

  // The older layout keeps the image as it is: the span of the input range.
  older.module.PokeMemory(
      image_offset::kSpan + 1,
      static_cast<std::uint8_t>(older.module.Memory()[image_offset::kSpan + 1] + 1));
  const Outcome changed = ctl_.Run({"diff", par_, "--port", "10", "--json"});
  EXPECT_EQ(changed.status, 1);
  const json object = json::parse(changed.out);
  EXPECT_EQ(object["result"], "differs");
  ASSERT_FALSE(object["differences"].empty());
  EXPECT_EQ(object["differences"][0]["field"], "MaxInput");
  EXPECT_EQ(object["differences"][0]["first"], "250");
  EXPECT_NE(object["fingerprint"], object["fileFingerprint"]);

  ModuleConfig other = config_;
  other.MaxInput = 300;
  other.kod = "TAG-8";
  const std::string otherPar = WriteParameters(rig_.scratch, other, "other.par");
  const Outcome files = ctl_.Run({"diff", par_, otherPar});
  EXPECT_EQ(files.status, 1);
  EXPECT_TRUE(Contains(files.out, "MaxInput: pt100.par 250, other.par 300\n")) << files.out;
  EXPECT_TRUE(Contains(files.out, "ID Tag: pt100.par \"TAG-7\", other.par \"TAG-8\"\n"));
  EXPECT_EQ(ctl_.Run({"diff", par_, par_}).status, 0);
}

TEST_F(ProductionLine, JsonOfEveryCommandThatGivesItAndALogThatCannotBeWritten) {
  ASSERT_EQ(ctl_.Run({"write", par_, "--port", "9"}).status, 0);
  const Outcome identified = ctl_.Run({"identify", "--port", "9", "--json"});
  ASSERT_EQ(identified.status, 0) << identified.err;
  const json id = json::parse(identified.out);
  EXPECT_EQ(id["layout"], "new");

  const std::string log = (rig_.scratch / "verify.jsonl").string();
  const Outcome verified = ctl_.Run({"verify", par_, "--port", "9,31", "--json", "--log", log});
  EXPECT_EQ(verified.status, 1) << "COM31 is missing";
  const std::vector<json> summary = JsonLines(verified.out);
  ASSERT_EQ(summary.size(), 2u);
  EXPECT_EQ(summary[0]["port"], 9);
  EXPECT_EQ(summary[0]["result"], "ok");
  EXPECT_EQ(summary[0]["fingerprint"], id["fingerprint"]);
  EXPECT_EQ(summary[0]["fileFingerprint"], id["fingerprint"]);
  EXPECT_EQ(summary[1]["result"], "failed");
  EXPECT_TRUE(Contains(summary[1]["reason"], "COM31 initialization failed!"));
  const std::vector<json> logLines = JsonLines(ReadBytes(log));
  ASSERT_EQ(logLines.size(), 2u);
  EXPECT_EQ(logLines[0]["command"], "verify");

  const json ports = json::parse(ctl_.Run({"ports", "--json"}).out);
  EXPECT_EQ(ports["port"], kPort);
  const json doctor = json::parse(ctl_.Run({"doctor", "--port", "9", "--json"}).out);
  EXPECT_EQ(doctor["ready"], true);
  EXPECT_TRUE(doctor["findings"].empty());
  const Outcome monitor = ctl_.Run({"monitor", "--port", "9", "--count", "2", "--json"});
  ASSERT_EQ(monitor.status, 0) << monitor.err;
  for (const json& sample : JsonLines(monitor.out)) {
    EXPECT_EQ(sample["unit"], "\u00B0C");
    EXPECT_TRUE(sample["current"].is_number());
    EXPECT_TRUE(sample["status"].is_array());
  }

  rig_.interposer.ClearRequests();
  const Outcome noLog = ctl_.Run(
      {"write", par_, "--port", "9", "--log", (rig_.scratch / "no-such-folder/log.csv").string()});
  EXPECT_EQ(noLog.status, 2);
  EXPECT_TRUE(Contains(noLog.err, "the log cannot be written")) << noLog.err;
  EXPECT_EQ(rig_.interposer.CountOf('D'), 0) << "nothing is written without a log";
  EXPECT_EQ(rig_.interposer.CountOf('s'), 0);
}

}  // namespace
}  // namespace q5480::device_test
