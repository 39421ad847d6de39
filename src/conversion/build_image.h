// Building the module image: the conversion's part (compensation constants,
// signal range and transfer segments) followed by the record's own bytes.
#pragma once

#include <cstdint>
#include <optional>

#include "config/module_image.h"
#include "conversion/conversion_state.h"
#include "conversion/refusal.h"
#include "conversion/transfer_table.h"

namespace q5480 {

// Signal range, signal step, cold-junction constants and segments of the
// record into `image`; sets `SignalLow`, `SignalHigh`, the transfer fractions
// and `TransferOk`. Refused with "No data available" + "!" when the user data
// is not loaded, with "Transfer function is not monotonic" + "!" when the
// characteristic cannot be inverted, or as the cold-junction fit refuses.
// Throws ConversionError on a floating-point error.
std::optional<Refusal> PrepareTransferData(const ConversionContext& context, ModuleImage& image,
                                           const BuildProgress& progress);

// The whole image of the record, built into a copy: when refused (or on an
// exception) `image`, the record and the conversion state are left as they
// were.
std::optional<Refusal> BuildModuleImage(const ConversionContext& context, ModuleImage& image,
                                        std::uint16_t todayDayNumber,
                                        const BuildProgress& progress = {});

}  // namespace q5480
