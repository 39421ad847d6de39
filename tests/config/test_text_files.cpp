#include "config/line_buffer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "config/atomic_file.h"
#include "config/text.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

using test_support::ReadBytes;
using test_support::ScratchDirectory;
using test_support::WriteBytes;

TEST(Encodings, Windows1250BothWaysAndTheChoiceForAFile) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  const std::string utf8 = Cp1250ToUtf8(all);
  EXPECT_EQ(CharCount(utf8), 256u);
  EXPECT_EQ(Utf8ToCp1250(utf8), all);
  // The bytes that the code page leaves undefined keep their value as C1 code points.
  for (char byte : {'\x81', '\x83', '\x88', '\x90', '\x98'}) {
    EXPECT_EQ(Cp1250ToUtf8(std::string(1, byte)), (std::string{'\xC2', byte}));
  }
  const std::string letters = "ĄĆĘŁŃÓŚŹŻąćęłńóśźż€°";
  const std::string bytes =
      "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\x80\xB0";
  EXPECT_EQ(Utf8ToCp1250(letters), bytes);
  EXPECT_EQ(Cp1250ToUtf8(bytes), letters);
  // What the code page lacks, and malformed UTF-8, become question marks.
  EXPECT_EQ(Utf8ToCp1250("aЖb"), "a?b");      // Cyrillic
  EXPECT_EQ(Utf8ToCp1250("x😀y"), "x?y");      // four-byte sequence
  EXPECT_EQ(Utf8ToCp1250("a\xC5"), "a?");     // cut sequence
  EXPECT_EQ(Utf8ToCp1250("\xC0\x80"), "??");  // overlong
  // A file is UTF-8 with a byte-order mark or when it is valid UTF-8 with non-ASCII.
  const std::pair<std::string, std::string> files[] = {
      {"plain=1\r\n", "plain=1\r\n"},
      {"\xEF\xBB\xBFkod=abc", "kod=abc"},
      {"\xEF\xBB\xBF"
       "kod=\xC5\x82",
       "kod=ł"},
      {"kod=\xC5\x82\xC3\xB3", "kod=łó"},         // valid UTF-8 with non-ASCII
      {"kod=\xB3\xF3", "kod=łó"},                 // Windows-1250
      {"kod=\xC5\x82 and \xB3", "kod=Ĺ‚ and ł"},  // mixed: not valid UTF-8
  };
  for (const auto& [file, text] : files) EXPECT_EQ(DecodeTextFile(file), text) << file;
}

TEST(Utf8Text, CountCutAndCaseByCharacters) {
  const std::string text = "Zażółć gęślą";
  EXPECT_EQ(CharCount(text), 12u);
  EXPECT_EQ(Utf8Left(text, 4), "Zażó");
  EXPECT_EQ(Utf8Mid(text, 7, 3), "gęś");
  EXPECT_EQ(Utf8Mid(text, 10), "lą");
  // A stray byte counts as one character and is never split further.
  EXPECT_EQ(Utf8Left("a\xFF"
                     "b",
                     2),
            "a\xFF");
  // Letter case covers the letters of the code page.
  EXPECT_EQ(Utf8ToLower("ZAŻÓŁĆ GĘŚLĄ JAŹŃ Šťř ÄÖÜ"), "zażółć gęślą jaźń šťř äöü");
  EXPECT_EQ(Utf8ToLower("×ß€Ж"), "×ß€Ж");  // no case or not in the code page
  EXPECT_FALSE(SameTextIgnoringCase("Lodz", "Łódź"));
}

TEST(Lines, SplitAtEveryLineEndAndLookedUpByName) {
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
  const std::pair<const char*, std::optional<std::string>> keys[] = {
      {"Typ", "first"},            // first match wins, letter case ignored
      {"value", "a=b=c"},          // everything after the first "="
      {"spaced", " kept as is "},  // nothing trimmed
      {"Empty", ""},               // present but empty
      {"ZAŻÓŁĆ", "polish key"},    // letters of the code page compared without case
      {"Heading without equals sign", std::nullopt},
      {"Missing", std::nullopt},
      {"Ty", std::nullopt},  // whole-name comparison, not a prefix
  };
  for (const auto& [key, value] : keys) EXPECT_EQ(FindKeyValue(lines, key), value) << key;
  // CR LF, LF or CR end a line; a final line end starts no other.
  const std::pair<const char*, std::vector<std::string>> texts[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR is two line ends
      {"\r\n", {""}},
  };
  for (const auto& [text, split] : texts) {
    EXPECT_EQ(SplitLines(text), split) << ::testing::PrintToString(std::string(text));
  }
}

TEST(LineBuffer, SavesWindows1250WithCrLfAfterEveryLineAndLoadsItBack) {
  ScratchDirectory dir;
  LineBuffer buffer;
  buffer.AddEmptyLines(3);
  buffer.SetLine(0, "kod=Łódź");
  buffer.SetLine(2, "Two\nlines\r=2,5");  // one entry stays one line
  EXPECT_THROW(buffer.SetLine(3, "beyond the laid lines"), std::out_of_range);
  ASSERT_TRUE(buffer.Save(dir / "out.txt"));
  EXPECT_EQ(ReadBytes(dir / "out.txt"),
            "kod=\xA3\xF3"
            "d\x9F\r\n\r\nTwo lines =2,5\r\n");

  LineBuffer loaded;
  ASSERT_TRUE(loaded.Load(dir / "out.txt"));
  EXPECT_EQ(loaded.Lines(), buffer.Lines());
  EXPECT_EQ(loaded.NumberValue("two LINES "), 2.5);
  EXPECT_FALSE(loaded.Load(dir / "missing.txt"));
  EXPECT_TRUE(loaded.Lines().empty());
  EXPECT_FALSE(loaded.Load(dir.Path()));
}

// Modes and links kept on success are in the table below.
TEST(ReplaceFileAtomically, KeepsTheOldFileOnFailure) {
  ScratchDirectory dir;
  const auto file = dir / "settings.ini";
  WriteBytes(file, "old content that is longer than the new one");
  ASSERT_TRUE(ReplaceFileAtomically(file, "new"));
  EXPECT_EQ(ReadBytes(file), "new");

  EXPECT_FALSE(ReplaceFileAtomically(dir / "no-such-folder" / "file.par", "x"));
  std::filesystem::create_directory(dir / "folder");
  EXPECT_FALSE(ReplaceFileAtomically(dir / "folder", "x"));  // the rename fails

  // A full disk, simulated with the file size limit: the write fails half way.
  const std::string old = ReadBytes(file);
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
  EXPECT_EQ(dir.EntryCount(), 2u);  // no temporary file left
}

// A file without write permission is refused and left byte for byte, also
// for root, whom the system would let write it: for root that means no write
// bit at all. The rest are replaced and keep their mode.
TEST(ReplaceFileAtomically, RefusesProtectedFilesAndKeepsTheModeOfTheRest) {
  const struct {
    const char* name;
    mode_t mode;
    bool throughLink;
    bool replaced;
  } cases[] = {
      {"read-only", 0444, false, false},
      {"read-only for its owner alone", 0400, false, false},
      {"no permission at all", 0000, false, false},
      {"read-only behind a link", 0444, true, false},
      {"private", 0600, false, true},
      {"private behind a link", 0600, true, true},
      {"shared with the group", 0664, false, true},
  };
  for (const auto& c : cases) {
    ScratchDirectory dir;
    const auto file = dir / "run.txt";
    WriteBytes(file, "what was kept before");
    ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
    auto named = file;
    if (c.throughLink) {
      named = dir / "link.txt";
      std::filesystem::create_symlink(file, named);
    }
    EXPECT_EQ(IsWriteProtected(named), !c.replaced) << c.name;
    EXPECT_EQ(ReplaceFileAtomically(named, "new"), c.replaced) << c.name;
    EXPECT_EQ(std::filesystem::is_symlink(named), c.throughLink) << c.name;
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, c.mode) << c.name;
    EXPECT_EQ(dir.EntryCount(), c.throughLink ? 2u : 1u) << c.name << ": a temporary file left";
    ASSERT_EQ(::chmod(file.c_str(), 0600), 0);  // to read it back as anyone
    EXPECT_EQ(ReadBytes(file), c.replaced ? "new" : "what was kept before") << c.name;
  }
  EXPECT_FALSE(IsWriteProtected("/no/such/file"));
}

TEST(ReplaceFileAtomically, RootKeepsTheOwnerAndGroupOfTheFileItReplaces) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
  ScratchDirectory dir;
  const auto file = dir / "oven.par";
  WriteBytes(file, "old");
  ASSERT_EQ(::chown(file.c_str(), 1234, 1235), 0);
  // A change of owner clears the set-user-ID bit: the mode comes after it.
  ASSERT_EQ(::chmod(file.c_str(), 04640), 0);
  std::filesystem::create_symlink(file, dir / "link.par");
  for (const char* name : {"oven.par", "link.par"}) {
    ASSERT_TRUE(ReplaceFileAtomically(dir / name, name)) << name;
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 1234u) << name;
    EXPECT_EQ(info.st_gid, 1235u) << name;
    EXPECT_EQ(info.st_mode & 07777, 04640u) << name;
    EXPECT_EQ(ReadBytes(file), name);
  }
}

}  // namespace
}  // namespace q5480
