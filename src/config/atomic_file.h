// Replacing a file so that a reader never sees half of it and a failure
// never damages what was there before.
#pragma once

#include <filesystem>
#include <string_view>

namespace q5480 {

// The file that a symbolic link points to, or `path` itself when it is no
// link or its target cannot be found: a replacement keeps the link and
// replaces the file behind it.
inline std::filesystem::path FileBehindLink(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  std::filesystem::path target = std::filesystem::canonical(path, error);
  return error ? path : target;
}

// Whether the file that `path` names, after following a link, exists and may
// not be replaced: it has no write permission bit at all, or this process may
// not write it. Root, whom the system lets write anything, is held to the
// bits, so that a file someone protected stays protected.
bool IsWriteProtected(const std::filesystem::path& path);

// Who may read a file that ReplaceFileAtomically writes.
enum class FileAccess {
  kAsBefore,   // an existing file keeps its mode; a new one gets what the umask leaves
  kOwnerOnly,  // mode 0600 from the first byte on, whatever the file had: it holds a secret
};

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk
// and renames it over `path`. A write-protected file is refused. On any
// failure the temporary file is removed, the old file stays as it was, and
// the result is false. An existing file keeps its owner and group where this
// process may give them, and its permission bits as `access` says; when
// `path` is a symbolic link, the file it points to is replaced and the link
// kept.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                           FileAccess access = FileAccess::kAsBefore);

}  // namespace q5480
