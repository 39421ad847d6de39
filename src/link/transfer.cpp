// Worker threads of the long transfers and the progress handshake between a
// worker and the window that waits for it.
#include <algorithm>
#include <cmath>
#include <exception>

#include "link/link.h"
#include "link/thread_priority.h"

namespace q5480 {
namespace {

// How often a waiting window gets to run while a worker is silent.
constexpr std::chrono::milliseconds kIdleSlice{30};

}  // namespace

LinkStatus Link::RunWorker(Worker worker) {
  if (transferRunning_.load()) return LinkStatus::Busy;
  // An earlier worker has ended by now; its thread is gathered.
  if (workerThread_.joinable()) workerThread_.join();
  transferRunning_.store(true);
  transferCancelled_.store(false);
  progressPercent_.store(0);
  workerStatus_.store(LinkStatus::Aborted);
  progressEvent_.Reset();
  progressAck_.Reset();
  workerThread_ = std::thread([this, worker = std::move(worker)] {
    LinkStatus status = LinkStatus::Aborted;
    try {
      RaiseThreadPriority();
      status = worker();
    } catch (const std::exception&) {
      // An unexpected error inside the worker ends the transfer as failed.
    }
    workerStatus_.store(status);
    transferRunning_.store(false);
    progressEvent_.Set();
  });
  return LinkStatus::Success;
}

LinkStatus Link::AwaitWorker(const std::function<void(int percent)>& onProgress,
                             const std::function<void()>& whileWaiting) {
  bool silent = false;
  while (transferRunning_.load()) {
    if (!AwaitProgress(whileWaiting)) {
      silent = true;
      CancelTransfer();
      break;
    }
    // Read before the acknowledgement lets the worker move on.
    int percent = progressPercent_.load();
    progressEvent_.Reset();
    progressAck_.Set();
    if (onProgress) onProgress(percent);
  }
  if (workerThread_.joinable()) workerThread_.join();
  if (silent) return LinkStatus::TimedOut;
  return transferCancelled_.load() ? LinkStatus::Aborted : workerStatus_.load();
}

bool Link::AwaitProgress(const std::function<void()>& whileWaiting) {
  if (!whileWaiting) return progressEvent_.WaitFor(settings_.workerSilenceBound);
  const auto silenceEnd = std::chrono::steady_clock::now() + settings_.workerSilenceBound;
  while (!progressEvent_.WaitFor(kIdleSlice)) {
    if (std::chrono::steady_clock::now() >= silenceEnd) return false;
    whileWaiting();
  }
  return true;
}

void Link::ReportProgress(long done, long total, int& last) {
  double share = total > 0 ? static_cast<double>(done) * 100.0 / static_cast<double>(total) : 100.0;
  int percent = static_cast<int>(std::clamp(std::nearbyint(share), 0.0, 100.0));
  progressPercent_.store(percent);
  if (percent == last) return;
  progressEvent_.Set();
  if (progressAck_.WaitFor(settings_.progressAckBound)) progressAck_.Reset();
  last = percent;
}

void Link::CancelTransfer() {
  if (!transferRunning_.exchange(false)) return;
  transferCancelled_.store(true);
  StopThread(workerThread_);
}

}  // namespace q5480
