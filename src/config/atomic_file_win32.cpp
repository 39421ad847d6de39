// Atomic replacement on Windows: ReplaceFileW keeps the old file's security
// descriptor, attributes and owner; a read-only file or one this user may
// not write is refused.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "config/atomic_file.h"

namespace q5480 {
namespace {

std::filesystem::path TemporaryNameBeside(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  const std::wstring name = L".q5480-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                            std::to_wstring(counter.fetch_add(1)) + L"-" +
                            std::to_wstring(::GetTickCount64() % 1000000007ULL) + L".tmp";
  return path.parent_path() / name;
}

// The read-only attribute holds for administrators too; the rest the system
// judges by opening the file for writing, as a write in place would.
bool MayNotWrite(const std::filesystem::path& file, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_READONLY) return true;
  HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_ACCESS_DENIED;
  ::CloseHandle(handle);
  return false;
}

bool WriteAll(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr)) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

bool IsWriteProtected(const std::filesystem::path& requested) {
  const std::filesystem::path path = FileBehindLink(requested);
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         MayNotWrite(path, attributes);
}

// A file that holds a secret lies in the program directory or the user's
// application-data folder, whose inherited permissions already keep other
// users out; `access` therefore asks nothing more here.
bool ReplaceFileAtomically(const std::filesystem::path& requested, std::string_view bytes,
                           FileAccess) {
  if (requested.empty() || !requested.has_filename()) return false;
  const std::filesystem::path path = FileBehindLink(requested);
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && ((attributes & FILE_ATTRIBUTE_DIRECTORY) || MayNotWrite(path, attributes))) {
    return false;
  }
  const std::filesystem::path temporary = TemporaryNameBeside(path);
  HANDLE handle = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  bool ok = WriteAll(handle, bytes) && ::FlushFileBuffers(handle);
  if (!::CloseHandle(handle)) ok = false;
  if (ok) {
    ok = exists ? ::ReplaceFileW(path.c_str(), temporary.c_str(), nullptr,
                                 REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                : ::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
  }
  if (!ok) {
    ::DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace q5480
