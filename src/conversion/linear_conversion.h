// The linear conversion: signal = a0 + a1 * result between two points, with
// the checks of its dialog as plain functions.
#pragma once

#include <optional>

#include "config/module_config.h"
#include "conversion/conversion_state.h"
#include "conversion/range_rules.h"

namespace q5480 {

// The dialog's working values: the signal range and the result range.
struct LinearDefinition {
  double inMin = 0;
  double inMax = 0;
  double resMin = -1999;
  double resMax = 9999;
};

struct LinearCoefficients {
  double a0 = 0;
  double a1 = 1;
};
// a1 = (InMax - InMin) / (ResMax - ResMin), a0 = InMin - a1 * ResMin.
// Throws ConversionError when the result range is empty.
LinearCoefficients LinearCoefficientsOf(const LinearDefinition& definition);

// What the dialog starts with: the stored definition while it still fits the
// input type and no conversion was confirmed since the selection opened, else
// the limits of `TableType` and the widest result range.
LinearDefinition LinearStartValues(const ConversionContext& context);

// Leaving a field: checks `value` for `field` against the others and stores
// it in `definition` when accepted. Result values are first truncated to
// tenths. A refused value leaves `definition` unchanged.
std::optional<Refusal> CheckLinearField(DialogField field, double value,
                                        LinearDefinition& definition, int tableType,
                                        const InputLimits& limits);

// The OK checks, in order; the first failure names its message and field.
std::optional<Refusal> ValidateLinear(const LinearDefinition& definition, int tableType,
                                      const InputLimits& limits);

// Stores an accepted definition: user limits, coefficients 1, 2, 10 and 11,
// the result unit, and the confirmation.
void ApplyLinear(const LinearDefinition& definition, int jednostki,
                 const ConversionContext& context);

}  // namespace q5480
