#include "emulator/pty_line.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace q5480 {
namespace {

[[noreturn]] void Throw(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

timespec ToTimespec(PtyLine::Clock::duration duration) {
  auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(duration).count();
  if (ns < 0) ns = 0;
  return {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

// Waits for `fd` to become readable, or the stop descriptor, until `end`.
// 1: fd readable, 0: time-out, -1: stopped or failed.
int WaitReadable(int fd, int stopFd, PtyLine::Clock::time_point end) {
  pollfd fds[2] = {{stopFd, POLLIN, 0}, {fd, POLLIN, 0}};
  for (;;) {
    timespec timeout = ToTimespec(end - PtyLine::Clock::now());
    int ready = ::ppoll(fds, 2, &timeout, nullptr);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || (fds[0].revents & POLLIN)) return -1;
    if (ready == 0) return 0;
    if (fds[1].revents & POLLIN) return 1;
    if (fds[1].revents & (POLLERR | POLLNVAL)) return -1;
    // A hang-up without data: the program closed its end; keep waiting.
    if (PtyLine::Clock::now() >= end) return 0;
    timespec breather = ToTimespec(std::chrono::milliseconds(1));
    ::ppoll(fds, 1, &breather, nullptr);
  }
}

}  // namespace

PtyLine::Clock::time_point PacedArrival(PtyLine::Clock::time_point lineFree,
                                        PtyLine::Clock::time_point now,
                                        PtyLine::Clock::duration byteTime) {
  const PtyLine::Clock::time_point start = now - lineFree < byteTime ? lineFree : now;
  return start + byteTime;
}

PtyLine::PtyLine() { Open(); }

PtyLine::~PtyLine() { Close(); }

void PtyLine::Open() {
  Close();
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0) Throw("posix_openpt");
  const auto fail = [this](const char* what) {
    const int error = errno;
    Close();
    errno = error;
    Throw(what);
  };
  if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) fail("unlockpt");
  char name[128];
  if (::ptsname_r(master_, name, sizeof name) != 0) fail("ptsname");
  slavePath_ = name;
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slave_ < 0) fail("open pseudo-terminal");
  termios settings{};
  if (::tcgetattr(slave_, &settings) == 0) {
    ::cfmakeraw(&settings);
    ::tcsetattr(slave_, TCSANOW, &settings);
  }
}

void PtyLine::Close() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
  slave_ = -1;
  master_ = -1;
  pending_.clear();
}

void PtyLine::SetBaud(int baud) {
  byteTime_ = baud > 0 ? std::chrono::duration_cast<Clock::duration>(
                             std::chrono::nanoseconds(10'000'000'000LL / baud))
                       : Clock::duration::zero();
}

std::optional<std::uint8_t> PtyLine::Receive(std::chrono::milliseconds wait, int stopFd) {
  Clock::time_point end = Clock::now() + wait;
  while (pending_.empty()) {
    std::uint8_t chunk[256];
    ssize_t got = ::read(master_, chunk, sizeof chunk);
    if (got > 0) {
      pending_.insert(pending_.end(), chunk, chunk + got);
      break;
    }
    if (got < 0 && errno != EAGAIN && errno != EINTR && errno != EIO) return std::nullopt;
    if (WaitReadable(master_, stopFd, end) != 1) return std::nullopt;
  }
  std::uint8_t byte = pending_.front();
  pending_.pop_front();
  return byte;
}

bool PtyLine::Pause(Clock::duration duration, int stopFd) {
  return WaitReadable(-1, stopFd, Clock::now() + duration) == 0;
}

bool PtyLine::Send(std::uint8_t byte, int stopFd) {
  if (byteTime_ != Clock::duration::zero()) {
    const Clock::time_point arrival = PacedArrival(lineFree_, Clock::now(), byteTime_);
    if (WaitReadable(-1, stopFd, arrival) != 0) return false;
    lineFree_ = arrival;
  }
  // Nobody reading fills the queue; a line without a listener loses bytes.
  [[maybe_unused]] ssize_t written = ::write(master_, &byte, 1);
  return true;
}

void PtyLine::Discard() {
  pending_.clear();
  std::uint8_t chunk[256];
  while (::read(master_, chunk, sizeof chunk) > 0) {}
}

}  // namespace q5480
