// The port doctor against a fake sysfs, device folder, process table, udev
// database and user, and against a pseudo-terminal that is ready. Device
// nodes of the fake tree are plain files with a chosen mode.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "emulator/pty_line.h"
#include "link/port_doctor.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

namespace fs = std::filesystem;
using P = PortProblem;

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

std::vector<P> Problems(const PortDiagnosis& diagnosis) {
  std::vector<P> problems;
  for (const PortFinding& finding : diagnosis.findings) problems.push_back(finding.problem);
  return problems;
}

bool AnyLineHas(const std::vector<std::string>& lines, const std::string& part) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return line.find(part) != std::string::npos; });
}

// The tree: COM1 an FTDI adapter whose latency timer has the driver's 16 ms,
// COM65 the console, COM66 a serial port on the board. The nodes' group
// stands for dialout; the user owns none of them and is only in "users".
class FakeSystem {
 public:
  FakeSystem() {
    env.ports.sysfsRoot = scratch / "sys";
    env.ports.devRoot = scratch / "dev";
    env.ports.portsDirectory = scratch / "ports";
    env.procRoot = scratch / "proc";
    env.udevDataRoot = scratch / "udev";
    fs::create_directories(env.ports.portsDirectory);
    fs::create_directories(env.procRoot);
    WriteFile(Tty("console") / "active", "tty0 ttyS0\n");
    const fs::path usb = env.ports.sysfsRoot / "devices/usb1/1-1";
    WriteFile(usb / "idVendor", "0403\n");
    WriteFile(usb / "idProduct", "6001\n");
    WriteFile(usb / "1-1:1.0/ttyUSB0/latency_timer", "16\n");
    WriteFile(Tty("ttyUSB0") / "dev", "188:0\n");
    fs::create_directory_symlink(usb / "1-1:1.0/ttyUSB0", Tty("ttyUSB0") / "device");
    WriteFile(Tty("ttyS0") / "type", "4\n");
    WriteFile(Tty("ttyS1") / "type", "4\n");
    Node("ttyUSB0", 0660);
    Node("ttyS0", 0600);
    Node("ttyS1", 0660);
    struct stat status {};
    EXPECT_EQ(::stat(Dev("ttyUSB0").c_str(), &status), 0);
    dialout = status.st_gid;
    env.userId = status.st_uid + 1000;
    const unsigned users = dialout + 1;
    env.groups = {{"users", users}};
    env.groupName = [dialoutId = dialout, users](unsigned id) -> std::optional<std::string> {
      if (id == dialoutId) return "dialout";
      if (id == users) return "users";
      return std::nullopt;
    };
  }

  fs::path Tty(const std::string& name) const { return env.ports.sysfsRoot / "class/tty" / name; }
  fs::path Dev(const std::string& name) const { return env.ports.devRoot / name; }
  fs::path Link(int port) const {
    return env.ports.portsDirectory / ("com" + std::to_string(port));
  }

  void Node(const std::string& name, unsigned mode) {
    WriteFile(Dev(name), "");
    fs::permissions(Dev(name), static_cast<fs::perms>(mode));
  }

  // A process `name` whose descriptor 3 leads to `target`, when given.
  void Process(int pid, const std::string& name, const fs::path& target = {}) {
    const fs::path entry = env.procRoot / std::to_string(pid);
    WriteFile(entry / "comm", name + "\n");
    fs::create_directories(entry / "fd");
    if (!target.empty()) fs::create_symlink(fs::weakly_canonical(target), entry / "fd/3");
  }

  void JoinDialout() { env.groups.push_back({"dialout", dialout}); }
  void SetLatency(const std::string& milliseconds) {
    WriteFile(env.ports.sysfsRoot / "devices/usb1/1-1/1-1:1.0/ttyUSB0/latency_timer", milliseconds);
  }

  test_support::ScratchDirectory scratch;
  PortDoctorEnvironment env;
  unsigned dialout = 0;
};

TEST(PortDoctorTest, NamesEachCauseOnAFakeTree) {
  const struct Case {
    const char* what;
    std::function<void(FakeSystem&)> arrange;
    int port;
    std::vector<P> problems;
  } cases[] = {
      {"an adapter not plugged in", [](FakeSystem&) {}, 2, {P::NotFound}},
      {"brltty took it",
       [](FakeSystem& s) { s.Process(40, "brltty"); },
       2,
       {P::NotFound, P::Brltty}},
      {"a number without a rule", [](FakeSystem&) {}, 200, {P::NotFound}},
      {"a link that leads nowhere",
       [](FakeSystem& s) { fs::create_symlink(s.scratch / "gone", s.Link(9)); },
       9,
       {P::NotFound}},
      // Its mode alone would refuse the user: nothing but the console is
      // looked at.
      {"the console",
       [](FakeSystem& s) { s.Process(41, "agetty", s.Dev("ttyS0")); },
       65,
       {P::Console}},
      {"the console through a link",
       [](FakeSystem& s) { fs::create_symlink(s.Dev("ttyS0"), s.Link(9)); },
       9,
       {P::Console}},
      {"a user outside dialout", [](FakeSystem&) {}, 66, {P::NoPermission, P::NotSerialDevice}},
      {"a user in dialout", [](FakeSystem& s) { s.JoinDialout(); }, 66, {P::NotSerialDevice}},
      {"the owner only",
       [](FakeSystem& s) {
         s.JoinDialout();
         s.Node("ttyS1", 0600);
       },
       66,
       {P::NoPermission, P::NotSerialDevice}},
      {"open to everyone", [](FakeSystem& s) { s.Node("ttyS1", 0666); }, 66, {P::NotSerialDevice}},
      {"held by a terminal program",
       [](FakeSystem& s) {
         s.JoinDialout();
         s.Process(42, "minicom", s.Dev("ttyS1"));
         s.Process(43, "agetty", s.Dev("ttyS0"));
       },
       66,
       {P::HeldByProgram, P::NotSerialDevice}},
      {"held, through the ports folder's link",
       [](FakeSystem& s) {
         s.JoinDialout();
         fs::create_symlink(s.Dev("ttyS1"), s.Link(9));
         s.Process(42, "minicom", s.Dev("ttyS1"));
       },
       9,
       {P::HeldByProgram, P::NotSerialDevice}},
      {"ModemManager beside a board's port",
       [](FakeSystem& s) {
         s.JoinDialout();
         s.Process(44, "ModemManager");
       },
       66,
       {P::NotSerialDevice}},
      {"ModemManager holding the adapter",
       [](FakeSystem& s) {
         s.JoinDialout();
         s.Process(44, "ModemManager", s.Dev("ttyUSB0"));
       },
       1,
       {P::HeldByProgram, P::NotSerialDevice, P::ModemManager, P::SlowAdapter}},
      {"ModemManager told by udev to leave the adapter alone",
       [](FakeSystem& s) {
         s.JoinDialout();
         s.Process(44, "ModemManager");
         WriteFile(s.env.udevDataRoot / "c188:0", "E:ID_VENDOR_ID=0403\nE:ID_MM_DEVICE_IGNORE=1\n");
       },
       1,
       {P::NotSerialDevice, P::SlowAdapter}},
      {"brltty beside the adapter",
       [](FakeSystem& s) {
         s.JoinDialout();
         s.Process(45, "brltty");
       },
       1,
       {P::NotSerialDevice, P::Brltty, P::SlowAdapter}},
      {"a tuned adapter",
       [](FakeSystem& s) {
         s.JoinDialout();
         s.SetLatency("2\n");
       },
       1,
       {P::NotSerialDevice}},
      {"everything at once on the adapter",
       [](FakeSystem& s) { s.Process(46, "ModemManager", s.Dev("ttyUSB0")); },
       1,
       {P::NoPermission, P::HeldByProgram, P::NotSerialDevice, P::ModemManager, P::SlowAdapter}},
  };
  for (const Case& c : cases) {
    FakeSystem system;
    // A descriptor that is no path, and a folder that is no process, are passed over.
    system.Process(47, "cat");
    fs::create_symlink("pipe:[4711]", system.env.procRoot / "47/fd/0");
    fs::create_directories(system.env.procRoot / "self/fd");
    c.arrange(system);
    EXPECT_EQ(Problems(DiagnosePort(c.port, system.env)), c.problems) << c.what;
  }
}

TEST(PortDoctorTest, TellsWhatWasFoundAndWhatMendsIt) {
  FakeSystem s;
  s.Process(44, "ModemManager", s.Dev("ttyUSB0"));
  const PortDiagnosis adapter = DiagnosePort(1, s.env);
  ASSERT_EQ(adapter.findings.size(), 5u);
  EXPECT_EQ(adapter.device, s.Dev("ttyUSB0"));

  const PortFinding& permission = adapter.findings[0];
  EXPECT_EQ(permission.reasonKey, "Permission denied: you are not in the group");
  EXPECT_EQ(permission.detail, "dialout");
  EXPECT_TRUE(AnyLineHas(permission.facts, "group dialout, mode -rw-rw----"))
      << permission.facts[0];
  EXPECT_TRUE(AnyLineHas(permission.facts, "are in the groups users"));
  EXPECT_EQ(permission.remedies.at(0), "sudo usermod -aG dialout $USER, then log in again");
  EXPECT_TRUE(AnyLineHas(permission.remedies, "udev rule 60-q5480.rules"));

  const PortFinding& held = adapter.findings[1];
  EXPECT_EQ(held.detail, "ModemManager (pid 44)");
  // The fake process belongs to the test's user, not to the one asking.
  EXPECT_TRUE(AnyLineHas(held.remedies, "sudo kill 44"));

  const PortFinding& latency = adapter.findings[4];
  EXPECT_EQ(latency.detail, "16 ms");
  const fs::path timer = s.Tty("ttyUSB0") / "device/latency_timer";
  EXPECT_EQ(latency.remedies.at(0).rfind("echo 2 | sudo tee " + timer.string(), 0), 0u)
      << latency.remedies[0];

  // Joined the group since this session began: only a new login is missing.
  s.env.accountGroups = {{"users", s.dialout + 1}, {"dialout", s.dialout}};
  const PortFinding again = DiagnosePort(1, s.env).findings.at(0);
  EXPECT_EQ(again.reasonKey, "Permission denied: log in again to join the group");
  EXPECT_EQ(again.detail, "dialout");
  EXPECT_TRUE(AnyLineHas(again.remedies, "newgrp dialout"));

  // A port on the board: no udev rule to offer, and a group the owner keeps to himself.
  s.Node("ttyS1", 0600);
  const PortFinding ownerOnly = DiagnosePort(66, s.env).findings.at(0);
  EXPECT_EQ(ownerOnly.reasonKey, "Permission denied");
  EXPECT_EQ(ownerOnly.detail, "");
  EXPECT_FALSE(AnyLineHas(ownerOnly.remedies, "udev"));
}

// The logged-in user's entry that a udev "uaccess" tag adds opens the
// adapter to someone outside dialout; a mask can take it away again.
TEST(PortDoctorTest, AnAccessControlListGrantsWhatTheModeDoesNot) {
  FakeSystem s;
  const auto setAcl = [&](unsigned userPermissions, unsigned mask) {
    // version 2; owner, the user, the owning group, mask, others
    const std::uint32_t self = 0xFFFFFFFF;
    const std::vector<std::array<std::uint32_t, 3>> entries = {
        {0x01, 6, self},
        {0x02, userPermissions, s.env.userId},
        {0x04, 6, self},
        {0x10, mask, self},
        {0x20, 0, self}};
    std::string blob = {2, 0, 0, 0};
    for (const auto& [tag, permissions, id] : entries) {
      for (std::uint32_t value : {tag, permissions}) blob += {char(value & 0xFF), char(value >> 8)};
      for (int shift = 0; shift < 32; shift += 8) blob += char(id >> shift & 0xFF);
    }
    return ::setxattr(s.Dev("ttyUSB0").c_str(), "system.posix_acl_access", blob.data(), blob.size(),
                      0) == 0;
  };
  if (!setAcl(6, 6)) GTEST_SKIP() << "the file system keeps no access control lists";
  EXPECT_FALSE(DiagnosePort(1, s.env).Has(P::NoPermission));
  ASSERT_TRUE(setAcl(6, 4));
  EXPECT_TRUE(DiagnosePort(1, s.env).Has(P::NoPermission));
  ASSERT_TRUE(setAcl(4, 6));
  EXPECT_TRUE(DiagnosePort(1, s.env).Has(P::NoPermission));
}

// A pseudo-terminal's slave held by the process that has its master open is
// the line's other end (the emulated module), not a program in the way.
TEST(PortDoctorTest, APseudoTerminalsOtherEndDoesNotHoldIt) {
  FakeSystem s;
  s.Node("pts/5", 0660);
  s.JoinDialout();
  fs::create_symlink(s.Dev("pts/5"), s.Link(9));
  const auto process = [&](int pid, int masterIndex) {
    s.Process(pid, "q5480-module", s.Dev("pts/5"));
    fs::create_symlink("/dev/ptmx", s.env.procRoot / std::to_string(pid) / "fd/4");
    WriteFile(s.env.procRoot / std::to_string(pid) / "fdinfo/4",
              "pos:\t0\nflags:\t02100002\nmnt_id:\t23\nino:\t89\ntty-index:\t" +
                  std::to_string(masterIndex) + "\n");
  };
  process(50, 5);
  EXPECT_FALSE(DiagnosePort(9, s.env).Has(P::HeldByProgram));
  process(51, 6);
  const PortDiagnosis held = DiagnosePort(9, s.env);
  ASSERT_TRUE(held.Has(P::HeldByProgram));
  EXPECT_EQ(held.findings[0].detail, "q5480-module (pid 51)");
}

// The doctor looks and never opens: no device node of the tree is opened,
// whatever it finds.
TEST(PortDoctorTest, OpensNoDevice) {
  FakeSystem s;
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(::inotify_add_watch(watch, s.env.ports.devRoot.c_str(), IN_OPEN), 0);
  s.Process(44, "ModemManager", s.Dev("ttyUSB0"));
  for (int port : {1, 2, 65, 66}) DiagnosePort(port, s.env);
  s.JoinDialout();
  for (int port : {1, 2, 65, 66}) DiagnosePort(port, s.env);
  char events[4096];
  EXPECT_LT(::read(watch, events, sizeof events), 0) << "a device was opened";
  ::close(watch);
}

// The emulated module's line, with the running user, the real process table
// (where this process holds both ends) and no sysfs entry: ready.
TEST(PortDoctorOnALine, APseudoTerminalOfTheEmulatorIsReady) {
  test_support::ScratchDirectory scratch;
  PtyLine line;
  fs::create_directories(scratch / "ports");
  fs::create_symlink(line.SlavePath(), scratch / "ports/com9");
  PortEnvironment ports = PortEnvironment::OnlyLinksIn(scratch / "ports");
  const PortDiagnosis diagnosis = DiagnosePort(9, PortDoctorEnvironment::ForThisUser(ports));
  EXPECT_TRUE(diagnosis.Ready()) << diagnosis.findings.at(0).reasonKey;
  EXPECT_EQ(diagnosis.resolved, fs::path(line.SlavePath()));
}

}  // namespace
}  // namespace q5480
