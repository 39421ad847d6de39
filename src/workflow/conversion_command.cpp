#include "workflow/conversion_command.h"

#include "config/conversion_error.h"

namespace q5480 {

void ShowConversionError(ProgramContext& context, const std::string& text) {
  context.ShowMessage(context.TextOf(text), MessageIcon::Error);
}

bool RunConversionCommand(ProgramContext& context, const std::function<bool()>& work,
                          const std::function<void()>& putBack) {
  const ModuleConfig config = context.config;
  const InputLimits limits = context.limits;
  const ConversionState conversion = context.conversion;
  const ModuleImage image = context.image;
  try {
    return work();
  } catch (const ConversionError& error) {
    context.config = config;
    context.limits = limits;
    context.conversion = conversion;
    context.image = image;
    if (putBack) putBack();
    ShowConversionError(context, error.what());
    return false;
  }
}

}  // namespace q5480
