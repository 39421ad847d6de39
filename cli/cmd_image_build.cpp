// q5480ctl image build: the module image of a parameters file.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/atomic_file.h"
#include "config/module_image.h"
#include "config/path_text.h"
#include "stored_image.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "image build";
constexpr const char* kSummary = "build the module image of a parameters file";

constexpr const char* kHelp =
    R"(usage: q5480ctl image build FILE.par [--table FILE.dat] [-o FILE.bin]

Builds the 2052-byte module image of the configuration in FILE.par as the
program does before a write: a table conversion reads its table file again
(the --table file, else the name stored in FILE.par, looked for where the
desktop program looks for it: beside FILE.par, in the current folder, in
the program directory and its "Tables" (else "Tablice") folder, then in the
installed "Tables" and "Tablice" folders) and a power series is sampled
again. The image is written to FILE.bin, or printed as hex, 16 bytes a line
after the offset.

options:
  --table FILE.dat  the table file to use instead of the stored name
  -o FILE.bin       write the image to FILE.bin (replaced when it exists)
  -h, --help        show this text

exit status:
  0  the image was built
  1  the parameters file, the table or the series was refused, or the
     transfer function could not be built (e.g. "Transfer function is not
     monotonic!", or "Floating point error in the conversion"); nothing is
     written; or FILE.bin cannot be written ("Cannot open file: FILE.bin";
     a write-protected file stays as it was)
  2  bad arguments, or a file does not exist)";

const OptionSpec kOptions{{}, {"--table", "-o"}, 1, 1};

int Run(const ParsedArgs& parsed) {
  StoredImage stored;
  if (int status = BuildStoredImage(kCommand, parsed, stored); status != kExitOk) return status;
  const ModuleImage& image = stored.image;

  if (const auto output = parsed.Value("-o")) {
    const std::string_view bytes(reinterpret_cast<const char*>(image.bytes.data()),
                                 image.bytes.size());
    return ReplaceFileAtomically(PathFromUtf8(*output), bytes) ? kExitOk
                                                               : ReportCannotWrite(*output);
  }
  for (std::size_t offset = 0; offset < kImageSize; offset += 16) {
    std::printf("%04zX:", offset);
    for (std::size_t i = offset; i < std::min(offset + 16, kImageSize); ++i)
      std::printf(" %02X", image[i]);
    std::printf("\n");
  }
  return kExitOk;
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
