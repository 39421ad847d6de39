#include "service/table_accuracy.h"

#include <algorithm>
#include <cmath>

#include "config/conversion_error.h"
#include "conversion/power_series.h"
#include "conversion/sensor_signal.h"

namespace q5480 {

double ModuleResult(const ModuleImage& image, double signal) {
  const double low = image.LoadFloat(image_offset::kSignalLow);
  const double step = image.LoadFloat(image_offset::kSignalStep);
  int segment = 1;
  if (step > 0) {
    const double position = std::floor((signal - low) / step) + 1;
    segment = static_cast<int>(std::clamp(position, 0.0, static_cast<double>(kSegmentCount - 1)));
  }
  const std::size_t at = image_offset::kSegments + 8 * static_cast<std::size_t>(segment);
  const double fraction = image.LoadFloat(at + 4) * signal + image.LoadFloat(at);
  return image.LoadFloat(image_offset::kMinInput) + fraction * image.LoadFloat(image_offset::kSpan);
}

TableAccuracy MeasureTableAccuracy(const ModuleConfig& config, const UserTable& table,
                                   const ModuleImage& image) {
  // A power series gives the result of the signal; every other
  // characteristic the signal of the input value.
  const bool series = !IsStandardCharacteristic(config.Typ) && config.Lin == kLinSeries;
  const double first = series ? config.SignalLow : config.MinInput;
  const double last = series ? config.SignalHigh : config.MaxInput;
  TableAccuracy accuracy;
  long double sumOfSquares = 0;
  for (int i = 0; i < kAccuracySamples; ++i) {
    const double t = static_cast<double>(i) / (kAccuracySamples - 1);
    const double along = first + (last - first) * t;
    const double x = series ? SeriesValue(kSeriesTerms, along, config.Coefficients) : along;
    const double signal = series ? along : SensorSignal(config.Typ, x, config, table);
    const double difference = ModuleResult(image, signal) - x;
    if (!std::isfinite(difference)) throw ConversionError("Floating point error in the conversion");
    if (std::fabs(difference) > std::fabs(accuracy.largest) || i == 0) {
      accuracy.largest = difference;
      accuracy.largestAt = x;
    }
    sumOfSquares += static_cast<long double>(difference) * difference;
  }
  accuracy.rms = static_cast<double>(std::sqrt(sumOfSquares / kAccuracySamples));
  return accuracy;
}

AccuracyOutcome TableAccuracyOf(const ModuleConfig& config, const InputLimits& limits,
                                const ConversionState& state) {
  ModuleConfig configCopy = config;
  InputLimits limitsCopy = limits;
  ConversionState stateCopy = state;
  const ConversionContext context{configCopy, limitsCopy, stateCopy};
  ModuleImage image;
  AccuracyOutcome outcome;
  // The image is only measured, never written: its date does not matter.
  outcome.refusal = BuildModuleImage(context, image, 0);
  if (outcome.refusal) return outcome;
  try {
    outcome.accuracy = MeasureTableAccuracy(configCopy, stateCopy.Table, image);
  } catch (const ConversionError& error) { outcome.error = error.what(); }
  return outcome;
}

}  // namespace q5480
