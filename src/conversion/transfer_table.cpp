#include "conversion/transfer_table.h"

#include <algorithm>
#include <cmath>

#include "conversion/finite.h"
#include "conversion/power_series.h"
#include "conversion/sensor_signal.h"
#include "conversion/user_table.h"

namespace q5480 {
namespace {

constexpr int kLastSample = kSampleCount - 1;
constexpr int kGridSteps = kTransferGridPoints - 1;

void Report(const BuildProgress& progress) {
  if (progress) progress();
}

// Linear where the two halves of the window differ in slope by more than a
// factor 3, else the parabola through all three points.
double InterpolateWindow(double a, double b, double c, double xA, double xB, double xC, double s,
                         bool linearOnly, bool atEnd) {
  if (!linearOnly) {
    const double d1 = std::fabs((xB - xA) / (b - a));
    const double d2 = std::fabs((xC - xB) / (c - b));
    if (!(3 * d2 < d1 || 3 * d1 < d2)) return ParabolaThrough(a, b, c, xA, xB, xC, s);
  }
  if (atEnd) return Finite(xB + (s - b) * (xC - xB) / (c - b));
  return Finite(xA + (s - a) * (xB - xA) / (b - a));
}

TransferTable LinearTransfer(const ModuleConfig& config, const SignalBounds& bounds,
                             const BuildProgress& progress) {
  TransferTable result;
  const long double span = static_cast<long double>(bounds.high) - bounds.low;
  double b = Finite(-bounds.low / span);
  double a = Finite(1 / span);
  if (config.Lin == kLinLinear && config.Coefficients[9] > config.Coefficients[10]) {
    b = 1 - b;
    a = -a;
  }
  const double step = (bounds.high - bounds.low) / kGridSteps;
  result.segments[kSegmentCount - 1] = {b, a};
  for (int k = 0; k <= kGridSteps; ++k) {
    result.fractions[static_cast<std::size_t>(k)] = Finite((k * step + bounds.low) * a + b);
    result.segments[static_cast<std::size_t>(k)] = {b, a};
    Report(progress);
  }
  return result;
}

SampleTable SampleCharacteristic(const ModuleConfig& config, const UserTable& table) {
  SampleTable samples;
  samples.x0 = config.MinInput;
  samples.h = (config.MaxInput - config.MinInput) / kLastSample;
  for (int j = 0; j < kSampleCount; ++j) {
    samples.samples[static_cast<std::size_t>(j)] =
        SensorSignal(config.Typ, samples.x0 + j * samples.h, config, table);
  }
  return samples;
}

TransferTable InverseTransfer(const ModuleConfig& config, const UserTable& table,
                              const SignalBounds& bounds, const BuildProgress& progress) {
  TransferTable result;
  const double span = config.MaxInput - config.MinInput;
  const double step = (bounds.high - bounds.low) / kGridSteps;
  // Only the built-in characteristics are inverted through the sample table;
  // the user table and the power series are inverted directly.
  const bool standard = IsStandardCharacteristic(config.Typ);
  SampleTable samples;
  if (standard) samples = SampleCharacteristic(config, table);
  const int points = table.Count();
  // A user table whose first column falls starts at the top of the range. A
  // table left from an earlier selection never steers a standard sensor.
  const bool fallingTable = !standard && UsesUserTable(config) && config.TableLoaded &&
                            points >= 2 && table[points].x < table[1].x;

  if (!standard && config.Lin == kLinTable && points < 2) {
    result.ok = false;
    return result;
  }

  double cur = fallingTable ? config.MaxInput : config.MinInput;
  double prev = cur;
  int j = 1;
  Segment segment;
  for (int k = 1; k <= kGridSteps; ++k) {
    const double s = k * step + bounds.low;
    if (standard) {
      prev = cur;
      while (j <= kLastSample && s > samples.samples[static_cast<std::size_t>(j)]) ++j;
      cur = InverseSample(samples, j, s, result.ok);
      if (!result.ok) return result;
    } else if (config.Lin == kLinTable) {
      prev = cur;
      while (j < points && s > table[j].y) ++j;
      cur = InverseTable(table, j, s);
    } else if (config.Lin == kLinSeries) {
      prev = SeriesValue(kSeriesTerms, s - step, config.Coefficients);
      cur = SeriesValue(kSeriesTerms, s, config.Coefficients);
    } else {
      prev = cur;
    }
    const double a =
        Finite((static_cast<long double>(cur) - prev) / (static_cast<long double>(span) * step));
    const double b = Finite((cur - config.MinInput) / span - static_cast<long double>(a) * s);
    segment = {b, a};
    result.fractions[static_cast<std::size_t>(k)] = Finite(static_cast<long double>(a) * s + b);
    result.segments[static_cast<std::size_t>(k)] = segment;
    if (k == 1) {
      result.fractions[0] = Finite(static_cast<long double>(a) * bounds.low + b);
      result.segments[0] = segment;
    }
    Report(progress);
  }
  result.segments[kSegmentCount - 1] = segment;
  return result;
}

}  // namespace

SignalBounds SignalRange(const ModuleConfig& config, const UserTable& table) {
  const double atMin = SensorSignal(config.Typ, config.MinInput, config, table);
  const double atMax = SensorSignal(config.Typ, config.MaxInput, config, table);
  return {std::min(atMin, atMax), std::max(atMin, atMax)};
}

bool MonotonicAt(double a, double b, double c) {
  const double margin = 0.01 * std::max(std::fabs(b - a), std::fabs(c - b));
  return (b - a) * (c - b) > margin * margin;
}

double InverseSample(const SampleTable& table, int j, double s, bool& ok) {
  const auto& sample = table.samples;
  const auto at = [&](int i) { return sample[static_cast<std::size_t>(i)]; };
  bool atEnd = false;
  j = std::max(j, 1);
  if (j > kLastSample - 1) {
    j = kLastSample - 1;
    atEnd = true;
  }
  int lo = 0;
  int hi = 0;
  if (j == 1 && !(at(1) > at(0))) {
    while (at(j) < at(0) && j < kLastSample - 1) {
      ++j;
      ++lo;
    }
  }
  double a = 0, b = 0, c = 0;
  bool monotonic = false;
  bool whole = false;
  do {
    if (j - lo > 0) ++lo;
    if (j + hi < kLastSample) ++hi;
    a = at(j - lo);
    b = at(j);
    c = at(j + hi);
    whole = j - lo == 0 && j + hi == kLastSample;
    monotonic = MonotonicAt(a, b, c);
  } while (!monotonic && !whole);
  const double xB = table.x0 + j * table.h;
  const double xA = xB - lo * table.h;
  const double xC = xB + hi * table.h;
  // A window that only becomes monotonic as it reaches both ends still
  // inverts; only a characteristic without any monotonic window fails.
  if (!monotonic) {
    ok = false;
    return table.x0 + kLastSample * table.h;
  }
  return InterpolateWindow(a, b, c, xA, xB, xC, s, false, atEnd);
}

double InverseTable(const UserTable& table, int j, double s) {
  const int n = table.Count();
  bool atEnd = false;
  j = std::max(j, 2);
  if (j > n - 1) {
    j = n - 1;
    atEnd = true;
  }
  return InterpolateWindow(table[j - 1].y, table[j].y, table[j + 1].y, table[j - 1].x, table[j].x,
                           table[j + 1].x, s, n <= 10, atEnd);
}

TransferTable BuildTransferTable(const ModuleConfig& config, const UserTable& table,
                                 const SignalBounds& bounds, const BuildProgress& progress) {
  if (config.Lin == kLinNone || config.Lin == kLinLinear)
    return LinearTransfer(config, bounds, progress);
  return InverseTransfer(config, table, bounds, progress);
}

}  // namespace q5480
