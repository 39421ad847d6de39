#include "link/link.h"

#include <algorithm>
#include <cmath>

#include "link/deadline.h"

namespace q5480 {
namespace {

constexpr int kWriteWaitMs = 100;
constexpr int kWriteFailurePauseMs = 100;
constexpr int kEchoFirstByteMs = 50;
constexpr int kReplyFirstByteMs = 300;
constexpr int kShortReplyPauseMs = 100;
constexpr int kFailurePauseMs = 5;
constexpr int kMaxTries = 5;
constexpr unsigned kBaseTimeoutBeforeConfiguring = 100;

}  // namespace

Link::Link(UserInterface& ui, const LanguageTable& texts, LinkSettings settings)
    : ui_(ui), texts_(texts), settings_(std::move(settings)) {}

Link::~Link() {
  pollRunning_.store(false);
  transferRunning_.store(false);
  // Every wait of the link ends on the abort signal, so the joins are short.
  abort_.Set();
  if (pollThread_.Held()) pollThread_.thread.join();
  if (workerThread_.Held()) workerThread_.thread.join();
  ClosePort();
}

bool Link::OpenLink(int port, int speedCode) {
  if (port_.IsOpen()) {
    StopPolling();
    StopLink();
  }
  commandRequest_.fill(0);
  commandReply_.fill(0);
  pollRequest_.fill(0);
  pollReply_.fill(0);
  {
    std::lock_guard lock(lastSampleMutex_);
    lastSample_.fill(0);
  }
  std::optional<std::filesystem::path> device = ComDevicePath(port, settings_.ports);
  if (!device) return false;
  TuneAdapter(*device, settings_.ports);
  if (!port_.Open(*device, settings_.ports.ConsoleList())) return false;
  if (!ConfigurePort(BaudForSpeedCode(speedCode))) return false;
  StartPolling();
  return true;
}

bool Link::ConfigurePort(int baud) {
  if (baud <= 0) return false;
  long timeout = std::lround(1440000.0 / baud);
  if (timeout > 65535) return false;
  baseTimeout_.store(static_cast<unsigned>(timeout));
  if (!port_.SetLine(baud)) return false;
  byteTime_ = std::chrono::microseconds(10'000'000 / baud);
  port_.PurgeInput();
  port_.SetTimeouts(TimeoutsFor(static_cast<unsigned>(timeout)));
  SleepUnlessAborted(abort_.Fd(), settings_.portSettleTime);
  return true;
}

void Link::StopLink() {
  pollRunning_.store(false);
  ClosePort();
  linkStarted_.store(false);
  ResetPollingFlags();
}

void Link::ClosePort() {
  if (!port_.IsOpen()) return;
  abort_.Set();
  port_.SetBreak(true);
  if (pollThread_.Held() && pollThread_.finished.WaitFor(settings_.threadStopBound)) {
    pollThread_.thread.join();
  }
  port_.SetDtr(false);
  port_.SetRts(false);
  port_.TakeLineErrors();
  port_.SetBreak(false);
  abort_.Clear();
  port_.Close();
  baseTimeout_.store(kBaseTimeoutBeforeConfiguring);
}

bool Link::StopThread(LinkThread& worker) {
  if (!worker.Held() || !port_.IsOpen()) return false;
  abort_.Set();
  bool ended = worker.finished.WaitFor(settings_.threadStopBound);
  if (ended) {
    worker.thread.join();
    port_.PurgeInput();
    port_.PurgeOutput();
  }
  port_.TakeLineErrors();
  abort_.Clear();
  return ended;
}

bool Link::Fail() {
  SleepUnlessAborted(abort_.Fd(), std::chrono::milliseconds(kFailurePauseMs));
  return false;
}

bool Link::SendRequestFrame(const LinkBuffer& request, int n) {
  std::uint8_t frame[kMaxRequestData + 3];
  frame[0] = kRequestStart;
  frame[1] = static_cast<std::uint8_t>(n);
  std::copy_n(request.begin() + 1, n, frame + 2);
  frame[n + 2] = CheckByte(std::span(frame + 2, static_cast<std::size_t>(n)));
  int count = sendCheckByte_.load() ? n + 3 : n + 2;

  if (port_.TakeLineErrors()) return false;
  // Bytes already waiting can only be the late echo or reply of an exchange
  // given up on; read as this one's, they would fail every exchange after.
  port_.PurgeInput();
  if (!port_.Write(frame, static_cast<std::size_t>(count), kWriteWaitMs)) {
    port_.PurgeOutput();
    SleepUnlessAborted(abort_.Fd(), std::chrono::milliseconds(kWriteFailurePauseMs));
    return false;
  }
  return ReadEcho(frame, count);
}

bool Link::ReadEcho(const std::uint8_t* frame, int count) {
  if (!port_.WaitForInput(kEchoFirstByteMs)) return false;
  port_.LetBytesGather(static_cast<std::size_t>(count), byteTime_);
  int byteWait = static_cast<int>(BaseTimeout()) + 50;
  // Noise before the echo is skipped, but never more than a buffer's worth.
  std::optional<std::uint8_t> byte;
  int skipped = 0;
  do {
    byte = port_.ReadByte(byteWait);
    if (!byte || ++skipped > static_cast<int>(LinkBuffer().size())) return false;
  } while (*byte != kRequestStart);
  for (int i = 1; i < count; ++i) {
    byte = port_.ReadByte(byteWait);
    if (byte != frame[i]) return false;
  }
  return true;
}

bool Link::ReadReply(int replyLength, LinkBuffer& reply) {
  if (!port_.WaitForInput(kReplyFirstByteMs)) return false;
  int count = replyLength + 3;
  port_.LetBytesGather(static_cast<std::size_t>(count), byteTime_);
  int byteWait = static_cast<int>(BaseTimeout()) + 50;
  std::array<std::uint8_t, 258> received{};
  for (int i = 0; i < count; ++i) {
    std::optional<std::uint8_t> byte = port_.ReadByte(byteWait);
    if (!byte) {
      port_.PurgeInput();
      SleepUnlessAborted(abort_.Fd(), std::chrono::milliseconds(kShortReplyPauseMs));
      return false;
    }
    received[static_cast<std::size_t>(i)] = *byte;
  }
  if (received[0] != kReplyStart || received[1] != replyLength) return false;
  std::span<const std::uint8_t> data(received.data() + 2, static_cast<std::size_t>(replyLength));
  std::uint8_t check = received[static_cast<std::size_t>(replyLength) + 2];
  if (replyLength == 0) {
    if (check != 0) return false;
  } else if (sendCheckByte_.load() && check != CheckByte(data)) {
    return false;
  }
  std::copy_n(received.begin() + 2, replyLength + 1, reply.begin());
  return true;
}

bool Link::Transact(const LinkBuffer& request, LinkBuffer& reply) {
  int n = request[0];
  if (n < 1 || n > kMaxRequestData) return false;
  int replyLength = request[static_cast<std::size_t>(n) + 1];
  if (!SendRequestFrame(request, n)) return Fail();
  if (replyLength == kNoReply) return true;
  if (!ReadReply(replyLength, reply)) return Fail();
  return true;
}

bool Link::SendWithRetries(const LinkBuffer& request, LinkBuffer& reply) {
  for (int attempt = 0; attempt < kMaxTries && transferRunning_.load(); ++attempt) {
    LinkBuffer copy = request;
    if (Transact(copy, reply)) return true;
  }
  return false;
}

bool Link::SendFlagged(const LinkBuffer& request, LinkBuffer& reply) {
  LinkBuffer flagged = request;
  flagged[1] |= 0x80;
  if (Transact(flagged, reply)) return true;
  return SendWithRetries(request, reply);
}

bool Link::SendCommand(const LinkBuffer& request) {
  commandRequest_ = request;
  for (int attempt = 0; attempt < kMaxTries; ++attempt) {
    if (Transact(commandRequest_, commandReply_)) return true;
  }
  return false;
}

LinkBuffer Link::LastSample() const {
  std::lock_guard lock(lastSampleMutex_);
  return lastSample_;
}

void Link::SetLastSample(const LinkBuffer& sample) {
  std::lock_guard lock(lastSampleMutex_);
  lastSample_ = sample;
}

}  // namespace q5480
