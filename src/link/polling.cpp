// The polling thread: sends the poll protocol's request without pause, keeps
// the newest reply with what the protocol's step holds of it, and serves the
// one-slot command queue.
#include <exception>

#include "link/link.h"
#include "link/thread_priority.h"

namespace q5480 {
namespace {

constexpr int kPollTries = 3;
constexpr int kCommandAttempts = 4;

}  // namespace

void Link::StartPolling() {
  // A lost port is looked for by the polling thread.
  if (pollRunning_.load() || (!port_.IsOpen() && !portLost_.load())) return;
  // A thread that ended by itself is gathered before the next one starts.
  if (pollThread_.joinable()) pollThread_.join();
  pollRunning_.store(true);
  // A loss already reported stays reported until the device is back.
  pollFault_.store(portLost_.load());
  lastPollStatus_.store(portLost_.load() ? LinkStatus::PortLost : LinkStatus::Success);
  commandAttempts_ = 0;
  linkStarted_.store(true);
  pollThread_ = std::thread([this] { PollingLoop(); });
}

void Link::StopPolling() {
  pollRunning_.store(false);
  StopThread(pollThread_);
  linkStarted_.store(false);
  ResetPollingFlags();
}

void Link::ResetPollingFlags() {
  commandPending_.store(false);
  commandReady_.store(false);
  commandOk_.store(true);
  sampleRead_.store(true);
  dataValid_.store(false);
}

void Link::PollingLoop() {
  bool fault = false;
  try {
    RaiseThreadPriority();
    pollRequest_ = poll_.Request();
    while (pollRunning_.load()) {
      const LinkStatus status = port_.IsOpen() ? PollOnce() : LinkStatus::PortLost;
      if (status == LinkStatus::Success) {
        ServeQueuedCommand();
        continue;
      }
      dataValid_.store(false);
      // A port that is gone answers at once, forever: asking it again would
      // only spin. The loss is reported until the device is back.
      if (status == LinkStatus::PortLost) {
        pollFault_.store(true);
        if (!AwaitPortBack()) return;
        pollFault_.store(false);
      }
    }
  } catch (const std::exception&) { fault = true; }
  if (!fault) return;
  // The thread cannot stop itself through StopPolling (it would wait for
  // itself); it leaves the flags as StopPolling would and ends.
  pollFault_.store(true);
  pollRunning_.store(false);
  linkStarted_.store(false);
  ResetPollingFlags();
}

bool Link::AwaitPortBack() {
  // A command waiting for the module will not reach it.
  if (commandPending_.exchange(false)) commandOk_.store(false);
  port_.Close();
  while (pollRunning_.load()) {
    if (!abort_.Sleep(kReopenInterval)) return false;
    if (OpenDevice()) {
      portLost_.store(false);
      return true;
    }
  }
  return false;
}

LinkStatus Link::PollOnce() {
  int tries = 0;
  LinkStatus status = LinkStatus::Aborted;
  while (status != LinkStatus::Success && tries < kPollTries && pollRunning_.load()) {
    ++tries;
    status = Transact(pollRequest_, pollReply_);
    if (status != LinkStatus::Success) ++pollExchangesFailed_;
    if (status == LinkStatus::PortLost) break;
  }
  lastPollStatus_.store(status);
  if (status != LinkStatus::Success) return status;

  heldStatus_.store(poll_.Step(heldStatus_.load(), pollReply_, sampleRead_.load()));
  dataValid_.store(true);
  {
    std::lock_guard lock(lastSampleMutex_);
    lastSample_ = pollReply_;
    sampleRead_.store(false);
  }
  ++samplesTaken_;
  if (!commandPending_.load()) commandReady_.store(true);
  newSampleEvent_.Set();
  if (tries == 1) firstTryEvent_.Set();
  return LinkStatus::Success;
}

void Link::ServeQueuedCommand() {
  if (!commandPending_.load() || !dataValid_.load()) return;
  commandReady_.store(false);
  ++commandAttempts_;
  const bool ok = Succeeded(Transact(commandRequest_, commandReply_));
  commandOk_.store(ok);
  if (ok || commandAttempts_ >= kCommandAttempts) {
    commandAttempts_ = 0;
    commandPending_.store(false);
    commandReady_.store(true);
    if (ok) commandDoneEvent_.Set();
  }
}

QueueResult Link::QueueCommand(const LinkBuffer& request) {
  if (commandPending_.load()) return QueueResult::Pending;
  if (!dataValid_.load() || !commandReady_.load()) return QueueResult::NotReady;
  commandReady_.store(false);
  commandRequest_ = request;
  commandPending_.store(true);
  return QueueResult::Queued;
}

bool Link::TakeCommandFailure() {
  if (!pollRunning_.load() || commandOk_.load() || commandPending_.load()) return false;
  commandOk_.store(true);
  return true;
}

}  // namespace q5480
