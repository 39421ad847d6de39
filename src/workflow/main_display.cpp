// Timer1 of the main window: the newest measurement through the sample
// fan-out to the two displays, the silence of the module, the checks that
// follow every sample, and the command states after every tick.
#include <cmath>

#include "service/display_format.h"
#include "workflow/main_window.h"
#include "workflow/result_display.h"

namespace q5480 {
namespace {

constexpr int kSilenceMs = 6000;
constexpr int kLargePointSize = 18;

}  // namespace

MainWindowLogic::MainWindowLogic(ProgramContext& context)
    : context_(context), service_(context.service), panel_(context), files_(context, panel_) {
  samples_.Add(
      [this](const MeasurementSample& sample, const DeviceStatus&) { ShowSample(sample); });
  UpdateCommandStates();
}

int MainWindowLogic::TimerInterval() const {
  return context_.state.ChartShown ? kChartTimerInterval : kTimerInterval;
}

void MainWindowLogic::Timer1Timer() {
  ConnectionState& state = context_.state;
  if (!state.TimerEnabled || state.InTransfer) return;
  Link& link = context_.link;
  // A polling thread that ended by itself has left the link stopped; the
  // silence is still counted so that the failure is reported.
  if (link.LinkStarted() || link.PollFault()) {
    TimerPause pause(state);
    if (link.PollFault() && !pollFaultNoticed_ && !state.LossTold)
      context_.ui.Beep(BeepKind::Default);
    pollFaultNoticed_ = link.PollFault();
    MeasurementSample sample;
    const bool sampled = service_.Commands().TakeSample(sample, status_);
    // The model the module reports, or none (16) while it is silent.
    context_.config.ModelIndex = status_.ModelIndex;
    // A question or a read now would come over the modal window and
    // answer for a choice not yet made: they wait until it has closed.
    const bool modalOpen = modalWindows_ > 0;
    if (sampled) {
      state.Connected = true;
      state.LossTold = false;
      state.ReportedUnit = status_.ResultUnit;
      samples_.Deliver(sample, status_);
      state.MissCount = 0;
      if (!modalOpen) {
        CheckAutoRead();
        CheckDevice();
      }
    } else {
      MissedTick();
    }
    // Taken at once: a transfer would clear it in the link meanwhile.
    if (link.TakeCommandFailure()) commandFailureUntold_ = true;
    if (!modalOpen) TellLinkTrouble();
  }
  UpdateCommandStates();
}

void MainWindowLogic::TellLinkTrouble() {
  ConnectionState& state = context_.state;
  Link& link = context_.link;
  if (silenceUntold_) {
    silenceUntold_ = false;
    if (!state.Connected && link.PollFault() && !state.LossTold) {
      context_.ShowMessage(context_.Tr("No communication with device", "!"), MessageIcon::Warning);
    }
  }
  if (commandFailureUntold_) {
    commandFailureUntold_ = false;
    context_.ui.Beep(BeepKind::Warning);
    context_.ShowMessage(context_.Tr("Command failed", "!"), MessageIcon::Warning);
  }
}

void MainWindowLogic::ShowSample(const MeasurementSample& sample) {
  ShowResult(sample.Value);
  ShowOutput(sample.Current);
}

void MainWindowLogic::MissedTick() {
  ConnectionState& state = context_.state;
  DisplayState& display = context_.display;
  const std::uint32_t n =
      static_cast<std::uint32_t>(std::lround(static_cast<double>(kSilenceMs) / TimerInterval()));
  if (state.MissCount < n) {
    if (state.MissCount > 0) state.ConfigRead = false;
    state.Connected = false;
    // At 250 ms a single missed tick is normal between two samples.
    if (state.MissCount > 0 || TimerInterval() >= kTimerInterval) display.Clear();
    ++state.MissCount;
  } else if (state.MissCount == n) {
    display.ResultText = "???        ";
    display.ResultPointSize = kLargePointSize;
    display.ResultAlign = DisplayAlign::Right;
    display.OutputText = "???        ";
    display.OutputRed = false;
    ++state.MissCount;
  } else if (state.MissCount == 2 * n) {
    silenceUntold_ = context_.link.PollFault() && !state.LossTold;
    ++state.MissCount;
  } else if (state.MissCount < 2 * n) {
    ++state.MissCount;
  }
}

void MainWindowLogic::ShowResult(double value) {
  const ResultView view = ComposeResult(value, status_, context_.state.ConfigRead, context_.config,
                                        context_.limits, context_.language);
  DisplayState& display = context_.display;
  display.ResultText = view.text;
  if (view.text.empty()) return;
  display.ResultPointSize = view.pointSize;
  display.ResultAlign = view.centred ? DisplayAlign::Centre : DisplayAlign::Right;
}

void MainWindowLogic::ShowOutput(double current) {
  DisplayState& display = context_.display;
  display.OutputRed = status_.IndependentOutput;
  display.OutputText =
      FormatCurrentNumber(current) + (status_.IndependentOutput ? " mA  !" : " mA   ");
}

void MainWindowLogic::CheckDevice() {
  ModuleConfig& c = context_.config;
  const int m = ModelCodeAt(status_.ModelIndex);
  if (m <= 0) return;  // no model code to compare with
  if (c.Device.empty()) {
    c.Device = "Q54" + std::to_string(m);
    context_.ShowCaption();
    return;
  }
  if (ModelCode(c) == m) return;
  const std::string question = context_.Tr("Type of panel meter inconsistency", "! ") +
                               context_.Tr("New data will be read", ".") + "\n" +
                               context_.Tr("Disconnect the panel meter") + " " +
                               context_.Tr("and press") + " " + context_.Tr("Cancel") + " " +
                               context_.Tr("to preserve present configuration", ".");
  if (context_.ShowMessage(question, MessageIcon::Question, MessageButtons::OkCancel) !=
      MessageResult::Ok) {
    return;
  }
  OdczytajTClick();
  context_.fileName = context_.Tr("No_name");
  context_.ShowCaption();
}

void MainWindowLogic::CheckAutoRead() {
  ConnectionState& state = context_.state;
  if (!state.AutoRead || state.ConfigRead || status_.EepromError) return;
  OdczytajTClick();
  if (state.ConfigRead) return;
  if (context_.ShowMessage(context_.Tr("Turn Autoread off", "?"), MessageIcon::Question,
                           MessageButtons::YesNo) == MessageResult::Yes) {
    state.AutoRead = false;
    autoReadChecked_ = false;
  }
}

bool MainWindowLogic::CommandEnabled(std::string_view action) const {
  const auto found = commandStates_.find(action);
  return found != commandStates_.end() && found->second;
}

void MainWindowLogic::UpdateCommandStates() {
  const ConnectionState& state = context_.state;
  const bool idle = !state.InTransfer;
  const bool view = !state.MonitorOnly;  // the configuration view with its menus
  const bool connected = state.Connected && idle;
  const bool usable = connected && !status_.EepromError;
  const bool setup = connected && view;  // the Setup submenu: Read, Write, Verify, Refresh
  CommandStates& on = commandStates_;
  for (const char* name : {"Nowy1", "NowyT", "Otworz1", "OtworzT", "Zachowaj1", "ZachowajT",
                           "Zapiszjako1", "Drukuj1", "DrukujT"}) {
    on[name] = idle && view;
  }
  on["Ustawienia1"] = setup;
  on["Odczytaj1"] = setup && usable;
  on["Odswierz1"] = setup && usable;
  on["Zapisz1"] = setup;
  on["Weryfikuj1"] = setup && usable && state.Programmed;
  on["OdczytajT"] = view && usable;
  on["ZapiszT"] = view && connected;
  on["Reset1"] = view && connected;
  on["KomunikacjaT"] = view && idle;
  on["Komunikacja1"] = idle;
  on["Ogolne1"] = idle;
  on["PrintSetup1"] = idle;
  on["Czujniki1"] = idle && view;
  on["Autoread1"] = view;
  for (const char* name : {"Regulacja1", "RegulacjaT", "RegulacjaPic"}) on[name] = usable;
  for (const char* name :
       {"Exit1", "Pasek1", "Status1", "MonOnly1", "Info1", "Wersja1", "DaneTech1"}) {
    on[name] = true;
  }
  on["Wykres1"] = idle;
  on["Wykres1T"] = idle;
  on["Plik1"] = view;
  on["Konfig1"] = view;
  on["Opcje1"] = true;
  on["Symulacja1"] = idle && view;
  if (state.ChartShown) {
    // The chart view leaves the File menu its Save as (Keep results) and
    // Exit, and the View menu the chart and the monitor-only view.
    for (const char* name :
         {"Nowy1",      "NowyT",      "Otworz1",    "OtworzT",      "Zachowaj1",
          "ZachowajT",  "Drukuj1",    "DrukujT",    "PrintSetup1",  "Pasek1",
          "Status1",    "Symulacja1", "Konfig1",    "Ustawienia1",  "Odczytaj1",
          "Odswierz1",  "Zapisz1",    "Weryfikuj1", "Czujniki1",    "Reset1",
          "Regulacja1", "Opcje1",     "Ogolne1",    "Komunikacja1", "Autoread1"}) {
      on[name] = false;
    }
  }
}

}  // namespace q5480
