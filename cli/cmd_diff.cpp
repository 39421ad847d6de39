// q5480ctl diff: the fields in which a module differs from a parameters
// file, or one file from another.
#include <filesystem>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/language_table.h"
#include "config/path_text.h"
#include "console_lines.h"
#include "file_to_module.h"
#include "service/configuration_fingerprint.h"
#include "service/machine_text.h"
#include "stored_image.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "diff";
constexpr const char* kSummary = "name the fields in which modules differ from a parameters file";

constexpr const char* kHelp =
    R"(usage: q5480ctl diff FILE.par --port PORTS [--table FILE.dat] [--json]
       q5480ctl diff A.par B.par [--json]

Names the fields in which the module on each port differs from FILE.par
(built as "write" builds it, the module's whole memory read as "verify"
reads it), or B.par from A.par, one a line in the words of the program:
  MaxInput: file 1000, module 850
  Sensor: file Thermocouple K, CJC, linearization, module Pt100 (0.00385), 3-wire
then the fingerprints of both sides ("fingerprint  file 3fa2c91b  module
77c01d2e"). Each side is compared as a module holds it, so the rounding of
the module's number format is no difference. Not compared, and said so on
standard error: the configuration date (each write sets its own), the
serial number, factory date and identifier (each module's own); a field one
memory layout does not keep (the cold-junction temperature on the newer one,
LimitLow and LimitHigh on the older one).

options:
  --port PORTS      a COM number (see q5480ctl ports), a list "3,5,9" or a
                    range "1-8": the modules are compared at once, each
                    port's lines marked "COMn: ", then a table sums them up
  --table FILE.dat  the table file of FILE.par instead of the stored name
  --json            one JSON object per port (or for the two files) on
                    standard output, with the keys port, model, serial,
                    identifier, file, fingerprint, result ("ok", "differs",
                    "failed"), reason, seconds, fileFingerprint, differences
                    (objects with field, first, second and summary) and
                    leftOut; for two files: first, second, firstFingerprint,
                    secondFingerprint, result, differences, leftOut
  -h, --help        show this text

exit status:
  0  they agree
  1  they differ, or a port does not open, a module does not answer or the
     read fails, or a file is refused or its image cannot be built
  2  bad arguments, or a file does not exist)";

std::string DifferencesJson(const std::vector<FieldDifference>& differences) {
  std::string json = "[";
  for (const FieldDifference& d : differences) {
    if (json.size() > 1) json += ",";
    json += JsonObject({{"field", JsonString(d.field)},
                        {"first", JsonString(d.first)},
                        {"second", JsonString(d.second)},
                        {"summary", JsonString(d.summary)}});
  }
  return json + "]";
}

// The differences on standard output (unless `json`), the note on what was
// left out on standard error.
void PrintDifferences(const std::vector<FieldDifference>& differences, std::string_view firstName,
                      std::string_view secondName, bool json) {
  const LanguageTable english;
  if (!json) {
    for (const FieldDifference& d : differences) {
      PrintOut(DescribeDifference(d, firstName, secondName));
    }
  }
  PrintProgress(LeftOutOfComparison(english));
}

PortOutcome OnPort(int port, const WritePlan& plan, bool json) {
  FileCheck check = CheckAgainstFile(kCommand, port, plan);
  PortOutcome& outcome = check.outcome;
  if (outcome.status != kExitOk) return outcome;
  const LanguageTable english;
  const std::vector<FieldDifference> differences =
      CompareConfigurations(check.file, check.module, english);
  PrintDifferences(differences, "file", "module", json);
  if (!json) {
    PrintOut("fingerprint  file " + check.fileFingerprint + "  module " +
             outcome.result.fingerprint);
  }
  outcome.details.push_back({"differences", DifferencesJson(differences)});
  outcome.details.push_back({"leftOut", JsonString(LeftOutOfComparison(english))});
  outcome.result.result = differences.empty() ? kResultOk : kResultDiffers;
  outcome.status = differences.empty() ? kExitOk : kExitFailed;
  return outcome;
}

int CompareFiles(const ParsedArgs& args) {
  StoredImage sides[2];
  std::string fingerprints[2];
  for (int i = 0; i < 2; ++i) {
    const std::string& file = args.positionals[static_cast<std::size_t>(i)];
    const ConversionContext context = sides[i].Context();
    if (int status = LoadStoredFile(kCommand, file, std::nullopt, context); status != kExitOk) {
      return status;
    }
    if (int status = BuildImage(context, sides[i].image, 0); status != kExitOk) return status;
    fingerprints[i] = ConfigurationFingerprint(sides[i].image, ModelCode(sides[i].config));
  }
  const LanguageTable english;
  const std::vector<FieldDifference> differences =
      CompareConfigurations(ConfigurationOfFile(sides[0].image, sides[0].config),
                            ConfigurationOfFile(sides[1].image, sides[1].config), english);
  const std::string first = Utf8FromPath(PathFromUtf8(args.positionals[0]).filename());
  const std::string second = Utf8FromPath(PathFromUtf8(args.positionals[1]).filename());
  const bool json = args.Has("--json");
  PrintDifferences(differences, first, second, json);
  if (json) {
    PrintOut(JsonObject({{"first", JsonString(args.positionals[0])},
                         {"second", JsonString(args.positionals[1])},
                         {"firstFingerprint", JsonString(fingerprints[0])},
                         {"secondFingerprint", JsonString(fingerprints[1])},
                         {"result", JsonString(differences.empty() ? kResultOk : kResultDiffers)},
                         {"differences", DifferencesJson(differences)},
                         {"leftOut", JsonString(LeftOutOfComparison(english))}}));
  } else {
    PrintOut("fingerprint  " + first + " " + fingerprints[0] + "  " + second + " " +
             fingerprints[1]);
  }
  return differences.empty() ? kExitOk : kExitFailed;
}

const OptionSpec kOptions{{"--json"}, {"--port", "--table"}, 1, 2};

int Run(const ParsedArgs& parsed) {
  if (parsed.positionals.size() == 2) {
    if (parsed.Value("--port") || parsed.Value("--table")) {
      return Fail(kCommand, "two files are compared without --port and --table", kExitUsage);
    }
    return CompareFiles(parsed);
  }
  return RunFileOnPorts(kCommand, parsed, false, OnPort);
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
