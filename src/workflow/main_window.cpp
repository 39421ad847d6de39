// The small commands of the main window's menus.
#include "workflow/main_window.h"

namespace q5480 {

void MainWindowLogic::Reset1Click() {
  if (context_.state.InTransfer) return;
  switch (service_.Commands().QueueCommand(request_code::kRestart)) {
    case QueueResult::Queued: break;
    case QueueResult::NotReady: context_.ui.Beep(BeepKind::Default); break;
    case QueueResult::Pending: context_.ui.Beep(BeepKind::Information); break;
  }
}

void MainWindowLogic::Autoread1Click() {
  autoReadChecked_ = !autoReadChecked_;
  context_.state.AutoRead = autoReadChecked_ && !context_.state.MonitorOnly;
}

void MainWindowLogic::MonOnly1Click() {
  ConnectionState& state = context_.state;
  state.MonitorOnly = !state.MonitorOnly;
  if (state.MonitorOnly) {
    if (state.ChartShown && chart_) chart_->Leave();
    state.ChartShown = false;
    state.AutoRead = false;  // the menu item keeps its check mark
    menusShown_ = false;
  } else {
    menusShown_ = true;
    state.AutoRead = autoReadChecked_;
  }
  UpdateCommandStates();
}

void MainWindowLogic::Komunikacja1Click(const std::function<bool()>& portWindow) {
  // The port must not change under a running transfer.
  if (context_.state.InTransfer) return;
  TimerPause pause(context_.state);
  if (portWindow()) context_.display.Clear();
}

void MainWindowLogic::ApplyLanguage() {
  texts_ = TranslatedFormTexts(context_.language);
  const auto burnout = BurnoutLabelTexts(context_.language);
  texts_.burnoutLabelTexts.assign(burnout.begin(), burnout.end());
  if (panel_.ConfigurationShown()) {
    panel_.ShowConfiguration(kColourKeep);
  } else {
    panel_.NewConfiguration();
  }
}

}  // namespace q5480
