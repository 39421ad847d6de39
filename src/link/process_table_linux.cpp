#include "link/process_table.h"

#include <sys/stat.h>

#include <charconv>
#include <fstream>
#include <optional>
#include <system_error>

namespace q5480 {
namespace {

namespace fs = std::filesystem;

// A name of decimal digits only, as process ids and pseudo-terminal numbers are.
std::optional<int> DecimalName(const fs::path& path) {
  const std::string name = path.filename().string();
  int value = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), value);
  if (name.empty() || error != std::errc{} || end != name.data() + name.size()) return std::nullopt;
  return value;
}

// Calls `visit` for each entry of `folder`; entries come and go under /proc,
// so a failing step ends the walk instead of throwing. False when the folder
// cannot be listed, with the reason in `error`.
template <typename Visit>
bool ForEachEntry(const fs::path& folder, std::error_code& error, Visit visit) {
  fs::directory_iterator it(folder, error);
  if (error) return false;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    visit(it->path());
  }
  return true;
}

ProcessInfo DescribeProcess(const fs::path& entry, int pid) {
  ProcessInfo info;
  info.pid = pid;
  std::ifstream comm(entry / "comm");
  std::getline(comm, info.name);
  struct stat status {};
  if (::stat(entry.c_str(), &status) == 0) info.ownerId = status.st_uid;
  return info;
}

// The number of a pseudo-terminal's slave side ("/dev/pts/3": 3).
std::optional<int> PseudoTerminalIndex(const fs::path& device) {
  if (device.parent_path().filename() != "pts") return std::nullopt;
  return DecimalName(device);
}

// The slave's number of a master side open under `fd` ("tty-index:" in its fdinfo).
std::optional<int> MasterIndex(const fs::path& processEntry, const std::string& fd) {
  std::ifstream info(processEntry / "fdinfo" / fd);
  for (std::string key; info >> key;) {
    if (key != "tty-index:") continue;
    int index = -1;
    if (info >> index) return index;
  }
  return std::nullopt;
}

}  // namespace

DeviceHolders FindDeviceHolders(const fs::path& procRoot, const fs::path& device) {
  DeviceHolders found;
  const std::optional<int> ptyIndex = PseudoTerminalIndex(device);
  std::error_code error;
  ForEachEntry(procRoot, error, [&](const fs::path& process) {
    const std::optional<int> pid = DecimalName(process);
    if (!pid) return;
    bool holds = false;
    bool otherEnd = false;
    std::error_code listError;
    const bool listed = ForEachEntry(process / "fd", listError, [&](const fs::path& fd) {
      std::error_code linkError;
      const fs::path target = fs::read_symlink(fd, linkError);
      if (linkError) return;
      if (target == device) holds = true;
      if (ptyIndex && target.filename() == "ptmx" &&
          MasterIndex(process, fd.filename().string()) == ptyIndex) {
        otherEnd = true;
      }
    });
    // A process that ended meanwhile holds nothing; another user's may.
    if (!listed && listError == std::errc::permission_denied) ++found.uninspected;
    if (holds && !otherEnd) found.processes.push_back(DescribeProcess(process, *pid));
  });
  return found;
}

std::vector<ProcessInfo> ProcessesNamed(const fs::path& procRoot, std::string_view name) {
  std::vector<ProcessInfo> found;
  std::error_code error;
  ForEachEntry(procRoot, error, [&](const fs::path& process) {
    const std::optional<int> pid = DecimalName(process);
    if (!pid) return;
    ProcessInfo info = DescribeProcess(process, *pid);
    if (info.name == name) found.push_back(std::move(info));
  });
  return found;
}

}  // namespace q5480
