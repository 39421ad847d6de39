// The one world of the desktop program: the configuration, its image, the
// limits, the conversion state, the language, the settings and the window
// state that every window of the program works on. Owned by the application
// (or by a test) and passed by reference.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "config/language_table.h"
#include "config/module_config.h"
#include "config/module_image.h"
#include "config/numbers.h"
#include "config/settings_file.h"
#include "conversion/conversion_state.h"
#include "link/link.h"
#include "module/measurement_polling.h"
#include "service/module_service.h"
#include "workflow/user_interface.h"

namespace q5480 {

// What the main window knows about the module on the line and its own state.
struct ConnectionState {
  bool Connected = false;       // the last tick obtained a sample
  bool ConfigRead = false;      // the configuration shown came from the module
  std::uint32_t MissCount = 0;  // ticks without a sample since the last one
  bool AutoRead = false;
  bool InTransfer = false;    // a worker runs; the timer does nothing
  bool InvalidEntry = false;  // an edit holds a refused value
  bool Programmed = false;    // set by a successful write
  bool ZeroCoefficients =
      false;                // the last read brought a computed conversion without coefficients
  bool ChartShown = false;  // the chart view runs the timer at 250 ms
  bool MonitorOnly = false;
  bool TimerEnabled = false;    // Timer1 runs; its ticks do nothing while off
  int ReportedUnit = -1;        // the unit of the last measurement; none yet
  bool LossTold = false;        // a transfer told of the lost port; the ticks do not
  bool AppDeactivated = false;  // another application became active since
};

// Timer1 stands still while the person is asked or a file is read.
class TimerPause {
 public:
  explicit TimerPause(ConnectionState& state) : state_(state), wasEnabled_(state.TimerEnabled) {
    state.TimerEnabled = false;
  }
  ~TimerPause() { state_.TimerEnabled = wasEnabled_; }
  TimerPause(const TimerPause&) = delete;
  TimerPause& operator=(const TimerPause&) = delete;

 private:
  ConnectionState& state_;
  bool wasEnabled_;
};

// The result and output displays of the main window.
enum class DisplayAlign { Right, Centre };
struct DisplayState {
  std::string ResultText;
  int ResultPointSize = 18;
  DisplayAlign ResultAlign = DisplayAlign::Right;
  std::string OutputText;
  bool OutputRed = false;

  void Clear() {
    ResultText.clear();
    OutputText.clear();
  }
};

struct ProgramContext {
  explicit ProgramContext(UserInterface& userInterface, LinkSettings linkSettings = {},
                          CommandPauses pauses = {})
      : ui(userInterface),
        portEnvironment(linkSettings.ports),
        link(MeasurementPolling(), std::move(linkSettings)),
        service(link, {config, limits, conversion}, image, pauses) {}

  UserInterface& ui;
  ModuleConfig config;
  ModuleImage image;
  InputLimits limits;
  ConversionState conversion;
  LanguageTable language;
  RegionalSettings regional;
  ProgramSettings settings;
  ConnectionState state;
  PortEnvironment portEnvironment;
  Link link;
  ModuleService service;  // the module on the link, for every window

  std::filesystem::path programDirectory;
  // The current parameters file: a path, or the translation of "No_name".
  std::string fileName;

  DisplayState display;

  // The window caption and the first panel of the status bar.
  std::string caption;
  std::string statusText;

  // The caption: the model's display name, " - " and the file name.
  void ShowCaption();
  // Fills the language table for `settings.Language`, looking in the
  // program directory first; English, and false, when the language has no
  // complete file.
  bool LoadLanguage();
  // The status bar's first panel shows a blank and `text`.
  void SetStatusText(const std::string& text);
  // A message box titled "Q5480.exe".
  MessageResult ShowMessage(const std::string& text, MessageIcon icon,
                            MessageButtons buttons = MessageButtons::Ok);
  // A number the person typed; nothing, after a beep and "Wrong format!"
  // with `icon`, when the text does not read as one.
  std::optional<double> ReadTypedNumber(const std::string& text, MessageIcon icon);

  // A text of the program that the language table may lack: the
  // translation when there is one, else the English text.
  std::string TextOf(std::string_view key) const;

  // The translation of `key` followed by `suffix`.
  std::string Tr(std::string_view key, std::string_view suffix = {}) const {
    return language.Tr(key) + std::string(suffix);
  }
};

}  // namespace q5480
