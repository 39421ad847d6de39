#include "workflow/program_start.h"

#include "config/text.h"
#include "link/thread_priority.h"
#include "workflow/port_window.h"

namespace q5480 {

void PrepareProgram(ProgramContext& context, const std::filesystem::path& programDirectory,
                    const DesktopRect& desktop) {
  SetProgramPriority(ProgramPriority::High);
  context.programDirectory = programDirectory;
  ReadSettingsFile(programDirectory, context.settings, desktop);
  // A missing or incomplete language file gives English; the settings file
  // then records it.
  context.LoadLanguage();
}

bool StartProgram(MainWindowLogic& window) {
  ProgramContext& context = window.Context();
  context.SetStatusText(context.Tr("No parameters"));
  window.ApplyLanguage();
  const bool opened = OpenLinkOrTell(context, context.settings.ComPort);
  context.state.TimerEnabled = true;
  return opened;
}

void StopProgram(MainWindowLogic& window, int mainLeft, int mainTop) {
  ProgramContext& context = window.Context();
  context.state.TimerEnabled = false;
  context.settings.MainLeft = mainLeft;
  context.settings.MainTop = mainTop;
  WriteSettingsFile(context.programDirectory, context.settings);
  context.link.CancelTransfer();
  context.link.StopPolling();
  context.link.StopLink();
}

std::string SplashTitle(const LanguageTable& language) { return language.Tr("Q5480 Panel Meters"); }

std::string VersionCaption(const LanguageTable& language) {
  return Utf8Mid(language.Tr("&Version"), 1);
}

}  // namespace q5480
