// The strip chart's data: its enumerations, one accepted value, and the list
// of values that scrolls without allocating once the strip is full.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "charts/chart_sampling.h"

namespace q5480 {

enum class ChartKind { ctScatter = 0, ctLine = 1, ctBar = 2 };

enum class GridType {
  gtNone = 0,
  gtHorz = 1,  // horizontal rules
  gtVert = 2,  // vertical rules
  gtBoth = 3,
};

// The value axis's caption keeps this many characters.
inline constexpr std::size_t kTitleLength = 35;

// Colours are kept as 0x00BBGGRR.
inline constexpr std::uint32_t kChartSilver = 0x00C0C0C0;
inline constexpr std::uint32_t kChartGrey = 0x00808080;
inline constexpr std::uint32_t kChartWhite = 0x00FFFFFF;
inline constexpr std::uint32_t kChartBlack = 0x00000000;

// One accepted value.
struct ChartPoint {
  double Value = 0;
  std::uint32_t Color = kChartBlack;  // pen colour of this point
  ChartTimeStamp Time;                // the moment the point was due
};

// The accepted values, index 0 the oldest. Held in one block used as a ring:
// scrolling reuses the oldest point, so a full strip allocates nothing.
class ChartDataList {
 public:
  std::size_t Count() const { return points_.size(); }
  bool Empty() const { return points_.empty(); }

  const ChartPoint& operator[](std::size_t index) const { return points_[Slot(index)]; }
  ChartPoint& operator[](std::size_t index) { return points_[Slot(index)]; }
  const ChartPoint& Last() const { return (*this)[Count() - 1]; }

  // Appends a new point as the newest.
  ChartPoint& Add(const ChartPoint& point);

  // Moves the oldest point to the end, where it becomes the newest, and
  // returns it for the new value. The list must not be empty.
  ChartPoint& ScrollIn();

  // Removes the `count` oldest points, keeping the storage.
  void DropOldest(std::size_t count);

  // Room for `count` points without further allocation.
  void Reserve(std::size_t count) { points_.reserve(count); }

  // Removes every point and releases the storage.
  void Clear();

 private:
  // Back to oldest-first order in the block.
  void Unwrap();
  std::size_t Slot(std::size_t index) const {
    const std::size_t slot = first_ + index;
    return slot < points_.size() ? slot : slot - points_.size();
  }

  std::vector<ChartPoint> points_;
  std::size_t first_ = 0;  // slot of the oldest point
};

}  // namespace q5480
