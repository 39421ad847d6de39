// The serial port itself (input marks of line errors, the console that is
// never opened, waits that the abort signal ends, a device that goes away)
// and the ports by COM number against a fake sysfs tree and ports folder.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "emulator/pty_line.h"
#include "link/port_list.h"
#include "link/serial_port.h"
#include "link/termios_marked_input.h"
#include "support/scratch_directory.h"
#include "support/wait_until.h"

namespace q5480 {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

TEST(TermiosMarkedInputTest, DecodesDoubledBytesAndErrorMarks) {
  using R = TermiosMarkedInput::Result;
  const struct {
    std::vector<std::uint8_t> raw;
    std::vector<R> results;
    std::uint8_t data;  // decoded (a line error decodes nothing)
  } cases[] = {
      {{0x41}, {R::Data}, 0x41},
      {{0x00}, {R::Data}, 0x00},
      {{0xFF, 0xFF}, {R::Pending, R::Data}, 0xFF},                      // doubled data byte
      {{0xFF, 0x00, 0x00}, {R::Pending, R::Pending, R::LineError}, 0},  // break
      {{0xFF, 0x00, 0x41}, {R::Pending, R::Pending, R::LineError}, 0},  // damaged byte
      {{0xFF, 0x12}, {R::Pending, R::LineError}, 0},                    // unknown mark
  };
  for (const auto& c : cases) {
    TermiosMarkedInput input;
    std::uint8_t data = 0;
    for (std::size_t i = 0; i < c.raw.size(); ++i) {
      EXPECT_EQ(input.Feed(c.raw[i], data), c.results[i]) << int(c.raw[0]) << ", byte " << i;
    }
    EXPECT_EQ(data, c.data);
    EXPECT_FALSE(input.Pending());
  }
}

class SerialPortTest : public ::testing::Test {
 protected:
  SerialPortTest() { std::ofstream(consoleList_) << "tty0\n"; }
  void OpenAt4800() {
    ASSERT_TRUE(port_.Open(line_->SlavePath(), consoleList_));
    ASSERT_TRUE(port_.SetLine(4800));
  }

  test_support::ScratchDirectory scratch_;
  std::filesystem::path consoleList_ = scratch_ / "active";
  AbortSignal abort_;
  std::unique_ptr<PtyLine> line_ = std::make_unique<PtyLine>();
  SerialPort port_{abort_};
  const std::uint8_t byte_ = 0x55;
};

TEST_F(SerialPortTest, TheConsoleIsNeverOpenedAndAPortOpensOnlyOnce) {
  const std::string pts = line_->SlavePath().substr(std::string("/dev/").size());
  std::ofstream(consoleList_) << "tty0 " << pts << "\n";
  std::filesystem::create_symlink(line_->SlavePath(), scratch_ / "com3");
  EXPECT_FALSE(port_.Open(line_->SlavePath(), consoleList_));
  EXPECT_FALSE(port_.Open(scratch_ / "com3", consoleList_)) << "nor through a link";

  std::ofstream(consoleList_) << "tty0\n";
  SerialPort second(abort_);
  ASSERT_TRUE(port_.Open(line_->SlavePath(), consoleList_));
  EXPECT_FALSE(second.Open(line_->SlavePath(), consoleList_));
  port_.Close();
  EXPECT_TRUE(second.Open(line_->SlavePath(), consoleList_));
}

TEST_F(SerialPortTest, AbortEndsAReadAtOnceAndFailsEveryCallWhileSet) {
  OpenAt4800();
  EXPECT_EQ(port_.ReadByte(milliseconds(50)).result, PortResult::TimedOut);
  std::thread aborter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    abort_.Set();
  });
  const auto start = Clock::now();
  EXPECT_EQ(port_.ReadByte(milliseconds(60000)).result, PortResult::Aborted);
  EXPECT_LT(Clock::now() - start, test_support::kGenerousBound);
  aborter.join();
  EXPECT_EQ(port_.Write(&byte_, 1, milliseconds(100)), PortResult::Aborted);
  EXPECT_EQ(port_.WaitForInput(milliseconds(100)), PortResult::Aborted);
  EXPECT_FALSE(abort_.Sleep(std::chrono::minutes(1)));
  abort_.Clear();
  EXPECT_EQ(port_.Write(&byte_, 1, milliseconds(100)), PortResult::Ok);
}

TEST_F(SerialPortTest, ADeviceThatGoesAwayIsLostForGoodAtOnce) {
  OpenAt4800();
  line_.reset();  // the other end is gone, as when an adapter is pulled
  EXPECT_EQ(port_.ReadByte(milliseconds(60000)).result, PortResult::Lost);
  EXPECT_TRUE(port_.Lost());
  EXPECT_EQ(port_.Write(&byte_, 1, milliseconds(100)), PortResult::Lost);
  EXPECT_EQ(port_.WaitForInput(milliseconds(60000)), PortResult::Lost);
  EXPECT_EQ(port_.SettleLine(std::chrono::milliseconds(20), std::chrono::minutes(1)),
            PortResult::Lost);
}

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
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
    WriteFile(Tty("ttyS0") / "type", "4\n");  // the console
    WriteFile(Tty("ttyS1") / "type", "4\n");
    WriteFile(Tty("ttyS2") / "type", "0\n");  // a slot without a UART
    fs::create_directories(Tty("tty0"));
  }

  fs::path Tty(const std::string& name) const { return env_.sysfsRoot / "class/tty" / name; }

  // A USB adapter: the tty's device lies two levels below the USB device.
  void AddUsbTty(const std::string& name, const std::string& usb, const std::string& vendor,
                 const std::string& product, const std::string& maker) {
    const fs::path usbDir = env_.sysfsRoot / "devices/usb1" / usb;
    const fs::path port = usbDir / (usb + ":1.0") / name;
    WriteFile(usbDir / "idVendor", vendor + "\n");
    WriteFile(usbDir / "idProduct", product + "\n");
    if (!maker.empty()) WriteFile(usbDir / "manufacturer", maker + "\n");
    WriteFile(port / "latency_timer", "16\n");
    fs::create_directories(Tty(name));
    fs::create_directory_symlink(port, Tty(name) / "device");
  }

  test_support::ScratchDirectory scratch_;
  PortEnvironment env_;
};

TEST_F(PortListTest, ComNumbersFollowTheRuleUnlessAPortsFolderLinkWins) {
  fs::create_symlink("/dev/pts/4", env_.portsDirectory / "com2");
  const std::pair<int, std::optional<fs::path>> cases[] = {
      {1, "/dev/ttyUSB0"},   {32, "/dev/ttyUSB31"}, {33, "/dev/ttyACM0"},
      {64, "/dev/ttyACM31"}, {65, "/dev/ttyS0"},    {96, "/dev/ttyS31"},
      {97, std::nullopt},    {0, std::nullopt},     {2, env_.portsDirectory / "com2"},
  };
  for (const auto& [number, path] : cases) EXPECT_EQ(ComDevicePath(number, env_), path) << number;
}

TEST_F(PortListTest, WithoutAPortsFolderOnlyTheRuleNamesPorts) {
  env_.portsDirectory.clear();
  // Not even a link of that name in the current folder.
  fs::create_symlink("/dev/pts/4", scratch_ / "com2");
  const test_support::CurrentFolder here(scratch_.Path());
  EXPECT_EQ(ComDevicePath(2, env_), fs::path("/dev/ttyUSB1"));
  EXPECT_EQ(ListPorts(env_).size(), 4u);
}

TEST_F(PortListTest, ListsRealPortsByNumberWithoutTheConsoleAndTheFolderLinksWin) {
  const std::vector<std::string> sysfs = {
      "COM 1  /dev/ttyUSB0  FTDI 0403:6001", "COM 2  /dev/ttyUSB1  067b:2303",
      "COM33  /dev/ttyACM0  Arduino (www.arduino.cc) 2341:0043", "COM66  /dev/ttyS1"};
  EXPECT_EQ(ListPorts(env_), sysfs);

  fs::create_symlink("/dev/pts/3", env_.portsDirectory / "com2");
  fs::create_symlink("/dev/pts/9", env_.portsDirectory / "com12");
  fs::create_symlink("/dev/pts/5", env_.portsDirectory / "com100");  // no two-digit number
  WriteFile(env_.portsDirectory / "notes.txt", "x");
  const std::vector<std::string> entries = ListPorts(env_);
  EXPECT_EQ(entries, (std::vector<std::string>{sysfs[0], "COM 2  /dev/pts/3", "COM12  /dev/pts/9",
                                               sysfs[2], sysfs[3]}));
  // The selection window finds an entry by the number in characters 4 and 5.
  const std::pair<int, std::optional<std::size_t>> found[] = {
      {1, 0}, {12, 2}, {66, 4}, {6, std::nullopt}};
  for (const auto& [number, at] : found) EXPECT_EQ(FindPortEntry(entries, number), at) << number;
  EXPECT_EQ(FindPortEntry({"COM", "", "COMab  x", "COM1"}, 1), std::nullopt);

  env_.sysfsRoot = scratch_ / "nothing";
  env_.portsDirectory = scratch_ / "nothing/ports";
  EXPECT_TRUE(ListPorts(env_).empty());
}

TEST_F(PortListTest, AnEnvironmentOfFolderLinksOnlySeesNoPortOfTheMachine) {
  const fs::path folder = scratch_ / "only";
  fs::create_directories(folder);
  fs::create_symlink("/dev/pts/7", folder / "com5");
  const PortEnvironment only = PortEnvironment::OnlyLinksIn(folder);
  EXPECT_EQ(ListPorts(only), std::vector<std::string>{"COM 5  /dev/pts/7"});
  EXPECT_EQ(ComDevicePath(5, only), folder / "com5");
  EXPECT_EQ(ComDevicePath(65, only), folder / "no-dev/ttyS0");  // never the console
}

TEST_F(PortListTest, TuningSetsTheLatencyOfFtdiAdaptersOnly) {
  // The device nodes of the fake tree are plain files.
  env_.devRoot = scratch_ / "dev";
  const std::pair<const char*, const char*> latencies[] = {{"ttyUSB0", "2"}, {"ttyUSB1", "16"}};
  for (const auto& [tty, latency] : latencies) {
    WriteFile(env_.devRoot / tty, "");
    TuneAdapter(env_.devRoot / tty, env_);
    std::string text;
    std::ifstream(Tty(tty) / "device/latency_timer") >> text;
    EXPECT_EQ(text, latency) << tty;
  }
  TuneAdapter(env_.devRoot / "ttyUSB7", env_);  // absent: ignored
}

}  // namespace
}  // namespace q5480
