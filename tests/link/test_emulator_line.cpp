// The emulator's own pieces: how it collects and checks request frames, and
// the q5480-module program as the other programs find it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "emulator/frame_collector.h"
#include "emulator/pty_line.h"
#include "link/abort_signal.h"
#include "link_fixture.h"

namespace q5480 {
namespace {

namespace fs = std::filesystem;
using Result = FrameCollector::Result;

TEST(FrameCollectorTest, AcceptsOnlyWholeFramesWithTheirCheckByte) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    Result last;
    std::vector<std::uint8_t> data;  // of an accepted frame
  };
  const Case cases[] = {
      {"measurement", {0x55, 2, 'm', 2, 0x90}, Result::Accepted, {'m', 2}},
      {"noise before the start byte", {0x00, 0x31, 0x55, 1, 0x72, 0x8D}, Result::Accepted, {0x72}},
      {"wrong check byte", {0x55, 2, 'm', 2, 0x91}, Result::Rejected, {}},
      {"length 0", {0x55, 0}, Result::Rejected, {}},
      {"length 251", {0x55, 251}, Result::Rejected, {}},
      {"0x55 inside the data is data", {0x55, 2, 0x55, 0x55, 0x55}, Result::Accepted, {0x55, 0x55}},
  };
  for (const Case& c : cases) {
    FrameCollector collector;
    Result result = Result::Incomplete;
    for (std::size_t i = 0; i < c.bytes.size(); ++i) {
      result = collector.Feed(c.bytes[i]);
      if (i + 1 < c.bytes.size()) {
        EXPECT_EQ(result, Result::Incomplete) << c.name << ", byte " << i;
      }
    }
    EXPECT_EQ(result, c.last) << c.name;
    if (c.last == Result::Accepted) {
      EXPECT_EQ(collector.Data(), c.data) << c.name;
    }
    EXPECT_TRUE(collector.Idle()) << c.name;
  }
}

// A port on the emulator's line, without the link's framing.
class ModuleLineTest : public ::testing::Test {
 protected:
  ModuleLineTest() : emulator_(handler_) {
    emulator_.Start();
    std::ofstream(scratch_ / "console");
    EXPECT_TRUE(port_.Open(emulator_.SlavePath(), scratch_ / "console"));
    EXPECT_TRUE(port_.SetLine(4800));
  }

  std::vector<std::uint8_t> Receive(std::size_t count) {
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < count) {
      const ByteResult byte = port_.ReadByte(2000);
      if (byte.result != PortResult::Ok) break;
      bytes.push_back(byte.byte);
    }
    return bytes;
  }

  test_support::ScratchDirectory scratch_;
  SampleHandler handler_;
  ModuleEmulator emulator_;
  AbortSignal abort_;
  TCommD port_{abort_};
};

TEST_F(ModuleLineTest, FrameWithABadCheckByteIsEchoedButNotAnswered) {
  const std::vector<std::uint8_t> bad = {0x55, 2, 'm', 2, 0x91};
  ASSERT_EQ(port_.Write(bad.data(), bad.size(), 1000), PortResult::Ok);
  EXPECT_EQ(Receive(bad.size()), bad);
  EXPECT_EQ(port_.WaitForInput(300), PortResult::TimedOut);
  EXPECT_EQ(emulator_.FramesRejected(), 1);
  EXPECT_EQ(handler_.Measurements(), 0);

  const std::vector<std::uint8_t> good = {0x55, 2, 'm', 2, 0x90};
  ASSERT_EQ(port_.Write(good.data(), good.size(), 1000), PortResult::Ok);
  EXPECT_EQ(Receive(good.size()), good);
  std::vector<std::uint8_t> reply = Receive(11);
  ASSERT_EQ(reply.size(), 11u);
  EXPECT_EQ(reply[0], 0x31);
  EXPECT_EQ(reply[1], 8);
  EXPECT_EQ(reply[10], CheckByte(std::span(reply).subspan(2, 8)));
}

TEST(PacedLineTest, EachByteTakesTenBitTimes) {
  SampleHandler handler;
  ModuleEmulator emulator(handler, 2400);
  emulator.Start();
  test_support::ScratchDirectory scratch;
  std::ofstream(scratch / "console");
  AbortSignal abort;
  TCommD port(abort);
  ASSERT_TRUE(port.Open(emulator.SlavePath(), scratch / "console"));
  ASSERT_TRUE(port.SetLine(2400));
  const std::vector<std::uint8_t> frame = {0x55, 2, 'm', 2, 0x90};
  auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(port.Write(frame.data(), frame.size(), 1000), PortResult::Ok);
  int received = 0;
  while (received < 16 && port.ReadByte(2000).result == PortResult::Ok) ++received;
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(received, 16);
  // 16 bytes of 10 bits at 2400 baud: 66.7 ms at the least.
  EXPECT_GE(elapsed, std::chrono::microseconds(66'000));
  EXPECT_LT(elapsed, std::chrono::seconds(2));
}

TEST(PacedLineTest, ABytePreparedWhileTheLineIsBusyFollowsTheOneBefore) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point t0{};
  const auto byte = std::chrono::microseconds(8333);  // 1200 baud
  const auto at = [&](int us) { return t0 + std::chrono::microseconds(us); };
  // The line is busy until 8.333 ms; a byte ready at 4 ms or even at 10 ms
  // (less than a byte time late) goes straight after it.
  EXPECT_EQ(PacedArrival(at(8333), at(4000), byte), at(16666));
  EXPECT_EQ(PacedArrival(at(8333), at(10000), byte), at(16666));
  // A byte ready long after the line fell idle starts when it is ready.
  EXPECT_EQ(PacedArrival(at(8333), at(30000), byte), at(38333));
}

// Runs a program of the build with its standard output on a pipe.
class Child {
 public:
  explicit Child(const std::vector<std::string>& argv) {
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::close(out[0]);
      ::close(out[1]);
      std::vector<char*> args;
      for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
      args.push_back(nullptr);
      ::execv(args[0], args.data());
      ::_exit(127);
    }
    ::close(out[1]);
    output_ = ::fdopen(out[0], "r");
  }
  ~Child() {
    if (output_) std::fclose(output_);
    if (pid_ > 0 && !reaped_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  std::string ReadLine() {
    std::array<char, 512> line{};
    if (!output_ || !std::fgets(line.data(), line.size(), output_)) return {};
    std::string text = line.data();
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }
  int Finish(int signal = 0) {
    if (signal) ::kill(pid_, signal);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    reaped_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
  bool reaped_ = false;
  std::FILE* output_ = nullptr;
};

TEST(ModuleProgramTest, AppearsAsAComPortAndCleansUpOnTermination) {
  const fs::path bin = Q5480_BIN_DIR;
  ASSERT_TRUE(fs::exists(bin / "q5480-module"));
  ASSERT_TRUE(fs::exists(bin / "q5480ctl"));
  // A number no one else uses in the build's ports folder.
  const fs::path link = bin / "ports/com251";
  // A blank Q5491 with the wide current format: 0 at 4 mA, model index 8.
  Child module({(bin / "q5480-module").string(), "--com", "251", "--model", "5491",
                "--wide-current"});
  std::string slave = module.ReadLine();
  ASSERT_EQ(slave.rfind("/dev/pts/", 0), 0u) << slave;
  EXPECT_EQ(fs::read_symlink(link), fs::path(slave));

  Child poll({(bin / "q5480ctl").string(), "poll", "--port", "251", "--count", "2"});
  for (int i = 0; i < 2; ++i) {
    std::string line = poll.ReadLine();
    // "HH:MM:SS.mmm  00 00 00 00 1F 40 00 18" (bit 5 of the last byte may
    // mark a new average)
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
