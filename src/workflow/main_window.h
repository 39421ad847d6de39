// The main window (TQ5480F) without its widgets: the timer's tick with the
// two displays, the device operations, the File commands, the menu commands
// and the parameter panel. The Qt window forwards its events here and shows
// what the context and the panel hold.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "workflow/file_commands.h"
#include "workflow/form_lang.h"
#include "workflow/module_commands.h"
#include "workflow/parameter_panel.h"
#include "workflow/program_context.h"

namespace q5480 {

// Which commands the window offers after a tick.
struct CommandStates {
  bool Regulacja = false;   // corrections: menu item and tool button
  bool Odczytaj = false;    // Read: menu item and tool button
  bool Odswierz = false;    // Refresh
  bool Wykres1T = false;    // the chart's tool button
  bool Weryfikuj1 = false;  // Verify
  bool Wykres1 = false;     // the chart's menu item
  bool ZapiszT = false;     // the Write tool button
  bool Konfig1 = false;     // the configuration submenu
  bool Reset1 = false;
  bool Autoread1 = true;    // not in the monitor-only view
};

inline constexpr int kTimerInterval = 500;       // ms
inline constexpr int kChartTimerInterval = 250;  // ms, while the chart view runs

class TQ5480FLogic {
 public:
  TQ5480FLogic(ProgramContext& context, ModuleCommands commands);

  ProgramContext& Context() { return context_; }
  ParameterPanel& Panel() { return panel_; }
  FileCommands& Files() { return files_; }
  const CommandStates& Commands() const { return commandStates_; }
  int TimerInterval() const;

  // Timer1: one tick of the polling timer.
  void Timer1Timer();
  void showres(double value);
  void showout(double current);
  void CheckDevice();
  void CheckAutoRead();

  // Device operations.
  bool OdczytajTClick();  // Read, also Refresh
  bool ZapiszTClick();    // Write
  bool Weryfikuj1Click(); // Verify
  // Runs one transfer with the waiting window and the progress bar.
  bool showiad(const std::string& messageKey, Link::Worker worker);
  const DeviceStatus& Status() const { return status_; }
  bool ReadBusy() const { return readBusy_; }  // the Read tool button's busy state

  // Menu commands.
  void Reset1Click();
  void Autoread1Click();
  bool AutoreadChecked() const { return autoReadChecked_; }
  int ReadButtonImage() const { return context_.state.AutoRead ? 9 : 3; }
  void MonOnly1Click();
  // Communication: the port selection window runs with Timer1 stopped; its
  // OK (a true result) empties both displays.
  void Komunikacja1Click(const std::function<bool()>& portWindow);
  // The toolbar, the status bar and the configuration menus (EnDisMenu).
  bool MenusShown() const { return menusShown_; }
  // The texts of the window in the current language; then the
  // configuration is shown again, or New.
  void FormLang();
  const FormTexts& Texts() const { return texts_; }

 private:
  void UpdateCommandStates();
  void MissedTick();
  bool InfoOnlyWrite();

  ProgramContext& context_;
  ModuleCommands commands_;
  ParameterPanel panel_;
  FileCommands files_;
  CommandStates commandStates_;
  DeviceStatus status_;
  bool readBusy_ = false;
  bool autoReadChecked_ = false;
  bool menusShown_ = true;
  FormTexts texts_;
};

}  // namespace q5480
