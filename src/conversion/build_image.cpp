#include "conversion/build_image.h"

#include "conversion/cold_junction.h"
#include "conversion/conversion_messages.h"
#include "conversion/sensor_signal.h"

namespace q5480 {

std::optional<Refusal> PrepareTransferData(const ConversionContext& context, ModuleImage& image,
                                           const BuildProgress& progress) {
  ModuleConfig& config = context.config;
  ConversionState& state = context.state;
  // A table left from an earlier selection must not stand in for user data
  // that was never loaded for this one.
  if (UsesUserTable(config) && (!config.TableLoaded || state.Table.Count() < 2)) {
    state.TransferOk = false;
    return Refusal{.key = kNoDataAvailable, .exclamation = true};
  }
  const SignalBounds bounds = SignalRange(config, state.Table);
  const double step = (bounds.high - bounds.low) / (kTransferGridPoints - 1);
  if (auto refusal = StoreColdJunctionConstants(config, state.Table, context.limits, image))
    return refusal;
  image.StoreFloat(image_offset::kSignalLow, bounds.low);
  image.StoreFloat(image_offset::kSignalStep, step);
  config.SignalLow = bounds.low;
  config.SignalHigh = bounds.high;

  const TransferTable transfer = BuildTransferTable(config, state.Table, bounds, progress);
  if (!transfer.ok) {
    state.TransferOk = false;
    return Refusal{.key = kReasonNotMonotonic, .exclamation = true};
  }
  for (int k = 0; k < kSegmentCount; ++k) {
    const Segment& segment = transfer.segments[static_cast<std::size_t>(k)];
    image.StoreSegment(k, segment.offset, segment.slope);
  }
  state.TransferFractions = transfer.fractions;
  return std::nullopt;
}

std::optional<Refusal> BuildModuleImage(const ConversionContext& context, ModuleImage& image,
                                        std::uint16_t todayDayNumber,
                                        const BuildProgress& progress) {
  ModuleConfig& config = context.config;
  ConversionState& state = context.state;
  const double signalLow = config.SignalLow;
  const double signalHigh = config.SignalHigh;
  const auto fractions = state.TransferFractions;
  const auto restore = [&] {
    config.SignalLow = signalLow;
    config.SignalHigh = signalHigh;
    state.TransferFractions = fractions;
    state.TransferOk = false;
  };

  ModuleImage built = image;
  state.TransferOk = true;
  std::optional<Refusal> refusal;
  try {
    refusal = PrepareTransferData(context, built, progress);
    if (!refusal) StoreRecordInImage(config, built, todayDayNumber);
  } catch (...) {
    restore();
    throw;
  }
  if (refusal) {
    restore();
    return refusal;
  }
  image = built;
  return std::nullopt;
}

}  // namespace q5480
