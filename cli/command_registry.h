// The commands of q5480ctl. Each command lives in its own file and registers
// itself with a static Registration, so that adding a command touches no
// other file.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace q5480::cli {

// Exit statuses that scripts can trust.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the work itself failed (bad file, module, transfer)
inline constexpr int kExitUsage = 2;   // bad arguments or a missing file

struct Command {
  std::string path;     // words after "q5480ctl", e.g. "par show"
  std::string summary;  // one line for the command list
  std::string help;     // full text for "--help"
  std::function<int(const std::vector<std::string>& args)> run;
};

struct OptionSpec;
struct ParsedArgs;

class Registration {
 public:
  explicit Registration(Command command);
  // A command whose `run` gets its arguments parsed by `options`: arguments
  // that they refuse fail with kExitUsage before `run` is called.
  Registration(const char* path, std::string summary, std::string help, const OptionSpec& options,
               std::function<int(const ParsedArgs&)> run);
};

const std::vector<Command>& Commands();

}  // namespace q5480::cli
