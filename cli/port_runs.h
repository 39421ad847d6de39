// What the q5480ctl commands that work on modules share: --port as one port,
// a list or a range, worked on all at once with a summary table at the end;
// --json for other programs; --log FILE, the production log.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli_support.h"
#include "service/module_result.h"

namespace q5480::cli {

// The ports of --port: "3", "3,5,9", "1-8", "1-4,7" (1 to 255, each once,
// in the order given); nothing for anything else.
std::optional<std::vector<int>> ParsePortList(std::string_view text);

// What a command did on one port.
struct PortOutcome {
  ModuleResult result;
  int status = kExitFailed;  // the command's exit status had it run on this port alone
  // Members the command adds to the port's JSON object (values already JSON).
  std::vector<std::pair<std::string, std::string>> details;
};

// `json`: the command prints nothing of its own on standard output; its
// details go into the port's JSON object.
using PortJob = std::function<PortOutcome(int port, bool json)>;

// The options every such command takes beside its own.
inline const std::vector<std::string> kPortRunFlags = {"--json"};
inline const std::vector<std::string> kPortRunValues = {"--port", "--log"};

// Runs `job` on the ports of --port. The production log of --log FILE (CSV,
// or JSON lines with --json) is opened first: when it cannot be written the
// command ends (kExitUsage) before any port is opened; `logged` says whether
// the command keeps one (write and verify do). One port: the job's own status.
// Several: all at once, each port's lines prefixed "COMn: ", then the summary
// table on standard output; kExitOk only when every port succeeded, else
// kExitFailed. With --json each port's result is one JSON object on a line of
// its own, instead of the table.
int RunOnPortArgument(std::string_view command, const ParsedArgs& args, bool logged,
                      const PortJob& job);

// The same on `ports` as "batch" plans them: always as several (the summary
// table even for one), the results in the order of `ports` into `results`.
int RunBatch(std::string_view command, const std::vector<int>& ports, const ParsedArgs& args,
             const PortJob& job, std::vector<ModuleResult>& results);

// The JSON object of one port's outcome: port, model, serial, identifier,
// file, fingerprint, result, reason, seconds, then the command's details.
std::string PortOutcomeJson(const PortOutcome& outcome);

}  // namespace q5480::cli
