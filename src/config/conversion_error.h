// The one exception of a floating-point error inside a conversion.
#pragma once

#include <stdexcept>

namespace q5480 {

class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace q5480
