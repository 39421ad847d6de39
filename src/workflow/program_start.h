// Start and end of the desktop program, in the order the windows need:
// settings and language before the splash window, the main window's texts,
// the port and the timer after it; at the end the settings written and the
// link closed.
#pragma once

#include <filesystem>

#include "config/settings_file.h"
#include "workflow/main_window.h"

namespace q5480 {

inline constexpr const char* kProgramVersion = "v 2.00";

// Before the splash window: the program directory, the settings file (the
// window position checked against `desktop`) and the language, falling back
// to English without a word.
void PrepareProgram(ProgramContext& context, const std::filesystem::path& programDirectory,
                    const DesktopRect& desktop);

// After the splash window was closed with OK: the main window's texts and
// New, the stored port opened and Timer1 started. False when the port did
// not open (the person was told; the port selection window comes next).
bool StartProgram(MainWindowLogic& window);

// The end: the window's position and the settings stored, a running
// transfer cancelled, polling stopped and the port closed.
void StopProgram(MainWindowLogic& window, int mainLeft, int mainTop);

// Texts of the small windows of start-up and help.
std::string SplashTitle(const LanguageTable& language);     // SplashWindow
std::string VersionCaption(const LanguageTable& language);  // VersionWindow

}  // namespace q5480
