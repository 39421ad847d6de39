#include "config/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <string>

namespace q5480 {
namespace {

constexpr mode_t kOwnerOnlyMode = 0600;

// Unique among the threads of this process and across processes, and short,
// so that a long file name does not make it too long.
std::filesystem::path TemporaryNameBeside(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  std::string name =
      ".q5480-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)) + "-" +
      std::to_string(static_cast<unsigned long long>(stamp) % 1000000007ULL) + ".tmp";
  return path.parent_path() / name;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// No write bit at all holds for root too; the rest the system judges, as it
// would for writing in place.
bool MayNotWrite(const std::filesystem::path& file, const struct stat& info) {
  return (info.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0;
}

// The replacement becomes the old file's: owner and group first, since a
// change of owner clears the set-user-ID bit, then the mode. Only root may
// give a file to another user, and a file that root replaces must stay
// its owner's; anyone else keeps what the system lets them keep, and the
// rest of the replacement is theirs, as with any editor.
bool TakeOverOwnerAndMode(int fd, const struct stat& old, FileAccess access) {
  struct stat made {};
  if (::fstat(fd, &made) != 0) return false;
  if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
      ::fchown(fd, old.st_uid, old.st_gid) != 0 && ::geteuid() == 0) {
    return false;
  }
  return ::fchmod(fd, access == FileAccess::kOwnerOnly ? kOwnerOnlyMode : old.st_mode & 07777) == 0;
}

// Makes the rename itself durable; a failure here loses nothing already
// written, so it is not reported.
void SyncDirectory(const std::filesystem::path& directory) {
  int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool IsWriteProtected(const std::filesystem::path& requested) {
  const std::filesystem::path path = FileBehindLink(requested);
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && MayNotWrite(path, info);
}

bool ReplaceFileAtomically(const std::filesystem::path& requested, std::string_view bytes,
                           FileAccess access) {
  if (requested.empty() || !requested.has_filename()) return false;
  const std::filesystem::path path = FileBehindLink(requested);
  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  // The rename needs only the folder's permission: the file's own is checked here.
  if (exists && MayNotWrite(path, old)) return false;
  const std::filesystem::path temporary = TemporaryNameBeside(path);
  // 0666 lets the umask decide the mode of a new file, as for any other file;
  // a secret is never readable by others, not even while it is written.
  const bool ownerOnly = access == FileAccess::kOwnerOnly;
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                  ownerOnly ? kOwnerOnlyMode : 0666);
  if (fd < 0) return false;

  bool ok = WriteAll(fd, bytes);
  if (ok && exists) {
    ok = TakeOverOwnerAndMode(fd, old, access);
  } else if (ok && ownerOnly) {
    ok = ::fchmod(fd, kOwnerOnlyMode) == 0;  // the umask may have taken the owner's bits too
  }
  if (ok) ok = ::fsync(fd) == 0;
  if (::close(fd) != 0) ok = false;
  if (ok) ok = ::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  SyncDirectory(path.parent_path());
  return true;
}

}  // namespace q5480
