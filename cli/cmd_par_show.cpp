// q5480ctl par show: a parameters file as the program reads and writes it.
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/parameters_file.h"
#include "config/path_text.h"
#include "conversion/sensor_signal.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "par show";
constexpr const char* kSummary = "print a parameters file as the program writes it";

constexpr const char* kHelp = R"(usage: q5480ctl par show [--decimal-comma] [-o OUT.par] FILE

Reads the parameters file FILE exactly as the desktop program does (keys in
any order and letter case, "." or "," as the decimal point, the consistency
rules applied to out-of-range values) and prints the 44 lines that the
program would write for it, as UTF-8 text, one line per line.

A table file named by the "File" key is taken as present when the
configuration uses one (type 15, or a resistance, voltage or current input
with a table conversion); it is not read.

options:
  --decimal-comma  write real numbers with "," as the decimal separator
                   (default ".")
  -o OUT.par       also write the result to OUT.par as the program does
                   (Windows-1250, CR LF line ends), replacing it atomically
  -h, --help       show this text

exit status:
  0  the file was read (and written)
  1  the file does not load ("Corrupted or wrong data file!"), or OUT.par
     cannot be written ("Cannot open file: OUT.par"; a write-protected file
     stays as it was)
  2  bad arguments, or FILE does not exist)";

const OptionSpec kOptions{{"--decimal-comma"}, {"-o"}, 1, 1};

int Run(const ParsedArgs& parsed) {
  const std::string& input = parsed.positionals[0];
  if (int status = CheckInputFile(kCommand, input); status != kExitOk) return status;

  ModuleConfig config;
  InputLimits limits;
  std::string dataDir;
  if (!ReadParametersFile(PathFromUtf8(input), config, limits, dataDir))
    return ReportCorruptedFile();
  // Without the table at hand, a named table counts as loaded so that the
  // name is kept in what is shown and written, when the conversion uses it.
  config.TableLoaded = !config.File.empty() && NamesTableFile(config);

  const RegionalSettings regional = RegionalFromArgs(parsed);
  if (std::optional<std::string> output = parsed.Value("-o")) {
    if (!WriteParametersFile(PathFromUtf8(*output), config, regional, dataDir)) {
      return ReportCannotWrite(*output);
    }
  }
  PrintLines(ComposeParametersFile(config, regional).Lines());
  return kExitOk;
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
