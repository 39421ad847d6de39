// The emulated module behind the emulator's pseudo-terminal line, and the
// module's settings changed while the line thread asks it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <chrono>
#include <thread>

#include "config/module_image.h"
#include "emulator/module_emulator.h"
#include "emulator/pty_line.h"
#include "module_fixture.h"

namespace q5480::test {
namespace {

using Clock = std::chrono::steady_clock;

// The program's end of the line, raw, with reads that give up at a deadline.
class LineEnd {
 public:
  explicit LineEnd(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
    termios settings{};
    if (fd_ >= 0 && ::tcgetattr(fd_, &settings) == 0) {
      ::cfmakeraw(&settings);
      ::tcsetattr(fd_, TCSANOW, &settings);
    }
  }
  ~LineEnd() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Open() const { return fd_ >= 0; }

  // Sends the framed request and gives everything that comes back (echo and
  // reply) until `expected` bytes or the deadline.
  Bytes Exchange(const Bytes& data, std::size_t expected) {
    Bytes frame{0x55, static_cast<std::uint8_t>(data.size())};
    int sum = 0;
    for (std::uint8_t byte : data) {
      frame.push_back(byte);
      sum += byte;
    }
    frame.push_back(static_cast<std::uint8_t>(255 - sum % 256));
    EXPECT_EQ(::write(fd_, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    Bytes received;
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (received.size() < expected && Clock::now() < deadline) {
      pollfd wait{fd_, POLLIN, 0};
      if (::poll(&wait, 1, 50) <= 0) continue;
      std::uint8_t buffer[64];
      const ssize_t got = ::read(fd_, buffer, sizeof buffer);
      if (got > 0) received.insert(received.end(), buffer, buffer + got);
    }
    return received;
  }

 private:
  int fd_;
};

TEST(ModuleOnTheLine, AnswersFramedRequestsThroughThePseudoTerminal) {
  ModuleOptions options = ClockedModule::OptionsWithId(kNewId);
  EmulatedModule module(options);
  module.SetSignal({.level = 0.0});
  ModuleEmulator emulator(module);
  emulator.Start();
  LineEnd line(emulator.SlavePath());
  ASSERT_TRUE(line.Open());

  // Echo (7 bytes), then 0x31, 7, 4, 0, 0, "2104", check.
  const Bytes identify = line.Exchange({'s', 0x80, 0, 0}, 7 + 10);
  ASSERT_EQ(identify.size(), 17u);
  EXPECT_EQ(Bytes(identify.begin() + 7, identify.end() - 1),
            (Bytes{0x31, 7, 4, 0, 0, '2', '1', '0', '4'}));

  // A blank module reads 0 at 4 mA, model 5495 as index 0.
  const Bytes sample = line.Exchange({'m', 2}, 5 + 11);
  ASSERT_EQ(sample.size(), 16u);
  EXPECT_EQ(Bytes(sample.begin() + 5, sample.end()),
            (Bytes{0x31, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF}));
  emulator.Stop();
}

TEST(ModuleOnTheLine, SettingsChangeSafelyWhileTheModuleMeasures) {
  ClockedModule module(kNewId);
  ASSERT_TRUE(WriteConfiguration(module, LinearMemory(MemoryLayout::New, ModuleSetup{})));
  module.module->SetSignal({.level = 10.0});
  std::atomic<bool> done{false};
  std::thread changer([&] {
    for (int i = 0; !done; ++i) {
      module.module->SetSignal({.level = i % 2 ? 10.0 : 90.0});
      module.module->SetSensorBroken(false);
      module.module->SetInternalTemperature(20.0 + i % 5);
    }
  });
  int unexpected = 0;
  double example = 0;
  for (int i = 0; i < 2000; ++i) {
    const auto reply = module.Send({'m', 2});
    const double value = reply ? DecodeModuleFloat(reply->data()) : -1;
    if (std::abs(value - 100.0) > 1e-3 && std::abs(value - 900.0) > 1e-3) {
      ++unexpected;
      example = value;
    }
  }
  done = true;
  changer.join();
  EXPECT_EQ(unexpected, 0) << "for example " << example;
}

TEST(ModuleOnTheLine, ALineThatCannotOpenItsEndLeavesNoDescriptorBehind) {
  const int lowest = ::dup(0);
  ASSERT_GE(lowest, 0);
  ::close(lowest);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
  // Room for the master side only: opening the program's end fails.
  rlimit tight = saved;
  tight.rlim_cur = static_cast<rlim_t>(lowest) + 1;
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
  EXPECT_THROW(PtyLine line, std::system_error);
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
  const int after = ::dup(0);
  EXPECT_EQ(after, lowest);
  ::close(after);
}

}  // namespace
}  // namespace q5480::test
