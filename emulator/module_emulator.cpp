#include "emulator/module_emulator.h"

#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace q5480 {
namespace {

constexpr std::uint8_t kReplyStart = 0x31;
// A frame that pauses this long between bytes is abandoned, as a module
// resynchronises on the next start byte.
constexpr std::chrono::milliseconds kFrameGap{100};

// A paced line keeps its timing only when the thread wakes when due; a
// real-time class helps on a busy machine and is refused quietly elsewhere.
void RaiseThreadPriority() {
  sched_param param{};
  param.sched_priority = sched_get_priority_min(SCHED_FIFO);
  pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
}

}  // namespace

ModuleEmulator::ModuleEmulator(RequestHandler& handler, int baud)
    : handler_(handler), stopFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (stopFd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
  line_.SetBaud(baud);
}

ModuleEmulator::~ModuleEmulator() {
  Stop();
  ::close(stopFd_);
}

void ModuleEmulator::Start() {
  if (thread_.joinable()) return;
  std::uint64_t value = 0;
  [[maybe_unused]] auto drained = ::read(stopFd_, &value, sizeof value);
  thread_ = std::thread([this] { Run(); });
}

void ModuleEmulator::Stop() {
  if (!thread_.joinable()) return;
  std::uint64_t one = 1;
  [[maybe_unused]] auto written = ::write(stopFd_, &one, sizeof one);
  thread_.join();
}

void ModuleEmulator::Unplug() {
  Stop();
  line_.Close();
}

void ModuleEmulator::Plug() {
  Stop();
  line_.Open();
  collector_.Reset();
  Start();
}

bool ModuleEmulator::SettleAndResetCounts(std::chrono::milliseconds quiet,
                                          std::chrono::milliseconds bound) {
  const auto end = std::chrono::steady_clock::now() + bound;
  long before = bytesReceived_.load();
  for (;;) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(quiet);
    const long now = bytesReceived_.load();
    if (now == before) break;
    before = now;
  }
  bytesReceived_.store(0);
  framesAccepted_.store(0);
  framesRejected_.store(0);
  return true;
}

void ModuleEmulator::Run() {
  RaiseThreadPriority();
  for (;;) {
    std::optional<std::uint8_t> byte = line_.Receive(kFrameGap, stopFd_);
    if (!byte) {
      std::uint64_t value = 0;
      if (::read(stopFd_, &value, sizeof value) > 0) return;
      collector_.Reset();
      continue;
    }
    ++bytesReceived_;
    byte = faults_.Disturb(*byte);
    if (!byte) continue;  // lost on its way
    if (faults_.Silent()) {
      collector_.Reset();
      continue;
    }
    // A busy module starts on a frame late and then echoes and answers it
    // whole; the link must have given up on it by then.
    if (collector_.Idle() && faults_.Take(Fault::LateAnswer) &&
        !PtyLine::Pause(faults_.LateAnswerDelay(), stopFd_)) {
      return;
    }
    if (!Echo(*byte)) return;
    switch (collector_.Feed(*byte)) {
      case FrameCollector::Result::Incomplete: break;
      case FrameCollector::Result::Rejected: ++framesRejected_; break;
      case FrameCollector::Result::Accepted:
        if (!Answer(collector_.Data())) return;
        ++framesAccepted_;
        break;
    }
  }
}

bool ModuleEmulator::Echo(std::uint8_t byte) {
  std::uint8_t echo = byte;
  if (collector_.AtLengthByte() && faults_.Take(Fault::CorruptEcho)) echo ^= 0x01;
  return Put(echo);
}

bool ModuleEmulator::Put(std::uint8_t byte) {
  const std::optional<std::uint8_t> sent = faults_.Disturb(byte);
  return !sent || line_.Send(*sent, stopFd_);
}

bool ModuleEmulator::Answer(const std::vector<std::uint8_t>& data) {
  std::optional<std::vector<std::uint8_t>> reply = handler_.Handle(data);
  if (!reply || faults_.Take(Fault::NoReply)) return true;

  std::vector<std::uint8_t> frame{kReplyStart, static_cast<std::uint8_t>(reply->size())};
  frame.insert(frame.end(), reply->begin(), reply->end());
  // An empty reply ends with 0 rather than a check byte.
  frame.push_back(reply->empty() ? 0 : FrameCheck(*reply));

  if (faults_.Take(Fault::WrongStart)) frame[0] ^= 0x10;
  if (faults_.Take(Fault::WrongLength)) ++frame[1];
  if (faults_.Take(Fault::CorruptReplyCheck)) frame.back() ^= 0xFF;
  std::size_t count = faults_.Take(Fault::TruncatedReply) ? frame.size() / 2 : frame.size();
  std::size_t slowIndex = faults_.Take(Fault::SlowByte) ? count / 2 : frame.size();

  for (std::size_t i = 0; i < count; ++i) {
    if (i == slowIndex && !PtyLine::Pause(faults_.SlowByteDelay(), stopFd_)) return false;
    if (!Put(frame[i])) return false;
  }
  return true;
}

}  // namespace q5480
