// Helpers that several q5480ctl commands share: argument parsing, the
// one-line reasons on standard error, input files.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "command_registry.h"
#include "config/numbers.h"
#include "console.h"

namespace q5480::cli {

// The options one command accepts.
struct OptionSpec {
  std::vector<std::string> flags;         // without a value, e.g. "--decimal-comma"
  std::vector<std::string> valueOptions;  // followed by a value, e.g. "-o"
  std::size_t minPositionals = 0;
  std::size_t maxPositionals = 0;
};

struct ParsedArgs {
  std::set<std::string> flags;
  std::map<std::string, std::string> values;
  std::vector<std::string> positionals;

  bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
  std::optional<std::string> Value(const std::string& option) const;
};

// Accepts "OPTION VALUE" and "--OPTION=VALUE"; "--" ends the options, and
// a negative number is never an option. On a bad argument returns nothing
// and sets `error` to a one-line reason.
std::optional<ParsedArgs> ParseArguments(const std::vector<std::string>& args,
                                         const OptionSpec& spec, std::string& error);

// Prints "q5480ctl COMMAND: REASON" on standard error and returns `status`.
int Fail(std::string_view command, std::string_view reason, int status);

// kExitOk when `path` names a readable regular file; otherwise the reason on
// standard error and kExitUsage.
int CheckInputFile(std::string_view command, const std::string& path);

// CheckInputFile of a parameters file and of the table given for it.
int CheckInputFiles(std::string_view command, const std::string& parametersFile,
                    const std::optional<std::string>& table);

// One text per line on standard output, "\n" after each.
void PrintLines(const std::vector<std::string>& lines);

// A message of the program (its English text) alone on standard error;
// returns `status`.
int ReportMessage(std::string_view message, int status);

// "Corrupted or wrong data file!" on standard error; kExitFailed.
int ReportCorruptedFile();

// "Cannot open file: PATH" on standard error, for an output that could not
// be written; kExitFailed.
int ReportCannotWrite(const std::string& path);

// The regional settings of the output: "." unless "--decimal-comma" was given.
RegionalSettings RegionalFromArgs(const ParsedArgs& args);

// A whole number above zero, the whole text; nothing otherwise.
std::optional<long> PositiveNumber(const std::string& text);

// The local time of day now, "HH:MM:SS.mmm".
std::string TimeStamp();

}  // namespace q5480::cli
