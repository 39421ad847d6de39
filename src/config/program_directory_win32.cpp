// The program directory's system part on Windows: the module file name, the
// roaming application-data folder and a trial file for the write permission.
#include <windows.h>

#include <shlobj.h>

#include <string>
#include <system_error>

#include "config/program_directory.h"

namespace q5480 {
namespace fs = std::filesystem;

fs::path ExecutableDirectory() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) {
      std::error_code error;
      return fs::current_path(error);
    }
    if (length < name.size()) {
      name.resize(length);
      return fs::path(name).parent_path();
    }
    name.resize(name.size() * 2);
  }
}

fs::path UserConfigurationDirectory() {
  PWSTR folder = nullptr;
  fs::path directory;
  if (::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &folder) == S_OK) {
    directory = fs::path(folder);
  }
  ::CoTaskMemFree(folder);
  return directory;
}

// Folder permissions on Windows are access control lists and the read-only
// attribute of a folder means nothing: only a trial file tells.
bool MayWriteIn(const fs::path& directory) {
  const fs::path trial =
      directory / (L".q5480-" + std::to_wstring(::GetCurrentProcessId()) + L".probe");
  HANDLE handle = ::CreateFileW(trial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(handle);
  return true;
}

}  // namespace q5480
