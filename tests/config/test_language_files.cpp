// The language files that come with the program, read as the program reads
// them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "config/language_table.h"
#include "config/line_buffer.h"
#include "config/module_config.h"
#include "config/text.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

const std::filesystem::path kPolish =
    std::filesystem::path(Q5480_SOURCE_DIR) / "lang" / "Polski.lan";

// Texts the program looks up beyond the fixed keys; without a translation
// they would show in English.
std::vector<std::string> FurtherKeys() {
  std::vector<std::string> keys = {
      // the table's accuracy line of the report and the simulation window
      "Table accuracy", "largest error", "at",
      // the conversion's messages and reasons
      "Transfer function is not monotonic", "No convergence!", "Not enough rows!",
      "No data available!", "Floating point error in the conversion",
      "Floating point error: value is not finite",
      // windows: the dot position list, the table window, printing, the chart's
      // picture, the message boxes' buttons
      "automatic", "Load", "Printing failed", "Save picture", "Pictures", "Yes", "No",
      // the module's state words
      "Cal mode", "Independent output", "Out of input range", "Large error", "Out of range",
      // why a port does not open
      "The port does not exist", "The port is the system console and is never opened",
      "Permission denied", "Permission denied: you are not in the group",
      "Permission denied: log in again to join the group", "The port is held by",
      "The port is not a serial device", "ModemManager is running and may take the adapter",
      "brltty is running and may take the adapter", "The adapter's latency timer is above 2 ms:",
      // a configuration compared with a module or another, its fingerprint
      "Model", "Table file", "Coefficient", "MinInput", "MaxInput", "SignalLow", "SignalHigh",
      "Transfer table", "of", "segments differ", "LimitLow", "LimitHigh", "Units", "Decimal point",
      "Not compared: the configuration date (each write sets its own), the serial number, factory "
      "date and identifier (each module's own).",
      "Fingerprint", "Details", "Differences", "configuration", "module"};
  for (int tryb = 1; tryb <= 11; ++tryb) {
    const std::string name(ConnectionName(tryb));
    if (name.empty()) continue;
    bool fixed = false;
    for (std::string_view key : LanguageKeys()) fixed = fixed || SameTextIgnoringCase(key, name);
    if (!fixed) keys.push_back(name);
  }
  return keys;
}

// Words that Polish writes as English does.
const std::set<std::string> kSameInPolish = {"Minimum", "Start", "Stop", "Reset", "Zero", "Model"};

// The menus as the main window builds them: within one menu no two items may
// share an accelerator. The File menu's "Save as" item reads "&Keep results"
// or "&Stop saving" while the chart is shown.
const std::map<std::string, std::vector<std::string>> kMenus = {
    {"menu bar", {"&File", "&Configuration", "&View", "&Options", "&Help"}},
    {"File", {"&New", "&Open", "&Save", "Save as", "&Print", "P&rint setup", "E&xit"}},
    {"File with the chart",
     {"&New", "&Open", "&Save", "&Keep results", "&Print", "P&rint setup", "E&xit"}},
    {"File while recording",
     {"&New", "&Open", "&Save", "&Stop saving", "&Print", "P&rint setup", "E&xit"}},
    {"Configuration", {"&Setup", "&Input", "&Reset", "&Corrections"}},
    {"Setup", {"&Read", "&Write", "&Verify", "R&efresh"}},
    {"View", {"Simulation", "&Toolbar", "S&tatus", "&Diagram", "&Monitor only"}},
    {"Options", {"&General", "&Communication", "&Automatic read"}},
    {"Help", {"&Info", "&Version", "&Help"}},
};

std::vector<std::string> PrintfPlaceholders(const std::string& text) {
  static const std::regex kPlaceholder("%[-+ #0-9.]*[a-zA-Z%]");
  std::vector<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), kPlaceholder);
       it != std::sregex_iterator(); ++it) {
    found.push_back(it->str());
  }
  return found;
}

class PolishLanguageFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadLanguageFile(table_, kPolish)) << kPolish; }

  LanguageTable table_;
};

// Every key once, translated, and shaped as its callers use it: they add
// their own blanks and punctuation, fill in "%d" and show "&" as an
// accelerator.
TEST_F(PolishLanguageFile, TranslatesEveryKeyOnceKeepingPlaceholdersAndAccelerators) {
  std::vector<std::string> keys(LanguageKeys().begin(), LanguageKeys().end());
  const std::vector<std::string> further = FurtherKeys();
  keys.insert(keys.end(), further.begin(), further.end());

  std::map<std::string, int> lineCount;
  for (const std::string& line : table_.Lines())
    ++lineCount[Utf8ToLower(line.substr(0, line.find('=')))];
  for (const std::string& key : keys) {
    EXPECT_EQ(lineCount[Utf8ToLower(key)], 1) << key;
    const std::string text = table_.Tr(key);
    ASSERT_FALSE(text.empty()) << key;
    EXPECT_TRUE(kSameInPolish.count(key) != 0 || text != key) << "untranslated: " << key;
    EXPECT_TRUE(text.front() != ' ' && text.back() != ' ') << "blank at an end: " << key;
    EXPECT_EQ(PrintfPlaceholders(text), PrintfPlaceholders(key)) << key;
    EXPECT_EQ(std::count(text.begin(), text.end(), '&'), std::count(key.begin(), key.end(), '&'))
        << key;
  }
  EXPECT_EQ(table_.Lines().size(), keys.size()) << "a line the program never looks up";
  // Each key ending in "1" carries one character that its callers drop.
  for (const char* key : {"New1", "Other1", "Result1"}) {
    const std::string text = table_.Tr(key);
    EXPECT_EQ(text.back(), '1') << key;
    EXPECT_GT(CharCount(text), 1u) << key;
  }
  // The version window's caption is "&Version" without its first character.
  EXPECT_EQ(table_.Tr("&Version").front(), '&');

  for (const auto& [menu, items] : kMenus) {
    std::map<std::string, std::string> taken;
    for (const std::string& key : items) {
      // "Simulation" is shown after an "&" of the window's own.
      const std::string shown = key == "Simulation" ? "&" + table_.Tr(key) : table_.Tr(key);
      const std::size_t at = shown.find('&');
      if (at == std::string::npos) continue;  // "Save as" has none in English either
      const std::string letter = Utf8ToLower(Utf8Left(shown.substr(at + 1), 1));
      EXPECT_TRUE(letter != " " && !letter.empty()) << menu << ": " << shown;
      const auto [where, fresh] = taken.emplace(letter, shown);
      EXPECT_TRUE(fresh) << menu << ": \"" << shown << "\" and \"" << where->second << "\" share &"
                         << letter;
    }
  }
}

// Saved again as the program saves its text files (Windows-1250, CR LF after
// every line) the file is the same file: not UTF-8, no bare line ends, no
// letter the code page lacks. Its bytes read back as Polish letters, not as
// another code page's, and none is a byte Windows-1250 leaves undefined.
TEST_F(PolishLanguageFile, IsStoredAsTheProgramStoresItsTextFiles) {
  const test_support::ScratchDirectory scratch;
  LineBuffer buffer;
  ASSERT_TRUE(buffer.Load(kPolish));
  ASSERT_TRUE(buffer.Save(scratch / "again.lan"));
  EXPECT_TRUE(test_support::ReadBytes(scratch / "again.lan") == test_support::ReadBytes(kPolish));

  std::string all;
  for (const std::string& line : buffer.Lines()) all += line + "\n";
  for (const char* letter : {"ą", "ć", "ę", "ł", "ń", "ó", "ś", "ź", "ż"}) {
    EXPECT_NE(all.find(letter), std::string::npos) << letter;
  }
  // The undefined bytes decode to the C1 controls U+0080 to U+009F.
  const auto undefined = std::adjacent_find(all.begin(), all.end(), [](char lead, char next) {
    const auto byte = static_cast<unsigned char>(next);
    return static_cast<unsigned char>(lead) == 0xC2 && byte >= 0x80 && byte <= 0x9F;
  });
  EXPECT_TRUE(undefined == all.end()) << "a control character where a letter should be";
}

// The build puts the file beside the programs, where a program started from
// the build folder finds it.
TEST(LanguageFilesOfTheBuild, LieBesideTheProgramsAsInTheSourceTree) {
  const std::filesystem::path built = std::filesystem::path(Q5480_BIN_DIR) / "Polski.lan";
  ASSERT_TRUE(std::filesystem::exists(built)) << built;
  EXPECT_TRUE(test_support::ReadBytes(built) == test_support::ReadBytes(kPolish)) << "an old copy";
}

}  // namespace
}  // namespace q5480
