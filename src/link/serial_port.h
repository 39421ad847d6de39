// SerialPort: one open serial port. The interface is the same on every system;
// serial_port_termios.cpp implements it with POSIX termios, serial_port_win32.cpp
// with the Win32 communications calls. Every wait also ends at once on the
// link's abort signal.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "link/abort_signal.h"

namespace q5480 {

// The port's time-outs, all derived from BaseTimeout; zero: none.
struct PortTimeouts {
  std::chrono::milliseconds readInterval{0};
  std::chrono::milliseconds readTotalMultiplier{0};
  std::chrono::milliseconds readTotalConstant{0};
  std::chrono::milliseconds writeTotalMultiplier{0};
  std::chrono::milliseconds writeTotalConstant{0};
};

PortTimeouts TimeoutsFor(std::chrono::milliseconds baseTimeout);

// Baud rate of a speed code: 1 = 1200, 2 = 2400, 3 = 4800, 4 = 9600, else 1200.
int BaudForSpeedCode(int speedCode);

// How a port operation ended. Lost: the device is gone (end of file, an I/O
// error or a hang-up); every later operation then ends the same way at once.
enum class PortResult { Ok, TimedOut, Aborted, LineError, Lost };

struct ByteResult {
  PortResult result = PortResult::TimedOut;
  std::uint8_t byte = 0;
};

class SerialPort {
 public:
  explicit SerialPort(AbortSignal& abort);
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens the device exclusively; refuses the system console. `consoleList`
  // is the file naming the console ttys (Linux).
  bool Open(const std::filesystem::path& device, const std::filesystem::path& consoleList);
  bool IsOpen() const;
  bool Lost() const;
  void Close();

  // Raw 8N1 at `baud`, receiver on, modem control ignored; DTR and RTS on.
  bool SetLine(int baud);
  void SetTimeouts(const PortTimeouts& timeouts);

  // Writes all bytes within the write time-out and `limit`.
  PortResult Write(const std::uint8_t* data, std::size_t count, std::chrono::milliseconds limit);
  // Waits for a received byte without taking it.
  PortResult WaitForInput(std::chrono::milliseconds limit);
  // One data byte within the single-byte read time-out and `limit`.
  // Line errors marked in the input stream fail the read.
  ByteResult ReadByte(std::chrono::milliseconds limit);

  // Lets `count` bytes gather before they are taken one by one: sleeps for
  // the line time of those not received yet, so that a slow line does not
  // wake the reader for every byte.
  void LetBytesGather(std::size_t count, std::chrono::microseconds byteTime);

  // Drops what arrives until nothing has come for `quiet`, at most until
  // `bound` has passed (TimedOut: the line still carried bytes then).
  PortResult SettleLine(std::chrono::microseconds quiet, std::chrono::milliseconds bound);

  // Clears the error state; true when line errors (break, framing, parity,
  // overrun) happened since the last call.
  bool TakeLineErrors();
  void PurgeInput();
  void PurgeOutput();
  // Calls that a pseudo-terminal refuses are ignored.
  void SetBreak(bool on);
  void SetDtr(bool on);
  void SetRts(bool on);

 private:
  // What the system holds for an open port, defined by each system's file.
  struct State;

  AbortSignal& abort_;
  PortTimeouts timeouts_{};
  std::unique_ptr<State> state_;
};

}  // namespace q5480
