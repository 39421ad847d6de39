// The memory map of modules with the newer firmware, built from the module
// image and turned back into it, and the comparison that Verify makes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "config/module_config.h"
#include "config/module_image.h"

namespace q5480 {

inline constexpr std::size_t kMemoryMapSize = 4096;
using MemoryMap = std::array<std::uint8_t, kMemoryMapSize>;

// `LimitLow` and `LimitHigh` of the record, which the map holds beside the
// image's bytes.
struct MapLimits {
  std::int32_t low = 0;
  std::int32_t high = 0;
};
MapLimits MapLimitsOf(const ModuleConfig& config);

// The map with its check bytes; multi-byte values least significant byte
// first.
MemoryMap PackImage(const ModuleImage& image, const MapLimits& limits);

// Puts every mapped part of `map` back into `image`: bytes 0 and 1 receive
// `LimitLow` and `LimitHigh`, byte 3 is inverted back and bytes 68 to 79 (the
// compensation floats, which the newer firmware does not keep) become 0.
// Bytes that the map does not hold stay as they were.
void UnpackImage(const MemoryMap& map, ModuleImage& image);

// Bit 7 of byte 7: the decimal point stays where the configuration puts it.
inline constexpr std::uint8_t kFixedPointBit = 0x80;

// An older module whose identifier's fourth character is below "4" has no
// fixed decimal point: a write clears bit 7 of byte 7 for it.
bool ClearsFixedPoint(bool newLayout, std::string_view moduleId);

// Offsets (below 2048) where the image read back from a module differs from
// the one written, leaving out byte 2044, with the newer firmware also bytes
// 0, 1 and 68 to 79 (which it holds differently by design), and bit 7 of
// byte 7 where the write clears it.
std::vector<std::size_t> VerifyDifferences(const ModuleImage& written, const ModuleImage& read,
                                           bool newLayout, std::string_view moduleId);

}  // namespace q5480
