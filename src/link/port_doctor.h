// What stands between the program and a serial port, found without opening
// it (port_doctor_linux.cpp reads sysfs, the device's owner and mode and the
// process table): for `q5480ctl doctor`, and for the reason told when a port
// does not open.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/port_list.h"

namespace q5480 {

// In the order a port's problems are told: those that keep it from opening
// come first.
enum class PortProblem {
  NotFound,         // no device behind the COM number
  Console,          // the system console, which is never opened
  NoPermission,     // the user may not both read and write the device
  HeldByProgram,    // another program has the device open
  NotSerialDevice,  // the name leads to something that is no device
  ModemManager,     // ModemManager runs and may probe the USB adapter
  Brltty,           // brltty runs and may claim the USB adapter
  SlowAdapter,      // the FTDI adapter's latency timer is above 2 ms
};

struct PortFinding {
  PortProblem problem = PortProblem::NotFound;
  // The reason in one sentence is the translation of this English key, then
  // a blank and `detail` when there is one, then ".".
  std::string reasonKey;
  // What the one-sentence reason ends with: a group ("dialout"), the
  // programs ("minicom (pid 4711)"), the latency ("16 ms"); often nothing.
  std::string detail;
  std::vector<std::string> facts;     // what was found, a line each
  std::vector<std::string> remedies;  // what mends it, a line each, the first the quickest
};

struct PortDiagnosis {
  int number = 0;
  std::optional<std::filesystem::path> device;  // what COM N names; nothing: no rule and no link
  std::filesystem::path resolved;               // where it leads, when it exists
  std::vector<PortFinding> findings;
  // Processes whose open files could not be looked into (other users'
  // without the right to): a holder among them stays unseen.
  int uninspectedProcesses = 0;

  bool Ready() const { return findings.empty(); }
  bool Has(PortProblem problem) const;
};

struct UserGroup {
  std::string name;
  unsigned id = 0;
};

// Where the doctor looks and who asks. Tests give a fake tree, process
// table and user.
struct PortDoctorEnvironment {
  PortEnvironment ports;
  std::filesystem::path procRoot = "/proc";
  std::filesystem::path udevDataRoot = "/run/udev/data";
  unsigned userId = 0;
  std::vector<UserGroup> groups;  // this session's, the primary one included
  // The groups the next login gets (the account database may have changed
  // since this session began); empty: not known.
  std::vector<UserGroup> accountGroups;
  // The name of any group; nothing: unknown (told by number then).
  std::function<std::optional<std::string>(unsigned id)> groupName;

  // The running user over `ports`.
  static PortDoctorEnvironment ForThisUser(PortEnvironment ports);
};

// Never opens the device: looks at names, owners, modes, sysfs attributes
// and other processes' open files only.
PortDiagnosis DiagnosePort(int number, const PortDoctorEnvironment& env);

}  // namespace q5480
