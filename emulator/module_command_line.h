// The options of q5480-module and the commands it takes on standard input
// while it runs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "emulator/module_options.h"
#include "emulator/module_requests.h"
#include "emulator/module_signal.h"

namespace q5480 {

extern const char* const kModuleProgramHelp;

struct ModuleProgramOptions {
  bool help = false;
  int com = 0;   // 0: no link in the ports folder
  int baud = 0;  // 0: no line pacing
  ModuleOptions module;
  std::optional<SignalShape> signal;
  bool sensorBroken = false;
  bool eepromError = false;
  bool calibrationMode = false;
};

// Nothing, and a one-line reason in `error`, for a bad argument.
std::optional<ModuleProgramOptions> ParseModuleCommandLine(const std::vector<std::string>& args,
                                                           std::string& error);

// Applies the settings of a running module that the program was started
// with.
void ApplyStartSettings(const ModuleProgramOptions& options, EmulatedModule& module);

// One line of standard input: "signal SHAPE", "broken on|off",
// "eeprom on|off", "cal on|off" or "temperature DEGREES". False, with a
// reason in `error`, when the line is none of these.
bool ApplyModuleCommand(std::string_view line, EmulatedModule& module, std::string& error);

}  // namespace q5480
