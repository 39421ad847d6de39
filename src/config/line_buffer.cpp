#include "config/line_buffer.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <system_error>

#include "config/atomic_file.h"
#include "config/numbers.h"
#include "config/text.h"

namespace q5480 {

std::optional<std::string> FindKeyValue(const std::vector<std::string>& lines,
                                        std::string_view key) {
  for (const std::string& line : lines) {
    std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    if (SameTextIgnoringCase(std::string_view(line).substr(0, equals), key)) {
      return line.substr(equals + 1);
    }
  }
  return std::nullopt;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::optional<double> LineBuffer::NumberValue(std::string_view key) const {
  std::optional<std::string> text = Value(key);
  if (!text) return std::nullopt;
  std::optional<double> value = ParseNumber(*text);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

std::optional<std::int64_t> LineBuffer::IntegerValue(std::string_view key, std::int64_t lowest,
                                                     std::int64_t highest) const {
  std::optional<double> value = NumberValue(key);
  if (!value) return std::nullopt;
  std::optional<std::int64_t> rounded = RoundToInt64(*value);
  if (!rounded || *rounded < lowest || *rounded > highest) return std::nullopt;
  return rounded;
}

void LineBuffer::SetLine(std::size_t index, std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  lines_.at(index) = std::move(text);
}

bool LineBuffer::Save(const std::filesystem::path& path, FileAccess access) const {
  std::string bytes;
  for (const std::string& line : lines_) {
    bytes += Utf8ToCp1250(line);
    bytes += "\r\n";
  }
  return ReplaceFileAtomically(path, bytes, access);
}

bool LineBuffer::Load(const std::filesystem::path& path) {
  lines_.clear();
  std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) return false;
  lines_ = SplitLines(DecodeTextFile(*bytes));
  return true;
}

}  // namespace q5480
