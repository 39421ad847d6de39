// Keeps an emulated module's memory across runs: a short header naming the
// layout, then the 4096 bytes.
#pragma once

#include <filesystem>
#include <optional>

#include "emulator/module_memory.h"

namespace q5480 {

// The memory kept in `path`, or nothing when the file does not exist. A file
// that cannot be read, is not a memory file or holds the other layout throws
// std::runtime_error with a message that names the file.
std::optional<MemoryBytes> LoadMemoryFile(const std::filesystem::path& path, MemoryLayout layout);

// Replaces the file as a whole (temporary file, then rename); false when that
// failed, and the old file is then as it was.
bool SaveMemoryFile(const std::filesystem::path& path, MemoryLayout layout,
                    const MemoryBytes& bytes);

}  // namespace q5480
