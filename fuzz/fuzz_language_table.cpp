// Language files (".lan"): a file is taken only when it gives a non-empty
// text for every key, and a refused file leaves the table as it was; every
// text taken can be cut and have its number put in.
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/language_table.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace q5480;
  using namespace q5480::fuzz;
  const auto path = WriteScratchFile("xx.lan", data, size);
  LanguageTable table;
  // A table that is not the English one, so that a partial change shows.
  std::vector<std::string> before = table.Lines();
  before.front() += " (before)";
  table.SetLines(before);
  if (!LoadLanguageFile(table, path)) {
    Check(table.Lines() == before, "a refused file changed the table");
    return 0;
  }
  Check(table.IsComplete(), "an incomplete file was taken");
  for (std::string_view key : LanguageKeys()) {
    const std::string text = table.Tr(key);
    Check(!text.empty(), "no text for " + std::string(key));
    Check(DropLastCharacter(text).size() < text.size(), "cutting a text did not shorten it");
    const std::string numbered = SubstituteNumber(text, -2147483647L);
    const bool placed = text.find("%d") != std::string::npos;
    Check(placed ? numbered.find("-2147483647") != std::string::npos : numbered == text,
          "the number of " + std::string(key) + " went astray");
  }
  return 0;
}
