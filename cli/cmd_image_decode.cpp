// q5480ctl image decode: a binary module image shown as a parameters file.
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/line_buffer.h"
#include "config/module_image.h"
#include "config/parameters_file.h"
#include "config/path_text.h"
#include "conversion/sensor_signal.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "image decode";
constexpr const char* kSummary = "print a binary module image as a parameters file";

constexpr const char* kHelp = R"(usage: q5480ctl image decode [--decimal-comma] FILE

Decodes FILE, a binary module image of exactly 2052 bytes (the module's
configuration memory in image order), as the program does after a read from
a module (the consistency rules applied), and prints the configuration as
the 44 lines of a parameters file, as UTF-8 text, one line per line.

options:
  --decimal-comma  write real numbers with "," as the decimal separator
                   (default ".")
  -h, --help       show this text

exit status:
  0  the image was decoded
  1  FILE is not a module image of 2052 bytes
     ("Corrupted or wrong data file!")
  2  bad arguments, or FILE does not exist)";

const OptionSpec kOptions{{"--decimal-comma"}, {}, 1, 1};

int Run(const ParsedArgs& parsed) {
  const std::string& input = parsed.positionals[0];
  if (int status = CheckInputFile(kCommand, input); status != kExitOk) return status;

  std::optional<std::string> bytes = ReadFileBytes(PathFromUtf8(input));
  if (!bytes || bytes->size() != kImageSize) return ReportCorruptedFile();
  ModuleImage image;
  std::copy(bytes->begin(), bytes->end(), image.bytes.begin());

  ModuleConfig config;
  InputLimits limits;
  DecodeModuleImage(image, config, limits);
  // The image keeps only the table's name; show it as the program would once
  // the table is read again, when the conversion uses it.
  config.TableLoaded = !config.File.empty() && NamesTableFile(config);
  PrintLines(ComposeParametersFile(config, RegionalFromArgs(parsed)).Lines());
  return kExitOk;
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
