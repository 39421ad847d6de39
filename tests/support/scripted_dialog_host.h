// The dialog host of window-logic tests: each window is a script that acts
// on the window's logic as a person would and says how the window closed.
// A window without a script is cancelled. Every opening is counted.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "workflow/dialog_host.h"

namespace q5480::test_support {

class ScriptedDialogHost : public DialogHost {
 public:
  std::function<bool()> meterType, table, powerSeries, linear, roomTemperature;
  std::function<SelectionOutcome()> sensor, resistanceVoltage, voltageCurrent, loopCurrent;

  // How often each window was opened, by its window's object name ("TTablF").
  std::map<std::string, int> opened;

  bool MeterType() override { return Run("TTransdF", meterType); }
  SelectionOutcome Sensor() override { return Run("TWybor", sensor); }
  SelectionOutcome ResistanceVoltage() override { return Run("TWyborRV", resistanceVoltage); }
  SelectionOutcome VoltageCurrent() override { return Run("TWyborIV", voltageCurrent); }
  SelectionOutcome LoopCurrent() override { return Run("TWyborI", loopCurrent); }
  bool Table() override { return Run("TTablF", table); }
  bool PowerSeries() override { return Run("TPowerF", powerSeries); }
  bool Linear() override { return Run("TLinaF", linear); }
  bool RoomTemperature() override { return Run("TRoomF", roomTemperature); }

 private:
  bool Run(const std::string& window, const std::function<bool()>& script) {
    ++opened[window];
    return script ? script() : false;
  }
  SelectionOutcome Run(const std::string& window, const std::function<SelectionOutcome()>& script) {
    ++opened[window];
    return script ? script() : SelectionOutcome::Cancel;
  }
};

}  // namespace q5480::test_support
