// Who gets each sample that Timer1 accepts: the two displays, and whatever
// else shows live values (a chart, a service window). Adding a consumer
// touches none of the others.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "module/measurement.h"

namespace q5480 {

class SampleFanOut {
 public:
  using Consumer = std::function<void(const MeasurementSample&, const DeviceStatus&)>;

  // Returns the consumer's number, for Remove.
  int Add(Consumer consumer);
  void Remove(int id);
  void Deliver(const MeasurementSample& sample, const DeviceStatus& status) const;

 private:
  std::vector<std::pair<int, Consumer>> consumers_;
  int nextId_ = 0;
};

}  // namespace q5480
