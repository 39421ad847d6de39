// The port list on Windows: the registry's serial-port map, COM N as
// "\\.\COMn", and the FTDI adapter's driver settings.
#include <windows.h>

#include <map>

#include "config/path_text.h"
#include "link/adapter_registry_win32.h"
#include "link/port_list.h"

namespace q5480 {
namespace {

namespace fs = std::filesystem;

constexpr int kLargestCom = 255;
constexpr int kLargestListedCom = 99;  // the list entry holds two digits
constexpr DWORD kSkipEnumerations = 0xFFFFFFFF;

std::string Narrow(const std::wstring& text) { return Utf8FromPath(fs::path(text)); }

// The number of "COMn", or nothing.
std::optional<int> ComNumberOf(const std::wstring& name) {
  if (name.size() < 4 || _wcsnicmp(name.c_str(), L"COM", 3) != 0) return std::nullopt;
  return ParseComNumber(Narrow(name.substr(3)));
}

// Entries such as "COM 5  \Device\VCP0": a number below 10 gets a blank
// before it, so that characters 4 and 5 give the number and the list sorts.
std::string Entry(int number, const std::wstring& device) {
  std::string entry =
      number < 10 ? "COM " + std::to_string(number) : "COM" + std::to_string(number);
  return entry + "  " + Narrow(device);
}

}  // namespace

PortEnvironment PortEnvironment::OnlyLinksIn(const fs::path& folder) {
  return {false, folder / "no-sysfs", folder / "no-dev", folder};
}

// Windows has no console among its serial ports.
fs::path PortEnvironment::ConsoleList() const { return {}; }

std::optional<fs::path> ComDevicePath(int number, const PortEnvironment& env) {
  if (!env.systemPorts || number < 1 || number > kLargestCom) return std::nullopt;
  return fs::path(L"\\\\.\\COM" + std::to_wstring(number));
}

std::vector<std::string> ListPorts(const PortEnvironment& env) {
  std::vector<std::string> entries;
  HKEY map = nullptr;
  if (!env.systemPorts || ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0,
                                          KEY_READ, &map) != ERROR_SUCCESS) {
    return entries;
  }
  std::map<int, std::string> byNumber;
  for (DWORD index = 0;; ++index) {
    wchar_t device[256];
    wchar_t port[64];
    DWORD deviceLength = static_cast<DWORD>(std::size(device));
    DWORD portSize = sizeof port - sizeof(wchar_t);
    DWORD type = 0;
    const LONG status = ::RegEnumValueW(map, index, device, &deviceLength, nullptr, &type,
                                        reinterpret_cast<BYTE*>(port), &portSize);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS || type != REG_SZ) continue;
    port[portSize / sizeof(wchar_t)] = L'\0';
    const std::optional<int> number = ComNumberOf(port);
    if (number && *number >= 1 && *number <= kLargestListedCom) {
      byNumber[*number] = Entry(*number, std::wstring(device, deviceLength));
    }
  }
  ::RegCloseKey(map);
  for (auto& [number, entry] : byNumber) entries.push_back(std::move(entry));
  return entries;
}

void TuneAdapter(const fs::path& device, const PortEnvironment& env) {
  if (!env.systemPorts) return;
  const std::optional<int> number = ComNumberOf(device.filename().wstring());
  if (!number) return;
  const std::optional<std::wstring> key = FtdiSettingsKey(*number);
  if (!key) return;
  const std::optional<DWORD> latency = ReadMachineDword(*key, L"LatencyTimer");
  if (!latency) return;
  // Writing needs an administrator; a refusal leaves the adapter slower, and
  // the port doctor says so.
  const DWORD wanted = kAdapterLatencyMs;
  if (*latency != wanted) {
    ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key->c_str(), L"LatencyTimer", REG_DWORD, &wanted,
                      sizeof wanted);
  }
  if (ReadMachineDword(*key, L"SkipEnumerations") != kSkipEnumerations) {
    ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, key->c_str(), L"SkipEnumerations", REG_DWORD,
                      &kSkipEnumerations, sizeof kSkipEnumerations);
  }
}

}  // namespace q5480
