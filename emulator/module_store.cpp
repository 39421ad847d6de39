#include "emulator/module_store.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "config/atomic_file.h"

namespace q5480 {

namespace {

constexpr std::string_view kMagic = "Q5480 module memory\n";

char LayoutLetter(MemoryLayout layout) { return layout == MemoryLayout::New ? 'N' : 'O'; }

std::string LayoutName(MemoryLayout layout) {
  return layout == MemoryLayout::New ? "the new layout" : "the old layout";
}

}  // namespace

std::optional<MemoryBytes> LoadMemoryFile(const std::filesystem::path& path, MemoryLayout layout) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof())
    throw std::runtime_error("cannot read the memory file " + path.string());
  if (content.size() != kMagic.size() + 1 + kModuleMemorySize ||
      content.compare(0, kMagic.size(), kMagic) != 0) {
    throw std::runtime_error(path.string() + " is not a module memory file");
  }
  const char letter = content[kMagic.size()];
  if (letter != LayoutLetter(layout)) {
    const MemoryLayout held = letter == 'N' ? MemoryLayout::New : MemoryLayout::Old;
    throw std::runtime_error("the memory file " + path.string() + " holds " + LayoutName(held) +
                             ", but the module's identifier asks for " + LayoutName(layout));
  }
  MemoryBytes bytes{};
  const std::size_t first = kMagic.size() + 1;
  for (std::size_t i = 0; i < kModuleMemorySize; ++i) {
    bytes[i] = static_cast<std::uint8_t>(content[first + i]);
  }
  return bytes;
}

bool SaveMemoryFile(const std::filesystem::path& path, MemoryLayout layout,
                    const MemoryBytes& bytes) {
  std::string content(kMagic);
  content += LayoutLetter(layout);
  content.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return ReplaceFileAtomically(path, content);
}

}  // namespace q5480
