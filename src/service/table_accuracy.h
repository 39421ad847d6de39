// How closely the transfer table that a module is given follows the exact
// characteristic: the module's own evaluation of its 200 straight segments,
// from the floats as they stand in the image, against the characteristic
// over the whole input range.
#pragma once

#include <optional>
#include <string>

#include "config/module_config.h"
#include "config/module_image.h"
#include "conversion/build_image.h"
#include "conversion/conversion_state.h"

namespace q5480 {

// Points of the input range compared, ends included: some fifty to a
// segment, so that the largest difference inside each is found.
inline constexpr int kAccuracySamples = 10001;

struct TableAccuracy {
  double largest = 0;    // the module's result less the exact value where they differ most
  double largestAt = 0;  // the input value there
  double rms = 0;        // root mean square of the differences over the samples
};

// What the module shows for `signal` (referred to 0 °C for thermocouples):
// segment floor((S - Smin) / step) + 1, held to 0..201, evaluated as
// a * S + b, and the fraction placed in the input range, all from the image.
double ModuleResult(const ModuleImage& image, double signal);

// The accuracy of `image`, built for `config` (whose signal range the build
// set). Throws ConversionError on a floating-point error.
TableAccuracy MeasureTableAccuracy(const ModuleConfig& config, const UserTable& table,
                                   const ModuleImage& image);

struct AccuracyOutcome {
  std::optional<Refusal> refusal;  // why no table could be built
  std::string error;               // why the table built could not be measured
  std::optional<TableAccuracy> accuracy;
};

// Builds the image of a copy of the configuration, so that the program's
// image, signal range and transfer fractions stay as they are, and measures it.
// Throws ConversionError when the build meets a floating-point error: the
// configuration itself cannot be turned into a table.
AccuracyOutcome TableAccuracyOf(const ModuleConfig& config, const InputLimits& limits,
                                const ConversionState& state);

}  // namespace q5480
