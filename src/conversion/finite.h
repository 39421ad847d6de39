// A floating-point error never passes silently: every result of the
// conversion goes through here on its way out.
#pragma once

#include <cmath>

#include "config/conversion_error.h"

namespace q5480 {

// `value` as a double; throws ConversionError when it is infinite or NaN,
// also after the narrowing from extended precision.
inline double Finite(long double value) {
  const double narrowed = static_cast<double>(value);
  if (!std::isfinite(narrowed)) throw ConversionError("Floating point error in the conversion");
  return narrowed;
}

}  // namespace q5480
