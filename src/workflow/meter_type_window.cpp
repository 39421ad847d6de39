#include "workflow/meter_type_window.h"

#include <algorithm>
#include <array>

namespace q5480 {

bool SensorSelectionExists(std::string_view device) {
  static constexpr std::array<std::string_view, 5> kModels{"Q5491", "Q5494", "Q5495", "Q5496",
                                                           "Q5497"};
  return std::find(kModels.begin(), kModels.end(), device) != kModels.end();
}

MeterTypeWindowLogic::MeterTypeWindowLogic(ProgramContext& context)
    : context_(context), previous_(context.config.Device) {
  for (const MeterModel& model : MeterModels()) {
    if (std::string_view(model.displayName) != "?") items_.emplace_back(model.displayName);
  }
  std::sort(items_.begin(), items_.end());
  const std::string wanted =
      previous_.empty() ? std::string("Q5491") : std::string(ModelDisplayName(previous_));
  const auto found = std::find(items_.begin(), items_.end(), wanted);
  selected_ =
      found != items_.end() ? static_cast<int>(found - items_.begin()) : (items_.empty() ? -1 : 0);
}

std::string MeterTypeWindowLogic::Caption() const { return context_.Tr("Q5480 Panel Meters"); }

std::string MeterTypeWindowLogic::Label() const { return context_.Tr("Select type of meter", ":"); }

bool MeterTypeWindowLogic::Ok() {
  if (selected_ < 0 || selected_ >= static_cast<int>(items_.size())) return Cancel();
  const std::string& displayName = items_[static_cast<std::size_t>(selected_)];
  for (const MeterModel& model : MeterModels()) {
    if (displayName == model.displayName) context_.config.Device = model.name;
  }
  bool accepted = SensorSelectionExists(context_.config.Device);
  if (!accepted) {
    context_.ShowMessage(context_.Tr("Device") + " " + context_.config.Device + " " +
                             context_.Tr("not implemented yet"),
                         MessageIcon::Information);
    context_.config.Device = previous_;
  }
  context_.ShowCaption();
  return accepted;
}

bool MeterTypeWindowLogic::Cancel() {
  context_.ShowCaption();
  return false;
}

}  // namespace q5480
