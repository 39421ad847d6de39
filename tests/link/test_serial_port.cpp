// The port itself: input marks of line errors, the console that is never
// opened, and waits that the abort signal ends.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

#include "support/scratch_directory.h"
#include "emulator/pty_line.h"
#include "link/serial_port.h"

namespace q5480 {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

TEST(MarkedInputTest, DecodesDoubledBytesAndErrorMarks) {
  using R = MarkedInput::Result;
  struct Case {
    const char* name;
    std::vector<std::uint8_t> raw;
    std::vector<R> results;
    std::uint8_t lastData;
  };
  const Case cases[] = {
      {"plain byte", {0x41}, {R::Data}, 0x41},
      {"doubled 0xFF is one data byte", {0xFF, 0xFF}, {R::Pending, R::Data}, 0xFF},
      {"break or framing error", {0xFF, 0x00, 0x00}, {R::Pending, R::Pending, R::LineError}, 0},
      {"damaged byte", {0xFF, 0x00, 0x41}, {R::Pending, R::Pending, R::LineError}, 0},
      {"zero is data", {0x00}, {R::Data}, 0x00},
      {"unknown mark", {0xFF, 0x12}, {R::Pending, R::LineError}, 0},
  };
  for (const Case& c : cases) {
    MarkedInput input;
    std::uint8_t data = 0;
    for (std::size_t i = 0; i < c.raw.size(); ++i) {
      EXPECT_EQ(input.Feed(c.raw[i], data), c.results[i]) << c.name << ", byte " << i;
    }
    if (c.results.back() == R::Data) {
      EXPECT_EQ(data, c.lastData) << c.name;
    }
    EXPECT_FALSE(input.Pending()) << c.name;
  }
}

TEST(PortTimeoutsTest, DerivedFromBaseTimeout) {
  PortTimeouts t = TimeoutsFor(300);
  EXPECT_EQ(t.readInterval, 15);
  EXPECT_EQ(t.readTotalMultiplier, 6);
  EXPECT_EQ(t.readTotalConstant, 300);
  EXPECT_EQ(t.writeTotalMultiplier, 6);
  EXPECT_EQ(t.writeTotalConstant, 150);
  PortTimeouts slow = TimeoutsFor(1200);
  EXPECT_EQ(slow.readInterval, 60);
  EXPECT_EQ(slow.writeTotalConstant, 600);
  EXPECT_EQ(TimeoutsFor(149).readTotalMultiplier, 2);  // integer division
}

TEST(PortTimeoutsTest, SpeedCodes) {
  const int expected[][2] = {{1, 1200}, {2, 2400}, {3, 4800}, {4, 9600}, {0, 1200}, {5, 1200}};
  for (const auto& c : expected) EXPECT_EQ(BaudForSpeedCode(c[0]), c[1]) << c[0];
}

class SerialPortTest : public ::testing::Test {
 protected:
  SerialPortTest() { std::ofstream(consoleList_) << "tty0\n"; }

  test_support::ScratchDirectory scratch_;
  std::filesystem::path consoleList_ = scratch_ / "active";
  AbortSignal abort_;
  PtyLine line_;
};

TEST_F(SerialPortTest, TheConsoleIsNeverOpenedEvenThroughALink) {
  std::string pts = line_.SlavePath().substr(std::string("/dev/").size());
  std::ofstream(consoleList_) << "tty0 " << pts << "\n";
  std::filesystem::create_symlink(line_.SlavePath(), scratch_ / "com3");
  TCommD port(abort_);
  EXPECT_FALSE(port.Open(line_.SlavePath(), consoleList_));
  EXPECT_FALSE(port.Open(scratch_ / "com3", consoleList_));
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(SerialPortTest, SecondOpenOfTheSamePortIsRefused) {
  TCommD first(abort_);
  TCommD second(abort_);
  ASSERT_TRUE(first.Open(line_.SlavePath(), consoleList_));
  EXPECT_FALSE(second.Open(line_.SlavePath(), consoleList_));
  first.Close();
  EXPECT_TRUE(second.Open(line_.SlavePath(), consoleList_));
}

TEST_F(SerialPortTest, AbortEndsAReadAtOnceAndFailsEveryCallWhileSet) {
  TCommD port(abort_);
  ASSERT_TRUE(port.Open(line_.SlavePath(), consoleList_));
  ASSERT_TRUE(port.SetLine(4800));
  std::thread aborter([&] {
    std::this_thread::sleep_for(milliseconds(50));
    abort_.Set();
  });
  auto start = Clock::now();
  EXPECT_FALSE(port.ReadByte(5000));
  EXPECT_LT(Clock::now() - start, milliseconds(2000));
  aborter.join();
  const std::uint8_t byte = 0x55;
  EXPECT_FALSE(port.Write(&byte, 1, 100));
  EXPECT_FALSE(port.WaitForInput(100));
  abort_.Clear();
  EXPECT_TRUE(port.Write(&byte, 1, 100));
}

TEST_F(SerialPortTest, ReadTimesOutWhenNothingArrives) {
  TCommD port(abort_);
  ASSERT_TRUE(port.Open(line_.SlavePath(), consoleList_));
  ASSERT_TRUE(port.SetLine(4800));
  port.SetTimeouts(TimeoutsFor(300));
  auto start = Clock::now();
  EXPECT_FALSE(port.ReadByte(50));
  EXPECT_GE(Clock::now() - start, milliseconds(50));
  EXPECT_FALSE(port.TakeLineErrors());
}

}  // namespace
}  // namespace q5480
