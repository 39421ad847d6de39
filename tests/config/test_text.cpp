#include <gtest/gtest.h>

#include <string>

#include "config/text.h"

namespace q5480 {
namespace {

std::string AllBytes() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes;
}

TEST(Cp1250Codec, EveryByteSurvivesTheRoundTrip) {
  const std::string bytes = AllBytes();
  const std::string utf8 = Cp1250ToUtf8(bytes);
  EXPECT_EQ(CharCount(utf8), 256u);
  EXPECT_EQ(Utf8ToCp1250(utf8), bytes);
}

TEST(Cp1250Codec, UndefinedBytesMapToC1CodePoints) {
  for (unsigned char byte : {0x81, 0x83, 0x88, 0x90, 0x98}) {
    const std::string utf8 = Cp1250ToUtf8(std::string(1, static_cast<char>(byte)));
    const std::string expected{static_cast<char>(0xC2), static_cast<char>(byte)};
    EXPECT_EQ(utf8, expected) << "byte " << int{byte};
  }
}

TEST(Cp1250Codec, PolishLetters) {
  const std::string utf8 = "ĄĆĘŁŃÓŚŹŻąćęłńóśźż";
  const std::string bytes = "\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF";
  EXPECT_EQ(Utf8ToCp1250(utf8), bytes);
  EXPECT_EQ(Cp1250ToUtf8(bytes), utf8);
  EXPECT_EQ(Cp1250ToUtf8("\x80\xB0"), "€°");
}

TEST(Cp1250Codec, MissingCharactersAndMalformedInputBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1250("a€b"), "a\x80" "b");
  EXPECT_EQ(Utf8ToCp1250("aЖb"), "a?b");       // Cyrillic
  EXPECT_EQ(Utf8ToCp1250("x😀y"), "x?y");       // four-byte sequence
  EXPECT_EQ(Utf8ToCp1250("a\xC5"), "a?");       // cut sequence
  EXPECT_EQ(Utf8ToCp1250("\xC0\x80"), "??");    // overlong
}

TEST(DecodeTextFile, ChoosesTheEncoding) {
  struct Case {
    std::string bytes;
    std::string expected;
  };
  const Case cases[] = {
      {"plain=1\r\n", "plain=1\r\n"},
      {"\xEF\xBB\xBFkod=abc", "kod=abc"},
      {"\xEF\xBB\xBF" "kod=\xC5\x82", "kod=ł"},
      {"kod=\xC5\x82\xC3\xB3", "kod=łó"},          // valid UTF-8 with non-ASCII
      {"kod=\xB3\xF3", "kod=łó"},                   // Windows-1250
      {"kod=\xC5\x82 and \xB3", "kod=Ĺ‚ and ł"},    // mixed: not valid UTF-8
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeTextFile(c.bytes), c.expected) << c.bytes;
}

TEST(Utf8Characters, CountAndCutWithoutSplittingCharacters) {
  const std::string text = "Zażółć gęślą";
  EXPECT_EQ(CharCount(text), 12u);
  EXPECT_EQ(Utf8Left(text, 4), "Zażó");
  EXPECT_EQ(Utf8Left(text, 100), text);
  EXPECT_EQ(Utf8Left(text, 0), "");
  EXPECT_EQ(Utf8Mid(text, 7, 3), "gęś");
  EXPECT_EQ(Utf8Mid(text, 10), "lą");
  EXPECT_EQ(Utf8Mid(text, 20), "");
  // A stray byte counts as one character and is never split further.
  EXPECT_EQ(CharCount("a\xFF" "b"), 3u);
  EXPECT_EQ(Utf8Left("a\xFF" "b", 2), "a\xFF");
}

TEST(Utf8Case, LowerCaseAndComparisonCoverTheCodePageLetters) {
  EXPECT_EQ(Utf8ToLower("ZAŻÓŁĆ GĘŚLĄ JAŹŃ Šťř ÄÖÜ"), "zażółć gęślą jaźń šťř äöü");
  EXPECT_EQ(Utf8ToLower("×ß€Ж"), "×ß€Ж");  // no case or not in the code page
  EXPECT_TRUE(SameTextIgnoringCase("MinInput", "MININPUT"));
  EXPECT_TRUE(SameTextIgnoringCase("Łódź", "łÓDŹ"));
  EXPECT_FALSE(SameTextIgnoringCase("Lodz", "Łódź"));
  EXPECT_FALSE(SameTextIgnoringCase("kod", "kod1"));
}

}  // namespace
}  // namespace q5480
