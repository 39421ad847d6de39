// The small commands of the main window's menus.
#include "link/frame.h"
#include "workflow/main_window.h"

namespace q5480 {

void TQ5480FLogic::Reset1Click() { context_.link.QueueCommand(MakeRequest({'r'}, kNoReply)); }

void TQ5480FLogic::Autoread1Click() {
  autoReadChecked_ = !autoReadChecked_;
  context_.state.AutoRead = autoReadChecked_ && !context_.state.MonitorOnly;
}

void TQ5480FLogic::MonOnly1Click() {
  ConnectionState& state = context_.state;
  state.MonitorOnly = !state.MonitorOnly;
  if (state.MonitorOnly) {
    state.ChartShown = false;
    state.AutoRead = false;  // the menu item keeps its check mark
    menusShown_ = false;
  } else {
    menusShown_ = true;
    state.AutoRead = autoReadChecked_;
  }
  UpdateCommandStates();
}

void TQ5480FLogic::Komunikacja1Click(const std::function<bool()>& portWindow) {
  TimerPause pause(context_.state);
  if (portWindow()) context_.display.Clear();
}

void TQ5480FLogic::FormLang() {
  texts_ = FormLangTexts(context_.language);
  if (panel_.ConfigurationShown()) {
    panel_.pokaz(kColourKeep);
  } else {
    panel_.odnowa();
  }
}

}  // namespace q5480
