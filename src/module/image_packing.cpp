#include "module/image_packing.h"

#include <algorithm>

namespace q5480 {

namespace {

// A run of image bytes that the map holds elsewhere; `group` bytes at a time
// in reversed order (1: the same order).
struct MappedRun {
  std::size_t imageFirst;
  std::size_t mapFirst;
  std::size_t length;
  std::size_t group;
};

constexpr MappedRun kRuns[] = {
    {2, 18, 1, 1},        // input code
    {4, 20, 4, 1},        // filter, units and decimal point
    {2028, 24, 4, 1},     // configuration date, Typ, Lin
    {1792, 32, 64, 1},    // conversion marker and data
    {2020, 96, 8, 4},     // zero and gain corrections
    {1712, 128, 80, 1},   // kod and ogolne
    {16, 1024, 2, 2},     // model number
    {18, 1026, 6, 1},     // factory date and serial number
    {24, 1032, 40, 4},    // ten factory values
    {64, 1080, 4, 2},     // two factory words
    {96, 1088, 1616, 4},  // the 202 segments
    {80, 2704, 16, 4},    // signal low, step, MinInput, span
};

constexpr std::size_t kInvertedCopy = 3;
constexpr std::size_t kInvertedCopyAt = 19;
constexpr std::size_t kLimitLowAt = 16;
constexpr std::size_t kLimitHighAt = 17;

struct CheckedArea {
  std::size_t checkAt;
  std::size_t first;
  std::size_t last;
};
constexpr CheckedArea kChecks[] = {
    {508, 16, 23}, {509, 24, 95}, {510, 96, 103}, {1087, 1024, 1086}};
constexpr std::size_t kSegmentCheckFirst = 2748;
constexpr std::size_t kSegmentCheckLast = 2751;

constexpr std::size_t kCompensationFirst = 68;
constexpr std::size_t kCompensationLast = 79;
constexpr std::size_t kVerifiedBytes = 2048;
constexpr std::size_t kUnverifiedByte = 2044;

std::size_t ImageOffset(const MappedRun& run, std::size_t i) {
  return run.imageFirst + i / run.group * run.group + (run.group - 1 - i % run.group);
}

std::uint8_t CheckOf(const MemoryMap& map, std::size_t first, std::size_t last) {
  unsigned sum = 0;
  for (std::size_t i = first; i <= last; ++i) sum += map[i];
  return static_cast<std::uint8_t>(255 - (sum & 0xFF));
}

std::uint8_t LimitByte(std::int32_t limit) {
  return static_cast<std::uint8_t>(std::clamp(limit, 0, 255));
}

}  // namespace

MapLimits MapLimitsOf(const ModuleConfig& config) { return {config.LimitLow, config.LimitHigh}; }

MemoryMap PackImage(const ModuleImage& image, const MapLimits& limits) {
  MemoryMap map{};
  map[kLimitLowAt] = LimitByte(limits.low);
  map[kLimitHighAt] = LimitByte(limits.high);
  map[kInvertedCopyAt] = static_cast<std::uint8_t>(~image[kInvertedCopy]);
  for (const auto& run : kRuns) {
    for (std::size_t i = 0; i < run.length; ++i) map[run.mapFirst + i] = image[ImageOffset(run, i)];
  }
  for (const auto& area : kChecks) map[area.checkAt] = CheckOf(map, area.first, area.last);
  const std::uint8_t segmentCheck = CheckOf(map, 1088, kSegmentCheckFirst - 1);
  for (std::size_t i = kSegmentCheckFirst; i <= kSegmentCheckLast; ++i) map[i] = segmentCheck;
  return map;
}

void UnpackImage(const MemoryMap& map, ModuleImage& image) {
  image[0] = map[kLimitLowAt];
  image[1] = map[kLimitHighAt];
  image[kInvertedCopy] = static_cast<std::uint8_t>(~map[kInvertedCopyAt]);
  for (const auto& run : kRuns) {
    for (std::size_t i = 0; i < run.length; ++i) image[ImageOffset(run, i)] = map[run.mapFirst + i];
  }
  for (std::size_t i = kCompensationFirst; i <= kCompensationLast; ++i) image[i] = 0;
}

bool ClearsFixedPoint(bool newLayout, std::string_view moduleId) {
  return !newLayout && moduleId.size() >= 4 && static_cast<unsigned char>(moduleId[3]) < '4';
}

std::vector<std::size_t> VerifyDifferences(const ModuleImage& written, const ModuleImage& read,
                                           bool newLayout, std::string_view moduleId) {
  const bool withoutFixedPoint = ClearsFixedPoint(newLayout, moduleId);
  std::vector<std::size_t> differences;
  for (std::size_t i = 0; i < kVerifiedBytes; ++i) {
    if (i == kUnverifiedByte) continue;
    if (newLayout && (i <= 1 || (i >= kCompensationFirst && i <= kCompensationLast))) continue;
    std::uint8_t mask = 0xFF;
    if (withoutFixedPoint && i == image_offset::kUnitsAndPoint) mask = ~kFixedPointBit & 0xFF;
    if ((written[i] & mask) != (read[i] & mask)) differences.push_back(i);
  }
  return differences;
}

}  // namespace q5480
