// What a production station's software reads: JSON and CSV text, the batch
// plan and its refusals, the production log, and many ports run at once.
#include <gtest/gtest.h>

#include <atomic>
#include <clocale>
#include <stdexcept>
#include <thread>

#include "service/batch_plan.h"
#include "service/machine_text.h"
#include "service/parallel_ports.h"
#include "service/production_log.h"
#include "support/scratch_directory.h"
#include "support/wait_until.h"

namespace q5480 {
namespace {

using test_support::ReadBytes;
using test_support::ScratchDirectory;
using test_support::WriteBytes;

TEST(MachineText, EscapesJsonAndQuotesCsvAndWritesNumbersWithAPoint) {
  EXPECT_EQ(JsonString("a\"b\\c\nd\te\x01 \u00B0C \u0105"),
            "\"a\\\"b\\\\c\\nd\\te\\u0001 \u00B0C \u0105\"");
  // Whatever the regional settings, a point.
  const char* before = std::setlocale(LC_NUMERIC, "pl_PL.UTF-8");
  EXPECT_EQ(JsonNumber(-12.5), "-12.5");
  EXPECT_EQ(JsonNumber(4, 3), "4");
  EXPECT_EQ(JsonNumber(-0.0000001), "0");
  if (before != nullptr) std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(JsonNumber(1.0 / 0.0), "null");
  EXPECT_EQ(JsonObject({{"a", "1"}, {"b", JsonString("x")}}), "{\"a\":1,\"b\":\"x\"}");

  const std::vector<std::string> fields = {"plain", "with, comma", "say \"hi\"", "", "two\nlines"};
  const std::string line = CsvLine(fields);
  EXPECT_EQ(line, "plain,\"with, comma\",\"say \"\"hi\"\"\",,\"two\nlines\"");
  std::vector<std::string> back;
  EXPECT_TRUE(SplitCsvLine(line, back));
  EXPECT_EQ(back, fields);
  EXPECT_FALSE(SplitCsvLine("1,\"open", back));
}

TEST(BatchPlan, ReadsItsRowsFromThePlansFolderAndRefusesWhatCannotBeRun) {
  ScratchDirectory scratch;
  const auto plan = scratch.Path() / "plan.csv";
  WriteBytes(plan, "\xEF\xBB\xBFPort, File ,tag\r\n3,a.par,TT-1\r\n\r\n5,/abs/b.par,\r\n");
  std::vector<PlannedModule> modules;
  ASSERT_EQ(ReadBatchPlan(plan, modules), std::nullopt);
  ASSERT_EQ(modules.size(), 2u);
  EXPECT_EQ(modules[0].port, 3);
  EXPECT_EQ(modules[0].file, scratch.Path() / "a.par");
  EXPECT_EQ(modules[0].tag, "TT-1");
  EXPECT_EQ(modules[0].table, std::nullopt);
  // From the root of the plan's drive on Windows.
  EXPECT_EQ(modules[1].file, scratch.Path().root_name() / "/abs/b.par");
  EXPECT_EQ(modules[1].tag, std::nullopt);

  const std::pair<const char*, const char*> refused[] = {
      {"file\n1.par\n", "line 1: the header must name the columns port and file"},
      {"port,file\n0,a.par\n", "line 2: bad port \"0\" (1 to 255)"},
      {"port,file\n3x,a.par\n", "line 2: bad port \"3x\" (1 to 255)"},
      {"port,file\n3,a.par\n3,b.par\n", "line 3: COM3 is planned twice"},
      {"port,file\n3,\n", "line 2: no parameters file"},
      {"port,file\n3,\"a.par\n", "line 2: a quote is not closed"},
  };
  for (const auto& [text, reason] : refused) {
    WriteBytes(plan, text);
    EXPECT_EQ(ReadBatchPlan(plan, modules), reason) << text;
  }
  WriteBytes(plan, "port,file\n");
  EXPECT_NE(ReadBatchPlan(plan, modules), std::nullopt) << "a plan without rows";
  EXPECT_EQ(BatchResultPath(scratch.Path() / "line4.csv"), scratch.Path() / "line4.result.csv");
}

TEST(ProductionLog, AppendsWholeLinesUnderOneHeaderAndRefusesAnUnwritableFile) {
  ScratchDirectory scratch;
  const auto path = scratch.Path() / "log.csv";
  ModuleResult result;
  result.port = 4;
  result.model = "Q5495";
  result.file = "a, b.par";
  result.result = kResultFailed;
  result.reason = "Type of panel meter inconsistency!";
  for (int run = 0; run < 2; ++run) {
    std::string error;
    std::optional<ProductionLog> log = ProductionLog::Open(path, LogFormat::Csv, error);
    ASSERT_TRUE(log) << error;
    EXPECT_TRUE(log->Append("write", result));
  }
  const std::string text = ReadBytes(path);
  EXPECT_EQ(text.find(kLogColumns), 0u);
  EXPECT_EQ(text.rfind(kLogColumns), 0u) << "one header";
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
  EXPECT_NE(text.find(",write,4,Q5495,,,\"a, b.par\",,failed,Type of panel meter inconsistency!\n"),
            std::string::npos)
      << text;

  std::string error;
  std::optional<ProductionLog> json = ProductionLog::Open(path, LogFormat::JsonLines, error);
  ASSERT_TRUE(json);
  EXPECT_EQ(json->LineOf("2026-12-08 10:00:00", "verify", result),
            "{\"time\":\"2026-12-08 10:00:00\",\"command\":\"verify\",\"port\":4,\"model\":"
            "\"Q5495\",\"serial\":\"\",\"identifier\":\"\",\"file\":\"a, b.par\",\"fingerprint\":"
            "\"\",\"result\":\"failed\",\"reason\":\"Type of panel meter inconsistency!\"}");
  EXPECT_FALSE(ProductionLog::Open(scratch.Path() / "missing" / "log.csv", LogFormat::Csv, error));
  EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

TEST(RunOnPorts, RunsEveryPortAtOnceAndHandsEachResultToTheCallingThread) {
  const std::thread::id caller = std::this_thread::get_id();
  std::vector<int> finishedPorts;
  std::atomic<int> handedOver{0};
  const std::vector<ModuleResult> results = RunOnPorts(
      {7, 3, 5},
      [&](int port) {
        if (port == 3) throw std::runtime_error("no such adapter");
        // Port 7, first in the list, ends only once the others have been
        // handed over: ports run one after another would never get there.
        if (port == 7) {
          EXPECT_TRUE(test_support::WaitUntil([&] { return handedOver == 2; }));
        }
        ModuleResult result;
        result.result = kResultOk;
        return result;
      },
      [&](const ModuleResult& result) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        finishedPorts.push_back(result.port);
        ++handedOver;
      });
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[0].port, 7);
  EXPECT_TRUE(results[0].Succeeded());
  EXPECT_EQ(results[1].port, 3);
  EXPECT_EQ(results[1].result, kResultFailed);
  EXPECT_EQ(results[1].reason, "no such adapter");
  EXPECT_EQ(finishedPorts.size(), 3u);
  EXPECT_EQ(finishedPorts.back(), 7);
  EXPECT_GT(results[0].seconds, 0);
}

}  // namespace
}  // namespace q5480
