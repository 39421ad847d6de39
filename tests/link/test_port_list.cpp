// COM numbering, the port list and the adapter tuning against a fake sysfs
// tree and ports folder.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/scratch_directory.h"
#include "link/port_list.h"

namespace q5480 {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  std::string text;
  std::getline(in, text);
  return text;
}

class PortListTest : public ::testing::Test {
 protected:
  PortListTest() {
    env_.sysfsRoot = scratch_ / "sys";
    env_.devRoot = "/dev";
    env_.portsDirectory = scratch_ / "ports";
    fs::create_directories(env_.portsDirectory);
    WriteFile(Tty("console") / "active", "tty0 ttyS0\n");
    AddUsbTty("ttyUSB0", "1-1", "0403", "6001", "FTDI");
    AddUsbTty("ttyUSB1", "1-2", "067b", "2303", "");
    AddUsbTty("ttyACM0", "1-3", "2341", "0043", "Arduino (www.arduino.cc)");
    AddUart("ttyS0", "4");  // the console
    AddUart("ttyS1", "4");
    AddUart("ttyS2", "0");  // a slot without a UART
    fs::create_directories(Tty("tty0"));
    fs::create_directories(Tty("ptmx"));
  }

  fs::path Tty(const std::string& name) const { return env_.sysfsRoot / "class/tty" / name; }

  // A USB adapter: the tty's device lies two levels below the USB device.
  void AddUsbTty(const std::string& name, const std::string& usb, const std::string& vendor,
                 const std::string& product, const std::string& maker) {
    fs::path usbDir = env_.sysfsRoot / "devices/usb1" / usb;
    fs::path port = usbDir / (usb + ":1.0") / name;
    WriteFile(usbDir / "idVendor", vendor + "\n");
    WriteFile(usbDir / "idProduct", product + "\n");
    if (!maker.empty()) WriteFile(usbDir / "manufacturer", maker + "\n");
    WriteFile(port / "latency_timer", "16\n");
    fs::create_directories(Tty(name));
    fs::create_directory_symlink(port, Tty(name) / "device");
  }

  void AddUart(const std::string& name, const std::string& type) {
    WriteFile(Tty(name) / "type", type + "\n");
  }

  test_support::ScratchDirectory scratch_;
  PortEnvironment env_;
};

TEST_F(PortListTest, ComNumbersFollowTheRuleUnlessAPortsFolderLinkWins) {
  fs::create_symlink("/dev/pts/4", env_.portsDirectory / "com2");
  struct Case {
    int number;
    std::optional<fs::path> device;
  };
  const Case cases[] = {
      {1, "/dev/ttyUSB0"},  {32, "/dev/ttyUSB31"}, {33, "/dev/ttyACM0"}, {64, "/dev/ttyACM31"},
      {65, "/dev/ttyS0"},   {96, "/dev/ttyS31"},   {97, std::nullopt},   {0, std::nullopt},
      {2, env_.portsDirectory / "com2"},
  };
  for (const Case& c : cases) EXPECT_EQ(ComDevicePath(c.number, env_), c.device) << c.number;
}

TEST_F(PortListTest, ListsRealPortsByNumberWithoutTheConsole) {
  EXPECT_EQ(ListPorts(env_), (std::vector<std::string>{
                                 "COM 1  /dev/ttyUSB0  FTDI 0403:6001",
                                 "COM 2  /dev/ttyUSB1  067b:2303",
                                 "COM33  /dev/ttyACM0  Arduino (www.arduino.cc) 2341:0043",
                                 "COM66  /dev/ttyS1",
                             }));
}

TEST_F(PortListTest, PortsFolderLinksJoinTheListAndWin) {
  fs::create_symlink("/dev/pts/3", env_.portsDirectory / "com2");
  fs::create_symlink("/dev/pts/9", env_.portsDirectory / "com12");
  fs::create_symlink("/dev/pts/5", env_.portsDirectory / "com100");  // no two-digit number
  WriteFile(env_.portsDirectory / "notes.txt", "x");
  EXPECT_EQ(ListPorts(env_), (std::vector<std::string>{
                                 "COM 1  /dev/ttyUSB0  FTDI 0403:6001",
                                 "COM 2  /dev/pts/3",
                                 "COM12  /dev/pts/9",
                                 "COM33  /dev/ttyACM0  Arduino (www.arduino.cc) 2341:0043",
                                 "COM66  /dev/ttyS1",
                             }));
}

TEST_F(PortListTest, MissingTreesGiveAnEmptyList) {
  env_.sysfsRoot = scratch_ / "nothing";
  env_.portsDirectory = scratch_ / "nothing/ports";
  EXPECT_TRUE(ListPorts(env_).empty());
}

TEST(PortEntryTest, NumberComesFromCharactersFourAndFive) {
  struct Case {
    const char* entry;
    std::optional<int> number;
  };
  const Case cases[] = {
      {"COM 9  /dev/ttyUSB8", 9}, {"COM10  /dev/ttyUSB9", 10}, {"COM66  /dev/ttyS1", 66},
      {"COM 1", 1},               {"COM", std::nullopt},       {"COMab  x", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(EntryPortNumber(c.entry), c.number) << c.entry;

  const std::vector<std::string> entries = {"COM 9  /dev/ttyUSB8", "COM10  /dev/ttyUSB9"};
  EXPECT_EQ(FindPortEntry(entries, 9), 0u);
  EXPECT_EQ(FindPortEntry(entries, 10), 1u);
  EXPECT_EQ(FindPortEntry(entries, 1), std::nullopt);
}

TEST_F(PortListTest, TuningSetsTheLatencyOfFtdiAdaptersOnly) {
  // The device nodes of the fake tree are plain files.
  env_.devRoot = scratch_ / "dev";
  WriteFile(env_.devRoot / "ttyUSB0", "");
  WriteFile(env_.devRoot / "ttyUSB1", "");
  TuneAdapter(env_.devRoot / "ttyUSB0", env_);
  TuneAdapter(env_.devRoot / "ttyUSB1", env_);
  TuneAdapter(env_.devRoot / "ttyUSB7", env_);  // absent: ignored
  EXPECT_EQ(ReadFile(Tty("ttyUSB0") / "device/latency_timer"), "2");
  EXPECT_EQ(ReadFile(Tty("ttyUSB1") / "device/latency_timer"), "16");
}

}  // namespace
}  // namespace q5480
