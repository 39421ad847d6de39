// What sysfs tells about a tty (Linux): the port list, the adapter tuning and
// the port doctor read the same attributes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace q5480 {

// The first blank-separated word of a small attribute file; empty when the
// file cannot be read.
std::string ReadFirstWord(const std::filesystem::path& file);

// The USB device above a tty's device (`ttyEntry` is class/tty/NAME), the
// folder holding idVendor and idProduct; nothing for a tty without one.
std::optional<std::filesystem::path> UsbDeviceOf(const std::filesystem::path& ttyEntry);

}  // namespace q5480
