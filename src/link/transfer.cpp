// Worker threads of the long transfers and the progress handshake between a
// worker and the window that waits for it.
#include <algorithm>
#include <cmath>
#include <exception>

#include "link/link.h"

namespace q5480 {
namespace {

constexpr std::chrono::milliseconds kExitCodeWait{1000};
// How often a waiting window gets to run while a worker is silent.
constexpr std::chrono::milliseconds kIdleSlice{30};

}  // namespace

bool Link::RunWorker(Worker worker) {
  if (transferRunning_.load()) return false;
  // An earlier worker that was given up on has been told to stop.
  if (workerThread_.Held()) workerThread_.thread.join();
  transferRunning_.store(true);
  progressPercent_.store(0);
  workerExitCode_.store(0);
  progressEvent_.Reset();
  progressAck_.Reset();
  workerThread_.finished.Reset();
  workerThread_.thread = std::thread([this, worker = std::move(worker)] {
    bool ok = false;
    try {
      ok = worker();
    } catch (const std::exception&) {
      ui_.Beep(BeepKind::Default);
    }
    workerExitCode_.store(ok ? 1 : 0);
    transferRunning_.store(false);
    progressEvent_.Set();
    workerThread_.finished.Set();
  });
  return true;
}

bool Link::AwaitWorker(const std::function<void(int percent)>& onProgress,
                       const std::function<void()>& whileWaiting) {
  bool cancelled = false;
  while (transferRunning_.load()) {
    if (!AwaitProgress(whileWaiting)) {
      CancelTransfer();
      cancelled = true;
      break;
    }
    // Read before the acknowledgement lets the worker move on.
    int percent = progressPercent_.load();
    progressEvent_.Reset();
    progressAck_.Set();
    if (onProgress) onProgress(percent);
  }
  if (!workerThread_.Held()) return false;
  if (!workerThread_.finished.WaitFor(kExitCodeWait)) return false;
  workerThread_.thread.join();
  return !cancelled && workerExitCode_.load() == 1;
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
  StopThread(workerThread_);
}

}  // namespace q5480
