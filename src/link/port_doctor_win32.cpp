// The port doctor on Windows: whether the system knows COM N, and the FTDI
// adapter's latency timer when writing it was refused. Who holds a port
// cannot be seen without opening it.
#include <windows.h>

#include "config/path_text.h"
#include "link/adapter_registry_win32.h"
#include "link/port_doctor.h"

namespace q5480 {
namespace {

namespace fs = std::filesystem;

std::string Com(int number) { return "COM" + std::to_string(number); }

// What the system's device name COM N stands for; nothing when it has none.
std::optional<fs::path> DosDeviceTarget(int number) {
  wchar_t target[1024];
  const std::wstring name = L"COM" + std::to_wstring(number);
  if (::QueryDosDeviceW(name.c_str(), target, static_cast<DWORD>(std::size(target))) == 0) {
    return std::nullopt;
  }
  return fs::path(target);
}

void CheckLatencyTimer(PortDiagnosis& diagnosis) {
  const std::optional<std::wstring> key = FtdiSettingsKey(diagnosis.number);
  if (!key) return;
  const std::optional<DWORD> latency = ReadMachineDword(*key, L"LatencyTimer");
  if (!latency || *latency <= static_cast<DWORD>(kAdapterLatencyMs)) return;
  // The reason's key names the value.
  static_assert(kAdapterLatencyMs == 2);
  const std::string text = std::to_string(*latency);
  diagnosis.findings.push_back(
      {PortProblem::SlowAdapter,
       "The adapter's latency timer is above 2 ms:",
       text + " ms",
       {"HKEY_LOCAL_MACHINE\\" + Utf8FromPath(fs::path(*key)) + "\\LatencyTimer reads " + text +
            ": the adapter holds received bytes up to " + text +
            " ms, and every exchange waits for them",
        "opening the port sets it to 2 where the user may write the driver's settings (an "
        "administrator may); it was not opened so since, or the write was refused"},
       {"open the port once as an administrator (q5480ctl identify --port " +
            std::to_string(diagnosis.number) + " in an administrator's console)",
        "or set Device Manager > Ports > the adapter > Port Settings > Advanced > Latency Timer "
        "to 2 ms"}});
}

}  // namespace

PortDoctorEnvironment PortDoctorEnvironment::ForThisUser(PortEnvironment ports) {
  PortDoctorEnvironment env;
  env.ports = std::move(ports);
  return env;
}

PortDiagnosis DiagnosePort(int number, const PortDoctorEnvironment& env) {
  PortDiagnosis diagnosis;
  diagnosis.number = number;
  diagnosis.device = ComDevicePath(number, env.ports);
  const std::optional<fs::path> target = diagnosis.device ? DosDeviceTarget(number) : std::nullopt;
  if (!target) {
    diagnosis.findings.push_back(
        {PortProblem::NotFound,
         "The port does not exist",
         "",
         {diagnosis.device ? Com(number) + " is not among the system's devices"
                           : Com(number) + " names no device: COM numbers run from 1 to 255"},
         {"plug in the adapter, or choose a port that q5480ctl ports lists"}});
    return diagnosis;
  }
  diagnosis.resolved = *target;
  CheckLatencyTimer(diagnosis);
  return diagnosis;
}

}  // namespace q5480
