#include "config/settings_file.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <system_error>

#include "config/line_buffer.h"
#include "config/numbers.h"
#include "config/parameters_file.h"
#include "config/path_text.h"
#include "config/text.h"

namespace q5480 {
namespace {

// Any fixed text of 50 printable characters; a file scrambled with another
// key does not give the same password back.
constexpr std::string_view kPasswordKey = "Q5480&vorn+Kx7#Lp2@Zm9!Rt4%Wq6^Bd3*Hs8(Fj1)Ng5~Cye";
static_assert(kPasswordKey.size() == 50);

constexpr std::size_t kPasswordMaxLength = 30;
constexpr std::size_t kLanguageMinLength = 2;
constexpr std::size_t kLanguageMaxLength = 12;
constexpr std::size_t kDataDirMinLength = 2;
// The main window must keep this much of itself on the desktop.
constexpr int kMainWidthMargin = 489;
constexpr int kMainHeightMargin = 401;

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::uint8_t KeyByte(std::size_t i) {
  return static_cast<std::uint8_t>(kPasswordKey[i % kPasswordKey.size()]);
}

bool LengthWithin(const std::string& text, std::size_t lowest, std::size_t highest) {
  std::size_t length = CharCount(text);
  return length >= lowest && length <= highest;
}

}  // namespace

std::string ScramblePassword(std::string_view password) {
  std::string bytes = Utf8ToCp1250(password);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    auto p = static_cast<std::uint8_t>(bytes[i]);
    bytes[i] = static_cast<char>(static_cast<std::uint8_t>((p ^ KeyByte(i)) + 31));
  }
  return Cp1250ToUtf8(bytes);
}

std::string UnscramblePassword(std::string_view stored) {
  std::string bytes = Utf8ToCp1250(stored);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    auto s = static_cast<std::uint8_t>(bytes[i]);
    bytes[i] = static_cast<char>(static_cast<std::uint8_t>(s - 31) ^ KeyByte(i));
  }
  return Cp1250ToUtf8(bytes);
}

bool ReadSettingsFile(const std::filesystem::path& programDirectory, ProgramSettings& settings,
                      const DesktopRect& desktop) {
  settings.DataDir = Utf8FromPath(programDirectory);
  std::int32_t left = settings.MainLeft;
  std::int32_t top = settings.MainTop;

  const std::filesystem::path file = programDirectory / kSettingsFileName;
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return false;
  LineBuffer buffer;
  if (!buffer.Load(file)) return false;

  if (auto port = buffer.IntegerValue("ComPort", 0, std::numeric_limits<std::uint16_t>::max())) {
    settings.ComPort = static_cast<std::uint16_t>(*port);
  }
  if (auto priority = buffer.IntegerValue("RTPriority", std::numeric_limits<std::int64_t>::min(),
                                          std::numeric_limits<std::int64_t>::max())) {
    settings.RTPriority = *priority != 0;
  }
  bool positionRead = false;
  if (auto mainLeft = buffer.IntegerValue("MainLeft", kInt32Min, kInt32Max)) {
    left = static_cast<std::int32_t>(*mainLeft);
    if (auto mainTop = buffer.IntegerValue("MainTop", kInt32Min, kInt32Max)) {
      top = static_cast<std::int32_t>(*mainTop);
      positionRead = true;
    }
  }
  if (auto language = buffer.Value("Language");
      language && LengthWithin(*language, kLanguageMinLength, kLanguageMaxLength)) {
    settings.Language = *language;
  }
  if (auto dataDir = buffer.Value("DataDir");
      dataDir && LengthWithin(*dataDir, kDataDirMinLength, kDataDirMaxLength)) {
    settings.DataDir = *dataDir;
  }
  if (auto pass = buffer.Value("Pass"); pass && LengthWithin(*pass, 1, kPasswordMaxLength)) {
    settings.Pass = UnscramblePassword(*pass);
  }
  if (positionRead) {
    // 64-bit so that a desktop near the limits of int cannot overflow.
    const std::int64_t maxLeft = static_cast<std::int64_t>(desktop.width) - kMainWidthMargin;
    const std::int64_t maxTop = static_cast<std::int64_t>(desktop.height) - kMainHeightMargin;
    if (left > desktop.left && left < maxLeft) settings.MainLeft = left;
    if (top > desktop.top && top < maxTop) settings.MainTop = top;
  }
  return true;
}

bool WriteSettingsFile(const std::filesystem::path& programDirectory,
                       const ProgramSettings& settings) {
  LineBuffer buffer;
  buffer.AddEmptyLines(11);
  buffer.SetLine(0, "Q5480 initial parameters:");
  buffer.SetLine(2, "ComPort=" + FormatInt(settings.ComPort));
  buffer.SetLine(3, std::string("RTPriority=") + (settings.RTPriority ? "1" : "0"));
  buffer.SetLine(5, "MainLeft=" + FormatInt(settings.MainLeft));
  buffer.SetLine(6, "MainTop=" + FormatInt(settings.MainTop));
  buffer.SetLine(8, "Language=" + settings.Language);
  buffer.SetLine(9, "DataDir=" + settings.DataDir);
  buffer.SetLine(10, "Pass=" + ScramblePassword(settings.Pass));
  return buffer.Save(programDirectory / kSettingsFileName, FileAccess::kOwnerOnly);
}

}  // namespace q5480
