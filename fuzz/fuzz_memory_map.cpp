// The memory map read from a module with the newer firmware: whatever its
// bytes, the image made of it decodes to a finite record within its
// consistency rules, and packed again it gives back every byte the image
// holds (and nothing else but check bytes).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/module_image.h"
#include "fuzz_support.h"
#include "module/image_packing.h"

namespace q5480::fuzz {
namespace {

constexpr std::size_t kCheckPositions[] = {508, 509, 510, 1087, 2748, 2749, 2750, 2751};

bool IsCheckPosition(std::size_t at) {
  return std::find(std::begin(kCheckPositions), std::end(kCheckPositions), at) !=
         std::end(kCheckPositions);
}

MemoryMap Repacked(const MemoryMap& map, ModuleConfig& config, InputLimits& limits) {
  ModuleImage image;
  image.bytes.fill(0xFF);
  UnpackImage(map, image);
  DecodeModuleImage(image, config, limits);
  // The limits travel in the record, not in the image.
  return PackImage(image, {map[16], map[17]});
}

}  // namespace
}  // namespace q5480::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q5480;
  using namespace q5480::fuzz;
  MemoryMap map{};
  std::copy_n(data, std::min(size, kMemoryMapSize), map.begin());

  ModuleConfig config;
  InputLimits limits;
  const MemoryMap packed = Repacked(map, config, limits);
  Check(AllFinite(config), "a value that is not finite reached the record");
  ModuleConfig ruled = config;
  ApplyConsistencyRules(ruled, limits);
  Check(FirstDifference(config, ruled).empty(),
        "the record breaks its consistency rules: " + FirstDifference(config, ruled));
  for (std::size_t at = 0; at < kMemoryMapSize; ++at) {
    if (packed[at] != map[at] && packed[at] != 0 && !IsCheckPosition(at)) {
      Fail("packed again, map byte " + std::to_string(at) + " holds another byte");
    }
  }
  ModuleConfig configAgain;
  InputLimits limitsAgain;
  Check(Repacked(packed, configAgain, limitsAgain) == packed, "packing is not stable");
  return 0;
}
