// Every command of the windows whose work can reach the conversion runs
// that work through here. A floating-point error of the conversion then ends
// the command that started it and goes no further: what the command changed
// in the configuration is put back, the error is shown, and the command
// reports failure. No such error ever leaves a command for the window system.
#pragma once

#include <functional>
#include <string>

#include "workflow/program_context.h"

namespace q5480 {

// The message of a floating-point error of the conversion: its text in the
// current language, with the error icon.
void ShowConversionError(ProgramContext& context, const std::string& text);

// Runs `work` and gives its result. When a floating-point error of the
// conversion ends it, the record, the limits, the conversion state and the
// image are put back as they were before, `putBack` restores what the
// calling window shows of its own, the error is shown, and the result is
// false.
bool RunConversionCommand(ProgramContext& context, const std::function<bool()>& work,
                          const std::function<void()>& putBack = {});

}  // namespace q5480
