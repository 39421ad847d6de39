#include "config/line_buffer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "config/atomic_file.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

using test_support::ReadBytes;
using test_support::ScratchDirectory;
using test_support::WriteBytes;

TEST(FindKeyValue, FollowsTheLookUpRule) {
  const std::vector<std::string> lines = {
      "Heading without equals sign",
      "",
      " Typ=padded key never matches",
      "typ=first",
      "TYP=second",
      "Value=a=b=c",
      "Spaced= kept as is ",
      "Empty=",
      "Zażółć=polish key",
  };
  struct Case {
    const char* key;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"Typ", "first"},            // first match wins, letter case ignored
      {"value", "a=b=c"},          // everything after the first "="
      {"spaced", " kept as is "},  // nothing trimmed
      {"Empty", ""},               // present but empty
      {"ZAŻÓŁĆ", "polish key"},    // letters of the code page compared without case
      {"Heading without equals sign", std::nullopt},
      {"Missing", std::nullopt},
      {"Ty", std::nullopt},  // whole-name comparison, not a prefix
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindKeyValue(lines, c.key), c.expected) << c.key;
  }
}

TEST(SplitLines, AcceptsEveryLineEnd) {
  struct Case {
    const char* text;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR is two line ends
      {"\r\n", {""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitLines(c.text), c.expected) << ::testing::PrintToString(std::string(c.text));
  }
}

TEST(LineBuffer, SavesWindows1250WithCrLfAfterEveryLine) {
  ScratchDirectory dir;
  LineBuffer buffer;
  buffer.AddEmptyLines(3);
  buffer.SetLine(0, "kod=Łódź");
  buffer.SetLine(2, "two\nlines\r");
  EXPECT_EQ(buffer.Lines()[2], "two lines ");  // one entry stays one line
  ASSERT_TRUE(buffer.Save(dir / "out.txt"));
  EXPECT_EQ(ReadBytes(dir / "out.txt"),
            "kod=\xA3\xF3"
            "d\x9F\r\n\r\ntwo lines \r\n");
  EXPECT_THROW(buffer.SetLine(3, "beyond the laid lines"), std::out_of_range);
}

TEST(LineBuffer, LoadsEitherEncodingAndRoundTrips) {
  ScratchDirectory dir;
  WriteBytes(dir / "ansi.txt", "a=\xB3\xF3\xBF\r\nb=2");
  WriteBytes(dir / "utf8.txt",
             "\xEF\xBB\xBF"
             "a=łóż\nb=2\n");
  for (const char* name : {"ansi.txt", "utf8.txt"}) {
    LineBuffer buffer;
    ASSERT_TRUE(buffer.Load(dir / name)) << name;
    EXPECT_EQ(buffer.Lines(), (std::vector<std::string>{"a=łóż", "b=2"})) << name;
    EXPECT_EQ(buffer.Value("A"), "łóż") << name;
  }

  LineBuffer written;
  written.AddEmptyLines(4);
  written.SetLine(1, "ogolne=Żółta łąka, 25 °C");
  written.SetLine(3, "x=€ and Š");
  ASSERT_TRUE(written.Save(dir / "round.txt"));
  LineBuffer read;
  ASSERT_TRUE(read.Load(dir / "round.txt"));
  EXPECT_EQ(read.Lines(), written.Lines());
}

TEST(LineBuffer, LoadFailsForWhatIsNotAReadableFile) {
  ScratchDirectory dir;
  LineBuffer buffer;
  buffer.AddEmptyLines(2);
  EXPECT_FALSE(buffer.Load(dir / "missing.txt"));
  EXPECT_TRUE(buffer.Lines().empty());
  EXPECT_FALSE(buffer.Load(dir.Path()));
}

TEST(LineBuffer, NumbersFollowTheEntryRuleAndRoundHalvesToEven) {
  LineBuffer buffer;
  buffer.AddEmptyLines(7);
  buffer.SetLine(0, "comma=12,6");
  buffer.SetLine(1, "point=12.5");
  buffer.SetLine(2, "negative=-2,5");
  buffer.SetLine(3, "word=twelve");
  buffer.SetLine(4, "huge=1e300");
  buffer.SetLine(5, "overflow=1e999");
  buffer.SetLine(6, "empty=");
  EXPECT_EQ(buffer.NumberValue("comma"), 12.6);
  EXPECT_EQ(buffer.IntegerValue("comma", 0, 100), 13);
  EXPECT_EQ(buffer.IntegerValue("point", 0, 100), 12);
  EXPECT_EQ(buffer.IntegerValue("negative", -100, 100), -2);
  EXPECT_EQ(buffer.IntegerValue("point", 0, 11), std::nullopt);
  EXPECT_EQ(buffer.IntegerValue("negative", 0, 100), std::nullopt);
  EXPECT_EQ(buffer.NumberValue("word"), std::nullopt);
  EXPECT_EQ(buffer.IntegerValue("huge", INT64_MIN, INT64_MAX), std::nullopt);
  EXPECT_EQ(buffer.NumberValue("overflow"), std::nullopt);
  EXPECT_EQ(buffer.NumberValue("empty"), std::nullopt);
  EXPECT_EQ(buffer.NumberValue("absent"), std::nullopt);
}

TEST(ReplaceFileAtomically, ReplacesContentAndKeepsPermissions) {
  ScratchDirectory dir;
  const auto file = dir / "settings.ini";
  WriteBytes(file, "old content that is longer than the new one");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  ASSERT_TRUE(ReplaceFileAtomically(file, "new"));
  EXPECT_EQ(ReadBytes(file), "new");
  struct stat info {};
  ASSERT_EQ(::stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(dir.EntryCount(), 1u);  // no temporary file left beside it
}

TEST(ReplaceFileAtomically, ReplacesTheTargetOfALink) {
  ScratchDirectory dir;
  std::filesystem::create_directory(dir / "shared");
  WriteBytes(dir / "shared" / "Q5480.ini", "old");
  std::filesystem::create_symlink(dir / "shared" / "Q5480.ini", dir / "link.ini");
  ASSERT_TRUE(ReplaceFileAtomically(dir / "link.ini", "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
  EXPECT_EQ(ReadBytes(dir / "shared" / "Q5480.ini"), "new");
}

TEST(ReplaceFileAtomically, FailureLeavesNothingBehind) {
  ScratchDirectory dir;
  EXPECT_FALSE(ReplaceFileAtomically(dir / "no-such-folder" / "file.par", "x"));
  // A directory cannot be replaced by a file: the rename fails.
  std::filesystem::create_directory(dir / "folder");
  WriteBytes(dir / "folder" / "inside", "keep");
  EXPECT_FALSE(ReplaceFileAtomically(dir / "folder", "x"));
  EXPECT_EQ(ReadBytes(dir / "folder" / "inside"), "keep");
  EXPECT_EQ(dir.EntryCount(), 1u);
}

// A full disk, simulated with the file size limit: the write of the
// temporary file fails half way and the old file must survive untouched.
TEST(ReplaceFileAtomically, FailedWriteKeepsTheOldFileByteIdentical) {
  ScratchDirectory dir;
  const auto file = dir / "config.par";
  const std::string old = "Device=Q5491\r\nTyp=19\r\n";
  WriteBytes(file, old);

  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool replaced = ReplaceFileAtomically(file, std::string(4096, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(replaced);
  EXPECT_EQ(ReadBytes(file), old);
  EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(ReplaceFileAtomically, ReadOnlyFolderKeepsTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  ScratchDirectory dir;
  const auto file = dir / "config.par";
  WriteBytes(file, "old");
  std::filesystem::permissions(
      dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_FALSE(ReplaceFileAtomically(file, "new"));
  EXPECT_EQ(ReadBytes(file), "old");
}

}  // namespace
}  // namespace q5480
