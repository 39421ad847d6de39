// The main window (MainWindow) without its widgets: the timer's tick with the
// two displays, the device operations, the File commands, the menu commands
// and the parameter panel. The Qt window forwards its events here and shows
// what the context and the panel hold.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "service/module_service.h"
#include "service/printed_report.h"
#include "workflow/chart_view.h"
#include "workflow/dialog_host.h"
#include "workflow/file_commands.h"
#include "workflow/form_texts.h"
#include "workflow/parameter_panel.h"
#include "workflow/program_context.h"
#include "workflow/sample_fan_out.h"

namespace q5480 {

class SimulationWindowLogic;

// The enabled state of every command of the main window by the name of its
// action (menu item, submenu or tool button). The window applies them all,
// so that a menu item, a tool button and a shortcut never disagree.
using CommandStates = std::map<std::string, bool, std::less<>>;

inline constexpr int kTimerInterval = 500;       // ms
inline constexpr int kChartTimerInterval = 250;  // ms, while the chart view runs

class MainWindowLogic {
 public:
  explicit MainWindowLogic(ProgramContext& context);

  ProgramContext& Context() { return context_; }
  ParameterPanel& Panel() { return panel_; }
  FileCommands& Files() { return files_; }
  const CommandStates& Commands() const { return commandStates_; }
  bool CommandEnabled(std::string_view action) const;
  // Every accepted sample goes through here; the displays are the first
  // consumer.
  SampleFanOut& Samples() { return samples_; }
  int TimerInterval() const;

  // Timer1: one tick of the polling timer.
  void Timer1Timer();
  // A modal window of the program opened over the main window, or closed.
  // While any is open the tick keeps the displays live but asks, tells and
  // starts nothing; the first tick after the last one closed does, against
  // the configuration chosen by then.
  void ModalWindowOpened() { ++modalWindows_; }
  void ModalWindowClosed() {
    if (modalWindows_ > 0) --modalWindows_;
  }
  void ShowResult(double value);
  void ShowOutput(double current);
  void CheckDevice();
  void CheckAutoRead();

  // Device operations. Each is refused while a transfer runs.
  bool OdczytajTClick();   // Read, also Refresh
  bool ZapiszTClick();     // Write
  bool Weryfikuj1Click();  // Verify
  // Runs one transfer of the service with the waiting window and the
  // progress bar; the transfer gets the observer to report to.
  using TransferCall = std::function<LinkStatus(const TransferObserver&)>;
  bool RunTransfer(const std::string& messageKey, const TransferCall& transfer);
  const DeviceStatus& Status() const { return status_; }
  bool ReadBusy() const { return readBusy_; }  // the Read tool button's busy state

  // The sensor button and Configuration › Input: the meter type window when
  // no model is known, the selection windows of the model, and on OK the
  // range brought into line and the configuration shown. False when
  // cancelled (everything the windows changed is put back).
  bool SenSelClick(DialogHost& host);

  // Menu commands.
  void Reset1Click();
  void Autoread1Click();
  bool AutoreadChecked() const { return autoReadChecked_; }
  int ReadButtonImage() const { return context_.state.AutoRead ? 9 : 3; }
  void MonOnly1Click();
  // Communication: the port selection window runs with Timer1 stopped; its
  // OK (a true result) empties both displays. Refused during a transfer.
  void Komunikacja1Click(const std::function<bool()>& portWindow);
  // File › Print: the parameter check without the user data and the report
  // dated today; then, with Timer1 stopped, the print dialog (true when
  // confirmed) and the report handed to `print` (false when the printer
  // refused it).
  bool Drukuj1Click(const std::function<bool()>& printDialog,
                    const std::function<bool(const PrintedReport&)>& print);
  // File › Print setup: the printer set-up dialog with Timer1 stopped.
  void PrintSetup1Click(const std::function<void()>& setupDialog);
  // View › Simulation: the simulation window's logic, opened as it
  // decides, handed to `window` to be shown modally.
  bool Symulacja1Click(const std::function<void(SimulationWindowLogic&)>& window);
  // View › Diagram: the chart view on the window's strip chart, which the
  // window attaches once.
  void AttachChart(ChartControl& chart);
  ChartView& Chart() { return *chart_; }
  void Wykres1Click();
  // File › Save as, which keeps the chart's results while the chart is shown.
  void Zapiszjako1Click();
  std::string SaveAsCaption() const;
  // The toolbar, the status bar and the configuration menus (EnDisMenu).
  bool MenusShown() const { return menusShown_; }
  // The toolbar and the status bar, which the chart view hides too.
  bool BarsShown() const { return menusShown_ && !context_.state.ChartShown; }
  // The texts of the window in the current language; then the
  // configuration is shown again, or New.
  void ApplyLanguage();
  const FormTexts& Texts() const { return texts_; }
  // The command states after anything that changes them.
  void UpdateCommandStates();

 private:
  void MissedTick();
  // "No communication with device" and "Command failed", each once.
  void TellLinkTrouble();
  void ShowSample(const MeasurementSample& sample);
  // The waiting window, the progress and the result of one transfer.
  bool RunTransferWindow(const std::string& message, const TransferCall& transfer);
  bool InfoOnlyWrite();
  // `status` in the status bar, followed by the fingerprint of the image as
  // a module of `modelCode` holds it.
  void ShowStatusWithFingerprint(const std::string& status, int modelCode);
  // The Differences window after a verify: the fields in which `read`
  // differs from `expected`, the image the verify compared it against.
  void ShowDifferences(const ModuleImage& expected, const ModuleImage& read);
  // Write once it may run: the checks, the build and the transfer.
  bool Write();
  // The sensor button once the model is known: the windows and their OK.
  bool SelectSensor(DialogHost& host);

  ProgramContext& context_;
  ModuleService& service_;
  ParameterPanel panel_;
  FileCommands files_;
  SampleFanOut samples_;
  CommandStates commandStates_;
  DeviceStatus status_;
  bool readBusy_ = false;
  bool autoReadChecked_ = false;
  bool menusShown_ = true;
  bool pollFaultNoticed_ = false;
  // What a tick has to tell, kept while a modal window is open.
  bool silenceUntold_ = false;
  bool commandFailureUntold_ = false;
  int modalWindows_ = 0;
  FormTexts texts_;
  std::unique_ptr<ChartView> chart_;
};

}  // namespace q5480
