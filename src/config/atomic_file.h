// Replacing a file so that a reader never sees half of it and a failure
// never damages what was there before.
#pragma once

#include <filesystem>
#include <string_view>

namespace q5480 {

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk
// and renames it over `path`. On any failure the temporary file is removed,
// the old file stays as it was, and the result is false. An existing file
// keeps its permission bits; when `path` is a symbolic link, the file it
// points to is replaced and the link kept.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace q5480
