#include "window_script.h"

#include <array>

#include "workflow/linear_window.h"
#include "workflow/loop_current_window.h"
#include "workflow/meter_type_window.h"
#include "workflow/power_series_window.h"
#include "workflow/resistance_voltage_window.h"
#include "workflow/room_temperature_window.h"
#include "workflow/sensor_window.h"
#include "workflow/table_window.h"
#include "workflow/voltage_current_window.h"

namespace q5480::fuzz {
namespace {

// Windows opened during one command before every further one is cancelled:
// "More" may hand over between two windows without end.
constexpr int kMaxOpenings = 12;
// Choices made in one window before it closes.
constexpr int kMaxActions = 8;

constexpr std::array<const char*, 30> kNumbers = {
    "0",      "1",      "-1",   "4",     "20",      "100",     "0.5",  "12,5",  "1000",  "-200",
    "850",    "1370",   "9999", "-1999", "9999.01", "-1999.1", "1e40", "-1e40", "1e308", "-1e308",
    "1e-300", "0.0001", "3.9",  "0.09",  "250",     "400",     "",     "abc",   "1e",    "- 1"};

DialogField AnyField(Script& script) {
  static constexpr std::array<DialogField, 4> kFields = {DialogField::InMin, DialogField::InMax,
                                                         DialogField::ResMin, DialogField::ResMax};
  return kFields[static_cast<std::size_t>(script.Choice(4))];
}

Conversion AnyConversion(Script& script) {
  return static_cast<Conversion>(script.Choice(kConversionCount));
}

}  // namespace

std::uint8_t Script::Byte() { return next_ < size_ ? data_[next_++] : 0; }

std::string Script::Number() {
  const int pick = Byte();
  if (pick < static_cast<int>(kNumbers.size()) * 8)
    return kNumbers[static_cast<std::size_t>(pick % kNumbers.size())];
  // A number of the script's own, with a decimal part now and then.
  const int high = Byte();
  const int whole = static_cast<std::int16_t>(high << 8 | Byte());
  return pick % 2 == 0 ? std::to_string(whole)
                       : std::to_string(whole / 100) + "." + std::to_string(pick % 100);
}

MessageResult ScriptedUi::ShowMessage(const std::string& text, const std::string&, MessageIcon,
                                      MessageButtons buttons) {
  messages_.push_back(text);
  switch (buttons) {
    case MessageButtons::YesNo: return script_.Flag() ? MessageResult::Yes : MessageResult::No;
    case MessageButtons::OkCancel:
      return script_.Flag() ? MessageResult::Ok : MessageResult::Cancel;
    case MessageButtons::OkDetails:
      return script_.Flag() ? MessageResult::Details : MessageResult::Ok;
    case MessageButtons::Ok: break;
  }
  return MessageResult::Ok;
}

std::optional<std::string> ScriptedUi::AskFileName(const FileDialogRequest& request) {
  if (request.save) return savedFile.string();
  if (request.filter.find("*.dat") != std::string::npos) return tableFile.string();
  return parametersFile.string();
}

std::vector<std::string> ScriptedUi::TakeMessages() {
  std::vector<std::string> taken;
  taken.swap(messages_);
  return taken;
}

bool ScriptedWindows::Opened() { return ++openings_ <= kMaxOpenings; }

bool ScriptedWindows::MeterType() {
  if (!Opened()) return false;
  MeterTypeWindowLogic window(context_);
  if (window.Items().empty()) return window.Cancel();
  window.Select(script_.Choice(static_cast<int>(window.Items().size())));
  return script_.Flag() ? window.Ok() : window.Cancel();
}

SelectionOutcome ScriptedWindows::Sensor() {
  if (!Opened()) return SelectionOutcome::Cancel;
  SensorWindowLogic window(context_, *this);
  for (int action = 0; action < kMaxActions; ++action) {
    switch (script_.Choice(10)) {
      case 0: return window.Cancel();
      case 1: return window.More();
      case 2:
        if (const auto outcome = window.Ok()) return *outcome;
        break;
      case 3: window.PageChange(script_.Choice(2)); break;
      case 4: window.TypClick(script_.Choice(16)); break;
      case 5: window.WireClick(script_.Choice(5)); break;
      case 6: window.RtdLinClick(script_.Flag()); break;
      case 7: window.TermoLinClick(script_.Flag()); break;
      case 8: window.TempDiffClick(script_.Flag()); break;
      default: window.CompensationClick(script_.Flag()); break;
    }
  }
  return window.Cancel();
}

SelectionOutcome ScriptedWindows::ResistanceVoltage() {
  if (!Opened()) return SelectionOutcome::Cancel;
  ResistanceVoltageWindowLogic window(context_, *this);
  for (int action = 0; action < kMaxActions; ++action) {
    switch (script_.Choice(6)) {
      case 0: return window.Cancel();
      case 1: return window.More();
      case 2: return window.Ok();
      case 3: window.PageChange(script_.Choice(2)); break;
      case 4: window.WireClick(script_.Choice(5)); break;
      default: {
        const int page = script_.Choice(2);
        const Conversion box = script_.Flag() ? Conversion::Table : Conversion::Linear;
        window.ConversionClick(page, box, script_.Flag());
        break;
      }
    }
  }
  return window.Cancel();
}

SelectionOutcome ScriptedWindows::VoltageCurrent() {
  if (!Opened()) return SelectionOutcome::Cancel;
  VoltageCurrentWindowLogic window(context_, *this);
  for (int action = 0; action < kMaxActions; ++action) {
    switch (script_.Choice(4)) {
      case 0: return window.Cancel();
      case 1: return window.Ok();
      case 2: window.PageChange(script_.Choice(2)); break;
      default: {
        const int page = script_.Choice(2);
        window.ConversionClick(page, AnyConversion(script_));
        break;
      }
    }
  }
  return window.Cancel();
}

SelectionOutcome ScriptedWindows::LoopCurrent() {
  if (!Opened()) return SelectionOutcome::Cancel;
  LoopCurrentWindowLogic window(context_, *this);
  for (int action = 0; action < kMaxActions; ++action) {
    switch (script_.Choice(5)) {
      case 0: return window.Cancel();
      case 1: return window.Ok();
      case 2: window.InputClick(script_.Flag()); break;
      case 3: window.ConversionClick(AnyConversion(script_)); break;
      default: window.DotPositionChange(script_.Choice(6)); break;
    }
  }
  return window.Cancel();
}

bool ScriptedWindows::Table() {
  if (!Opened()) return false;
  TableWindowLogic window(context_);
  for (int action = 0; action < kMaxActions; ++action) {
    switch (script_.Choice(4)) {
      case 0: window.ExitClick(); return false;
      case 1:
        if (window.OkClick()) return true;
        break;
      case 2: window.LoadClick(); break;
      default: window.SelectUnit(script_.Choice(12)); break;
    }
  }
  window.ExitClick();
  return false;
}

bool ScriptedWindows::PowerSeries() {
  if (!Opened()) return false;
  PowerSeriesWindowLogic window(context_);
  for (int action = 0; action < kMaxActions; ++action) {
    switch (script_.Choice(5)) {
      case 0: window.CancelClick(); return false;
      case 1:
        if (window.ButtonClick()) return true;
        break;
      case 2: window.CoefficientExit(script_.Choice(kCoefficientFields), script_.Number()); break;
      case 3:
        window.FieldExit(script_.Flag() ? DialogField::InMin : DialogField::InMax,
                         script_.Number());
        break;
      default: window.SelectUnit(script_.Choice(12)); break;
    }
  }
  window.CancelClick();
  return false;
}

bool ScriptedWindows::Linear() {
  if (!Opened()) return false;
  LinearWindowLogic window(context_);
  for (int action = 0; action < kMaxActions; ++action) {
    switch (script_.Choice(4)) {
      case 0: return false;
      case 1:
        if (window.OkClick()) return true;
        break;
      case 2: window.FieldExit(AnyField(script_), script_.Number()); break;
      default: window.SelectUnit(script_.Choice(12)); break;
    }
  }
  return false;
}

bool ScriptedWindows::RoomTemperature() {
  if (!Opened()) return false;
  RoomTemperatureWindowLogic window(context_);
  return script_.Flag() && window.OkClick(script_.Number());
}

}  // namespace q5480::fuzz
