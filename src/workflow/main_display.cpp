// Timer1 of the main window: the newest measurement on the two displays, the
// silence of the module, and the checks that follow every sample.
#include <cmath>

#include "workflow/display_format.h"
#include "workflow/main_window.h"

namespace q5480 {
namespace {

constexpr int kSilenceMs = 6000;
constexpr int kLargePointSize = 18;

}  // namespace

TQ5480FLogic::TQ5480FLogic(ProgramContext& context, ModuleCommands commands)
    : context_(context), commands_(std::move(commands)), panel_(context),
      files_(context, panel_) {}

int TQ5480FLogic::TimerInterval() const {
  return context_.state.ChartShown ? kChartTimerInterval : kTimerInterval;
}

void TQ5480FLogic::Timer1Timer() {
  ConnectionState& state = context_.state;
  if (!state.TimerEnabled || state.InTransfer) return;
  // A polling thread that failed has left the link stopped; the silence is
  // still counted so that the failure is reported.
  if (context_.link.LinkStarted() || context_.link.PollFault()) {
    TimerPause pause(state);
    MeasurementSample sample;
    if (commands_.TakeSample && commands_.TakeSample(sample, status_)) {
      state.Connected = true;
      state.ReportedUnit = status_.ResultUnit;
      showres(sample.Value);
      showout(sample.Current);
      state.MissCount = 0;
      CheckAutoRead();
      CheckDevice();
    } else {
      status_.ModelIndex = 16;
      MissedTick();
    }
    context_.link.CheckCommandFailed();
  }
  UpdateCommandStates();
}

void TQ5480FLogic::MissedTick() {
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
    if (context_.link.PollFault()) {
      context_.MyMesM(context_.Tr("No communication with device", "!"), MessageIcon::Warning);
    }
    ++state.MissCount;
  } else if (state.MissCount < 2 * n) {
    ++state.MissCount;
  }
}

void TQ5480FLogic::showres(double value) {
  const ResultView view = ComposeResult(value, status_, context_.state.ConfigRead,
                                        context_.config, context_.limits, context_.language);
  DisplayState& display = context_.display;
  display.ResultText = view.text;
  if (view.text.empty()) return;
  display.ResultPointSize = view.pointSize;
  display.ResultAlign = view.centred ? DisplayAlign::Centre : DisplayAlign::Right;
}

void TQ5480FLogic::showout(double current) {
  DisplayState& display = context_.display;
  display.OutputRed = status_.IndependentOutput;
  display.OutputText =
      FormatCurrentNumber(current) + (status_.IndependentOutput ? " mA  !" : " mA   ");
}

void TQ5480FLogic::CheckDevice() {
  ModuleConfig& c = context_.config;
  const int m = ModelCodeAt(status_.ModelIndex);
  if (m <= 0) return;  // no model code to compare with
  if (c.Device.empty()) {
    c.Device = "Q54" + std::to_string(m);
    context_.ShowCaption();
    return;
  }
  if (ModelCode(c) == m) return;
  const std::string question =
      context_.Tr("Type of panel meter inconsistency", "! ") +
      context_.Tr("New data will be read", ".") + "\n" +
      context_.Tr("Disconnect the panel meter") + " " + context_.Tr("and press") + " " +
      context_.Tr("Cancel") + " " + context_.Tr("to preserve present configuration", ".");
  if (context_.MyMesM(question, MessageIcon::Question, MessageButtons::OkCancel) !=
      MessageResult::Ok) {
    return;
  }
  OdczytajTClick();
  context_.fileName = context_.Tr("No_name");
  context_.ShowCaption();
}

void TQ5480FLogic::CheckAutoRead() {
  ConnectionState& state = context_.state;
  if (!state.AutoRead || state.ConfigRead || status_.EepromError) return;
  OdczytajTClick();
  if (state.ConfigRead) return;
  if (context_.MyMesM(context_.Tr("Turn Autoread off", "?"), MessageIcon::Question,
                      MessageButtons::YesNo) == MessageResult::Yes) {
    state.AutoRead = false;
    autoReadChecked_ = false;
  }
}

void TQ5480FLogic::UpdateCommandStates() {
  const ConnectionState& state = context_.state;
  const bool usable = state.Connected && !status_.EepromError;
  commandStates_.Regulacja = usable;
  commandStates_.Odczytaj = usable;
  commandStates_.Odswierz = usable;
  commandStates_.Wykres1T = usable;
  commandStates_.Weryfikuj1 = usable && state.Programmed;
  commandStates_.Wykres1 = usable && !state.MonitorOnly;
  commandStates_.ZapiszT = state.Connected;
  commandStates_.Konfig1 = state.Connected;
  commandStates_.Reset1 = state.Connected;
  commandStates_.Autoread1 = !state.MonitorOnly;
}

}  // namespace q5480
