// q5480ctl image build: the module image of a parameters file.
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/conversion_error.h"
#include "config/dates.h"
#include "config/module_image.h"
#include "conversion/build_image.h"
#include "conversion/stored_configuration.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "image build";

constexpr const char* kHelp = R"(usage: q5480ctl image build FILE.par [--table FILE.dat] [-o FILE.bin]

Builds the 2052-byte module image of the configuration in FILE.par as the
program does before a write: a table conversion reads its table file again
(the --table file, else the name stored in FILE.par, looked for beside
FILE.par, then in the program directory and its "Tables" and "Tablice"
folders) and a power series is sampled again. The image is written to
FILE.bin, or printed as hex, 16 bytes a line after the offset.

options:
  --table FILE.dat  the table file to use instead of the stored name
  -o FILE.bin       write the image to FILE.bin
  -h, --help        show this text

exit status:
  0  the image was built
  1  the parameters file, the table or the series was refused, or the
     transfer function could not be built (e.g. "Transfer function is not
     monotonic!"); nothing is written
  2  bad arguments, or a file does not exist)";

int Run(const std::vector<std::string>& args) {
  std::string error;
  const std::optional<ParsedArgs> parsed = ParseArguments(args, OptionSpec{{}, {"--table", "-o"}, 1, 1}, error);
  if (!parsed) return Fail(kCommand, error, kExitUsage);
  const std::string& parametersFile = parsed->positionals[0];
  if (int status = CheckInputFile(kCommand, parametersFile); status != kExitOk) return status;
  const std::optional<std::string> table = parsed->Value("--table");
  if (table) {
    if (int status = CheckInputFile(kCommand, *table); status != kExitOk) return status;
  }

  ModuleConfig config;
  InputLimits limits;
  ConversionState state;
  const ConversionContext context{config, limits, state};
  ModuleImage image;
  try {
    const StoredLoadResult loaded =
        LoadStoredConfiguration(parametersFile, table ? std::optional<std::filesystem::path>(*table) : std::nullopt, context);
    if (loaded.status == StoredLoad::TableNotFound) {
      return Fail(kCommand, "cannot find the table file \"" + config.File + "\" (give it with --table)", kExitUsage);
    }
    if (loaded.status != StoredLoad::Ok) return ReportMessage(loaded.message, kExitFailed);
    BuildFailure failure = BuildFailure::None;
    if (!BuildModuleImage(context, image, static_cast<std::uint16_t>(DayNumber(Today())), failure)) {
      return ReportMessage(BuildFailureMessage(failure), kExitFailed);
    }
  } catch (const ConversionError& e) {
    return ReportMessage(e.what(), kExitFailed);
  }

  if (const auto output = parsed->Value("-o")) {
    std::ofstream file(*output, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(image.bytes.data()), static_cast<std::streamsize>(image.bytes.size()));
    if (!file.flush()) return Fail(kCommand, "cannot write " + *output, kExitFailed);
    return kExitOk;
  }
  for (std::size_t offset = 0; offset < kImageSize; offset += 16) {
    std::printf("%04zX:", offset);
    for (std::size_t i = offset; i < std::min(offset + 16, kImageSize); ++i) std::printf(" %02X", image[i]);
    std::printf("\n");
  }
  return kExitOk;
}

const Registration kRegistration(Command{kCommand, "build the module image of a parameters file", kHelp, Run});

}  // namespace
}  // namespace q5480::cli
