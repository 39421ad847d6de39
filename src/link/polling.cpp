// The polling thread: asks the module for its measurement without pause,
// keeps the newest reply and serves the one-slot command queue.
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <exception>

#include "link/link.h"
#include "link/status_latch.h"

namespace q5480 {
namespace {

constexpr int kPollTries = 3;
constexpr int kCommandAttempts = 4;
constexpr std::uint8_t kMeasureCode = 'm';
constexpr std::uint8_t kPollingMode = 2;
constexpr std::uint8_t kSampleLength = 8;
constexpr std::size_t kStatus2 = 7;

// Best effort: a real-time class, else a better nice value; refusals are
// normal for an unprivileged user.
void RaiseThreadPriority() {
  sched_param param{};
  param.sched_priority = sched_get_priority_min(SCHED_FIFO);
  if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0) return;
  [[maybe_unused]] int result = setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -10);
}

}  // namespace

void Link::StartPolling() {
  // A thread that outlived an earlier stop ends quickly now that it no
  // longer runs.
  if (pollThread_.Held()) pollThread_.thread.join();
  pollRunning_.store(true);
  pollFault_.store(false);
  commandAttempts_ = 0;
  pollThread_.finished.Reset();
  pollThread_.thread = std::thread([this] {
    PollingLoop();
    pollThread_.finished.Set();
  });
  linkStarted_.store(true);
}

bool Link::StopPolling() {
  pollRunning_.store(false);
  bool stopped = true;
  if (linkStarted_.load() || pollThread_.Held()) stopped = StopThread(pollThread_);
  linkStarted_.store(false);
  ResetPollingFlags();
  return stopped;
}

void Link::ResetPollingFlags() {
  commandPending_.store(false);
  commandReady_.store(false);
  commandOk_.store(true);
  sampleRead_.store(true);
  dataValid_.store(false);
}

void Link::PollingLoop() {
  try {
    RaiseThreadPriority();
    pollRequest_ = MakeRequest({kMeasureCode, kPollingMode}, kSampleLength);
    while (pollRunning_.load()) {
      if (!PollOnce()) {
        dataValid_.store(false);
        continue;
      }
      ServeQueuedCommand();
    }
  } catch (const std::exception&) {
    // The thread cannot stop itself through StopPolling (it would wait for
    // itself); it leaves the flags as StopPolling would and ends.
    pollFault_.store(true);
    pollRunning_.store(false);
    linkStarted_.store(false);
    ResetPollingFlags();
    ui_.Beep(BeepKind::Default);
  }
}

bool Link::PollOnce() {
  int tries = 0;
  bool ok = false;
  while (!ok && tries < kPollTries && pollRunning_.load()) {
    ++tries;
    ok = Transact(pollRequest_, pollReply_);
  }
  if (!ok) return false;

  LatchedStatus latched = LatchStatus({keepLatched_.load(), newAverage_.load(), largeError_.load()},
                                      pollReply_[kStatus2], sampleRead_.load());
  newAverage_.store(latched.newAverage);
  largeError_.store(latched.largeError);
  keepLatched_.store(latched.keepLatched);
  dataValid_.store(true);
  {
    std::lock_guard lock(lastSampleMutex_);
    lastSample_ = pollReply_;
  }
  sampleRead_.store(false);
  ++samplesTaken_;
  if (!commandPending_.load()) commandReady_.store(true);
  newSampleEvent_.Set();
  if (tries == 1) firstTryEvent_.Set();
  return true;
}

void Link::ServeQueuedCommand() {
  if (!commandPending_.load() || !dataValid_.load()) return;
  commandReady_.store(false);
  ++commandAttempts_;
  bool ok = Transact(commandRequest_, commandReply_);
  commandOk_.store(ok);
  if (ok || commandAttempts_ >= kCommandAttempts) {
    commandAttempts_ = 0;
    commandPending_.store(false);
    commandReady_.store(true);
    if (ok) commandDoneEvent_.Set();
  }
}

bool Link::QueueCommand(const LinkBuffer& request) {
  if (!dataValid_.load() || !commandReady_.load()) {
    ui_.Beep(BeepKind::Default);
    return false;
  }
  if (commandPending_.load()) {
    ui_.Beep(BeepKind::Information);
    return false;
  }
  commandReady_.store(false);
  commandRequest_ = request;
  commandPending_.store(true);
  return true;
}

void Link::CheckCommandFailed() {
  if (!pollRunning_.load() || commandOk_.load() || commandPending_.load()) return;
  ui_.Beep(BeepKind::Warning);
  ui_.ShowMessage(texts_.Tr("Command failed") + "!", kMessageCaption, MessageIcon::Warning,
                  MessageButtons::Ok);
  commandOk_.store(true);
}

}  // namespace q5480

