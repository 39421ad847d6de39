#include "workflow/ui_support_windows.h"

namespace q5480 {

bool RunPortSelection(ProgramContext& context, const std::function<bool()>& portWindow) {
  TimerPause pause(context.state);
  const bool ok = portWindow();
  if (ok) context.display.Clear();
  return ok;
}

}  // namespace q5480
