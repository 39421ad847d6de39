#include "link/adapter_registry_win32.h"

#include <vector>

namespace q5480 {
namespace {

constexpr wchar_t kFtdiBus[] = L"SYSTEM\\CurrentControlSet\\Enum\\FTDIBUS";
constexpr wchar_t kFtdiDevice[] = L"VID_0403+PID_6001";

// A key below HKEY_LOCAL_MACHINE, closed with the object.
class MachineKey {
 public:
  MachineKey(const std::wstring& path, REGSAM access) {
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, access, &key_) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  ~MachineKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  MachineKey(const MachineKey&) = delete;
  MachineKey& operator=(const MachineKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::vector<std::wstring> SubkeyNames(HKEY key) {
  std::vector<std::wstring> names;
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(std::size(name));
    if (::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      return names;
    }
    names.emplace_back(name, length);
  }
}

std::optional<std::wstring> ReadString(const std::wstring& key, const wchar_t* name) {
  wchar_t value[64];
  DWORD size = sizeof value;
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(value);
}

}  // namespace

std::optional<std::wstring> FtdiSettingsKey(int number) {
  MachineKey bus(kFtdiBus, KEY_READ);
  if (bus.get() == nullptr) return std::nullopt;
  const std::wstring wanted = L"COM" + std::to_wstring(number);
  for (const std::wstring& device : SubkeyNames(bus.get())) {
    if (device.find(kFtdiDevice) == std::wstring::npos) continue;
    const std::wstring settings =
        std::wstring(kFtdiBus) + L"\\" + device + L"\\0000\\Device Parameters";
    if (ReadString(settings, L"PortName") == wanted) return settings;
  }
  return std::nullopt;
}

std::optional<DWORD> ReadMachineDword(const std::wstring& key, const wchar_t* name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

}  // namespace q5480
