// The FTDI adapter's driver settings in the Windows registry: where they are
// for a COM number, and what they hold.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace q5480 {

// The settings key ("...\Device Parameters") of the FTDI 0403:6001 adapter
// whose port is COM `number`, below HKEY_LOCAL_MACHINE; nothing when no such
// adapter was ever installed.
std::optional<std::wstring> FtdiSettingsKey(int number);

// A DWORD value of a key below HKEY_LOCAL_MACHINE.
std::optional<DWORD> ReadMachineDword(const std::wstring& key, const wchar_t* name);

}  // namespace q5480
