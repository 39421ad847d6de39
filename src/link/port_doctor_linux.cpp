// The port doctor on Linux: the device behind COM N, the console list, the
// device's owner and mode, other processes' open files and names, and the
// adapter's attributes in sysfs and in the udev database.
#include "link/port_doctor.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <system_error>

#include "link/device_access.h"
#include "link/process_table.h"
#include "link/sysfs_tty.h"

namespace q5480 {
namespace {

namespace fs = std::filesystem;

// The rule file that comes with the program: it gives the logged-in user the
// usual USB-serial adapters, keeps ModemManager off them and sets the FTDI
// adapter's latency timer.
constexpr const char* kUdevRuleRemedy =
    "or install the udev rule 60-q5480.rules that comes with the program "
    "(the Debian package installs it), ";

constexpr const char* kNotFoundKey = "The port does not exist";

std::string Com(int number) { return "COM" + std::to_string(number); }

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

std::string Named(const ProcessInfo& process) {
  return process.name + " (pid " + std::to_string(process.pid) + ")";
}

std::string GroupName(const PortDoctorEnvironment& env, unsigned id) {
  std::optional<std::string> name = env.groupName ? env.groupName(id) : std::nullopt;
  return name ? *name : "group " + std::to_string(id);
}

bool InGroups(const std::vector<UserGroup>& groups, unsigned id) {
  return std::any_of(groups.begin(), groups.end(),
                     [id](const UserGroup& group) { return group.id == id; });
}

fs::path Resolved(const fs::path& path) {
  std::error_code error;
  fs::path resolved = fs::canonical(path, error);
  return error ? path : resolved;
}

class Examination {
 public:
  Examination(int number, const PortDoctorEnvironment& env) : env_(env) {
    diagnosis_.number = number;
  }

  PortDiagnosis Run() {
    diagnosis_.device = ComDevicePath(diagnosis_.number, env_.ports);
    std::error_code error;
    if (!diagnosis_.device || !fs::exists(*diagnosis_.device, error)) {
      TellNotFound();
      return diagnosis_;
    }
    diagnosis_.resolved = Resolved(*diagnosis_.device);
    ttyEntry_ = env_.ports.sysfsRoot / "class/tty" / diagnosis_.resolved.filename();
    usbAdapter_ = UsbDeviceOf(ttyEntry_).has_value();
    // The console is refused as it stands: nothing more is looked at.
    if (IsConsole()) {
      Tell(PortProblem::Console, "The port is the system console and is never opened", "",
           {diagnosis_.resolved.string() + " is named in " + env_.ports.ConsoleList().string()},
           {"choose another port: q5480ctl ports lists those the program may open"});
      return diagnosis_;
    }
    const std::optional<DeviceOwnership> ownership = ReadOwnership(diagnosis_.resolved);
    if (!ownership) {
      TellNotFound();
      return diagnosis_;
    }
    CheckPermission(*ownership);
    CheckHolders();
    if (!IsCharacterDevice(*ownership)) {
      Tell(PortProblem::NotSerialDevice, "The port is not a serial device", "",
           {diagnosis_.resolved.string() + " is no device (" + ModeText(*ownership) + ")"},
           {"choose a port that q5480ctl ports lists"});
    }
    if (usbAdapter_) {
      CheckModemManager();
      CheckBrltty();
    }
    CheckLatencyTimer();
    return diagnosis_;
  }

 private:
  void Tell(PortProblem problem, std::string reasonKey, std::string detail,
            std::vector<std::string> facts, std::vector<std::string> remedies) {
    diagnosis_.findings.push_back(
        {problem, std::move(reasonKey), std::move(detail), std::move(facts), std::move(remedies)});
  }

  void TellNotFound() {
    const std::string com = Com(diagnosis_.number);
    const fs::path& ports = env_.ports.portsDirectory;
    if (!diagnosis_.device) {
      Tell(PortProblem::NotFound, kNotFoundKey, "",
           {com + " names no device: COM1-32 are /dev/ttyUSB0-31, COM33-64 /dev/ttyACM0-31, "
                  "COM65-96 /dev/ttyS0-31"},
           {"choose a port that q5480ctl ports lists" +
            (ports.empty()
                 ? std::string()
                 : ", or make " + (ports / ("com" + std::to_string(diagnosis_.number))).string() +
                       " a link to a device")});
      return;
    }
    const fs::path& device = *diagnosis_.device;
    std::error_code error;
    if (!ports.empty() && device.parent_path() == ports && fs::is_symlink(device, error)) {
      Tell(PortProblem::NotFound, kNotFoundKey, "",
           {device.string() + " leads to " + fs::read_symlink(device, error).string() +
            ", which does not exist"},
           {"start what the link stands for (q5480-module --com " +
            std::to_string(diagnosis_.number) + " makes such a link), or remove the link"});
      return;
    }
    Tell(PortProblem::NotFound, kNotFoundKey, "", {device.string() + " does not exist"},
         {"plug in the adapter, or choose a port that q5480ctl ports lists"});
    // brltty takes some adapters away as they are plugged in.
    const std::string name = device.filename().string();
    if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0) CheckBrltty();
  }

  bool IsConsole() const {
    std::ifstream list(env_.ports.ConsoleList());
    std::vector<fs::path> consoles = {env_.ports.devRoot / "console"};
    for (std::string name; list >> name;) consoles.push_back(env_.ports.devRoot / name);
    return std::any_of(consoles.begin(), consoles.end(), [&](const fs::path& console) {
      return Resolved(console) == diagnosis_.resolved;
    });
  }

  void CheckPermission(const DeviceOwnership& ownership) {
    std::vector<unsigned> groupIds;
    std::vector<std::string> groupNames;
    for (const UserGroup& group : env_.groups) {
      groupIds.push_back(group.id);
      groupNames.push_back(group.name);
    }
    if (MayReadAndWrite(diagnosis_.resolved, ownership, env_.userId, groupIds)) return;
    const std::string group = GroupName(env_, ownership.groupId);
    std::vector<std::string> facts = {
        diagnosis_.resolved.string() + " belongs to the group " + group + ", mode " +
            ModeText(ownership),
        "you (uid " + std::to_string(env_.userId) + ") are in the groups " + Joined(groupNames)};
    std::vector<std::string> remedies;
    std::string key = "Permission denied";
    std::string detail;
    if (GroupMayReadAndWrite(ownership) && InGroups(env_.accountGroups, ownership.groupId)) {
      // Joined since this session began: the next login takes the group.
      key = "Permission denied: log in again to join the group";
      detail = group;
      remedies.push_back("log in again (\"newgrp " + group +
                         "\" starts one shell in the group now)");
    } else if (GroupMayReadAndWrite(ownership)) {
      key = "Permission denied: you are not in the group";
      detail = group;
      remedies.push_back("sudo usermod -aG " + group + " $USER, then log in again");
    } else {
      remedies.push_back("only its owner may use it: ask for a group that may read and write it");
    }
    if (usbAdapter_) {
      remedies.push_back(std::string(kUdevRuleRemedy) +
                         "which gives the logged-in user the adapter");
    }
    Tell(PortProblem::NoPermission, key, detail, std::move(facts), std::move(remedies));
  }

  void CheckHolders() {
    const DeviceHolders holders = FindDeviceHolders(env_.procRoot, diagnosis_.resolved);
    diagnosis_.uninspectedProcesses = holders.uninspected;
    if (holders.processes.empty()) return;
    std::vector<std::string> names;
    std::vector<std::string> facts;
    std::vector<std::string> remedies;
    for (const ProcessInfo& process : holders.processes) {
      names.push_back(Named(process));
      facts.push_back(Named(process) + " has " + diagnosis_.resolved.string() + " open");
      remedies.push_back("close " + process.name +
                         ", or end it: " + (process.ownerId == env_.userId ? "" : "sudo ") +
                         "kill " + std::to_string(process.pid));
    }
    Tell(PortProblem::HeldByProgram, "The port is held by", Joined(names), std::move(facts),
         std::move(remedies));
  }

  // The udev database marks a device that ModemManager must leave alone.
  bool ModemManagerIgnoresDevice() const {
    const std::string numbers = ReadFirstWord(ttyEntry_ / "dev");  // "188:0"
    if (numbers.empty()) return false;
    std::ifstream data(env_.udevDataRoot / ("c" + numbers));
    for (std::string line; std::getline(data, line);) {
      if (line == "E:ID_MM_DEVICE_IGNORE=1") return true;
    }
    return false;
  }

  void CheckModemManager() {
    if (ModemManagerIgnoresDevice()) return;
    const std::vector<ProcessInfo> running = ProcessesNamed(env_.procRoot, "ModemManager");
    if (running.empty()) return;
    Tell(PortProblem::ModemManager, "ModemManager is running and may take the adapter", "",
         {Named(running.front()) +
          " sends modem commands to USB-serial adapters as they are plugged in"},
         {"sudo systemctl disable --now ModemManager, if no modem is used",
          std::string(kUdevRuleRemedy) + "which keeps ModemManager off the adapter"});
  }

  void CheckBrltty() {
    const std::vector<ProcessInfo> running = ProcessesNamed(env_.procRoot, "brltty");
    if (running.empty()) return;
    Tell(PortProblem::Brltty, "brltty is running and may take the adapter", "",
         {Named(running.front()) + " claims some USB-serial adapters for braille displays, "
                                   "and their port disappears"},
         {"sudo apt remove brltty, if no braille display is used"});
  }

  void CheckLatencyTimer() {
    const fs::path timer = ttyEntry_ / "device/latency_timer";
    const std::string text = ReadFirstWord(timer);
    int milliseconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), milliseconds);
    if (text.empty() || error != std::errc{} || milliseconds <= kAdapterLatencyMs) return;
    // The reason's key names the value.
    static_assert(kAdapterLatencyMs == 2);
    const std::string wanted = std::to_string(kAdapterLatencyMs);
    Tell(PortProblem::SlowAdapter, "The adapter's latency timer is above 2 ms:", text + " ms",
         {timer.string() + " reads " + text + ": the adapter holds received bytes up to " + text +
          " ms, and every exchange waits for them"},
         {"echo " + wanted + " | sudo tee " + timer.string() +
              "   (until the adapter is plugged in again)",
          std::string(kUdevRuleRemedy) + "which sets " + wanted + " ms whenever it is plugged in"});
  }

  const PortDoctorEnvironment& env_;
  PortDiagnosis diagnosis_;
  fs::path ttyEntry_;
  bool usbAdapter_ = false;
};

}  // namespace

PortDiagnosis DiagnosePort(int number, const PortDoctorEnvironment& env) {
  return Examination(number, env).Run();
}

}  // namespace q5480
