#include "cli_support.h"

#include "console_lines.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

#include "config/language_table.h"
#include "config/local_time.h"
#include "config/path_text.h"

namespace q5480::cli {
namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

std::optional<std::string> ParsedArgs::Value(const std::string& option) const {
  auto found = values.find(option);
  if (found == values.end()) return std::nullopt;
  return found->second;
}

std::optional<ParsedArgs> ParseArguments(const std::vector<std::string>& args,
                                         const OptionSpec& spec, std::string& error) {
  ParsedArgs parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // A negative number is a value, not an option.
    if (optionsEnded || arg.size() < 2 || arg[0] != '-' || ParseNumber(arg)) {
      parsed.positionals.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    std::size_t equals = arg.find('=');
    if (arg.rfind("--", 0) == 0 && equals != std::string::npos) {
      std::string name = arg.substr(0, equals);
      if (!Contains(spec.valueOptions, name)) {
        error = "unknown option \"" + name + "\"";
        return std::nullopt;
      }
      parsed.values[name] = arg.substr(equals + 1);
    } else if (Contains(spec.flags, arg)) {
      parsed.flags.insert(arg);
    } else if (Contains(spec.valueOptions, arg)) {
      if (i + 1 >= args.size()) {
        error = "option \"" + arg + "\" needs a value";
        return std::nullopt;
      }
      parsed.values[arg] = args[++i];
    } else {
      error = "unknown option \"" + arg + "\"";
      return std::nullopt;
    }
  }
  if (parsed.positionals.size() < spec.minPositionals) {
    error = "missing argument";
    return std::nullopt;
  }
  if (parsed.positionals.size() > spec.maxPositionals) {
    error = "unexpected argument \"" + parsed.positionals[spec.maxPositionals] + "\"";
    return std::nullopt;
  }
  return parsed;
}

int Fail(std::string_view command, std::string_view reason, int status) {
  PrintError("q5480ctl " + std::string(command) + ": " + std::string(reason));
  return status;
}

Registration::Registration(const char* path, std::string summary, std::string help,
                           const OptionSpec& options, std::function<int(const ParsedArgs&)> run)
    : Registration(
          Command{path, std::move(summary), std::move(help),
                  [path, options, run = std::move(run)](const std::vector<std::string>& args) {
                    std::string error;
                    const std::optional<ParsedArgs> parsed = ParseArguments(args, options, error);
                    return parsed ? run(*parsed) : Fail(path, error, kExitUsage);
                  }}) {}

int CheckInputFile(std::string_view command, const std::string& path) {
  const std::filesystem::path file = PathFromUtf8(path);
  std::error_code error;
  if (!std::filesystem::exists(file, error))
    return Fail(command, "no such file: " + path, kExitUsage);
  if (!std::filesystem::is_regular_file(file, error)) {
    return Fail(command, "not a regular file: " + path, kExitUsage);
  }
  if (!std::ifstream(file)) return Fail(command, "cannot read file: " + path, kExitUsage);
  return kExitOk;
}

int CheckInputFiles(std::string_view command, const std::string& parametersFile,
                    const std::optional<std::string>& table) {
  if (int status = CheckInputFile(command, parametersFile); status != kExitOk) return status;
  return table ? CheckInputFile(command, *table) : kExitOk;
}

void PrintLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }
  std::fflush(stdout);
}

int ReportMessage(std::string_view message, int status) {
  PrintError(message);
  return status;
}

int ReportCorruptedFile() {
  return ReportMessage(LanguageTable().Tr("Corrupted or wrong data file") + "!", kExitFailed);
}

int ReportCannotWrite(const std::string& path) {
  return ReportMessage(LanguageTable().Tr("Cannot open file") + ": " + path, kExitFailed);
}

RegionalSettings RegionalFromArgs(const ParsedArgs& args) {
  RegionalSettings regional;
  regional.decimalSeparator = args.Has("--decimal-comma") ? ',' : '.';
  return regional;
}

std::optional<long> PositiveNumber(const std::string& text) {
  try {
    std::size_t used = 0;
    const long value = std::stol(text, &used);
    if (used == text.size() && value > 0) return value;
  } catch (const std::exception&) {}
  return std::nullopt;
}

std::string TimeStamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const long ms = static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  const std::tm local = LocalTimeOf(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03ld", local.tm_hour, local.tm_min,
                local.tm_sec, ms);
  return text;
}

}  // namespace q5480::cli
