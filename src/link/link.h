// The link: the open port with its framed request-reply exchange, the
// polling thread with its one-slot command queue, and the worker threads of
// the long transfers. There is one link per program, owned by its runner.
// The link reports what happened (LinkStatus); it never tells the person.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "link/abort_signal.h"
#include "link/frame.h"
#include "link/link_status.h"
#include "link/manual_reset_event.h"
#include "link/poll_protocol.h"
#include "link/port_list.h"
#include "link/serial_port.h"
#include "link/thread_priority.h"

namespace q5480 {

struct LinkSettings {
  PortEnvironment ports;
  // How long a waiting window accepts silence from a worker.
  std::chrono::milliseconds workerSilenceBound{10000};
  std::chrono::milliseconds progressAckBound{5000};
  // The pause that ends ConfigurePort, letting the adapter settle.
  std::chrono::milliseconds portSettleTime{250};
};

// What became of a command handed to the polling thread.
enum class QueueResult { Queued, NotReady, Pending };

class Link {
 public:
  using Worker = std::function<LinkStatus()>;

  // `poll` gives what polling asks and holds; it outlives the link.
  explicit Link(const PollProtocol& poll, LinkSettings settings = {});
  ~Link();
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  // Port and line.
  bool OpenLink(int port, int speedCode);
  // Another baud rate for the open port; polling, when it runs, goes on at it.
  bool ConfigurePort(int baud);
  void StopLink();
  bool PortOpen() const { return port_.IsOpen(); }
  // The port's device went away (an adapter pulled). Polling then stops
  // asking, reports PollFault and looks for the device under the same name
  // every kReopenInterval; once it opens again polling goes on by itself.
  bool PortLost() const { return portLost_.load(); }
  static constexpr std::chrono::milliseconds kReopenInterval{1000};
  // Every wait for a byte follows the line speed; before a port is set up
  // and after it closes, this.
  static constexpr std::chrono::milliseconds kUnconfiguredBaseTimeout{100};
  std::chrono::milliseconds BaseTimeout() const { return baseTimeout_.load(); }
  void SetSendCheckByte(bool on) { sendCheckByte_.store(on); }

  // Exchanges.
  LinkStatus Transact(const LinkBuffer& request, LinkBuffer& reply);
  LinkStatus SendWithRetries(const LinkBuffer& request, LinkBuffer& reply);
  LinkStatus SendFlagged(const LinkBuffer& request, LinkBuffer& reply);
  // A built request sent from the command buffer up to 5 times; the reply
  // stays in CommandReply().
  LinkStatus SendCommand(const LinkBuffer& request);
  const LinkBuffer& CommandReply() const { return commandReply_; }
  // Sleeps unless the link is aborted (false then): the pauses of workers
  // and service sequences end at once when their thread is stopped.
  bool Pause(std::chrono::milliseconds duration) const { return abort_.Sleep(duration); }

  // Polling. StartPolling does nothing while polling runs or without a
  // port; StopPolling returns once the polling thread has ended.
  void StartPolling();
  void StopPolling();
  QueueResult QueueCommand(const LinkBuffer& request);
  // True once after a queued command failed for good.
  bool TakeCommandFailure();
  bool LinkStarted() const { return linkStarted_.load(); }
  // The polling thread ended by itself (an internal error, or the port lost).
  bool PollFault() const { return pollFault_.load(); }
  bool PollRunning() const { return pollRunning_.load(); }
  bool DataValid() const { return dataValid_.load(); }
  bool CommandPending() const { return commandPending_.load(); }
  bool CommandOk() const { return commandOk_.load(); }
  // Why the newest poll failed (Success after a good one).
  LinkStatus LastPollStatus() const { return lastPollStatus_.load(); }
  // What the poll protocol's step made of the polls so far.
  std::uint8_t HeldStatus() const { return heldStatus_.load(); }
  bool SampleRead() const { return sampleRead_.load(); }
  void SetSampleRead() { sampleRead_.store(true); }
  // Successful polls since the link was made.
  std::uint64_t SamplesTaken() const { return samplesTaken_.load(); }
  // Poll exchanges that failed (and were tried again) since the link was made.
  std::uint64_t PollExchangesFailed() const { return pollExchangesFailed_.load(); }
  // A consistent copy of the newest poll reply.
  LinkBuffer LastSample() const;
  // The newest poll reply when it has not been read yet, marked read in the
  // same step: a poll in between is neither lost nor taken twice.
  std::optional<LinkBuffer> TakeUnreadSample();
  // A sample taken directly while polling is stopped becomes the newest.
  void SetLastSample(const LinkBuffer& sample);

  ManualResetEvent& NewSampleEvent() { return newSampleEvent_; }
  ManualResetEvent& FirstTryEvent() { return firstTryEvent_; }
  ManualResetEvent& CommandDoneEvent() { return commandDoneEvent_; }

  // Transfers. RunWorker refuses (Busy) while one runs.
  LinkStatus RunWorker(Worker worker);
  // The waiting window's side: answers each progress signal, cancels the
  // worker after a silence (TimedOut) and gives the worker's status once
  // its thread has ended (Aborted after a cancel, whatever the worker said). `whileWaiting` runs
  // every few tens of milliseconds meanwhile, so that a window stays responsive while a worker is
  // silent.
  LinkStatus AwaitWorker(const std::function<void(int percent)>& onProgress,
                         const std::function<void()>& whileWaiting = {});
  void ReportProgress(long done, long total, int& last);
  // Cancels a running transfer and returns once its worker has ended.
  void CancelTransfer();
  bool TransferRunning() const { return transferRunning_.load(); }
  int ProgressPercent() const { return progressPercent_.load(); }
  ManualResetEvent& ProgressEvent() { return progressEvent_; }
  ManualResetEvent& ProgressAck() { return progressAck_; }

 private:
  // The device of `portNumber_` opened and set up at `baud_`.
  bool OpenDevice();
  bool SetUpLine(int baud);
  LinkStatus SendRequestFrame(const LinkBuffer& request, int n);
  LinkStatus ReadEcho(const std::uint8_t* frame, int count);
  LinkStatus ReadReply(int replyLength, LinkBuffer& reply);
  LinkStatus Fail(LinkStatus status);
  // Ends `thread` through the abort signal and waits for it: nothing that
  // a thread uses is touched while it may still run. Every wait of the
  // link ends on the abort signal, so the wait is short.
  void StopThread(std::thread& thread);
  // Waits for the next progress signal up to the silence bound.
  bool AwaitProgress(const std::function<void()>& whileWaiting);
  void PollingLoop();
  LinkStatus PollOnce();
  // Closes the lost port and opens it again once its device is back; false
  // when polling was stopped meanwhile.
  bool AwaitPortBack();
  void ServeQueuedCommand();
  void ResetPollingFlags();
  void ClosePort();

  const PollProtocol& poll_;
  const LinkSettings settings_;

  // The link's waits are a few milliseconds long, for as long as it exists.
  FineTimerResolution timerResolution_;
  AbortSignal abort_;
  SerialPort port_{abort_};
  int portNumber_ = 0;  // the COM number and line speed last opened
  int baud_ = 0;
  std::atomic<std::chrono::milliseconds> baseTimeout_{kUnconfiguredBaseTimeout};
  std::chrono::microseconds byteTime_{0};  // 10 bit times at the port's baud
  std::atomic<bool> sendCheckByte_{true};
  std::atomic<bool> portLost_{false};
  // The last exchange ended before the module's answer was taken whole: the
  // line may still carry it. Used by one thread at a time.
  bool lineUnsettled_ = false;

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
  std::atomic<std::uint8_t> heldStatus_{0};
  std::atomic<LinkStatus> lastPollStatus_{LinkStatus::Success};
  std::atomic<std::uint64_t> samplesTaken_{0};
  std::atomic<std::uint64_t> pollExchangesFailed_{0};
  int commandAttempts_ = 0;  // polling thread only

  std::atomic<bool> transferRunning_{false};
  std::atomic<bool> transferCancelled_{false};
  std::atomic<int> progressPercent_{0};
  std::atomic<LinkStatus> workerStatus_{LinkStatus::Success};

  ManualResetEvent newSampleEvent_;
  ManualResetEvent firstTryEvent_;
  ManualResetEvent commandDoneEvent_;
  ManualResetEvent progressEvent_;
  ManualResetEvent progressAck_;

  std::thread pollThread_;
  std::thread workerThread_;
};

}  // namespace q5480
