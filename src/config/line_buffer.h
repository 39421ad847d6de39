// The one list of text lines through which every text file of the program is
// composed or parsed: cleared, filled at fixed indices and saved, or loaded
// and queried by name "=" value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/atomic_file.h"

namespace q5480 {

// The value of the first line whose text before its first "=" equals `key`
// without regard to letter case: everything after that "=". Lines without
// "=" never match; nothing is trimmed.
std::optional<std::string> FindKeyValue(const std::vector<std::string>& lines,
                                        std::string_view key);

// Splits decoded text into lines at CR LF, LF or CR. A final line break does
// not start another line.
std::vector<std::string> SplitLines(std::string_view text);

class LineBuffer {
 public:
  void Clear() { lines_.clear(); }
  // Appends `count` empty lines.
  void AddEmptyLines(std::size_t count) { lines_.resize(lines_.size() + count); }
  // Replaces line `index`, which must exist (std::out_of_range otherwise).
  // A line break inside `text` becomes a blank so that every entry stays one
  // line of the file.
  void SetLine(std::size_t index, std::string text);

  const std::vector<std::string>& Lines() const { return lines_; }

  // Windows-1250 bytes, CR LF after every line, replacing `path` atomically
  // with the permissions that `access` says. False when the file could not
  // be replaced; the old file is then unchanged.
  bool Save(const std::filesystem::path& path, FileAccess access = FileAccess::kAsBefore) const;

  // Reads and decodes a text file (UTF-8 or Windows-1250) into lines. False,
  // with the buffer left empty, when the file cannot be read.
  bool Load(const std::filesystem::path& path);

  std::optional<std::string> Value(std::string_view key) const { return FindKeyValue(lines_, key); }
  // The value as a finite number by the number entry rule ("." or ","); a
  // value that does not convert counts as missing.
  std::optional<double> NumberValue(std::string_view key) const;
  // NumberValue rounded halves to even; nothing when it lies outside
  // lowest..highest.
  std::optional<std::int64_t> IntegerValue(std::string_view key, std::int64_t lowest,
                                           std::int64_t highest) const;

 private:
  std::vector<std::string> lines_;
};

// The whole content of a file; nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

}  // namespace q5480
