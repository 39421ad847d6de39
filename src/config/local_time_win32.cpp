#include <ctime>

#include "config/local_time.h"

namespace q5480 {

std::tm LocalTimeOf(std::time_t time) {
  std::tm local{};
  localtime_s(&local, &time);
  return local;
}

}  // namespace q5480
