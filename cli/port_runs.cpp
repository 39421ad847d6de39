#include "port_runs.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <set>

#include "config/path_text.h"
#include "console_lines.h"
#include "service/machine_text.h"
#include "service/parallel_ports.h"
#include "service/production_log.h"

namespace q5480::cli {
namespace {

constexpr int kMaxPort = 255;

std::optional<int> PortNumber(std::string_view text) {
  const std::optional<long> number = PositiveNumber(std::string(text));
  if (!number || *number > kMaxPort) return std::nullopt;
  return static_cast<int>(*number);
}

void PrintSummary(const std::vector<PortOutcome>& outcomes) {
  char line[256];
  std::snprintf(line, sizeof line, "%-7s %-6s %-11s %-8s %7s  %s", "port", "model", "serial",
                "result", "seconds", "reason");
  PrintOut(line);
  for (const PortOutcome& o : outcomes) {
    const ModuleResult& r = o.result;
    std::snprintf(line, sizeof line, "%-7s %-6s %-11s %-8s %7.1f  ",
                  ("COM" + std::to_string(r.port)).c_str(), r.model.empty() ? "-" : r.model.c_str(),
                  r.serial.empty() ? "-" : r.serial.c_str(), r.result.c_str(), r.seconds);
    PrintOut(line + r.reason);
  }
}

}  // namespace

std::optional<std::vector<int>> ParsePortList(std::string_view text) {
  std::vector<int> ports;
  std::set<int> seen;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(',', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view item = text.substr(start, end - start);
    const std::size_t dash = item.find('-');
    const std::optional<int> first = PortNumber(item.substr(0, dash));
    const std::optional<int> last =
        dash == std::string_view::npos ? first : PortNumber(item.substr(dash + 1));
    if (!first || !last || *last < *first) return std::nullopt;
    for (int port = *first; port <= *last; ++port) {
      if (!seen.insert(port).second) return std::nullopt;
      ports.push_back(port);
    }
    start = end + 1;
  }
  return ports;
}

std::string PortOutcomeJson(const PortOutcome& outcome) {
  const ModuleResult& r = outcome.result;
  std::vector<std::pair<std::string, std::string>> members = {
      {"port", std::to_string(r.port)},     {"model", JsonString(r.model)},
      {"serial", JsonString(r.serial)},     {"identifier", JsonString(r.identifier)},
      {"file", JsonString(r.file)},         {"fingerprint", JsonString(r.fingerprint)},
      {"result", JsonString(r.result)},     {"reason", JsonString(r.reason)},
      {"seconds", JsonNumber(r.seconds, 1)}};
  members.insert(members.end(), outcome.details.begin(), outcome.details.end());
  return JsonObject(members);
}

namespace {

// The run behind RunOnPortArgument and RunBatch.
int RunOnPortList(std::string_view command, const std::vector<int>& ports, const ParsedArgs& args,
                  bool logged, bool alwaysSummarize, const PortJob& job,
                  std::vector<ModuleResult>* resultsOut) {
  const bool json = args.Has("--json");
  std::optional<ProductionLog> log;
  if (const std::optional<std::string> logPath = args.Value("--log")) {
    if (!logged) return Fail(command, "keeps no production log", kExitUsage);
    std::string error;
    log = ProductionLog::Open(PathFromUtf8(*logPath), json ? LogFormat::JsonLines : LogFormat::Csv,
                              error);
    if (!log) return Fail(command, "the log cannot be written: " + error, kExitUsage);
  }
  const auto appendToLog = [&](const ModuleResult& result) {
    if (log && !log->Append(command, result)) {
      Fail(command, "the log could not be written for COM" + std::to_string(result.port),
           kExitFailed);
    }
  };

  if (ports.size() == 1 && !alwaysSummarize) {
    const auto start = std::chrono::steady_clock::now();
    TakeLastError();
    PortOutcome outcome = job(ports.front(), json);
    outcome.result.port = ports.front();
    outcome.result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (outcome.result.reason.empty() && !outcome.result.Succeeded()) {
      outcome.result.reason = TakeLastError();
    }
    appendToLog(outcome.result);
    if (json) PrintOut(PortOutcomeJson(outcome));
    return outcome.status;
  }

  std::mutex mutex;
  std::vector<PortOutcome> outcomes(ports.size());
  const std::vector<ModuleResult> results = RunOnPorts(
      ports,
      [&](int port) {
        const PortLines lines(port);
        TakeLastError();
        PortOutcome outcome = job(port, json);
        if (outcome.result.reason.empty() && !outcome.result.Succeeded()) {
          outcome.result.reason = TakeLastError();
        }
        const std::lock_guard lock(mutex);
        for (std::size_t i = 0; i < ports.size(); ++i) {
          if (ports[i] == port) outcomes[i] = outcome;
        }
        return outcome.result;
      },
      appendToLog);
  if (resultsOut != nullptr) *resultsOut = results;
  bool allSucceeded = true;
  for (std::size_t i = 0; i < results.size(); ++i) {
    outcomes[i].result = results[i];
    allSucceeded = allSucceeded && results[i].Succeeded();
  }
  if (json) {
    for (const PortOutcome& outcome : outcomes) PrintOut(PortOutcomeJson(outcome));
  } else {
    PrintSummary(outcomes);
  }
  return allSucceeded ? kExitOk : kExitFailed;
}

}  // namespace

int RunOnPortArgument(std::string_view command, const ParsedArgs& args, bool logged,
                      const PortJob& job) {
  const std::optional<std::string> portText = args.Value("--port");
  if (!portText) return Fail(command, "--port N is required", kExitUsage);
  const std::optional<std::vector<int>> ports = ParsePortList(*portText);
  if (!ports) {
    return Fail(command, "bad port list: " + *portText + " (1 to 255: 3, 3,5,9 or 1-8)",
                kExitUsage);
  }
  return RunOnPortList(command, *ports, args, logged, false, job, nullptr);
}

int RunBatch(std::string_view command, const std::vector<int>& ports, const ParsedArgs& args,
             const PortJob& job, std::vector<ModuleResult>& results) {
  return RunOnPortList(command, ports, args, true, true, job, &results);
}

}  // namespace q5480::cli
