// The settings file ("Q5480.ini"): every value that the file lacks keeps
// what the program held, every value taken lies within its rules, and the
// settings written and read again are the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/line_buffer.h"
#include "config/settings_file.h"
#include "config/text.h"
#include "fuzz_support.h"

namespace q5480::fuzz {
namespace {

constexpr DesktopRect kDesktop{0, 0, 1920, 1080};

ProgramSettings Held() {
  ProgramSettings settings;
  settings.ComPort = 9;
  settings.RTPriority = true;
  settings.MainLeft = 300;
  settings.MainTop = 200;
  settings.Language = "English";
  settings.Pass = "secret";
  return settings;
}

std::string FirstDifference(const ProgramSettings& a, const ProgramSettings& b) {
  if (a.ComPort != b.ComPort) return "ComPort";
  if (a.RTPriority != b.RTPriority) return "RTPriority";
  if (a.MainLeft != b.MainLeft) return "MainLeft";
  if (a.MainTop != b.MainTop) return "MainTop";
  if (a.Language != b.Language) return "Language: \"" + a.Language + "\" / \"" + b.Language + "\"";
  if (a.DataDir != b.DataDir) return "DataDir: \"" + a.DataDir + "\" / \"" + b.DataDir + "\"";
  if (a.Pass != b.Pass) return "Pass: \"" + a.Pass + "\" / \"" + b.Pass + "\"";
  return "";
}

void CheckMissingKeysKept(const LineBuffer& file, const ProgramSettings& read,
                          const ProgramSettings& held) {
  const auto missing = [&](const char* key) { return !file.Value(key).has_value(); };
  if (missing("ComPort")) Check(read.ComPort == held.ComPort, "ComPort changed without a key");
  if (missing("RTPriority"))
    Check(read.RTPriority == held.RTPriority, "RTPriority changed without a key");
  if (missing("MainLeft")) Check(read.MainLeft == held.MainLeft, "MainLeft changed without a key");
  if (missing("MainTop")) Check(read.MainTop == held.MainTop, "MainTop changed without a key");
  if (missing("Language")) Check(read.Language == held.Language, "Language changed without a key");
  if (missing("Pass")) Check(read.Pass == held.Pass, "Pass changed without a key");
}

}  // namespace
}  // namespace q5480::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q5480;
  using namespace q5480::fuzz;
  const auto folder = ScratchFolder();
  const auto path = WriteScratchFile(kSettingsFileName, data, size);
  const ProgramSettings held = Held();
  ProgramSettings read = held;
  Check(ReadSettingsFile(folder, read, kDesktop), "an existing settings file was not read");
  LineBuffer file;
  file.Load(path);
  CheckMissingKeysKept(file, read, held);
  const std::size_t language = CharCount(read.Language);
  Check(language >= 2 && language <= 12,
        "a language name of " + std::to_string(language) + " characters");
  Check(CharCount(read.DataDir) <= 60 || read.DataDir == folder.string(), "a data folder too long");
  Check(
      read.MainLeft == held.MainLeft || (read.MainLeft > 0 && read.MainLeft < kDesktop.width - 489),
      "the window left of the desktop");

  Check(WriteSettingsFile(folder, read), "the settings cannot be written");
  const std::optional<std::string> written = ReadFileBytes(path);
  Check(written.has_value(), "the written file cannot be read");
  ProgramSettings expected = read;
  if (!ReadBackAsUtf8(*written)) {
    expected.Language = ThroughCp1250(read.Language);
    expected.DataDir = ThroughCp1250(read.DataDir);
    expected.Pass = ThroughCp1250(read.Pass);
  }
  ProgramSettings back;
  Check(ReadSettingsFile(folder, back, kDesktop), "the written file was not read");
  if (ReadBackAsUtf8(*written)) {
    expected.Language = back.Language;
    expected.DataDir = back.DataDir;
    expected.Pass = back.Pass;
  }
  const std::string difference = FirstDifference(expected, back);
  Check(difference.empty(), "written and read again, the settings differ in " + difference);
  return 0;
}
