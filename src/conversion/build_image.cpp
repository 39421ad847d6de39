#include "conversion/build_image.h"

#include "conversion/cold_junction.h"
#include "conversion/conversion_messages.h"
#include "conversion/sensor_signal.h"

namespace q5480 {

std::string BuildFailureMessage(BuildFailure failure) {
  switch (failure) {
    case BuildFailure::NotMonotonic: return std::string(kReasonNotMonotonic) + "!";
    case BuildFailure::NoConvergence: return kNoConvergence;
    case BuildFailure::NotEnoughRows: return kNotEnoughRows;
    case BuildFailure::NoUserData: return "No data available!";
    case BuildFailure::None: break;
  }
  return "";
}

BuildFailure PrepareTransferData(const ConversionContext& context, ModuleImage& image,
                                 const BuildProgress& progress) {
  ModuleConfig& config = context.config;
  ConversionState& state = context.state;
  // A table left from an earlier selection must not stand in for user data
  // that was never loaded for this one.
  if (UsesUserTable(config) && (!config.TableLoaded || state.Table.Count() < 2)) {
    state.TransferOk = false;
    return BuildFailure::NoUserData;
  }
  const SignalBounds bounds = SignalRange(config, state.Table);
  const double step = (bounds.high - bounds.low) / (kTransferGridPoints - 1);
  const ColdJunctionConstantsResult coldJunction = ColdJunctionConstants(config, state.Table, context.limits);
  if (coldJunction.status == FitStatus::NoConvergence) return BuildFailure::NoConvergence;
  if (coldJunction.status == FitStatus::NotEnoughRows) return BuildFailure::NotEnoughRows;
  if (coldJunction.constants) {
    for (std::size_t i = 0; i < 3; ++i) {
      image.StoreFloat(image_offset::kColdJunction + 4 * i, (*coldJunction.constants)[i]);
    }
  }
  image.StoreFloat(image_offset::kSignalLow, bounds.low);
  image.StoreFloat(image_offset::kSignalStep, step);
  config.SignalLow = bounds.low;
  config.SignalHigh = bounds.high;

  const TransferTable transfer = BuildTransferTable(config, state.Table, bounds, progress);
  if (!transfer.ok) {
    state.TransferOk = false;
    return BuildFailure::NotMonotonic;
  }
  for (int k = 0; k < kSegmentCount; ++k) {
    const Segment& segment = transfer.segments[static_cast<std::size_t>(k)];
    image.StoreSegment(k, segment.offset, segment.slope);
  }
  state.TransferFractions = transfer.fractions;
  return BuildFailure::None;
}

bool BuildModuleImage(const ConversionContext& context, ModuleImage& image,
                      std::uint16_t todayDayNumber, BuildFailure& failure,
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
  };

  ModuleImage built = image;
  state.TransferOk = true;
  try {
    failure = PrepareTransferData(context, built, progress);
    if (failure == BuildFailure::None) StoreRecordInImage(config, built, todayDayNumber);
  } catch (...) {
    restore();
    state.TransferOk = false;
    throw;
  }
  if (failure != BuildFailure::None) {
    restore();
    state.TransferOk = false;
    return false;
  }
  image = built;
  return state.TransferOk;
}

}  // namespace q5480
