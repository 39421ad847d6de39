// The desktop program as a whole: its one world, the main window and the
// order of start and end. main() runs it; tests run it against an emulated
// module in a program directory of their own.
#pragma once

#include <filesystem>

#include "config/numbers.h"
#include "config/settings_file.h"
#include "link/link.h"
#include "ui/main_window.h"
#include "ui/qt_user_interface.h"
#include "workflow/main_window.h"

namespace q5480 {

struct DesktopOptions {
  std::filesystem::path programDirectory;
  DesktopRect desktop;  // for the check of the stored window position
  RegionalSettings regional;
  LinkSettings link;
  bool showSplash = true;  // false: straight on, as after OK
};

// The look of the program's windows, the same on every desktop.
void ApplyProgramStyle();

class DesktopProgram {
 public:
  explicit DesktopProgram(const DesktopOptions& options);
  ~DesktopProgram();
  DesktopProgram(const DesktopProgram&) = delete;
  DesktopProgram& operator=(const DesktopProgram&) = delete;

  // Settings, language, splash window, texts, port, main window, Timer1.
  // False when the person ended the program at the splash window.
  bool Start();
  // Position and settings stored, a running transfer cancelled, polling
  // stopped, the port closed. Runs once.
  void Stop();

  ProgramContext& Context() { return context_; }
  MainWindowLogic& Logic() { return logic_; }
  MainWindow& Window() { return window_; }

 private:
  DesktopOptions options_;
  QtUserInterface ui_;
  ProgramContext context_;
  MainWindowLogic logic_;
  MainWindow window_;
  bool started_ = false;
  bool stopped_ = false;
};

}  // namespace q5480
