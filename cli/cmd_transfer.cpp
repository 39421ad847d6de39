// q5480ctl transfer: the transfer table of a parameters file.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli_support.h"
#include "command_registry.h"
#include "config/module_image.h"
#include "config/numbers.h"
#include "stored_image.h"

namespace q5480::cli {
namespace {

constexpr const char* kCommand = "transfer";
constexpr const char* kSummary = "print the transfer table of a parameters file";

constexpr const char* kHelp = R"(usage: q5480ctl transfer FILE.par [--table FILE.dat]

Computes the transfer table of the configuration in FILE.par as a build of
the module image does (reading its table file again or sampling its power
series, as "image build" does) and prints:
  the signal range (the signals at both ends of the input range),
  the signal step (a 200th of the range),
  the three cold-junction constants of a thermocouple (or "not written"),
  the 202 segments: index, offset b and slope a of f = a*S + b, as stored
    in the image,
  the fractions f of the input range at the 201 grid signals.

options:
  --table FILE.dat  the table file to use instead of the stored name
  -h, --help        show this text

exit status:
  0  the table was printed
  1  the parameters file, the table or the series was refused, or the
     transfer function could not be built (e.g. "Transfer function is not
     monotonic!")
  2  bad arguments, or a file does not exist)";

std::string Number(double value) { return FormatGeneral(value, 15, '.'); }

void Print(const ModuleConfig& config, const ConversionState& state, const ModuleImage& image) {
  std::printf("signal range: %s to %s\n", Number(config.SignalLow).c_str(),
              Number(config.SignalHigh).c_str());
  std::printf("signal step: %s\n", Number((config.SignalHigh - config.SignalLow) / 200).c_str());
  if (IsThermocouple(config.Typ) && config.Tryb >= kTrybDifferential &&
      config.Tryb <= kTrybCompensation) {
    std::printf("cold junction: %s %s %s\n",
                Number(image.LoadFloat(image_offset::kColdJunction)).c_str(),
                Number(image.LoadFloat(image_offset::kColdJunction + 4)).c_str(),
                Number(image.LoadFloat(image_offset::kColdJunction + 8)).c_str());
  } else {
    std::printf("cold junction: not written\n");
  }
  std::printf("segments (index, offset, slope):\n");
  for (int k = 0; k < kSegmentCount; ++k) {
    const std::size_t at = image_offset::kSegments + 8 * static_cast<std::size_t>(k);
    std::printf("%3d %s %s\n", k, Number(image.LoadFloat(at)).c_str(),
                Number(image.LoadFloat(at + 4)).c_str());
  }
  std::printf("fractions (index, fraction):\n");
  for (std::size_t k = 0; k < state.TransferFractions.size(); ++k) {
    std::printf("%3zu %s\n", k, Number(state.TransferFractions[k]).c_str());
  }
}

const OptionSpec kOptions{{}, {"--table"}, 1, 1};

int Run(const ParsedArgs& parsed) {
  StoredImage stored;
  if (int status = BuildStoredImage(kCommand, parsed, stored); status != kExitOk) return status;
  Print(stored.config, stored.state, stored.image);
  return kExitOk;
}

const Registration kRegistration(kCommand, kSummary, kHelp, kOptions, Run);

}  // namespace
}  // namespace q5480::cli
