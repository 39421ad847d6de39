#include "config/language_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "config/program_directory.h"
#include "config/text.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

using test_support::ScratchDirectory;
using test_support::WriteBytes;

// A translation that differs from its key, with a letter of the code page.
std::string Translation(std::size_t index) { return "Tłumaczenie " + std::to_string(index); }

std::vector<std::string> CompleteLines() {
  std::vector<std::string> lines = {"; other lines are allowed"};
  for (std::size_t i = 0; i < kLanguageKeyCount; ++i) {
    lines.push_back(std::string(LanguageKeys()[i]) + "=" + Translation(i));
  }
  return lines;
}

// Windows-1250 with CR LF, as the program's text files are.
void WriteLanguageFile(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  WriteBytes(path, Utf8ToCp1250(text));
}

TEST(LanguageKeys, AreTheFixedEnglishTextsInTableOrder) {
  const auto& keys = LanguageKeys();
  EXPECT_EQ(keys.size(), 240u);
  EXPECT_EQ(keys[0], "Q5480 Panel Meters");
  EXPECT_EQ(keys[7], "No_name");
  EXPECT_EQ(keys[35], "Parameters  of");
  EXPECT_EQ(keys[48], "Internal failure sygnalization");
  EXPECT_EQ(keys[66], "COM%d initialization failed");
  EXPECT_EQ(keys[84], "&File");
  EXPECT_EQ(keys[228], "Corrupted or wrong data file");
  EXPECT_EQ(keys[239], "Digital dot position");

  std::set<std::string> folded;
  for (std::string_view key : keys) {
    EXPECT_FALSE(key.empty());
    EXPECT_EQ(key.find('='), std::string_view::npos) << key;  // would end the name early
    EXPECT_TRUE(folded.insert(Utf8ToLower(key)).second) << "duplicate ignoring case: " << key;
  }
}

TEST(LanguageTable, EnglishMapsEveryKeyToItself) {
  LanguageTable table;
  ASSERT_EQ(table.Lines().size(), kLanguageKeyCount);
  for (std::string_view key : LanguageKeys()) EXPECT_EQ(table.Tr(key), key);
  EXPECT_TRUE(table.IsComplete());
  EXPECT_EQ(table.Tr("no_NAME"), "No_name");
  EXPECT_EQ(table.Tr("Not a key of the table"), "");
  EXPECT_EQ(table.Tr("No_name "), "");
}

TEST(LanguageTable, CompletenessDemandsEveryKeyWithText) {
  LanguageTable table;
  table.SetLines(CompleteLines());
  EXPECT_TRUE(table.IsComplete());
  EXPECT_EQ(table.Tr("Device programmed"), Translation(11));

  for (std::size_t missing : {std::size_t{0}, std::size_t{120}, kLanguageKeyCount - 1}) {
    std::vector<std::string> lines = CompleteLines();
    lines.erase(lines.begin() + 1 + static_cast<long>(missing));
    table.SetLines(lines);
    EXPECT_FALSE(table.IsComplete()) << "without " << LanguageKeys()[missing];

    lines = CompleteLines();
    lines[1 + missing] = std::string(LanguageKeys()[missing]) + "=";
    table.SetLines(lines);
    EXPECT_FALSE(table.IsComplete()) << "empty " << LanguageKeys()[missing];
  }
}

TEST(LanguageTable, KeysInAnotherLetterCaseAreAccepted) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < kLanguageKeyCount; ++i) {
    lines.push_back(Utf8ToLower(LanguageKeys()[i]) + "=" + Translation(i));
  }
  LanguageTable table;
  table.SetLines(lines);
  EXPECT_TRUE(table.IsComplete());
  EXPECT_EQ(table.Tr("Corrupted or wrong data file"), Translation(228));
}

TEST(LanguageTable, DropLastCharacterCountsCharactersNotBytes) {
  EXPECT_EQ(DropLastCharacter("New1"), "New");
  EXPECT_EQ(DropLastCharacter("Nowe§"), "Nowe");
  EXPECT_EQ(DropLastCharacter("Inny żółć"), "Inny żół");
  EXPECT_EQ(DropLastCharacter("x"), "");
  EXPECT_EQ(DropLastCharacter(""), "");
}

TEST(LanguageTable, SubstituteNumberReplacesOnlyTheFirstPlaceholder) {
  EXPECT_EQ(SubstituteNumber("COM%d initialization failed", 3), "COM3 initialization failed");
  EXPECT_EQ(SubstituteNumber("Port %d: %d %s %n", -12), "Port -12: %d %s %n");
  EXPECT_EQ(SubstituteNumber("no placeholder %", 5), "no placeholder %");
}

TEST(LoadLanguageFile, KeepsOnlyACompleteFile) {
  ScratchDirectory dir;
  WriteLanguageFile(dir / "Polski.lan", CompleteLines());
  std::vector<std::string> incomplete = CompleteLines();
  incomplete.pop_back();
  WriteLanguageFile(dir / "Broken.lan", incomplete);

  LanguageTable table;
  EXPECT_FALSE(LoadLanguageFile(table, dir / "Broken.lan"));
  EXPECT_EQ(table.Tr("Cancel"), "Cancel");  // unchanged
  EXPECT_FALSE(LoadLanguageFile(table, dir / "Missing.lan"));
  ASSERT_TRUE(LoadLanguageFile(table, dir / "Polski.lan"));
  EXPECT_EQ(table.Tr("Cancel"), Translation(20));  // decoded from Windows-1250
}

// LoadLanguage finds its file in the program directory, as the program does.
class LoadLanguageTest : public ::testing::Test {
 protected:
  void TearDown() override {
    std::error_code error;
    std::filesystem::remove(file_, error);
  }
  std::string PlaceFile(const std::vector<std::string>& lines) {
    const std::string name = "Test" + std::to_string(::getpid());
    file_ = ProgramDirectory() / (name + ".lan");
    WriteLanguageFile(file_, lines);
    return name;
  }
  std::filesystem::path file_;
};

TEST_F(LoadLanguageTest, CompleteFileIsKept) {
  std::string language = PlaceFile(CompleteLines());
  const std::string requested = language;
  EXPECT_EQ(FindDataFile(language + ".lan"), file_);
  EXPECT_EQ(FindDataFile(language + "-absent.lan"), std::nullopt);
  LanguageTable table;
  EXPECT_TRUE(LoadLanguage(table, language));
  EXPECT_EQ(language, requested);
  EXPECT_EQ(table.Tr("Q5480 Panel Meters"), Translation(0));
}

TEST_F(LoadLanguageTest, IncompleteFileGivesEnglish) {
  std::vector<std::string> lines = CompleteLines();
  lines[1 + 100] = std::string(LanguageKeys()[100]) + "=";
  std::string language = PlaceFile(lines);
  LanguageTable table;
  table.SetLines(CompleteLines());
  EXPECT_FALSE(LoadLanguage(table, language));
  EXPECT_EQ(language, "English");
  EXPECT_EQ(table.Tr("Q5480 Panel Meters"), "Q5480 Panel Meters");
}

TEST(LoadLanguage, EnglishAndMissingOrUnsafeNames) {
  LanguageTable table;
  table.SetLines({"Cancel=Anuluj"});
  std::string language = "English";
  EXPECT_TRUE(LoadLanguage(table, language));
  EXPECT_EQ(table.Tr("Cancel"), "Cancel");

  for (const char* name : {"NoSuchLanguage", "../Polski", "/etc/passwd", ".", ""}) {
    table.SetLines({"Cancel=Anuluj"});
    language = name;
    EXPECT_FALSE(LoadLanguage(table, language)) << name;
    EXPECT_EQ(language, "English");
    EXPECT_EQ(table.Tr("Cancel"), "Cancel");
  }
}

}  // namespace
}  // namespace q5480
