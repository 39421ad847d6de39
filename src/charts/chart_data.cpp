#include "charts/chart_data.h"

#include <algorithm>

namespace q5480 {

void ChartDataList::Unwrap() {
  if (first_ == 0) return;
  std::rotate(points_.begin(), points_.begin() + static_cast<std::ptrdiff_t>(first_),
              points_.end());
  first_ = 0;
}

ChartPoint& ChartDataList::Add(const ChartPoint& point) {
  // Only after the strip has been widened: the new point goes at the end of
  // the block.
  Unwrap();
  return points_.emplace_back(point);
}

void ChartDataList::DropOldest(std::size_t count) {
  Unwrap();
  points_.erase(points_.begin(),
                points_.begin() + static_cast<std::ptrdiff_t>(std::min(count, points_.size())));
}

ChartPoint& ChartDataList::ScrollIn() {
  ChartPoint& oldest = points_[first_];
  first_ = first_ + 1 == points_.size() ? 0 : first_ + 1;
  return oldest;
}

void ChartDataList::Clear() {
  std::vector<ChartPoint>().swap(points_);
  first_ = 0;
}

}  // namespace q5480
