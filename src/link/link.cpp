#include "link/link.h"

#include <algorithm>
#include <cmath>

namespace q5480 {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kWriteWait{100};
constexpr milliseconds kWriteFailurePause{100};
constexpr milliseconds kEchoFirstByte{50};
constexpr milliseconds kReplyFirstByte{300};
// Each byte of an echo or a reply may take this much longer than BaseTimeout.
constexpr milliseconds kByteWaitMargin{50};
constexpr milliseconds kShortReplyPause{100};
constexpr milliseconds kFailurePause{5};
constexpr int kMaxTries = 5;
// BaseTimeout is 1440000 ms divided by the baud rate, and must fit 16 bits.
constexpr double kBaseTimeoutTimesBaud = 1440000.0;
constexpr milliseconds kLongestBaseTimeout{65535};
// A line falls quiet once no byte came for this many byte times; a module
// that is still answering sends them back to back.
constexpr int kQuietByteTimes = 10;
constexpr milliseconds kMinimumQuiet{5};
// The longest frame at 1200 baud; a line that talks longer is no module's.
constexpr milliseconds kSettleBound{2500};

// A failed wait inside an exchange, in the link's words.
LinkStatus StatusOf(PortResult result, LinkStatus whenTimedOut) {
  switch (result) {
    case PortResult::Ok: return LinkStatus::Success;
    case PortResult::TimedOut: return whenTimedOut;
    case PortResult::Aborted: return LinkStatus::Aborted;
    case PortResult::LineError: return LinkStatus::LineError;
    case PortResult::Lost: break;
  }
  return LinkStatus::PortLost;
}

}  // namespace

Link::Link(const PollProtocol& poll, LinkSettings settings)
    : poll_(poll), settings_(std::move(settings)) {}

Link::~Link() {
  pollRunning_.store(false);
  transferRunning_.store(false);
  StopThread(pollThread_);
  StopThread(workerThread_);
  ClosePort();
}

bool Link::OpenLink(int port, int speedCode) {
  // Polling may still be waiting for a lost port to come back.
  StopLink();
  commandRequest_.fill(0);
  commandReply_.fill(0);
  pollRequest_.fill(0);
  pollReply_.fill(0);
  {
    std::lock_guard lock(lastSampleMutex_);
    lastSample_.fill(0);
  }
  portLost_.store(false);
  portNumber_ = port;
  baud_ = BaudForSpeedCode(speedCode);
  if (!OpenDevice()) return false;
  StartPolling();
  return true;
}

bool Link::OpenDevice() {
  std::optional<std::filesystem::path> device = ComDevicePath(portNumber_, settings_.ports);
  if (!device) return false;
  TuneAdapter(*device, settings_.ports);
  if (!port_.Open(*device, settings_.ports.ConsoleList())) return false;
  if (SetUpLine(baud_)) return true;
  port_.Close();
  return false;
}

bool Link::ConfigurePort(int baud) {
  if (baud <= 0) return false;
  // The line changes under no running exchange.
  const bool polling = pollRunning_.load();
  StopPolling();
  const bool configured = SetUpLine(baud);
  if (configured) baud_ = baud;
  if (polling && configured) StartPolling();
  return configured;
}

bool Link::SetUpLine(int baud) {
  const milliseconds timeout{std::lround(kBaseTimeoutTimesBaud / baud)};
  if (timeout > kLongestBaseTimeout) return false;
  if (!port_.SetLine(baud)) return false;
  baseTimeout_.store(timeout);
  byteTime_ = std::chrono::microseconds(10'000'000 / baud);
  port_.PurgeInput();
  lineUnsettled_ = false;
  port_.SetTimeouts(TimeoutsFor(timeout));
  abort_.Sleep(settings_.portSettleTime);
  return true;
}

void Link::StopLink() {
  pollRunning_.store(false);
  transferRunning_.store(false);
  StopThread(pollThread_);
  StopThread(workerThread_);
  ClosePort();
  // A stopped link looks for no lost port.
  portLost_.store(false);
  linkStarted_.store(false);
  ResetPollingFlags();
}

void Link::ClosePort() {
  if (!port_.IsOpen()) return;
  port_.SetBreak(true);
  port_.SetDtr(false);
  port_.SetRts(false);
  port_.TakeLineErrors();
  port_.SetBreak(false);
  port_.Close();
  baseTimeout_.store(kUnconfiguredBaseTimeout);
}

void Link::StopThread(std::thread& thread) {
  if (!thread.joinable()) return;
  abort_.Set();
  // A worker waiting for its progress acknowledgement moves on and stops.
  if (&thread == &workerThread_) progressAck_.Set();
  thread.join();
  if (port_.IsOpen()) {
    port_.PurgeInput();
    port_.PurgeOutput();
    port_.TakeLineErrors();
  }
  // The thread may have left an exchange with the module half done.
  lineUnsettled_ = true;
  abort_.Clear();
}

LinkStatus Link::Fail(LinkStatus status) {
  lineUnsettled_ = true;
  if (status == LinkStatus::PortLost) portLost_.store(true);
  abort_.Sleep(kFailurePause);
  return status;
}

LinkStatus Link::SendRequestFrame(const LinkBuffer& request, int n) {
  std::uint8_t frame[kMaxRequestData + 3];
  frame[0] = kRequestStart;
  frame[1] = static_cast<std::uint8_t>(n);
  std::copy_n(request.begin() + 1, n, frame + 2);
  frame[n + 2] = CheckByte(std::span(frame + 2, static_cast<std::size_t>(n)));
  int count = sendCheckByte_.load() ? n + 3 : n + 2;

  if (lineUnsettled_) {
    // A half-duplex line: never talk while the module may still be answering
    // an exchange that was given up on.
    const auto quiet =
        std::max<std::chrono::microseconds>(kMinimumQuiet, byteTime_ * kQuietByteTimes);
    const PortResult settled = port_.SettleLine(quiet, kSettleBound);
    if (settled == PortResult::Aborted || settled == PortResult::Lost) {
      return StatusOf(settled, LinkStatus::TimedOut);
    }
    lineUnsettled_ = false;
  }
  if (port_.TakeLineErrors()) return LinkStatus::LineError;
  port_.PurgeInput();
  const PortResult written = port_.Write(frame, static_cast<std::size_t>(count), kWriteWait);
  if (written != PortResult::Ok) {
    port_.PurgeOutput();
    if (written == PortResult::TimedOut) abort_.Sleep(kWriteFailurePause);
    return StatusOf(written, LinkStatus::TimedOut);
  }
  return ReadEcho(frame, count);
}

LinkStatus Link::ReadEcho(const std::uint8_t* frame, int count) {
  const PortResult first = port_.WaitForInput(kEchoFirstByte);
  if (first != PortResult::Ok) return StatusOf(first, LinkStatus::NoEcho);
  port_.LetBytesGather(static_cast<std::size_t>(count), byteTime_);
  const milliseconds byteWait = BaseTimeout() + kByteWaitMargin;
  // Noise before the echo is skipped, but never more than a buffer's worth.
  ByteResult byte;
  int skipped = 0;
  do {
    byte = port_.ReadByte(byteWait);
    if (byte.result != PortResult::Ok) return StatusOf(byte.result, LinkStatus::NoEcho);
    if (++skipped > static_cast<int>(LinkBuffer().size())) return LinkStatus::NoEcho;
  } while (byte.byte != kRequestStart);
  for (int i = 1; i < count; ++i) {
    byte = port_.ReadByte(byteWait);
    if (byte.result != PortResult::Ok) return StatusOf(byte.result, LinkStatus::NoEcho);
    if (byte.byte != frame[i]) return LinkStatus::NoEcho;
  }
  return LinkStatus::Success;
}

LinkStatus Link::ReadReply(int replyLength, LinkBuffer& reply) {
  const PortResult first = port_.WaitForInput(kReplyFirstByte);
  if (first != PortResult::Ok) return StatusOf(first, LinkStatus::TimedOut);
  int count = replyLength + 3;
  port_.LetBytesGather(static_cast<std::size_t>(count), byteTime_);
  const milliseconds byteWait = BaseTimeout() + kByteWaitMargin;
  std::array<std::uint8_t, 258> received{};
  for (int i = 0; i < count; ++i) {
    const ByteResult byte = port_.ReadByte(byteWait);
    if (byte.result == PortResult::TimedOut) {
      port_.PurgeInput();
      abort_.Sleep(kShortReplyPause);
    }
    if (byte.result != PortResult::Ok) return StatusOf(byte.result, LinkStatus::TimedOut);
    received[static_cast<std::size_t>(i)] = byte.byte;
  }
  if (received[0] != kReplyStart || received[1] != replyLength) return LinkStatus::BadReply;
  std::span<const std::uint8_t> data(received.data() + 2, static_cast<std::size_t>(replyLength));
  std::uint8_t check = received[static_cast<std::size_t>(replyLength) + 2];
  if (replyLength == 0) {
    if (check != 0) return LinkStatus::BadReply;
  } else if (sendCheckByte_.load() && check != CheckByte(data)) {
    return LinkStatus::BadReply;
  }
  std::copy_n(received.begin() + 2, replyLength + 1, reply.begin());
  return LinkStatus::Success;
}

LinkStatus Link::Transact(const LinkBuffer& request, LinkBuffer& reply) {
  int n = request[0];
  if (n < 1 || n > kMaxRequestData) return LinkStatus::BadReply;
  int replyLength = request[static_cast<std::size_t>(n) + 1];
  LinkStatus status = SendRequestFrame(request, n);
  if (status != LinkStatus::Success) return Fail(status);
  if (replyLength == kNoReply) return LinkStatus::Success;
  status = ReadReply(replyLength, reply);
  if (status != LinkStatus::Success) return Fail(status);
  return LinkStatus::Success;
}

namespace {

// Trying again cannot help once the transfer was cancelled or the port is gone.
bool Final(LinkStatus status) {
  return status == LinkStatus::Success || status == LinkStatus::Aborted ||
         status == LinkStatus::PortLost;
}

}  // namespace

LinkStatus Link::SendWithRetries(const LinkBuffer& request, LinkBuffer& reply) {
  LinkStatus status = LinkStatus::Aborted;
  for (int attempt = 0; attempt < kMaxTries && transferRunning_.load(); ++attempt) {
    LinkBuffer copy = request;
    status = Transact(copy, reply);
    if (Final(status)) return status;
  }
  return transferRunning_.load() ? status : LinkStatus::Aborted;
}

LinkStatus Link::SendFlagged(const LinkBuffer& request, LinkBuffer& reply) {
  LinkBuffer flagged = request;
  flagged[1] |= 0x80;
  const LinkStatus status = Transact(flagged, reply);
  if (Final(status)) return status;
  return SendWithRetries(request, reply);
}

LinkStatus Link::SendCommand(const LinkBuffer& request) {
  commandRequest_ = request;
  LinkStatus status = LinkStatus::Aborted;
  for (int attempt = 0; attempt < kMaxTries; ++attempt) {
    status = Transact(commandRequest_, commandReply_);
    if (Final(status)) return status;
  }
  return status;
}

LinkBuffer Link::LastSample() const {
  std::lock_guard lock(lastSampleMutex_);
  return lastSample_;
}

std::optional<LinkBuffer> Link::TakeUnreadSample() {
  std::lock_guard lock(lastSampleMutex_);
  if (!dataValid_.load() || sampleRead_.load()) return std::nullopt;
  sampleRead_.store(true);
  return lastSample_;
}

void Link::SetLastSample(const LinkBuffer& sample) {
  std::lock_guard lock(lastSampleMutex_);
  lastSample_ = sample;
}

}  // namespace q5480
