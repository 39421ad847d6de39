// What an emulated module is made of: its factory data and the choices that a
// real module would have fixed in hardware.
#pragma once

#include <filesystem>

#include "emulator/module_memory.h"

namespace q5480 {

struct ModuleOptions {
  FactoryData factory;                // the identifier's first character picks the layout
  bool wideCurrent = false;           // output codes in 0.5 uA steps instead of 1/512 mA
  bool acceptFlagged = true;          // false: silent to 0xC4 and 0xCC, as firmware without them
  double internalTemperature = 25.0;  // degrees Celsius at the cold junction
  std::filesystem::path memoryFile;   // empty: the memory lives as long as the module
};

}  // namespace q5480
