// Extended-precision polynomial evaluation shared by every characteristic.
#pragma once

#include <span>

namespace q5480 {

// c[0] + c[1]*x + ... accumulated in long double with a running power, the
// way every characteristic of the program is evaluated.
inline long double EvaluatePolynomial(std::span<const long double> c, long double x) {
  if (c.empty()) return 0;
  long double sum = c[0];
  long double power = 1;
  for (std::size_t i = 1; i < c.size(); ++i) {
    power *= x;
    sum += power * c[i];
  }
  return sum;
}

}  // namespace q5480
