// q5480ctl: the command-line tool for scripts and production lines.
#include <cstdio>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/conversion_error.h"

namespace q5480::cli {
namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "usage: q5480ctl COMMAND [ARGUMENTS]\n\ncommands:\n");
  for (const Command& command : Commands()) {
    std::fprintf(out, "  %-16s %s\n", command.path.c_str(), command.summary.c_str());
  }
  std::fprintf(out, "\n\"q5480ctl COMMAND --help\" describes one command.\n");
}

// Number of leading words of `args` that name `command`, or 0.
std::size_t MatchWords(const Command& command, const std::vector<std::string>& args) {
  std::size_t used = 0;
  std::size_t start = 0;
  const std::string& path = command.path;
  while (start < path.size()) {
    std::size_t end = path.find(' ', start);
    if (end == std::string::npos) end = path.size();
    if (used >= args.size() || args[used] != path.substr(start, end - start)) return 0;
    ++used;
    start = end + 1;
  }
  return used;
}

}  // namespace

Registration::Registration(Command command) { Registry().push_back(std::move(command)); }

const std::vector<Command>& Commands() { return Registry(); }

}  // namespace q5480::cli

int main(int argc, char** argv) {
  using namespace q5480::cli;
  const std::vector<std::string> args = PrepareConsole(argc, argv);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(args.empty() ? stderr : stdout);
    return args.empty() ? kExitUsage : kExitOk;
  }
  // The longest command path that matches wins ("image decode" over "image").
  const Command* best = nullptr;
  std::size_t bestWords = 0;
  for (const Command& command : Commands()) {
    std::size_t words = MatchWords(command, args);
    if (words > bestWords) {
      best = &command;
      bestWords = words;
    }
  }
  if (best == nullptr) {
    std::fprintf(stderr, "q5480ctl: unknown command \"%s\" (see q5480ctl --help)\n",
                 args[0].c_str());
    return kExitUsage;
  }
  std::vector<std::string> rest(args.begin() + static_cast<long>(bestWords), args.end());
  for (const std::string& arg : rest) {
    if (arg == "--help" || arg == "-h") {
      std::printf("%s\n", best->help.c_str());
      return kExitOk;
    }
  }
  // Whichever command met a floating-point error of the conversion ends with
  // its message and status 1.
  try {
    return best->run(rest);
  } catch (const q5480::ConversionError& error) { return ReportMessage(error.what(), kExitFailed); }
}
