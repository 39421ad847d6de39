// The program's own settings ("Q5480.ini" in the program directory): read
// once at start, written once at exit.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace q5480 {

inline constexpr const char* kSettingsFileName = "Q5480.ini";

struct ProgramSettings {
  std::uint16_t ComPort = 1;
  bool RTPriority = false;
  std::int32_t MainLeft = 189;
  std::int32_t MainTop = 107;
  std::string Language = "Polski";
  std::string DataDir;
  std::string Pass = "vorn";  // in plain text; scrambled only in the file
};

// The area of all monitors, in pixels.
struct DesktopRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Sets `settings.DataDir` to the program directory, then takes every
// acceptable value of the file; rejected or missing values keep what
// `settings` held. True when the file exists.
bool ReadSettingsFile(const std::filesystem::path& programDirectory, ProgramSettings& settings,
                      const DesktopRect& desktop);

// Replaces the file with the 11 lines of `settings`, readable by its owner
// alone since it holds the password. False, with the old file unchanged,
// when it cannot be written.
bool WriteSettingsFile(const std::filesystem::path& programDirectory,
                       const ProgramSettings& settings);

// The password as the file holds it, and back, byte by byte in Windows-1250.
std::string ScramblePassword(std::string_view password);
std::string UnscramblePassword(std::string_view stored);

}  // namespace q5480
