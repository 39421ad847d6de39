// The external cold junction's temperature window (RoomTemperatureDialog): `RoomT` for a
// thermocouple without compensation.
#pragma once

#include <string>

#include "workflow/program_context.h"

namespace q5480 {

// What the window accepts: the band that the consistency rules keep, so
// that a value the person typed is never replaced later without a word.
inline constexpr double kRoomTLowest = 0;
inline constexpr double kRoomTHighest = 50;

class RoomTemperatureWindowLogic {
 public:
  explicit RoomTemperatureWindowLogic(ProgramContext& context);

  std::string Caption() const;
  // "Set the external cold junction temperature: (0 ... 50 °C)".
  std::string Prompt() const;
  // `RoomT` with 2 decimals.
  const std::string& FieldText() const { return text_; }
  // The control to focus after the last event; empty for none.
  const std::string& Focus() const { return focus_; }

  // Leaving the field with its text: the value becomes `RoomT`, or is
  // refused with a message (false) and the field shows `RoomT` again.
  bool RoomTEExit(const std::string& text);
  // OK with the field's text: closes (true) once the value is accepted; the
  // text shown unchanged keeps `RoomT` as it is.
  bool OkClick(const std::string& text);

 private:
  void Show();

  ProgramContext& context_;
  std::string text_;
  std::string focus_;
};

}  // namespace q5480
