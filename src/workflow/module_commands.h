// What the main window needs of the module's command set: the newest
// measurement and the workers of the long transfers. The desktop program
// fills it from the link's command set; a command that is not filled in
// does not exist for the window (no sample arrives, no transfer starts).
#pragma once

#include <functional>

#include "config/module_image.h"
#include "link/command_set.h"
#include "link/link.h"
#include "link/measurement.h"

namespace q5480 {

struct ModuleCommands {
  // The newest unread measurement and the module's flags; false when there
  // is none.
  std::function<bool(MeasurementSample&, DeviceStatus&)> TakeSample;
  // The configuration read (kind 4) and the verification read (kind 5).
  std::function<Link::Worker(int kind)> ReadWorker;
  std::function<Link::Worker()> WriteWorker;
  std::function<Link::Worker()> InfoWriteWorker;
  // True when the module holds what `expected` holds, by the rules of the
  // module's memory layout.
  std::function<bool(const ModuleImage& expected, const ModuleImage& read)> ImagesMatch;
};

inline constexpr int kReadConfiguration = 4;
inline constexpr int kReadVerification = 5;

// The window's commands filled from the command set, which must outlive
// them (the application keeps one beside its context, made from the
// context's link, configuration and image).
ModuleCommands MakeModuleCommands(CommandSet& commands);

}  // namespace q5480
