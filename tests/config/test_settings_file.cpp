#include "config/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "config/line_buffer.h"
#include "config/text.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

using test_support::ReadBytes;
using test_support::ScratchDirectory;
using test_support::WriteBytes;

constexpr DesktopRect kFullHd{0, 0, 1920, 1080};

ProgramSettings ReadFrom(const ScratchDirectory& dir, const std::string& content,
                         const DesktopRect& desktop = kFullHd) {
  WriteBytes(dir / kSettingsFileName, content);
  ProgramSettings settings;
  EXPECT_TRUE(ReadSettingsFile(dir.Path(), settings, desktop));
  return settings;
}

TEST(SettingsFile, WritesElevenCrLfLinesAndReadsThemBack) {
  ScratchDirectory dir;
  ProgramSettings read;
  EXPECT_FALSE(ReadSettingsFile(dir.Path(), read, kFullHd));  // no file yet
  EXPECT_EQ(read.DataDir, dir.Path().string());
  ProgramSettings written;
  std::tie(written.ComPort, written.RTPriority, written.MainLeft, written.MainTop) =
      std::tuple(33, true, 250, 300);
  std::tie(written.Language, written.DataDir, written.Pass) =
      std::tuple("Čeština", "/home/użytkownik/pomiary", "abc");
  ASSERT_TRUE(WriteSettingsFile(dir.Path(), written));
  const std::string bytes = ReadBytes(dir / kSettingsFileName);
  EXPECT_EQ(bytes.substr(0, bytes.rfind("Pass=")),
            "Q5480 initial parameters:\r\n\r\nComPort=33\r\nRTPriority=1\r\n\r\nMainLeft=250\r\n"
            "MainTop=300\r\n\r\nLanguage=\xC8"
            "e\x9Atina\r\n"
            "DataDir=/home/u\xBFytkownik/pomiary\r\n");
  EXPECT_EQ(bytes.find("abc"), std::string::npos);  // the password is not in plain text

  read.Pass.clear();
  ASSERT_TRUE(ReadSettingsFile(dir.Path(), read, kFullHd));
  EXPECT_EQ(std::tie(read.ComPort, read.RTPriority, read.MainLeft, read.MainTop, read.Language,
                     read.DataDir, read.Pass),
            std::tie(written.ComPort, written.RTPriority, written.MainLeft, written.MainTop,
                     written.Language, written.DataDir, written.Pass));
}

// The main window keeps 489 by 401 pixels of itself on the desktop; a position
// is taken only when both coordinates are read. Other values are taken when
// acceptable.
TEST(SettingsFile, ReadingRules) {
  const DesktopRect wide{-1920, -200, 3840, 1280};
  const std::tuple<const char*, DesktopRect, int, int> positions[] = {
      {"MainLeft=200,0\nMainTop=150.0\n", kFullHd, 200, 150},  // either decimal point
      {"mainleft=200\nMAINTOP=150\n", kFullHd, 200, 150},      // letter case free
      {"MainLeft=0\nMainTop=150\n", kFullHd, 189, 150},        // must be right of the edge
      {"MainLeft=300\n", kFullHd, 189, 107},
      {"MainTop=300\n", kFullHd, 189, 107},
      {"MainLeft=1430\nMainTop=678\n", kFullHd, 1430, 678},  // last places inside
      {"MainLeft=1431\nMainTop=679\n", kFullHd, 189, 107},
      {"MainLeft=-100\nMainTop=-50\n", wide, -100, -50},
      {"MainLeft=3000000000\nMainTop=150\n", kFullHd, 189, 107},  // beyond 32 bits: unreadable
  };
  for (const auto& [content, desktop, left, top] : positions) {
    ScratchDirectory dir;
    const ProgramSettings settings = ReadFrom(dir, content, desktop);
    EXPECT_EQ(std::tie(settings.MainLeft, settings.MainTop), std::tie(left, top)) << content;
  }

  // The file's text; ComPort, RTPriority, Language, DataDir (empty: the folder
  // read from) and the password read.
  const std::string sixty(60, 'd');
  const std::string a30(30, 'a');
  const std::tuple<std::string, int, bool, std::string, std::string, std::string> values[] = {
      {"ComPort=3\nRTPriority=0,6\n", 3, true, "Polski", "", "vorn"},
      {"ComPort=2.5\nRTPriority=0.4\n", 2, false, "Polski", "", "vorn"},
      {"ComPort=70000\nRTPriority=yes\n", 1, false, "Polski", "", "vorn"},
      {"ComPort=-1\nLanguage=P\nDataDir=/\n", 1, false, "Polski", "", "vorn"},
      {"Language=PL\nDataDir=" + sixty + "\n", 1, false, "PL", sixty, "vorn"},
      {"Language=Ślůnskŏ_gŏdk\n", 1, false, "Ślůnskŏ_gŏdk", "", "vorn"},  // 12 characters
      {"Language=Ślůnskŏ_gŏdka\nDataDir=" + sixty + "x\n", 1, false, "Polski", "", "vorn"},
      {"Pass=\n", 1, false, "Polski", "", "vorn"},
      {"Pass=" + ScramblePassword(a30 + "a") + "\n", 1, false, "Polski", "", "vorn"},
      {"Pass=" + ScramblePassword(a30) + "\n", 1, false, "Polski", "", a30},
  };
  for (const auto& [content, comPort, rtPriority, language, dataDir, pass] : values) {
    ScratchDirectory dir;
    const ProgramSettings settings = ReadFrom(dir, content);
    EXPECT_EQ(std::tie(settings.ComPort, settings.RTPriority, settings.Language, settings.DataDir,
                       settings.Pass),
              std::tuple(comPort, rtPriority, language,
                         dataDir.empty() ? dir.Path().string() : dataDir, pass))
        << content;
  }
}

// The file holds the password: whatever the umask and whatever mode an
// earlier file had, only its owner may read it, and the owner may still
// replace it at the next end of the program.
TEST(SettingsFile, OnlyItsOwnerMayReadIt) {
  const struct {
    const char* name;
    mode_t modeBefore;  // 0: no file before
    bool throughLink;
  } cases[] = {
      {"first written", 0, false},
      {"readable by everyone before", 0644, false},
      {"shared with the group before", 0660, false},
      {"readable by everyone behind a link", 0644, true},
  };
  // The umask would hide a mode left open.
  const struct MaskRestore {
    mode_t saved;
    ~MaskRestore() { ::umask(saved); }
  } restore{::umask(0)};
  for (const auto& c : cases) {
    ScratchDirectory dir;
    std::filesystem::path directory = dir.Path();
    if (c.throughLink) {
      std::filesystem::create_directory(dir / "real");
      directory = dir / "program";
      std::filesystem::create_directory(directory);
      std::filesystem::create_symlink(dir / "real" / kSettingsFileName,
                                      directory / kSettingsFileName);
    }
    const std::filesystem::path file =
        (c.throughLink ? dir / "real" : dir.Path()) / kSettingsFileName;
    if (c.modeBefore != 0) {
      WriteBytes(file, "Language=English\r\n");
      ASSERT_EQ(::chmod(file.c_str(), c.modeBefore), 0);
    }
    ASSERT_TRUE(WriteSettingsFile(directory, ProgramSettings{})) << c.name;
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0) << c.name;
    EXPECT_EQ(info.st_mode & 07777, 0600u) << c.name;
    EXPECT_EQ(std::filesystem::is_symlink(directory / kSettingsFileName), c.throughLink) << c.name;
    ASSERT_TRUE(WriteSettingsFile(directory, ProgramSettings{})) << c.name << ", written again";
  }
}

// The whole way of a password through the file's encoding: scrambled, put on
// a line, encoded in Windows-1250 among other lines, decoded, split and looked
// up. Every printable character appears at every position.
TEST(SettingsFile, EveryPrintablePasswordSurvivesTheFileEncoding) {
  for (int offset = 0; offset < 95; ++offset) {
    std::string password;
    for (int i = 0; i < 30; ++i) password += static_cast<char>(32 + (offset + i) % 95);
    const std::string stored = ScramblePassword(password);
    ASSERT_EQ(CharCount(stored), password.size());
    const std::string bytes =
        Utf8ToCp1250("Language=Polski\r\nDataDir=/home/zoë\r\nPass=" + stored) + "\r\n";
    const std::vector<std::string> lines = SplitLines(DecodeTextFile(bytes));
    ASSERT_EQ(lines.size(), 3u) << password;
    ASSERT_EQ(UnscramblePassword(FindKeyValue(lines, "Pass").value_or("")), password);
  }
}

}  // namespace
}  // namespace q5480
