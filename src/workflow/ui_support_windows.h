// Steps of the main window's commands that open another window and that the
// window logic does not hold yet.
#pragma once

#include <functional>

#include "workflow/program_context.h"

namespace q5480 {

// Communication: Timer1 stands still while the port selection window is
// open; OK empties both displays. `portWindow` runs the window and tells
// whether it was closed with OK.
bool RunPortSelection(ProgramContext& context, const std::function<bool()>& portWindow);

}  // namespace q5480
