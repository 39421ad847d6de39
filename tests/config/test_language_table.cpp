#include "config/language_table.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "config/program_directory.h"
#include "config/text.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

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

// A key with "=" could never be found, and two keys equal but for letter case
// would share one translation.
TEST(LanguageTable, EnglishAndCompleteness) {
  LanguageTable table;
  std::set<std::string> folded;
  for (std::string_view key : LanguageKeys()) {
    EXPECT_EQ(key.find('='), std::string_view::npos) << key;
    EXPECT_TRUE(folded.insert(Utf8ToLower(key)).second) << "duplicate ignoring case: " << key;
    EXPECT_EQ(table.Tr(key), key);
  }
  EXPECT_TRUE(table.IsComplete());
  EXPECT_EQ(std::tuple(table.Tr("no_NAME"), table.Tr("Not a key"), table.Tr("No_name ")),
            std::tuple("No_name", "", ""));
  // A complete table has every key with a text.
  std::vector<std::string> lines = CompleteLines();
  for (std::string& line : lines) line = Utf8ToLower(line);  // keys in another letter case
  table.SetLines(lines);
  EXPECT_TRUE(table.IsComplete());
  EXPECT_EQ(table.Tr("Corrupted or wrong data file"), Utf8ToLower(Translation(228)));
  for (std::size_t missing : {std::size_t{0}, std::size_t{120}, kLanguageKeyCount - 1}) {
    lines = CompleteLines();
    lines[1 + missing] = std::string(LanguageKeys()[missing]) + "=";
    table.SetLines(lines);
    EXPECT_FALSE(table.IsComplete()) << "empty " << LanguageKeys()[missing];
    lines.erase(lines.begin() + 1 + static_cast<long>(missing));
    table.SetLines(lines);
    EXPECT_FALSE(table.IsComplete()) << "without " << LanguageKeys()[missing];
  }
}

TEST(LanguageTable, DropLastCharacterAndSubstituteNumber) {
  EXPECT_EQ(DropLastCharacter("New1"), "New");
  EXPECT_EQ(DropLastCharacter("Inny żółć"), "Inny żół");  // characters, not bytes
  EXPECT_EQ(DropLastCharacter(""), "");
  EXPECT_EQ(SubstituteNumber("COM%d initialization failed", 3), "COM3 initialization failed");
  EXPECT_EQ(SubstituteNumber("Port %d: %d %s %n", -12), "Port -12: %d %s %n");
  EXPECT_EQ(SubstituteNumber("no placeholder %", 5), "no placeholder %");
}

// The file is read through the line buffer and found in the program
// directory, as the program does; only a complete file is kept.
TEST(LoadLanguage, KeepsACompleteFileAndFallsBackToEnglish) {
  const std::string name = "Test" + std::to_string(::getpid());
  const std::filesystem::path file = ProgramDirectory() / (name + ".lan");
  std::vector<std::string> incomplete = CompleteLines();
  incomplete.pop_back();
  WriteLanguageFile(file, incomplete);
  LanguageTable table;
  table.SetLines({"Cancel=Anuluj"});
  EXPECT_FALSE(LoadLanguageFile(table, file));
  EXPECT_EQ(table.Tr("Cancel"), "Anuluj");  // unchanged
  std::string language = name;
  EXPECT_FALSE(LoadLanguage(table, language));
  EXPECT_EQ(std::tuple(language, table.Tr("Cancel")), std::tuple("English", "Cancel"));

  WriteLanguageFile(file, CompleteLines());
  // A name is a file name, never a path, even to the very file.
  const std::string path = "../" + ProgramDirectory().filename().string() + "/" + name;
  const std::tuple<std::string, bool, std::string, std::string> cases[] = {
      {name, true, name, Translation(20)},  // decoded from Windows-1250
      {"English", true, "English", "Cancel"}, {"NoSuchLanguage", false, "English", "Cancel"},
      {path, false, "English", "Cancel"},     {"", false, "English", "Cancel"},
  };
  for (const auto& [requested, ok, chosen, cancel] : cases) {
    table.SetLines({"Cancel=Anuluj"});
    language = requested;
    EXPECT_EQ(LoadLanguage(table, language), ok) << requested;
    EXPECT_EQ(language, chosen);
    EXPECT_EQ(table.Tr("Cancel"), cancel);
  }
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace q5480
