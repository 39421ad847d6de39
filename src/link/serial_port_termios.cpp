#include "link/serial_port.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "link/fd_wait_posix.h"
#include "link/termios_marked_input.h"

namespace q5480 {
namespace {

namespace fs = std::filesystem;

std::optional<speed_t> SpeedConstant(int baud) {
  switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return std::nullopt;
  }
}

fs::path Resolved(const fs::path& path) {
  std::error_code error;
  fs::path resolved = fs::canonical(path, error);
  return error ? path : resolved;
}

bool IsConsole(const fs::path& device, const fs::path& consoleList) {
  fs::path target = Resolved(device);
  if (target == Resolved("/dev/console")) return true;
  std::ifstream in(consoleList);
  std::string name;
  while (in >> name) {
    if (target == Resolved(fs::path("/dev") / name)) return true;
  }
  return false;
}

int AbortFd(const AbortSignal& abort) { return static_cast<int>(abort.Native()); }

void ModemLine(int fd, int line, bool on) {
  // A pseudo-terminal has no modem lines and refuses: nothing to do then.
  [[maybe_unused]] int result = ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

}  // namespace

struct SerialPort::State {
  int fd = -1;
  bool lost = false;
  // Bytes read from the device and not yet taken.
  std::array<std::uint8_t, 64> inbox{};
  std::size_t inboxStart = 0;
  std::size_t inboxEnd = 0;
  TermiosMarkedInput marks;
  bool lineError = false;
  bool countersSupported = true;
  unsigned long errorCount = 0;

  // Fills the inbox from the device; Lost at its end of file or I/O error.
  PortResult Fill();
  ByteResult ReadRaw(std::chrono::milliseconds limit, const AbortSignal& abort);
  bool CountersShowErrors();
};

SerialPort::SerialPort(AbortSignal& abort) : abort_(abort), state_(std::make_unique<State>()) {}

SerialPort::~SerialPort() { Close(); }

bool SerialPort::IsOpen() const { return state_->fd >= 0; }
bool SerialPort::Lost() const { return state_->lost; }

void SerialPort::SetTimeouts(const PortTimeouts& timeouts) { timeouts_ = timeouts; }

bool SerialPort::Open(const fs::path& device, const fs::path& consoleList) {
  Close();
  if (IsConsole(device, consoleList)) return false;
  int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  // TIOCEXCL does not hold against a privileged process; the lock does
  // against every program that takes it too.
  if (!::isatty(fd) || ::ioctl(fd, TIOCEXCL) != 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  *state_ = State{};
  state_->fd = fd;
  state_->CountersShowErrors();  // start counting from now
  return true;
}

void SerialPort::Close() {
  if (state_->fd < 0) return;
  ::ioctl(state_->fd, TIOCNXCL);
  ::close(state_->fd);
  state_->fd = -1;
}

bool SerialPort::SetLine(int baud) {
  termios settings{};
  std::optional<speed_t> speed = SpeedConstant(baud);
  if (state_->fd < 0 || !speed || ::tcgetattr(state_->fd, &settings) != 0) return false;
  ::cfmakeraw(&settings);
  // Line errors are marked in the input (0xFF 0x00 x) and 0xFF data doubled.
  settings.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | IGNPAR | ISTRIP | IXON | IXOFF);
  settings.c_iflag |= PARMRK | INPCK;
  settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  if (::cfsetispeed(&settings, *speed) != 0 || ::cfsetospeed(&settings, *speed) != 0 ||
      ::tcsetattr(state_->fd, TCSANOW, &settings) != 0) {
    return false;
  }
  SetDtr(true);
  SetRts(true);
  return true;
}

namespace {

PortResult FromWait(WaitResult wait) {
  switch (wait) {
    case WaitResult::Ready: return PortResult::Ok;
    case WaitResult::TimedOut: return PortResult::TimedOut;
    case WaitResult::Aborted: return PortResult::Aborted;
    case WaitResult::Lost: break;
  }
  return PortResult::Lost;
}

// A read or write that fails for any reason but an empty or full queue means
// the device is gone.
bool Transient(int error) { return error == EAGAIN || error == EINTR; }

}  // namespace

PortResult SerialPort::Write(const std::uint8_t* data, std::size_t count,
                             std::chrono::milliseconds limit) {
  if (state_->fd < 0 || state_->lost) return PortResult::Lost;
  if (abort_.IsSet()) return PortResult::Aborted;
  const std::chrono::milliseconds total =
      timeouts_.writeTotalMultiplier * static_cast<long>(count) + timeouts_.writeTotalConstant;
  Deadline deadline(total > total.zero() ? std::min(total, limit) : limit);
  std::size_t done = 0;
  while (done < count) {
    ssize_t written = ::write(state_->fd, data + done, count - done);
    if (written > 0) {
      done += static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && !Transient(errno)) {
      state_->lost = true;
      return PortResult::Lost;
    }
    const PortResult waited = FromWait(WaitForFd(state_->fd, POLLOUT, AbortFd(abort_), deadline));
    if (waited != PortResult::Ok) {
      if (waited == PortResult::Lost) state_->lost = true;
      return waited;
    }
  }
  return PortResult::Ok;
}

PortResult SerialPort::State::Fill() {
  ssize_t got = ::read(fd, inbox.data(), inbox.size());
  if (got > 0) {
    inboxStart = 0;
    inboxEnd = static_cast<std::size_t>(got);
    return PortResult::Ok;
  }
  // A non-blocking tty reads 0 only at its end: the other side has gone.
  if (got == 0 || !Transient(errno)) {
    lost = true;
    return PortResult::Lost;
  }
  return PortResult::TimedOut;
}

PortResult SerialPort::WaitForInput(std::chrono::milliseconds limit) {
  if (state_->fd < 0 || state_->lost) return PortResult::Lost;
  if (abort_.IsSet()) return PortResult::Aborted;
  if (state_->inboxStart != state_->inboxEnd) return PortResult::Ok;
  const PortResult waited =
      FromWait(WaitForFd(state_->fd, POLLIN, AbortFd(abort_), Deadline(limit)));
  if (waited == PortResult::Lost) state_->lost = true;
  return waited;
}

ByteResult SerialPort::State::ReadRaw(std::chrono::milliseconds limit, const AbortSignal& abort) {
  Deadline deadline{limit};
  while (inboxStart == inboxEnd) {
    // Waiting first saves a read that would find nothing on a slow line.
    PortResult waited = FromWait(WaitForFd(fd, POLLIN, AbortFd(abort), deadline));
    if (waited == PortResult::Ok) waited = Fill();
    if (waited == PortResult::Lost) lost = true;
    if (waited != PortResult::Ok && waited != PortResult::TimedOut) return {waited};
    if (waited == PortResult::TimedOut && deadline.Expired()) return {PortResult::TimedOut};
  }
  if (abort.IsSet()) return {PortResult::Aborted};
  return {PortResult::Ok, inbox[inboxStart++]};
}

ByteResult SerialPort::ReadByte(std::chrono::milliseconds limit) {
  if (state_->fd < 0 || state_->lost) return {PortResult::Lost};
  if (TakeLineErrors()) return {PortResult::LineError};
  const std::chrono::milliseconds total =
      timeouts_.readTotalMultiplier + timeouts_.readTotalConstant;
  if (total > total.zero()) limit = std::min(total, limit);
  // The marks arrive together with the byte they mark, so one limit serves.
  state_->marks.Reset();
  for (;;) {
    const ByteResult raw = state_->ReadRaw(limit, abort_);
    if (raw.result != PortResult::Ok) return raw;
    std::uint8_t data = 0;
    switch (state_->marks.Feed(raw.byte, data)) {
      case TermiosMarkedInput::Result::Pending: break;
      case TermiosMarkedInput::Result::Data: return {PortResult::Ok, data};
      case TermiosMarkedInput::Result::LineError:
        state_->lineError = true;
        return {PortResult::LineError};
    }
  }
}

void SerialPort::LetBytesGather(std::size_t count, std::chrono::microseconds byteTime) {
  int queued = 0;
  if (state_->fd < 0 || state_->lost || ::ioctl(state_->fd, FIONREAD, &queued) != 0) return;
  std::size_t have = state_->inboxEnd - state_->inboxStart + static_cast<std::size_t>(queued);
  if (have >= count) return;
  abort_.Sleep(byteTime * (count - have));
}

PortResult SerialPort::SettleLine(std::chrono::microseconds quiet,
                                  std::chrono::milliseconds bound) {
  if (state_->fd < 0 || state_->lost) return PortResult::Lost;
  const Deadline end(bound);
  for (;;) {
    PurgeInput();
    const auto wait = std::min<Deadline::Clock::duration>(quiet, end.Remaining());
    PortResult waited = FromWait(WaitForFd(state_->fd, POLLIN, AbortFd(abort_), Deadline(wait)));
    if (waited == PortResult::TimedOut)
      return end.Expired() ? PortResult::TimedOut : PortResult::Ok;
    if (waited == PortResult::Ok) waited = state_->Fill();
    if (waited == PortResult::Lost) state_->lost = true;
    if (waited != PortResult::Ok && waited != PortResult::TimedOut) return waited;
  }
}

bool SerialPort::State::CountersShowErrors() {
  if (!countersSupported || fd < 0) return false;
  serial_icounter_struct counters{};
  if (::ioctl(fd, TIOCGICOUNT, &counters) != 0) {
    countersSupported = false;
    return false;
  }
  unsigned long errors = static_cast<unsigned long>(counters.frame) + counters.overrun +
                         counters.parity + counters.brk + counters.buf_overrun;
  bool changed = errors != errorCount;
  errorCount = errors;
  return changed;
}

bool SerialPort::TakeLineErrors() {
  bool errors = state_->CountersShowErrors() || state_->lineError;
  state_->lineError = false;
  return errors;
}

void SerialPort::PurgeInput() {
  state_->inboxStart = state_->inboxEnd = 0;
  if (state_->fd >= 0) ::tcflush(state_->fd, TCIFLUSH);
}

void SerialPort::PurgeOutput() {
  if (state_->fd >= 0) ::tcflush(state_->fd, TCOFLUSH);
}

void SerialPort::SetBreak(bool on) {
  if (state_->fd >= 0)
    ::ioctl(state_->fd, on ? TIOCSBRK : TIOCCBRK);  // refused by a pseudo-terminal
}

void SerialPort::SetDtr(bool on) {
  if (state_->fd >= 0) ModemLine(state_->fd, TIOCM_DTR, on);
}

void SerialPort::SetRts(bool on) {
  if (state_->fd >= 0) ModemLine(state_->fd, TIOCM_RTS, on);
}

}  // namespace q5480
