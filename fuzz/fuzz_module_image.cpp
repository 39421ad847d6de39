// The module image read from a module (the older layout's memory itself):
// whatever its bytes, the record decoded from it is finite and within its
// consistency rules, and stored into the image again it decodes to the same
// record (to the six figures the module keeps).
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "config/conversion_error.h"
#include "config/module_image.h"
#include "fuzz_support.h"
#include "module/image_packing.h"

namespace q5480::fuzz {
namespace {

constexpr double kSixFigures = 1e-6;

std::uint16_t ConfigDate(const ModuleImage& image) {
  return static_cast<std::uint16_t>(image[image_offset::kConfigDate] << 8 |
                                    image[image_offset::kConfigDate + 1]);
}

// What an image cannot give back by design: the connection of a mode that
// the consistency rules reset, the limits (the older layout keeps its start
// bytes there), a table name without a loaded table, coefficients without a
// computed conversion; and a maximum within the precision of a far larger
// minimum, or within one step of the span's sixth figure (the image keeps the
// span, so a maximum the consistency rules clamped comes back on its grid).
void TakeWhatIsNotKept(const ModuleConfig& from, ModuleConfig& to) {
  to.Tryb = from.Tryb;
  to.LimitLow = from.LimitLow;
  to.LimitHigh = from.LimitHigh;
  to.File = from.File;
  if (from.Lin != kLinLinear && from.Lin != kLinSeries) to.Coefficients = from.Coefficients;
  const double scale = std::max({std::fabs(from.MinInput), std::fabs(from.MaxInput), 1.0});
  const double span = std::max(std::fabs(from.MaxInput - from.MinInput), kSixFigures);
  const double spanStep = std::pow(10.0, std::round(std::log10(span)) - 6);
  if (std::fabs(to.MaxInput - from.MaxInput) <= kSixFigures * scale + spanStep)
    to.MaxInput = from.MaxInput;
}

}  // namespace
}  // namespace q5480::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q5480;
  using namespace q5480::fuzz;
  ModuleImage image;
  image.bytes.fill(0xFF);
  std::copy_n(data, std::min(size, kImageSize), image.bytes.begin());

  ModuleConfig config;
  InputLimits limits;
  DecodeModuleImage(image, config, limits);
  Check(AllFinite(config), "a value that is not finite reached the record");
  ModuleConfig ruled = config;
  ApplyConsistencyRules(ruled, limits);
  Check(FirstDifference(config, ruled).empty(),
        "the record breaks its consistency rules: " + FirstDifference(config, ruled));
  Check(VerifyDifferences(image, image, size % 2 == 0, config.ModuleId).empty(),
        "an image differs from itself");

  ModuleImage again = image;
  try {
    StoreRecordInImage(config, again, ConfigDate(image));
  } catch (const ConversionError& error) {
    Fail(std::string("a decoded record cannot be stored again: ") + error.what());
  }
  Check(again.ComputeCheckByte() == again[image_offset::kCheckByte],
        "a stored image fails its check byte");
  ModuleConfig back;
  InputLimits backLimits;
  DecodeModuleImage(again, back, backLimits);
  TakeWhatIsNotKept(config, back);
  const std::string difference = FirstDifference(config, back, kSixFigures);
  Check(difference.empty(), "stored and decoded again, the record differs in " + difference);
  return 0;
}
