// The port list on Linux: ttys from sysfs, COM numbers by the device
// families, the ports folder's links, and the FTDI adapter's latency timer.
#include "link/port_list.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <system_error>

#include "link/sysfs_tty.h"

namespace q5480 {
namespace {

namespace fs = std::filesystem;

struct Family {
  const char* prefix;
  int firstCom;
};
constexpr Family kFamilies[] = {{"ttyUSB", 1}, {"ttyACM", 33}, {"ttyS", 65}};
constexpr int kPortsPerFamily = 32;
constexpr int kLargestListedCom = 99;  // the list entry holds two digits

// COM number of a tty name by the rule, or nothing.
std::optional<int> RuleNumber(const std::string& tty) {
  for (const Family& family : kFamilies) {
    std::string prefix = family.prefix;
    if (tty.rfind(prefix, 0) != 0) continue;
    std::optional<int> index = ParseComNumber(tty.substr(prefix.size()));
    if (index && *index < kPortsPerFamily) return family.firstCom + *index;
    return std::nullopt;
  }
  return std::nullopt;
}

std::set<std::string> ConsoleNames(const PortEnvironment& env) {
  std::set<std::string> names;
  std::ifstream in(env.ConsoleList());
  std::string name;
  while (in >> name) names.insert(name);
  return names;
}

std::string VendorText(const fs::path& ttyEntry) {
  std::optional<fs::path> usb = UsbDeviceOf(ttyEntry);
  if (!usb) return {};
  std::string maker;
  std::ifstream in(*usb / "manufacturer");
  std::getline(in, maker);
  std::string ids = ReadFirstWord(*usb / "idVendor") + ":" + ReadFirstWord(*usb / "idProduct");
  return maker.empty() ? ids : maker + " " + ids;
}

bool IsRealDevice(const fs::path& ttyEntry, const std::string& name) {
  std::error_code error;
  if (name.rfind("ttyS", 0) == 0) {
    // Legacy 8250 slots exist without hardware; their UART type reads 0.
    std::string type = ReadFirstWord(ttyEntry / "type");
    return !type.empty() && type != "0";
  }
  return fs::exists(ttyEntry / "device", error);
}

std::string Entry(int number, const std::string& device, const std::string& vendor) {
  std::string entry =
      number < 10 ? "COM " + std::to_string(number) : "COM" + std::to_string(number);
  entry += "  " + device;
  if (!vendor.empty()) entry += "  " + vendor;
  return entry;
}

}  // namespace

PortEnvironment PortEnvironment::OnlyLinksIn(const fs::path& folder) {
  return {false, folder / "no-sysfs", folder / "no-dev", folder};
}

fs::path PortEnvironment::ConsoleList() const { return sysfsRoot / "class/tty/console/active"; }

std::optional<fs::path> ComDevicePath(int number, const PortEnvironment& env) {
  std::error_code error;
  if (!env.portsDirectory.empty()) {
    fs::path link = env.portsDirectory / ("com" + std::to_string(number));
    if (fs::is_symlink(link, error) || fs::exists(link, error)) return link;
  }
  for (const Family& family : kFamilies) {
    int index = number - family.firstCom;
    if (index >= 0 && index < kPortsPerFamily) {
      return env.devRoot / (family.prefix + std::to_string(index));
    }
  }
  return std::nullopt;
}

std::vector<std::string> ListPorts(const PortEnvironment& env) {
  std::map<int, std::string> byNumber;
  std::set<std::string> console = ConsoleNames(env);
  std::error_code error;
  for (const auto& item : fs::directory_iterator(env.sysfsRoot / "class/tty", error)) {
    std::string name = item.path().filename().string();
    std::optional<int> number = RuleNumber(name);
    if (!number || console.count(name) || !IsRealDevice(item.path(), name)) continue;
    byNumber[*number] = Entry(*number, (env.devRoot / name).string(), VendorText(item.path()));
  }
  // Without a ports folder the iterator fails at once and lists nothing.
  for (const auto& item : fs::directory_iterator(env.portsDirectory, error)) {
    std::string name = item.path().filename().string();
    if (name.rfind("com", 0) != 0) continue;
    std::optional<int> number = ParseComNumber(name.substr(3));
    if (!number || *number < 1 || *number > kLargestListedCom) continue;
    std::error_code linkError;
    fs::path target = fs::read_symlink(item.path(), linkError);
    byNumber[*number] = Entry(*number, (linkError ? item.path() : target).string(), "");
  }
  std::vector<std::string> entries;
  for (auto& [number, entry] : byNumber) entries.push_back(std::move(entry));
  return entries;
}

void TuneAdapter(const fs::path& device, const PortEnvironment& env) {
  std::error_code error;
  fs::path resolved = fs::canonical(device, error);
  if (error) return;
  fs::path entry = env.sysfsRoot / "class/tty" / resolved.filename();
  std::optional<fs::path> usb = UsbDeviceOf(entry);
  if (!usb || ReadFirstWord(*usb / "idVendor") != "0403" ||
      ReadFirstWord(*usb / "idProduct") != "6001") {
    return;
  }
  fs::path latency = entry / "device/latency_timer";
  const std::string wanted = std::to_string(kAdapterLatencyMs);
  if (ReadFirstWord(latency) == wanted) return;
  std::ofstream out(latency);
  out << wanted << "\n";
}

}  // namespace q5480
