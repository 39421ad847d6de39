#include "workflow/sample_fan_out.h"

#include <algorithm>

namespace q5480 {

int SampleFanOut::Add(Consumer consumer) {
  consumers_.emplace_back(nextId_, std::move(consumer));
  return nextId_++;
}

void SampleFanOut::Remove(int id) {
  std::erase_if(consumers_, [id](const auto& entry) { return entry.first == id; });
}

void SampleFanOut::Deliver(const MeasurementSample& sample, const DeviceStatus& status) const {
  // A consumer may remove itself (a window that closes): deliver to a copy.
  const auto consumers = consumers_;
  for (const auto& [id, consumer] : consumers) consumer(sample, status);
}

}  // namespace q5480
