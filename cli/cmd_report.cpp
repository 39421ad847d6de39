// q5480ctl report: the parameters report of a parameters file, as File ›
// Print puts it on the page.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/dates.h"
#include "config/path_text.h"
#include "config/program_directory.h"
#include "conversion/conversion_messages.h"
#include "service/printed_report.h"
#include "service/stored_configuration.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "report";
constexpr const char* kSummary = "print the parameters report of a parameters file";

constexpr const char* kHelp = R"(usage: q5480ctl report FILE.par [--table FILE.dat]

Prints the parameters report of the configuration in FILE.par as the
desktop program prints it, in English and as UTF-8 text: the 28 lines of the
page (empty ones included, dated today), then, as the page has it under the
date, the accuracy of the transfer table that a module would be given: the
largest difference between what the module shows and the exact
characteristic, where it occurs, and its root mean square; last the
configuration's fingerprint ("Fingerprint: 3fa2c91b", as the desktop program
shows it after a read or a write), unless the configuration cannot be built.

The configuration's table file is read again (or its power series sampled
again) for the accuracy. When the table file cannot be found, the report is
printed all the same, the accuracy line says that no data are available, and
the fingerprint is left out.

options:
  --table FILE.dat  the table file to use instead of the stored name
  -h, --help        show this text

exit status:
  0  the report was printed
  1  the parameters file does not load ("Corrupted or wrong data file!"),
     its table or series was refused, or its conversion meets a
     floating-point error ("Floating point error in the conversion")
  2  bad arguments, or a file does not exist)";

const OptionSpec kOptions{{}, {"--table"}, 1, 1};

int Run(const ParsedArgs& parsed) {
  const std::string& input = parsed.positionals[0];
  if (int status = CheckInputFile(kCommand, input); status != kExitOk) return status;
  const std::optional<std::string> table = parsed.Value("--table");
  if (table) {
    if (int status = CheckInputFile(kCommand, *table); status != kExitOk) return status;
  }

  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
  const std::optional<Refusal> refusal = LoadStoredConfiguration(
      PathFromUtf8(input),
      table ? std::optional<std::filesystem::path>(PathFromUtf8(*table)) : std::nullopt,
      ProgramDirectory(), {config, limits, state});
  // A table that is not at hand leaves only the accuracy untold.
  if (refusal && refusal->key != kCannotOpenFile)
    return ReportMessage(RefusalMessage(*refusal), kExitFailed);
  const PrintedReport report =
      ComposePrintedReport(config, limits, state, LanguageTable(), "English", Today());
  PrintLines(report.ReadingOrder());
  return kExitOk;
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
