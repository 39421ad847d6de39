// The link: the open port with its framed request-reply exchange, the
// polling thread with its one-slot command queue, and the worker threads of
// the long transfers. There is one link per program, owned by its runner.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "config/language_table.h"
#include "config/user_interface.h"
#include "link/abort_signal.h"
#include "link/frame.h"
#include "link/manual_reset_event.h"
#include "link/port_list.h"
#include "link/serial_port.h"

namespace q5480 {

struct LinkSettings {
  PortEnvironment ports;
  // How long the thread stop procedure waits for a thread to end.
  std::chrono::milliseconds threadStopBound{10000};
  // How long a waiting window accepts silence from a worker.
  std::chrono::milliseconds workerSilenceBound{10000};
  std::chrono::milliseconds progressAckBound{5000};
  // The pause that ends ConfigurePort, letting the adapter settle.
  std::chrono::milliseconds portSettleTime{250};
};

// A thread of the link with the event it sets when it ends, so that its end
// can be awaited with a time limit.
struct LinkThread {
  std::thread thread;
  ManualResetEvent finished;
  bool Held() const { return thread.joinable(); }
};

class Link {
 public:
  using Worker = std::function<bool()>;

  // `ui` must be safe to call from the link's threads: the polling thread
  // and the workers beep through it.
  Link(UserInterface& ui, const LanguageTable& texts, LinkSettings settings = {});
  ~Link();
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  // Port and line.
  bool OpenLink(int port, int speedCode);
  bool ConfigurePort(int baud);
  void StopLink();
  bool PortOpen() const { return port_.IsOpen(); }
  unsigned BaseTimeout() const { return baseTimeout_.load(); }
  void SetSendCheckByte(bool on) { sendCheckByte_.store(on); }

  // Exchanges.
  bool Transact(const LinkBuffer& request, LinkBuffer& reply);
  bool SendWithRetries(const LinkBuffer& request, LinkBuffer& reply);
  bool SendFlagged(const LinkBuffer& request, LinkBuffer& reply);
  // A built request sent from the command buffer up to 5 times; the reply
  // stays in CommandReply().
  bool SendCommand(const LinkBuffer& request);
  const LinkBuffer& CommandReply() const { return commandReply_; }

  // Polling.
  void StartPolling();
  bool StopPolling();
  bool QueueCommand(const LinkBuffer& request);
  void CheckCommandFailed();
  bool LinkStarted() const { return linkStarted_.load(); }
  bool PollFault() const { return pollFault_.load(); }
  bool PollRunning() const { return pollRunning_.load(); }
  bool DataValid() const { return dataValid_.load(); }
  bool CommandPending() const { return commandPending_.load(); }
  bool CommandOk() const { return commandOk_.load(); }
  // Status bits 5 and 6 of the newest sample, held until a window has read
  // a sample that no longer carries them.
  bool NewAverage() const { return newAverage_.load(); }
  bool LargeError() const { return largeError_.load(); }
  bool SampleRead() const { return sampleRead_.load(); }
  void SetSampleRead() { sampleRead_.store(true); }
  // Successful polls since the link was made.
  std::uint64_t SamplesTaken() const { return samplesTaken_.load(); }
  // A consistent copy of the newest poll reply.
  LinkBuffer LastSample() const;
  // A sample taken directly while polling is stopped becomes the newest.
  void SetLastSample(const LinkBuffer& sample);

  ManualResetEvent& NewSampleEvent() { return newSampleEvent_; }
  ManualResetEvent& FirstTryEvent() { return firstTryEvent_; }
  ManualResetEvent& CommandDoneEvent() { return commandDoneEvent_; }

  // Transfers.
  bool RunWorker(Worker worker);
  // The waiting window's side: answers each progress signal, cancels the
  // worker after a silence and gives the worker's result. `whileWaiting`
  // runs every few tens of milliseconds meanwhile, so that a window stays
  // responsive while a worker is silent.
  bool AwaitWorker(const std::function<void(int percent)>& onProgress,
                   const std::function<void()>& whileWaiting = {});
  void ReportProgress(long done, long total, int& last);
  void CancelTransfer();
  bool TransferRunning() const { return transferRunning_.load(); }
  int ProgressPercent() const { return progressPercent_.load(); }
  ManualResetEvent& ProgressEvent() { return progressEvent_; }
  ManualResetEvent& ProgressAck() { return progressAck_; }

 private:
  bool SendRequestFrame(const LinkBuffer& request, int n);
  bool ReadEcho(const std::uint8_t* frame, int count);
  bool ReadReply(int replyLength, LinkBuffer& reply);
  bool Fail();
  bool StopThread(LinkThread& worker);
  // Waits for the next progress signal up to the silence bound.
  bool AwaitProgress(const std::function<void()>& whileWaiting);
  void PollingLoop();
  bool PollOnce();
  void ServeQueuedCommand();
  void ResetPollingFlags();
  void ClosePort();

  UserInterface& ui_;
  const LanguageTable& texts_;
  const LinkSettings settings_;

  AbortSignal abort_;
  TCommD port_{abort_};
  std::atomic<unsigned> baseTimeout_{100};
  std::chrono::microseconds byteTime_{0};  // 10 bit times at the port's baud
  std::atomic<bool> sendCheckByte_{true};

  // The command pair belongs to windows and workers, the poll pair to the
  // polling thread; the last sample is shared and guarded.
  LinkBuffer commandRequest_{};
  LinkBuffer commandReply_{};
  LinkBuffer pollRequest_{};
  LinkBuffer pollReply_{};
  LinkBuffer lastSample_{};
  mutable std::mutex lastSampleMutex_;

  std::atomic<bool> linkStarted_{false};
  std::atomic<bool> pollFault_{false};
  std::atomic<bool> pollRunning_{false};
  std::atomic<bool> dataValid_{false};
  std::atomic<bool> commandPending_{false};
  std::atomic<bool> commandReady_{false};
  std::atomic<bool> commandOk_{true};
  std::atomic<bool> sampleRead_{true};
  std::atomic<bool> keepLatched_{false};
  std::atomic<bool> newAverage_{false};
  std::atomic<bool> largeError_{false};
  std::atomic<std::uint64_t> samplesTaken_{0};
  int commandAttempts_ = 0;  // polling thread only

  std::atomic<bool> transferRunning_{false};
  std::atomic<int> progressPercent_{0};
  std::atomic<int> workerExitCode_{0};

  ManualResetEvent newSampleEvent_;
  ManualResetEvent firstTryEvent_;
  ManualResetEvent commandDoneEvent_;
  ManualResetEvent progressEvent_;
  ManualResetEvent progressAck_;

  LinkThread pollThread_;
  LinkThread workerThread_;
};

}  // namespace q5480
