// Other processes as the process table shows them (Linux /proc): who has a
// device open, and who runs under a name. Only links and small text files
// are read; nothing is opened through them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace q5480 {

struct ProcessInfo {
  int pid = 0;
  std::string name;  // the short name the kernel keeps ("ModemManager")
  unsigned ownerId = 0;
};

struct DeviceHolders {
  std::vector<ProcessInfo> processes;
  int uninspected = 0;  // processes whose open files could not be listed
};

// The processes that have `device` (a resolved path) open. A process that
// also holds the master side of the same pseudo-terminal is the line's other
// end (q5480-module keeps its side open) and is not counted.
DeviceHolders FindDeviceHolders(const std::filesystem::path& procRoot,
                                const std::filesystem::path& device);

std::vector<ProcessInfo> ProcessesNamed(const std::filesystem::path& procRoot,
                                        std::string_view name);

}  // namespace q5480
