// q5480ctl batch: a production plan, each planned parameters file written
// into the module on its port, all at once.
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/module_config.h"
#include "config/path_text.h"
#include "config/text.h"
#include "file_to_module.h"
#include "service/batch_plan.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "batch";
constexpr const char* kSummary =
    "write the parameters files of a production plan into their modules";

constexpr const char* kHelp = R"(usage: q5480ctl batch PLAN.csv [--log LOG] [--json]

Runs a production plan: writes each planned parameters file into the module
on its port, as "q5480ctl write" does, all ports at once. PLAN.csv is UTF-8
CSV with a header naming its columns:
  port,file,table,tag,info
  1,pt100.par,,TT-101,Boiler 3 return
  2,k-type.par,,TT-102,
port and file are required; table (a table file instead of the one the
parameters file names), tag (the ID tag, up to 15 characters) and info (the
user information, up to 60) are optional and put into that module only.
Relative paths are taken from the plan's folder.
Each port's lines are marked "COMn: "; a table sums them up (port, model,
serial, result, seconds, reason), and PLAN.result.csv beside the plan
receives the header port,model,serial,result,reason,fingerprint,seconds and
one line per planned module. A silent or missing module costs only its own
time-outs.

options:
  --log LOG   append one line per module to the production log LOG (see
              q5480ctl write --help)
  --json      one JSON object per port on standard output instead of the
              table (keys as for q5480ctl write --help)
  -h, --help  show this text

exit status:
  0  every planned module was programmed
  1  a module failed (the table and PLAN.result.csv say which and why), or
     PLAN.result.csv cannot be written
  2  bad arguments, a bad plan, a planned file that does not exist, or a log
     that cannot be written)";

constexpr std::size_t kTagLength = kKodLength;
constexpr std::size_t kInfoLength = kOgolneLength - 1;

// Every planned file present and every tag and text of a length a module
// holds, before anything is sent.
int CheckPlan(const std::vector<PlannedModule>& modules) {
  for (const PlannedModule& m : modules) {
    const std::optional<std::string> table =
        m.table ? std::optional<std::string>(Utf8FromPath(*m.table)) : std::nullopt;
    if (int status = CheckInputFiles(kCommand, Utf8FromPath(m.file), table); status != kExitOk) {
      return status;
    }
    const std::string com = "COM" + std::to_string(m.port) + ": ";
    if (m.tag && CharCount(*m.tag) > kTagLength) {
      return Fail(kCommand, com + "the tag is longer than 15 characters", kExitUsage);
    }
    if (m.info && CharCount(*m.info) > kInfoLength) {
      return Fail(kCommand, com + "the information is longer than 60 characters", kExitUsage);
    }
  }
  return kExitOk;
}

const OptionSpec kOptions{{"--json"}, {"--log"}, 1, 1};

int Run(const ParsedArgs& parsed) {
  const std::string& plan = parsed.positionals[0];
  if (int status = CheckInputFile(kCommand, plan); status != kExitOk) return status;
  std::vector<PlannedModule> modules;
  if (const std::optional<std::string> refusal = ReadBatchPlan(PathFromUtf8(plan), modules)) {
    return Fail(kCommand, *refusal, kExitUsage);
  }
  if (int status = CheckPlan(modules); status != kExitOk) return status;

  std::vector<int> ports;
  for (const PlannedModule& m : modules) ports.push_back(m.port);
  std::vector<ModuleResult> results;
  const int status = RunBatch(
      kCommand, ports, parsed,
      [&](int port, bool json) {
        for (const PlannedModule& m : modules) {
          if (m.port != port) continue;
          const WritePlan write{
              Utf8FromPath(m.file),
              m.table ? std::optional<std::string>(Utf8FromPath(*m.table)) : std::nullopt, m.tag,
              m.info};
          return WriteOnPort(kCommand, port, write, json);
        }
        return PortOutcome{};
      },
      results);
  if (results.empty()) return status;
  const std::filesystem::path resultPath = BatchResultPath(PathFromUtf8(plan));
  if (!WriteBatchResult(resultPath, results)) return ReportCannotWrite(Utf8FromPath(resultPath));
  return status;
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
