// The emulator's own pieces: its line, and the q5480-module program as the
// other programs find it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "emulator/pty_line.h"
#include "link/frame.h"
#include "link/serial_port.h"
#include "support/module_on_line.h"
#include "support/scratch_directory.h"

namespace q5480 {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using test_support::Bytes;

// Bytes written straight onto a paced module line: every byte echoed, only
// whole frames with their check byte answered.
TEST(ModuleLineTest, EchoesEveryBytePacedAndAnswersOnlyWholeFrames) {
  test_support::ScratchDirectory scratch;
  test_support::ModuleOnLine line(test_support::ModuleWith(), scratch / "ports", 7, 2400);
  std::ofstream(scratch / "console");
  AbortSignal abort;
  SerialPort port(abort);
  ASSERT_TRUE(port.Open(line.emulator.SlavePath(), scratch / "console"));
  ASSERT_TRUE(port.SetLine(2400));
  const Bytes written = {0x00, 0x31,                    // noise before a start byte
                         0x55, 0,    0x55, 251,         // lengths no frame has
                         0x55, 2,    'm',  2,    0x91,  // a wrong check byte
                         0x55, 2,    0x55, 0x55, 0x55,  // start bytes inside are data
                         0x55, 2,    'm',  2,    0x90};
  const auto start = Clock::now();
  ASSERT_EQ(port.Write(written.data(), written.size(), milliseconds(1000)), PortResult::Ok);
  Bytes received;
  for (ByteResult byte; received.size() < written.size() + 11 &&
                        (byte = port.ReadByte(milliseconds(2000))).result == PortResult::Ok;) {
    received.push_back(byte.byte);
  }
  // 32 bytes of 10 bits at 2400 baud: 133 ms at the least.
  EXPECT_GE(Clock::now() - start, std::chrono::microseconds(133'000));
  ASSERT_EQ(received.size(), written.size() + 11);
  EXPECT_EQ(Bytes(received.begin(), received.begin() + 21), written);
  EXPECT_EQ(received[21], kReplyStart);
  EXPECT_EQ(received[22], 8);
  EXPECT_EQ(received.back(), CheckByte(std::span(received).subspan(23, 8)));
  EXPECT_EQ(port.WaitForInput(milliseconds(300)), PortResult::TimedOut);
  EXPECT_EQ(line.emulator.FramesRejected(), 3);
  EXPECT_EQ(line.interposer.Requests(), (std::vector<Bytes>{{0x55, 0x55}, {'m', 2}}));
}

TEST(PacedLineTest, ABytePreparedWhileTheLineIsBusyFollowsTheOneBefore) {
  const auto byte = std::chrono::microseconds(8333);  // 1200 baud
  const auto at = [](int us) { return Clock::time_point{} + std::chrono::microseconds(us); };
  // The line is busy until 8.333 ms; a byte ready at 4 ms or even at 10 ms
  // (less than a byte time late) goes straight after it.
  EXPECT_EQ(PacedArrival(at(8333), at(4000), byte), at(16666));
  EXPECT_EQ(PacedArrival(at(8333), at(10000), byte), at(16666));
  // A byte ready long after the line fell idle starts when it is ready.
  EXPECT_EQ(PacedArrival(at(8333), at(30000), byte), at(38333));
}

// A program of the build run through the shell with its standard output on
// a pipe; the shell's first line is its process id, which the program takes
// over.
class Child {
 public:
  explicit Child(const std::string& command)
      : output_(::popen(("echo $$; exec " + command).c_str(), "r")), pid_(std::stoi(ReadLine())) {}
  ~Child() {
    if (pid_ > 0) Finish(SIGKILL);
  }
  std::string ReadLine() {
    char line[512] = {};
    if (!output_ || !std::fgets(line, sizeof line, output_)) return "-1";
    const std::string text = line;
    return text.back() == '\n' ? text.substr(0, text.size() - 1) : text;
  }
  // The exit status, after `signal` when one is given.
  int Finish(int signal = 0) {
    if (signal && pid_ > 0) ::kill(pid_, signal);
    const int status = output_ ? ::pclose(output_) : -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  std::FILE* output_;
  pid_t pid_;
};

TEST(ModuleProgramTest, AppearsAsAComPortAndCleansUpOnTermination) {
  const fs::path bin = Q5480_BIN_DIR;
  ASSERT_TRUE(fs::exists(bin / "q5480-module"));
  ASSERT_TRUE(fs::exists(bin / "q5480ctl"));
  // A number no one else uses in the build's ports folder.
  const fs::path link = bin / "ports/com251";
  // A blank Q5491 with the wide current format: 0 at 4 mA, model index 8.
  Child module("'" + (bin / "q5480-module").string() + "' --com 251 --model 5491 --wide-current");
  const std::string slave = module.ReadLine();
  ASSERT_EQ(slave.rfind("/dev/pts/", 0), 0u) << slave;
  EXPECT_EQ(fs::read_symlink(link), fs::path(slave));

  Child poll("'" + (bin / "q5480ctl").string() + "' poll --port 251 --count 2");
  for (int i = 0; i < 2; ++i) {
    // "HH:MM:SS.mmm  00 00 00 00 1F 40 00 18" (bit 5 of the last byte may
    // mark a new average)
    const std::string line = poll.ReadLine();
    ASSERT_EQ(line.size(), 12u + 1 + 8 * 3) << line;
    EXPECT_EQ(line.substr(12, 22), "  00 00 00 00 1F 40 00");
    EXPECT_EQ(std::stoi(line.substr(34), nullptr, 16) & 0xDF, 0x18) << line;
  }
  EXPECT_EQ(poll.Finish(), 0);
  EXPECT_EQ(module.Finish(SIGTERM), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

}  // namespace
}  // namespace q5480
