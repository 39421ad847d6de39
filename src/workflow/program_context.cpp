#include "workflow/program_context.h"

namespace q5480 {

bool ProgramContext::LoadLanguage() {
  const std::string& name = settings.Language;
  if (name != "English" && !programDirectory.empty() &&
      name.find_first_of("/\\") == std::string::npos &&
      LoadLanguageFile(language, programDirectory / (name + ".lan"))) {
    return true;
  }
  return q5480::LoadLanguage(language, settings.Language);
}

void ProgramContext::ShowCaption() {
  if (config.Device.empty()) {
    caption = language.Tr("Unspecified type");
    return;
  }
  const std::string_view displayName = ModelDisplayName(config.Device);
  caption = displayName.empty() ? fileName : std::string(displayName) + " - " + fileName;
}

std::string ProgramContext::TextOf(std::string_view key) const { return TextOrKey(language, key); }

void ProgramContext::SetStatusText(const std::string& text) {
  statusText = text;
  ui.SetStatusText(" " + text);
}

MessageResult ProgramContext::ShowMessage(const std::string& text, MessageIcon icon,
                                          MessageButtons buttons) {
  return ui.ShowMessage(text, kMessageCaption, icon, buttons);
}

std::optional<double> ProgramContext::ReadTypedNumber(const std::string& text, MessageIcon icon) {
  const std::optional<double> value = ParseNumber(text);
  if (!value) {
    ui.Beep(BeepKind::Exclamation);
    ShowMessage(Tr("Wrong format", "!"), icon);
  }
  return value;
}

}  // namespace q5480
