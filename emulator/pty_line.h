// The module's end of the line: the master side of a pseudo-terminal. It can
// pace what it sends as a real line would (10 bit times a byte).
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace q5480 {

// When a byte sent at `now` has crossed a line that is busy until
// `lineFree`: a byte queued while the one before is still on the line
// follows it at once, as from a transmitter's buffer; counting from a late
// wake-up would stretch every frame.
std::chrono::steady_clock::time_point PacedArrival(std::chrono::steady_clock::time_point lineFree,
                                                   std::chrono::steady_clock::time_point now,
                                                   std::chrono::steady_clock::duration byteTime);

class PtyLine {
 public:
  using Clock = std::chrono::steady_clock;

  PtyLine();  // throws std::system_error when no pseudo-terminal is available
  ~PtyLine();

  // Closes both ends, as when the module is unplugged: the program's end of
  // the line hangs up. Open gives a new pair (under another path); it throws
  // as the constructor does.
  void Close();
  void Open();
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  // The path the program opens as its serial port.
  const std::string& SlavePath() const { return slavePath_; }

  // 0 sends every byte at once.
  void SetBaud(int baud);

  // The next received byte, waiting up to `wait`; nothing on time-out or
  // when `stopFd` becomes readable.
  std::optional<std::uint8_t> Receive(std::chrono::milliseconds wait, int stopFd);
  // Sends one byte when the line has carried it; false when stopped.
  bool Send(std::uint8_t byte, int stopFd);
  // Waits unless stopped; false when stopped.
  static bool Pause(Clock::duration duration, int stopFd);
  // Drops what has arrived and not been taken.
  void Discard();

 private:
  int master_ = -1;
  int slave_ = -1;  // held open so the master never sees a hang-up
  std::string slavePath_;
  Clock::duration byteTime_{};
  Clock::time_point lineFree_{};
  std::deque<std::uint8_t> pending_;
};

}  // namespace q5480
