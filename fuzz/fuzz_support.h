// What the harnesses share: a scratch folder for the readers that take a
// path, the checks of a property that stop the run with the input kept, and
// the comparison of two configuration records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "config/module_config.h"

namespace q5480::fuzz {

// A folder of this process's own (in memory where the system has one),
// removed at exit.
const std::filesystem::path& ScratchFolder();

// Writes `size` bytes to `name` in the scratch folder and gives its path.
std::filesystem::path WriteScratchFile(std::string_view name, const std::uint8_t* data,
                                       std::size_t size);

// A property that does not hold: says which and aborts, so that libFuzzer
// keeps the input that broke it.
[[noreturn]] void Fail(const std::string& what);
inline void Check(bool holds, const std::string& what) {
  if (!holds) Fail(what);
}

// Every real value of the record is finite.
bool AllFinite(const ModuleConfig& config);

// The first field in which two records differ ("" when none): numbers
// within `relative` of each other, texts as written.
std::string FirstDifference(const ModuleConfig& a, const ModuleConfig& b, double relative = 0);

// A text as the program's files and the module keep it: through
// Windows-1250 and back.
std::string ThroughCp1250(std::string_view text);

// The program's text files are Windows-1250 without a mark; bytes that
// happen to be valid UTF-8 with non-ASCII characters are read back as UTF-8
// by the reading rule. True when `bytes` are such a file.
bool ReadBackAsUtf8(std::string_view bytes);

}  // namespace q5480::fuzz
