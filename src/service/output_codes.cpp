#include "service/output_codes.h"

#include "config/numbers.h"

namespace q5480 {
namespace {

constexpr double kWideStep = 0.0005;           // mA per code
constexpr double kStandardStep = 0.001953125;  // mA per code, 1/512
constexpr double kStandardZero = 4.0;          // mA at code 0
constexpr double kStandardLowestCode = -128;   // 3.75 mA
constexpr double kStandardHighestCode = 9088;  // 21.75 mA
// A typed value that prints as the end of the range is still taken.
constexpr double kTolerance = 0.000001;

}  // namespace

OutputRange OutputRangeOf(bool wideFormat, OutputLimits limits) {
  if (!wideFormat) return {3.75, 21.75};
  return limits == OutputLimits::Preset ? OutputRange{2.0, 22.1} : OutputRange{3.0, 22.0};
}

OutputCode OutputCodeFor(double milliamperes, bool wideFormat, OutputLimits limits) {
  if (wideFormat) {
    const OutputRange range = OutputRangeOf(true, limits);
    if (milliamperes < range.low - kTolerance) return {OutputVerdict::Below, 0};
    if (milliamperes > range.high + kTolerance) return {OutputVerdict::Above, 0};
    return {OutputVerdict::Accepted,
            static_cast<std::uint16_t>(RoundHalfEven(milliamperes / kWideStep))};
  }
  const double w = (milliamperes - kStandardZero) / kStandardStep;
  if (w < kStandardLowestCode) return {OutputVerdict::Below, 0};
  if (w > kStandardHighestCode) return {OutputVerdict::Above, 0};
  const auto code = static_cast<std::int16_t>(RoundHalfEven(w));
  return {OutputVerdict::Accepted, static_cast<std::uint16_t>(code)};
}

}  // namespace q5480
