// The module emulator's engine: a pseudo-terminal line that echoes every
// byte, collects and checks request frames, answers them through a handler
// and spoils them on demand.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "emulator/fault_injector.h"
#include "emulator/frame_collector.h"
#include "emulator/pty_line.h"
#include "emulator/request_handler.h"

namespace q5480 {

class ModuleEmulator {
 public:
  // `baud` paces the line (0: no pacing). `handler` must outlive the engine.
  explicit ModuleEmulator(RequestHandler& handler, int baud = 0);
  ~ModuleEmulator();
  ModuleEmulator(const ModuleEmulator&) = delete;
  ModuleEmulator& operator=(const ModuleEmulator&) = delete;

  void Start();
  void Stop();
  // The module unplugged: its thread stops and its line closes, so that the
  // program's port hangs up. Plug brings it back on a new line, running.
  void Unplug();
  void Plug();
  const std::string& SlavePath() const { return line_.SlavePath(); }
  FaultInjector& Faults() { return faults_; }

  long BytesReceived() const { return bytesReceived_.load(); }
  // Counted once the frame has been answered (or left unanswered).
  long FramesAccepted() const { return framesAccepted_.load(); }
  long FramesRejected() const { return framesRejected_.load(); }
  // Waits until no byte has arrived for `quiet` (at most `bound`), then
  // starts the three counts again from zero: what an observer counts from
  // here on is its own traffic only.
  bool SettleAndResetCounts(std::chrono::milliseconds quiet, std::chrono::milliseconds bound);

 private:
  void Run();
  bool Echo(std::uint8_t byte);
  // Sends one byte across the line, which may spoil or lose it.
  bool Put(std::uint8_t byte);
  bool Answer(const std::vector<std::uint8_t>& data);

  RequestHandler& handler_;
  PtyLine line_;
  FrameCollector collector_;
  FaultInjector faults_;
  int stopFd_ = -1;
  std::thread thread_;
  std::atomic<long> bytesReceived_{0};
  std::atomic<long> framesAccepted_{0};
  std::atomic<long> framesRejected_{0};
};

}  // namespace q5480
