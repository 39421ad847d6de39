#include "config/settings_file.h"

#include <gtest/gtest.h>

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

TEST(SettingsFile, MissingFileKeepsDefaultsAndStartsInTheProgramDirectory) {
  ScratchDirectory dir;
  ProgramSettings settings;
  EXPECT_FALSE(ReadSettingsFile(dir.Path(), settings, kFullHd));
  EXPECT_EQ(settings.ComPort, 1);
  EXPECT_FALSE(settings.RTPriority);
  EXPECT_EQ(settings.MainLeft, 189);
  EXPECT_EQ(settings.MainTop, 107);
  EXPECT_EQ(settings.Language, "Polski");
  EXPECT_EQ(settings.DataDir, dir.Path().string());
  EXPECT_EQ(settings.Pass, "vorn");
}

TEST(SettingsFile, WritesElevenCrLfLinesAndReadsThemBack) {
  ScratchDirectory dir;
  ProgramSettings written;
  written.ComPort = 33;
  written.RTPriority = true;
  written.MainLeft = 250;
  written.MainTop = 300;
  written.Language = "Čeština";
  written.DataDir = "/home/użytkownik/pomiary";
  written.Pass = "abc";
  ASSERT_TRUE(WriteSettingsFile(dir.Path(), written));

  const std::string bytes = ReadBytes(dir / kSettingsFileName);
  const std::string expectedStart =
      "Q5480 initial parameters:\r\n\r\nComPort=33\r\nRTPriority=1\r\n\r\n"
      "MainLeft=250\r\nMainTop=300\r\n\r\nLanguage=\xC8"
      "e\x9Atina\r\n"
      "DataDir=/home/u\xBFytkownik/pomiary\r\nPass=";
  EXPECT_EQ(bytes.substr(0, expectedStart.size()), expectedStart);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_EQ(bytes.find("abc"), std::string::npos);  // the password is not in plain text

  ProgramSettings read;
  read.Pass.clear();
  ASSERT_TRUE(ReadSettingsFile(dir.Path(), read, kFullHd));
  EXPECT_EQ(read.ComPort, 33);
  EXPECT_TRUE(read.RTPriority);
  EXPECT_EQ(read.MainLeft, 250);
  EXPECT_EQ(read.MainTop, 300);
  EXPECT_EQ(read.Language, written.Language);
  EXPECT_EQ(read.DataDir, written.DataDir);
  EXPECT_EQ(read.Pass, "abc");
}

TEST(SettingsFile, WriteIntoAMissingFolderFails) {
  ScratchDirectory dir;
  EXPECT_FALSE(WriteSettingsFile(dir / "missing", ProgramSettings{}));
}

TEST(SettingsFile, PositionRules) {
  struct Case {
    const char* content;
    DesktopRect desktop;
    int left;
    int top;
  };
  const Case cases[] = {
      {"MainLeft=200,0\nMainTop=150.0\n", kFullHd, 200, 150},  // either decimal point
      {"mainleft=200\nMAINTOP=150\n", kFullHd, 200, 150},      // letter case free
      {"MainTop=150\nMainLeft=200\n", kFullHd, 200, 150},      // order free
      {"MainLeft=0\nMainTop=150\n", kFullHd, 189, 150},        // must be right of the edge
      {"MainLeft=200\nMainTop=0\n", kFullHd, 200, 107},
      {"MainLeft=300\n", kFullHd, 189, 107},  // left without top: neither
      {"MainTop=300\n", kFullHd, 189, 107},   // top alone is never read
      {"MainLeft=300\nMainTop=high\n", kFullHd, 189, 107},
      {"MainLeft=1430\nMainTop=678\n", kFullHd, 1430, 678},  // last places inside
      {"MainLeft=1431\nMainTop=679\n", kFullHd, 189, 107},   // width - 489, height - 401
      {"MainLeft=-100\nMainTop=-50\n", DesktopRect{-1920, -200, 3840, 1280}, -100, -50},
      {"MainLeft=-100\nMainTop=-50\n", kFullHd, 189, 107},
      {"MainLeft=3000000000\nMainTop=150\n", kFullHd, 189, 107},  // beyond 32 bits: unreadable
  };
  for (const Case& c : cases) {
    ScratchDirectory dir;
    ProgramSettings settings = ReadFrom(dir, c.content, c.desktop);
    EXPECT_EQ(settings.MainLeft, c.left) << c.content;
    EXPECT_EQ(settings.MainTop, c.top) << c.content;
  }
}

TEST(SettingsFile, ValueRules) {
  const std::string programDirectory = "(program directory)";
  const std::string sixty(60, 'd');
  struct Case {
    std::string content;
    int comPort;
    bool rtPriority;
    std::string language;
    std::string dataDir;  // programDirectory stands for the folder read from
  };
  const Case cases[] = {
      {"ComPort=3\nRTPriority=0,6\n", 3, true, "Polski", programDirectory},
      {"ComPort=2.5\nRTPriority=0.4\n", 2, false, "Polski", programDirectory},
      {"ComPort=70000\nRTPriority=yes\n", 1, false, "Polski", programDirectory},
      {"ComPort=-1\n", 1, false, "Polski", programDirectory},
      {"Language=P\n", 1, false, "Polski", programDirectory},
      {"Language=Thirteen_char\n", 1, false, "Polski", programDirectory},
      {"Language=PL\n", 1, false, "PL", programDirectory},
      {"Language=Twelve_chars\n", 1, false, "Twelve_chars", programDirectory},
      {"Language=Ślůnskŏ_gŏdk\n", 1, false, "Ślůnskŏ_gŏdk",
       programDirectory},  // 12 characters, 16 bytes
      {"Language=Ślůnskŏ_gŏdka\n", 1, false, "Polski", programDirectory},
      {"DataDir=/\n", 1, false, "Polski", programDirectory},
      {"DataDir=" + sixty + "\n", 1, false, "Polski", sixty},
      {"DataDir=" + sixty + "x\n", 1, false, "Polski", programDirectory},
  };
  for (const Case& c : cases) {
    ScratchDirectory dir;
    ProgramSettings settings = ReadFrom(dir, c.content);
    EXPECT_EQ(settings.ComPort, c.comPort) << c.content;
    EXPECT_EQ(settings.RTPriority, c.rtPriority) << c.content;
    EXPECT_EQ(settings.Language, c.language) << c.content;
    EXPECT_EQ(settings.DataDir, c.dataDir == programDirectory ? dir.Path().string() : c.dataDir)
        << c.content;
  }
}

TEST(SettingsFile, PasswordOfBadLengthKeepsTheOldOne) {
  ScratchDirectory dir;
  EXPECT_EQ(ReadFrom(dir, "Pass=\n").Pass, "vorn");
  EXPECT_EQ(ReadFrom(dir, "Pass=" + ScramblePassword(std::string(31, 'a')) + "\n").Pass, "vorn");
  EXPECT_EQ(ReadFrom(dir, "Pass=" + ScramblePassword(std::string(30, 'a')) + "\n").Pass,
            std::string(30, 'a'));
}

// Passwords where every printable character appears at every position.
std::vector<std::string> PrintablePasswords(std::size_t length) {
  std::vector<std::string> passwords;
  for (int offset = 0; offset < 95; ++offset) {
    std::string password;
    for (std::size_t i = 0; i < length; ++i) {
      password += static_cast<char>(32 + (offset + static_cast<int>(i)) % 95);
    }
    passwords.push_back(password);
  }
  return passwords;
}

// The whole way of a password through the file's encoding: scrambled, put on
// a line, encoded in Windows-1250 among other lines, decoded, split and
// looked up.
TEST(SettingsFile, EveryPrintablePasswordSurvivesTheFileEncoding) {
  for (std::size_t length = 1; length <= 30; ++length) {
    for (const std::string& password : PrintablePasswords(length)) {
      const std::string stored = ScramblePassword(password);
      ASSERT_EQ(CharCount(stored), length);
      const std::string bytes =
          Utf8ToCp1250("Language=Polski\r\nDataDir=/home/zoë\r\nPass=" + stored) + "\r\n";
      const std::vector<std::string> lines = SplitLines(DecodeTextFile(bytes));
      ASSERT_EQ(lines.size(), 3u) << password;
      ASSERT_EQ(UnscramblePassword(FindKeyValue(lines, "Pass").value_or("")), password);
    }
  }
}

TEST(SettingsFile, PrintablePasswordsSurviveAWrittenFile) {
  ScratchDirectory dir;
  const std::vector<std::string> all = PrintablePasswords(30);
  for (std::size_t i = 0; i < all.size(); i += 19) {
    const std::string& password = all[i];
    ProgramSettings written;
    written.Pass = password;
    ASSERT_TRUE(WriteSettingsFile(dir.Path(), written));
    ProgramSettings read;
    ASSERT_TRUE(ReadSettingsFile(dir.Path(), read, kFullHd));
    ASSERT_EQ(read.Pass, password);
  }
}

}  // namespace
}  // namespace q5480
