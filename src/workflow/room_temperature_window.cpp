#include "workflow/room_temperature_window.h"

#include "config/numbers.h"
#include "conversion/conversion_messages.h"

namespace q5480 {

RoomTemperatureWindowLogic::RoomTemperatureWindowLogic(ProgramContext& context)
    : context_(context) {
  Show();
}

std::string RoomTemperatureWindowLogic::Caption() const { return context_.Tr("external CJ"); }

std::string RoomTemperatureWindowLogic::Prompt() const {
  return context_.Tr("Set the external cold junction temperature") + ": (" +
         FormatInt(static_cast<std::int64_t>(kRoomTLowest)) + " ... " +
         FormatInt(static_cast<std::int64_t>(kRoomTHighest)) + " \u00B0C)";
}

void RoomTemperatureWindowLogic::Show() { text_ = FormatFixed(context_.config.RoomT, 0, 2); }

bool RoomTemperatureWindowLogic::RoomTEExit(const std::string& text) {
  focus_.clear();
  const std::optional<double> value = ParseNumber(text);
  bool accepted = false;
  if (!value) {
    context_.ShowMessage(context_.Tr("Wrong format", "!"), MessageIcon::Error);
  } else if (*value < kRoomTLowest || *value > kRoomTHighest) {
    context_.ShowMessage(context_.TextOf(kOutOfRange), MessageIcon::Warning);
  } else {
    context_.config.RoomT = *value;
    accepted = true;
  }
  Show();
  if (!accepted) focus_ = "RoomTE";
  return accepted;
}

bool RoomTemperatureWindowLogic::OkClick(const std::string& text) {
  return text == text_ || RoomTEExit(text);
}

}  // namespace q5480
