// The transfer table: the inverse of the sensor characteristic as 202 linear
// segments f = a*S + b of the signal S, f the fraction of the input range.
#pragma once

#include <array>
#include <functional>

#include "config/module_config.h"
#include "config/module_image.h"
#include "conversion/conversion_state.h"

namespace q5480 {

inline constexpr int kSampleCount = 801;

// Smin and Smax: the smaller and larger signal at the ends of the input range.
struct SignalBounds {
  double low = 0;
  double high = 0;
};
SignalBounds SignalRange(const ModuleConfig& config, const UserTable& table);

struct Segment {
  double offset = 0;  // b
  double slope = 0;   // a
};

struct TransferTable {
  std::array<Segment, kSegmentCount> segments{};
  std::array<double, kTransferGridPoints> fractions{};
  bool ok = true;  // false when the characteristic cannot be inverted
};

// Called after each segment, e.g. to keep a window responsive.
using BuildProgress = std::function<void()>;

// The characteristic sampled at x0 + j*h, j = 0 to 800.
struct SampleTable {
  double x0 = 0;
  double h = 0;
  std::array<double, kSampleCount> samples{};
};

// True when b lies strictly between a and c with a margin of a hundredth of
// the larger step.
bool MonotonicAt(double a, double b, double c);

// The input value whose sample equals `s`, near sample j: a parabola through
// the nearest monotonic three-sample window, or a line where its two halves
// differ in slope by more than a factor 3. Clears `ok` when no monotonic
// window exists at all.
double InverseSample(const SampleTable& table, int j, double s, bool& ok);

// The same on the user table (first column the result, second the signal),
// near point j; tables of at most 10 points are always read linearly.
double InverseTable(const UserTable& table, int j, double s);

// The segments and fractions for the record's characteristic between the
// signal bounds. Throws ConversionError on a floating-point error.
TransferTable BuildTransferTable(const ModuleConfig& config, const UserTable& table,
                                 const SignalBounds& bounds, const BuildProgress& progress);

}  // namespace q5480
