// Building the module image: the conversion's part (compensation constants,
// signal range and transfer segments) followed by the record's own bytes.
#pragma once

#include <cstdint>
#include <string>

#include "config/module_image.h"
#include "conversion/conversion_state.h"
#include "conversion/transfer_table.h"

namespace q5480 {

enum class BuildFailure { None, NotMonotonic, NoConvergence, NotEnoughRows, NoUserData };

// The English text shown for a failure, "!" included ("" for None).
std::string BuildFailureMessage(BuildFailure failure);

// Signal range, signal step, cold-junction constants and segments of the
// record into `image`; sets `SignalLow`, `SignalHigh`, the transfer fractions
// and `TransferOk`. Throws ConversionError on a floating-point error.
BuildFailure PrepareTransferData(const ConversionContext& context, ModuleImage& image,
                                 const BuildProgress& progress);

// The whole image of the record, built into a copy: on failure (or an
// exception) `image`, the record and the conversion state are left as they
// were. `failure` tells why the build failed.
bool BuildModuleImage(const ConversionContext& context, ModuleImage& image,
                      std::uint16_t todayDayNumber, BuildFailure& failure,
                      const BuildProgress& progress = {});

}  // namespace q5480
