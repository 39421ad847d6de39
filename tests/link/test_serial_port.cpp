// The port itself: input marks of line errors, its time-outs, the console
// that is never opened, waits that the abort signal ends and a device that
// goes away.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include "emulator/pty_line.h"
#include "link/serial_port.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

TEST(TermiosMarkedInputTest, DecodesDoubledBytesAndErrorMarks) {
  using R = TermiosMarkedInput::Result;
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
    TermiosMarkedInput input;
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

TEST(PortTimeoutsTest, DerivedFromBaseTimeoutAndSpeedCodes) {
  const PortTimeouts t = TimeoutsFor(300);
  EXPECT_EQ((std::vector<int>{t.readInterval, t.readTotalMultiplier, t.readTotalConstant,
                              t.writeTotalMultiplier, t.writeTotalConstant}),
            (std::vector<int>{15, 6, 300, 6, 150}));
  EXPECT_EQ(TimeoutsFor(1200).readInterval, 60);
  EXPECT_EQ(TimeoutsFor(149).readTotalMultiplier, 2);  // integer division
  const int expected[][2] = {{1, 1200}, {2, 2400}, {3, 4800}, {4, 9600}, {0, 1200}, {5, 1200}};
  for (const auto& c : expected) EXPECT_EQ(BaudForSpeedCode(c[0]), c[1]) << c[0];
}

class SerialPortTest : public ::testing::Test {
 protected:
  SerialPortTest() { std::ofstream(consoleList_) << "tty0\n"; }

  test_support::ScratchDirectory scratch_;
  std::filesystem::path consoleList_ = scratch_ / "active";
  AbortSignal abort_;
  std::unique_ptr<PtyLine> line_ = std::make_unique<PtyLine>();
};

TEST_F(SerialPortTest, TheConsoleIsNeverOpenedAndAPortOpensOnlyOnce) {
  const std::string pts = line_->SlavePath().substr(std::string("/dev/").size());
  std::ofstream(consoleList_) << "tty0 " << pts << "\n";
  std::filesystem::create_symlink(line_->SlavePath(), scratch_ / "com3");
  TCommD port(abort_);
  EXPECT_FALSE(port.Open(line_->SlavePath(), consoleList_));
  EXPECT_FALSE(port.Open(scratch_ / "com3", consoleList_));

  std::ofstream(consoleList_) << "tty0\n";
  TCommD second(abort_);
  ASSERT_TRUE(port.Open(line_->SlavePath(), consoleList_));
  EXPECT_FALSE(second.Open(line_->SlavePath(), consoleList_));
  port.Close();
  EXPECT_TRUE(second.Open(line_->SlavePath(), consoleList_));
}

TEST_F(SerialPortTest, AbortEndsAReadAtOnceAndFailsEveryCallWhileSet) {
  TCommD port(abort_);
  ASSERT_TRUE(port.Open(line_->SlavePath(), consoleList_));
  ASSERT_TRUE(port.SetLine(4800));
  EXPECT_EQ(port.ReadByte(50).result, PortResult::TimedOut);
  std::thread aborter([&] {
    std::this_thread::sleep_for(milliseconds(50));
    abort_.Set();
  });
  const auto start = Clock::now();
  EXPECT_EQ(port.ReadByte(60000).result, PortResult::Aborted);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(20));
  aborter.join();
  const std::uint8_t byte = 0x55;
  EXPECT_EQ(port.Write(&byte, 1, 100), PortResult::Aborted);
  EXPECT_EQ(port.WaitForInput(100), PortResult::Aborted);
  EXPECT_FALSE(abort_.Sleep(std::chrono::minutes(1)));
  abort_.Clear();
  EXPECT_EQ(port.Write(&byte, 1, 100), PortResult::Ok);
}

TEST_F(SerialPortTest, ADeviceThatGoesAwayIsLostForGoodAtOnce) {
  TCommD port(abort_);
  ASSERT_TRUE(port.Open(line_->SlavePath(), consoleList_));
  ASSERT_TRUE(port.SetLine(4800));
  line_.reset();  // the other end is gone, as when an adapter is pulled
  EXPECT_EQ(port.ReadByte(60000).result, PortResult::Lost);
  EXPECT_TRUE(port.Lost());
  const std::uint8_t byte = 0x55;
  EXPECT_EQ(port.Write(&byte, 1, 100), PortResult::Lost);
  EXPECT_EQ(port.WaitForInput(60000), PortResult::Lost);
  EXPECT_EQ(port.SettleLine(std::chrono::milliseconds(20), std::chrono::minutes(1)), PortResult::Lost);
}

}  // namespace
}  // namespace q5480
