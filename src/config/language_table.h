// The language table: every text that the program shows is fetched by its
// English key at the moment it is shown.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace q5480 {

inline constexpr std::size_t kLanguageKeyCount = 240;

// The fixed English keys, in table order.
const std::array<std::string_view, kLanguageKeyCount>& LanguageKeys();

class LanguageTable {
 public:
  LanguageTable();  // English: every key maps to itself

  // The text after the first "=" of the first line whose part before its
  // first "=" equals `key` without regard to letter case; empty when absent.
  std::string Tr(std::string_view key) const;

  // Every key mapped to itself, in table order.
  void SetEnglish();
  // The lines of a language file, as they stand.
  void SetLines(std::vector<std::string> lines);
  // True when each of the keys is present with a non-empty text.
  bool IsComplete() const;

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// A text of the program that the language table may lack: the translation
// when there is one, else the English text itself.
std::string TextOrKey(const LanguageTable& language, std::string_view key);

// A translation without its last character: the keys that end in "1" only to
// stay distinct ("New1", "Other1", "Result1").
std::string DropLastCharacter(const std::string& text);

// Replaces the first "%d" of a translated text by `number`, textually: a
// translation is data and never reaches a printf-style formatter.
std::string SubstituteNumber(const std::string& text, long number);

// Loads a language file through the line buffer (so the reading rules of
// the program's text files apply) and keeps it in `table` only when it is
// complete. False, with `table` unchanged, otherwise.
bool LoadLanguageFile(LanguageTable& table, const std::filesystem::path& path);

// Fills `table` for `language`: "English" gives the built-in table; any other
// name loads "<language>.lan" (found with FindDataFile) and keeps it when it
// is complete. A missing or incomplete file gives English, sets `language`
// to "English" and returns false.
bool LoadLanguage(LanguageTable& table, std::string& language);

}  // namespace q5480
