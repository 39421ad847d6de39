// Serial ports by COM number (port_list_sysfs.cpp on Linux, port_list_win32.cpp
// on Windows): the numbering rule, the ports folder, the list for the port
// selection window and the tuning of the USB adapter.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace q5480 {

// Where the port code looks. Tests point these into a temporary tree.
struct PortEnvironment {
  // False: only the ports folder's links (Windows has none, so no port).
  bool systemPorts = true;
  std::filesystem::path sysfsRoot = "/sys";
  std::filesystem::path devRoot = "/dev";
  // The ports folder of the program directory (the programs pass it in);
  // empty: none, only the system's ports.
  std::filesystem::path portsDirectory;

  // Only the "comN" links in `folder`: no port of the system is listed or
  // opened (tests, benchmarks and fuzzing must never touch a real device).
  static PortEnvironment OnlyLinksIn(const std::filesystem::path& folder);

  std::filesystem::path ConsoleList() const;
};

// The device of COM `number`: a "comN" link in the ports folder wins over
// the rule COM1-32 ttyUSB0-31, COM33-64 ttyACM0-31, COM65-96 ttyS0-31.
// On Windows "\\.\COMn", 1 to 255.
std::optional<std::filesystem::path> ComDevicePath(int number, const PortEnvironment& env);

// Entries such as "COM 1  /dev/ttyUSB0  FTDI 0403:6001", sorted by number,
// without the console and with the ports folder's links winning.
std::vector<std::string> ListPorts(const PortEnvironment& env);

// One to three decimal digits, the whole text.
std::optional<int> ParseComNumber(const std::string& text);

// The number in characters 4 and 5 of a list entry.
std::optional<int> EntryPortNumber(const std::string& entry);

// Index of the entry for `comPort`, or nothing.
std::optional<std::size_t> FindPortEntry(const std::vector<std::string>& entries, int comPort);

// The latency timer, in milliseconds, that delivers single bytes at once.
inline constexpr int kAdapterLatencyMs = 2;

// For an FTDI 0403:6001 adapter, sets its latency timer to 2 ms so that
// single bytes are delivered at once (on Windows also SkipEnumerations to -1,
// in the driver's registry settings). Failures are ignored.
void TuneAdapter(const std::filesystem::path& device, const PortEnvironment& env);

}  // namespace q5480
